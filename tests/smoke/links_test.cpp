// The opacimeter's two links at the record level: statuses, requests and the odd replies.
#include <gtest/gtest.h>

#include <string>

#include "link/LinkState.h"
#include "shell/ShellState.h"
#include "smoke/McnSmokeLink.h"
#include "smoke/OwnSmokeLink.h"
#include "smoke/SmokeFormFields.h"
#include "smoke/SmokeState.h"
#include "smoke/smoke_form_fixture.h"

namespace vs::smoke {
namespace {

using namespace std::string_literals;
constexpr char kEtb = 23;

class SmokeLink : public ::testing::Test {
 protected:
  void SetUp() override { shell_.LangText = test::NumberedTexts(); }
  SmokeFormFields f_;
  LinkState link_;
  SmokeState smoke_;
  ShellState shell_;
  LinkView view_;
};

// What a status step left: link state and status word, Label2 and Label39 (caption, colour),
// ValuesInvalid, then the phase, Command1, blanked readings and the cell alarm when set.
std::string Seen(const SmokeFormFields& f, const LinkDisplay& d) {
  const auto label = [](const LabelChange& l) {
    const char* back = !l.backColor ? "" : *l.backColor == plat::colors::kRed ? " red" : " white";
    return l.caption.value_or("-") + back;
  };
  std::string s = f.LinkState + " " + f.LastStatusWord + "|" + label(d.label2) + "|" +
                  label(d.label39) + "|" + std::to_string(f.ValuesInvalid);
  if (d.testPhase) s += " " + *d.testPhase;
  if (d.command1Enabled) s += *d.command1Enabled ? " cmd1 on" : " cmd1 off";
  if (d.blankReadings || d.blankSeries) s += " blank";
  if (d.critic) s += " " + d.critic->caption + " " + d.critic->text;
  return s;
}

std::string B(int s7, int s8, int s9, int s11) {
  return {static_cast<char>(s7), static_cast<char>(s8), static_cast<char>(s9), '\0',
          static_cast<char>(s11)};
}

TEST_F(SmokeLink, EveryStatusOfEachModel) {
  // Model (0 to 4 binary, 5 MCTC-NET); the status (binary S7 S8 S9 S10 S11, MCTC-NET the
  // data text of "ST"); the status word, test mode and cell before; what the step left
  // (binary: " S8 n" when it left OpaStatus1 at n); the smoke temperature.
  using Row = std::tuple<int, std::string, const char*, std::int16_t, double, const char*, double>;
  const Row rows[] = {
      // Model 0 by S7 and, when ready, by the range of S8.
      {0, B(0x00, 0, 16, 200), "", 4, 60, "RSTRI RSTRI|T40 white|T28 white|9 cmd1 off blank", 0},
      {0, B(0x48, 0, 16, 200), "", 0, 75, "RSTAZE RSTAZE|T34 white|T9 white|9", 0},
      {0, B(0x80, 0, 16, 200), "", 0, 75, "RSTATT RSTATT|T35 white|- white|0", 0},
      {0, B(0x80, 1, 16, 200), "RSTRI", 0, 75, "RSTATT RSTATT|T35 white|T9 white|0", 0},
      {0, B(0x80, 0, 16, 200), "RSTAZE", 5, 75, "RSTATT RSTATT|T35 white|- white|0 cmd1 on", 0},
      {0, B(0x80, 3, 16, 200), "", 0, 75, "RSTATT RSTATT|ERROR 3 red|T36 red|1 blank", 0},
      {0, B(0x80, 15, 16, 200), "", 0, 75, "RSTATT RSTATT|ERROR 4 red|T37 red|1 blank", 0},
      {0, B(0x80, 31, 16, 200), "", 0, 75, "RSTATT RSTATT|ERROR 2 red|T38 red|1 blank", 0},
      {0, B(0x80, 63, 16, 200), "", 0, 75, "RSTATT RSTATT|ERROR 1 red|T39 red|1 blank", 0},
      {0, B(0x80, 64, 16, 200), "", 0, 75, "RSTATT RSTATT|T35 white|- white|9", 0},
      {0, B(0xF0, 0, 16, 200), "", 0, 75, "RSTERR RSTERR|Error red|T41 red|9", 0},
      {0, B(0x01, 0, 16, 200), "RSTAZE", 0, 75, "RSTATT RSTATT|-|-|9", 0},
      // Models 1 to 4: auto-zero presets the phase by mode; check, not ready and ready by
      // S11, S8 and S9; the error bits each handled in turn, the last one stays on screen.
      {1, B(0x40, 0, 16, 200), "", 0, 75, "RSTAZE RSTAZE|T34|T34 white|9 CONTINUA", 0},
      {2, B(0x40, 0, 16, 200), "", 3, 75, "RSTAZE RSTAZE|T34|T34 white|9 AVVIOALTO", 0},
      {3, B(0x40, 0, 16, 200), "", 5, 75, "RSTAZE RSTAZE|T34|T34 white|9 DUE cmd1 off", 0},
      {4, B(0x10, 0, 16, 50), "", 0, 75, "RSTCHK RSTCHK|T42 white||9 blank", 0},
      {1, B(0x00, 64, 16, 50), "", 0, 75, "RSTCHK RSTCHK|T42 white||9 blank", 0},
      {1, B(0x10, 0, 0, 51), "", 0, 75, "RSTAZE RSTAZE|T34|T34 white|9", 0},
      {1, B(0x10, 0, 16, 51), "", 0, 75, "RSTATT RSTATT|T35 white|-|0", 0},
      {1, B(0x10, 16, 16, 50), "", 0, 75, "RSTATT RSTATT|ERROR 2 red|T38 red|1 blank S8 0", 0},
      {1, B(0x10, 63, 16, 50), "", 0, 75, "RSTATT RSTATT|ERROR 4 red|T37 red|1 blank S8 43", 0},
      {2, B(0x00, 0, 16, 200), "RSTAZE", 4, 75, "RSTATT RSTATT|T35 white|-|0 cmd1 on", 0},
      {1, B(0x10, 255, 16, 200), "", 0, 75, "RSTATT RSTATT|ERROR 4 red|T37 red|1 blank S8 43", 0},
      {1, B(0x10, 192, 16, 200), "", 0, 75, "RSTATT RSTATT|T40 white|T28|0 S8 0", 0},
      {1, B(0x10, 128, 16, 200), "", 0, 75, "RSTATT RSTATT|T35 white|-|0 S8 0", 0},
      {1, B(0x10, 16, 16, 200), "", 0, 75, "RSTATT RSTATT|ERROR 2 red|T38 red|1 blank S8 0", 0},
      {1, B(0x10, 4, 16, 200), "", 0, 75, "RSTATT RSTATT|ERROR 3 red|T36 red|1 blank S8 0", 0},
      {1, B(0x10, 2, 16, 200), "", 0, 75, "RSTATT RSTATT|ERROR 4 red|T37 red|1 blank", 0},
      {1, B(0x10, 0, 16, 255), "", 0, 75, "RSTATT RSTATT|ERROR 1 red|T39 red|1 blank", 0},
      {1, B(0x20, 6, 16, 200), "RSTAZE", 0, 75, "RSTATT RSTATT|-|-|9", 0},
      // MCTC-NET: the low five bits of the first data byte; the cell alarm in stand-by.
      {5, "A", "RSTMIS", 5, 70, "RSTRI RSTRI|T40 white|T28 white|9 cmd1 off blank", 0},
      {5, "A", "", 0, 70.01, "RSTRI RSTRI|T40 white|T9 white|9 blank", 0},
      {5, "B", "", 0, 1.0, "RSTSB RSTSB|StandBy white|T9 white|9 ERROR 10 T161", 20},
      {5, "B", "", 0, 1.01, "RSTSB RSTSB|StandBy white|T9 white|9", 20},
      {5, "B", "", 0, 1.0, "RSTSB RSTSB|StandBy white|T9 white|9", 19.99},
      {5, "D", "", 2, 75, "RSTAZE RSTAZE|T34 white|T34 white|9 AVVIOALTO", 0},
      {5, "D", "", 4, 75, "RSTAZE RSTAZE|T34 white|T34 white|9 DUE cmd1 off", 0},
      {5, "H", "RSEC", 0, 75, "RSTMIS RSTMIS|T45 white|T9 white|9", 0},
      {5, "P", "RSTAZE", 5, 75, "RSTMIS RSTMIS|T45 white|-|9 cmd1 on", 0},
      // Values that are no single state of the five bits: measuring, the status word kept.
      {5, "C", "RSTSB", 0, 75, "RSTMIS RSTSB|-|-|9", 0},
      {5, "I", "RSTSB", 0, 75, "RSTMIS RSTSB|-|-|9", 0},
      {5, "", "RSTAZE", 0, 75, "RSTMIS RSTAZE|-|-|9", 0},
  };
  for (const Row& row : rows) {
    const auto& [model, bytes, lastWord, testMode, cellTemp, expected, smokeTemp] = row;
    SmokeFormFields f;  // each row from scratch
    LinkState link;
    SmokeState m;
    const LinkView view{testMode, "T30"};
    f.LastStatusWord = lastWord, f.ValuesInvalid = 9, f.LinkState = "SCA";
    link.OpaCellTemp = cellTemp, link.OpaSmokeTemp = smokeTemp;
    const auto* b = reinterpret_cast<const std::uint8_t*>(bytes.data());
    std::string seen =
        Seen(f, model == 5 ? DecodeMcnStatus(f, link, m, shell_, view, bytes)
                           : DecodeOwnStatus(f, m, link, shell_, static_cast<std::int16_t>(model),
                                             view, {b[0], b[1], b[2], b[4]}));
    if (model < 5 && m.OpaStatus1 != b[1]) seen += " S8 " + std::to_string(m.OpaStatus1);
    if (model < 5 && (m.OpaStatus0 != b[0] || m.OpaStatus2 != b[4] || m.OpaStatus3 != b[2]))
      seen += " S7 S9 S11 not kept";
    EXPECT_EQ(seen, expected) << "row " << &row - rows;
  }
}

TEST_F(SmokeLink, McnRequestsWhereTheStateWordIsNotEnough) {
  // State; voltage and parameter polls; firmware version; what is sent; the state after.
  using Row = std::tuple<const char*, int, int, double, const char*, const char*>;
  const Row rows[] = {
      // "ACQ": values again while both counters allow, else a parameter or the voltage.
      {"ACQ", 8, 6, 0, "@RS", "RSTMIS"},
      {"ACQ", 8, 8, 0, "@LU 21", "ACQ"},
      {"ACQ", 9, 2, 0, "@RD", "ACQ"},
      {"RSTAZE", 9, 0, 0, "@RD", "RSTAZE"},
      // The status command by firmware version; the buttons' requests are cleared once sent.
      {"LPAR", 0, 0, 4004, "ST", "LPAR"},
      {"SBY", 0, 0, 4005, "@ST", "SBY"},
      {"STARTMIS", 0, 0, 0, "AZ", "STARTMIS"},
      {"STANDBY", 0, 0, 0, "SB", "STANDBY"},
      {"XYZ", 0, 0, 0, "", "XYZ"},
  };
  for (const auto& [state, voltagePolls, paramPolls, version, expected, after] : rows) {
    f_.LinkState = state, f_.VoltagePollCounter = voltagePolls, f_.ParamPollCounter = paramPolls;
    f_.RequestedLinkState = "X", link_.InstrVersionX1000 = version, link_.McnLuParam = "21";
    shell_.ExclamStampaPending = 1;
    const auto r = NextMcnSmokeRequest(f_, link_, shell_);
    const std::string sent = !r ? "" : r->data.empty() ? r->command : r->command + " " + r->data;
    EXPECT_EQ(std::tuple(sent, f_.LinkState, f_.RequestedLinkState, shell_.ExclamStampaPending),
              std::tuple(expected, after, sent == "AZ" || sent == "SB" ? "" : "X",
                         sent.ends_with("ST") ? 0 : 1));
  }
}

TEST_F(SmokeLink, McnLockParameterAndSupplyVoltageWarning) {
  using namespace plat::colors;
  const auto lu = [](const char* value, const char* number) {
    return std::string(value) + kEtb + number;
  };
  // "@LU" data; OpaLuStatus1 and OpaLuStatus2 afterwards; Label29's caption and colour.
  using Row =
      std::tuple<std::string, std::string, std::optional<std::string>, std::optional<plat::Color>>;
  const Row rows[] = {
      {lu("00016", "020"), "00016,", std::nullopt, std::nullopt},
      {lu("00002", "021"), "00016,00002", "T149", kGreen},
      {lu("00032", "020"), "00032,00002", "T148", 0x0080FF},
      {lu("00007", "020"), "00007,00002", std::nullopt, std::nullopt},
      {lu("00001", "021"), "00007,00001", "T147", kCyan},
      {lu("00000", "021"), "00007,00000", "T144", kRed},
      {lu("00016", "022"), "00007,00000", "T144", kRed},  // neither parameter: redrawn
      {lu("00016", "02"), "00007,00000", "T144", kRed},
      {"00003", "00007,00000", "T144", kRed},
      {lu("00009", "021"), "00007,00009", std::nullopt, std::nullopt},
  };
  for (const auto& [data, stored, caption, back] : rows) {
    const LinkDisplay d = TakeLockParameter(link_, shell_, data);
    EXPECT_EQ(std::tuple(link_.OpaLuStatus1 + "," + link_.OpaLuStatus2, d.label29.caption,
                         d.label29.backColor),
              std::tuple(stored, caption, back));
  }
  // The supply-voltage warning blinks red and cyan on each low reading; another colour stays.
  using Volts = std::tuple<double, plat::Color, std::optional<plat::Color>>;
  const Volts readings[] = {{10.69, kWhite, kRed}, {10.5, kRed, kCyan},
                            {9.0, kCyan, kRed},    {10.0, kGreen, std::nullopt},
                            {10.7, kRed, kWhite},  {12.6, kWhite, kWhite}};
  for (const auto& [volts, before, after] : readings) {
    view_.label30Back = before;
    const LinkDisplay d = SupplyVoltageWarning(f_, volts, view_, shell_);
    EXPECT_EQ(
        std::tuple(d.label30.backColor, d.label30Visible, d.label30.caption, f_.VoltageBlinkCount),
        std::tuple(after, volts < 10.7, volts < 10.7 ? std::optional("T160"s) : std::nullopt, 0))
        << volts;
  }
}

TEST_F(SmokeLink, McnRsReplyAndTheErrorCodeItCarries) {
  const auto handle = [&](const std::string& data, const char* echo, const std::string& text) {
    const std::string frame = "\x02OPA\x17\x31\x17@RS\x17"s + data + "00\x03";
    return HandleMcnSmokeFrame(f_, link_, smoke_, shell_, view_, frame, echo, text);
  };
  link_.McnCommand = "@RS", link_.McnCommandLen = 3, link_.McnDevNumberLen = 1;
  link_.ShowParseWarning = -1;
  const std::string withCode = "\x94\x17\x80\x17"s + "003";
  handle(withCode, "@RS", withCode);
  // The top bit is not part of the code.
  EXPECT_EQ(
      std::tuple(link_.McnRsStatus1, f_.LinkState + " " + f_.LastStatusWord, smoke_.OpaErrorCode),
      std::tuple(20, "RSEC RSEC", "003"));
  // The next reply that looks for an error code raises it once.
  const auto alarm = handle("x", "SB", "").errorAlarm;
  EXPECT_EQ(std::tuple(alarm ? alarm->caption : "-", f_.LinkState), std::tuple("ERROR 3", "SBY"));
  EXPECT_FALSE(handle("x", "AZ", "").errorAlarm);
  // In auto-zero the "@RS" reply leads back to the status and keeps the status word.
  f_.LastStatusWord = "RSTAZE";
  const std::string noCode = "\x80\x17\x80\x17"s + "000";
  handle(noCode, "@RS", noCode);
  EXPECT_EQ(f_.LinkState + " " + f_.LastStatusWord + "|" + smoke_.OpaErrorCode, "ACQXAZE RSTAZE|");
}

// A binary reply frame as the frame check passes it: STX, 'Q', ACK, echo, 0, N, data, sum, ETX.
std::string Reply(char command, const std::string& data) {
  return "\x02Q\x06"s + command + '\0' + static_cast<char>(data.size() + 2) + data + "\x7F\x03";
}
std::string Record(int channel, int high, int low) {
  return {static_cast<char>(channel), '\0', '\0', static_cast<char>(high), static_cast<char>(low)};
}
// Eight records of the usual channels, each with the value 1.
std::string Records() {
  std::string d;
  for (int ch : {3, 5, 6, 0, 2, 8, 1, 7}) d += Record(ch, 0, 1);
  return d;
}

TEST_F(SmokeLink, OwnChannelValuesAndShortReplies) {
  const auto handle = [&](char command, const std::string& data, std::int16_t model = 0) {
    return HandleOwnSmokeFrame(f_, link_, smoke_, shell_, model, view_, Reply(command, data)).use;
  };
  // Channel 7 (k x 100): a high byte of 128 or more marks the value out of range.
  using Value = std::tuple<int, int, double>;
  for (const auto& [high, low, value] : {Value{1, 2, 258}, {127, 255, 32767}, {128, 0, -1}}) {
    std::string d = Records();
    d.replace(35, 5, Record(7, high, low));
    f_.ChannelValues[7] = 99;
    EXPECT_EQ(handle('P', d), OwnReplyUse::Handled);
    EXPECT_EQ(std::pair(f_.ChannelValues[7], link_.OpaK), std::pair(value, value / 100)) << high;
  }
  // A record of channel 9 or above is ignored; the others are read.
  std::string d = Records();
  d.replace(0, 5, Record(9, 0, 50));
  d.replace(5, 5, Record(255, 0, 50));
  f_.ChannelValues.fill(7);
  EXPECT_TRUE(HandleOwnSmokeFrame(f_, link_, smoke_, shell_, 0, view_, Reply('P', d)).valueReply);
  EXPECT_EQ(
      std::tuple(f_.ChannelValues[3] + f_.ChannelValues[5], f_.ChannelValues[8], link_.OpaRpm),
      std::tuple(14, 1, 1));

  // A status reply without byte 11 and a value reply of seven records: nothing read.
  smoke_.OpaStatus0 = 0x80, f_.LinkState = "SCA";
  f_.ChannelValues.fill(0);
  EXPECT_EQ(handle('?', std::string("\x00\x00\x10\x00", 4)), OwnReplyUse::Dropped);
  EXPECT_EQ(handle('P', Records().substr(0, 35)), OwnReplyUse::Dropped);
  EXPECT_EQ(std::tuple(smoke_.OpaStatus0, f_.ChannelValues[7], f_.LinkState),
            std::tuple(0x80, 0, "SCA"));
  // Identity replies take the characters there are. Models 0 to 4 set the serial anew each
  // time after their prefix; any other model appends them to the serial it has.
  link_.InstrSerial = "AM";
  using Id = std::tuple<char, const char*, std::int16_t, const char*>;
  for (const auto& [command, data, model, stored] : {Id{'1', " 123456", 0, "AM123456"},
                                                     {'1', " 123456", 0, "AM123456"},
                                                     {'1', " 12", 3, "AP12"},
                                                     {'1', "", 0, "AM"},
                                                     {'1', " 123456", 6, "AM123456"},
                                                     {'1', " 78", -1, "AM12345678"},
                                                     {'a', "311230", 0, "31/12/2030"},
                                                     {'a', "311", 0, "31/1/20"}}) {
    EXPECT_EQ(handle(command, data, model), OwnReplyUse::Handled);
    EXPECT_EQ(command == '1' ? link_.InstrSerial : link_.InstrExpiry, stored);
  }
  EXPECT_EQ(f_.LinkState, "DS");
}

TEST_F(SmokeLink, OwnChannelListByModelAndTheQueuedZero) {
  // State, model, list answered there; the command bytes sent, in order.
  using Row = std::tuple<const char*, std::int16_t, std::int16_t, const char*>;
  const Row rows[] = {
      // The channel list while warming up (model 0) or in the check (models 1 to 4), until
      // it has been answered there; the status otherwise.
      {"RSTRI", 0, 0, "#"},  {"RSTRI", 0, 1, "?"},  {"RSTRI", 1, 0, ""},
      {"RSTCHK", 1, 0, "#"}, {"RSTCHK", 4, 1, "?"}, {"RSTCHK", 0, 0, ""},
      {"RSTATT", 1, 0, "P"}, {"SCA", 5, 0, ""},     {"LDF", 5, 0, "a"},
  };
  for (const auto& [state, model, listSent, expected] : rows) {
    for (const bool start : {false, true}) {
      SCOPED_TRACE(std::string(state) + " model " + std::to_string(model));
      f_.LinkState = state;
      f_.WarmUpListSent = f_.CheckListSent = listSent;
      f_.RequestedStart = start ? "STARTMIS" : "";
      const auto step = NextOwnSmokeRequests(f_, link_, model);
      std::string sent;
      for (const auto& q : step.requests) sent += static_cast<char>(q.command);
      EXPECT_EQ(link_.PendingCommand, sent.empty() ? link_.PendingCommand : sent.back());
      EXPECT_EQ(std::tuple(sent, f_.RequestedStart, step.cmdOutEnabled,
                           step.requests.empty() ? "" : step.requests[0].data),
                std::tuple(expected + (start ? "E"s : ""), "", sent.starts_with("P"),
                           sent.starts_with("#") ? "\x08\x03\x05\x06\x00\x02\x08\x01\x07"s : ""));
    }
  }
}

}  // namespace
}  // namespace vs::smoke
