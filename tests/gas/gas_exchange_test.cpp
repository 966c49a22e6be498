// Both protocols' reply steps on the records, without a form: the binary protocol's readings,
// corrected CO, short frames, calibration bar and status replies; the MCTC-NET leak check,
// status character and codes, HC residue check, parameter and request data.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gas/GasState.h"
#include "gas/McnGasExchange.h"
#include "gas/OwnGasExchange.h"
#include "gas_fixture.h"
#include "link/LinkState.h"
#include "link/MctcNetFrame.h"
#include "shell/LanguageKeys.h"
#include "shell/ShellState.h"
#include "sim/Instrument.h"

namespace vs::test {
namespace {

TEST(CorrectedCoTest, FormedAsShownAndNotComputableOutOfRange) {
  using Row = std::tuple<double, double, std::optional<int>, double>;  // CO, CO2, K, shown
  const Row rows[] = {
      {1.3, 8.0, 15, 2.0},   // 2.05.. cut down, not rounded up
      {0.2, 9.8, 15, 0.3},   // 0.3 exactly, as shown: a limit of 0.3 is met
      {0.5, 3.0, 15, 65},    // too diluted
      {1.0, 14.0, 15, 1.0},  // CO + CO2 at K: the CO as it is
      {1.26, 3.0, {}, 1.3},  // K not set yet: the CO rounded
      {-1, 14.0, 15, 65},    // CO out of range
      {0.5, -1, 15, 65},     // CO2 out of range
      {-1, -1, {}, 65},
  };
  for (auto [co, co2, k, shown] : rows) EXPECT_EQ(CorrectedCo(co, co2, k), shown) << co << co2;
}

// A "P" reply of eight records with every value byte 0 except those set: position, value, ...
std::string Measurement(std::initializer_list<int> bytes) {
  std::string data(40, '\0');
  for (auto b = bytes.begin(); b != bytes.end(); b += 2)
    data[static_cast<std::size_t>(b[0] - 7)] = static_cast<char>(b[1]);
  return sim::BinaryReply(49, 'P', data);
}

class OwnGasExchangeTest : public ::testing::Test {
 protected:
  OwnGasReplyResult Handle(const std::string& frame, ProgressView bar = {}) {
    return HandleOwnGasFrame(v_, g_, l_, s_, r_, bar, frame);
  }
  static std::string Caption(const OwnGasReplyResult& res, GasControl c) {
    std::string text = "(none)";
    for (const ScreenEdit& e : res.edits)
      if (e.control == c && e.kind == ScreenEdit::Kind::Caption) text = e.text;
    return text;
  }
  std::string Status(std::string bytes) { return sim::BinaryReply(49, '?', bytes); }

  GasTestVars v_;
  GasState g_;
  LinkState l_;
  ShellState s_;
  plat::RegionalSettings r_;
};

TEST_F(OwnGasExchangeTest, MeasurementReplies) {
  using enum GasControl;
  s_.GasModelIndex = 2;
  v_.KFactor = 15;
  l_.GasCOcorr = 7;  // an earlier vehicle's value
  // The bytes are unsigned: HC 200 x 256; CO 0.5 (1, 244); CO2 14 (54, 176); O2 40.96 (160,
  // 0); lambda 2.56 (10, 0); rpm 20479 (79, 255). Model 2 computes the corrected CO.
  auto res = Handle(
      Measurement({40, 200, 30, 1, 31, 244, 35, 54, 36, 176, 45, 160, 20, 10, 25, 79, 26, 255}));
  ASSERT_TRUE(res.handled && res.measurement);
  EXPECT_EQ(
      std::tuple(l_.GasHC, l_.GasO2, l_.GasLambda, l_.GasRpm, l_.GasCOcorr, Caption(res, Label9)),
      std::tuple(51200, 40.96, 2.56, 20479, 0.5, "0.5"));
  // Out marks: CO2, rpm without signal, rpm out of range, lambda, oil temperature.
  res = Handle(Measurement({35, 255, 25, 255, 20, 11, 9, 4}));
  EXPECT_EQ(std::tuple(l_.GasCO2, l_.GasCOcorr, l_.GasOilTemp, Caption(res, Label9),
                       Caption(res, Label15), Caption(res, Label26)),
            std::tuple(-1, 65, -1, "Out", "- - -", "Out"));
  Handle(Measurement({25, 80}));
  EXPECT_EQ(l_.GasRpm, -1);

  // The extended HC range: option bit 2 and a firmware from 5.4, each digit on its own. Raw
  // 0x3FFFFF is the range's zero point (10477); 0x400000 + 1 200 000 reads far above.
  s_.SystemEnableMask = 2;
  s_.GasModelIndex = 0;
  for (auto [version, raw, shown] : {std::tuple("5.4", 0x3FFFFF, "10477"),
                                     {"9.9", 0x3FFFFF, "10477"},
                                     {"6.0", 0x3FFFFF, "Out"},
                                     {"4.9", 0x3FFFFF, "Out"},
                                     {"5.4", 0x524F80, "Out"}}) {
    g_.GasFirmwareVersion = version;
    res = Handle(Measurement({40, 255, 14, raw >> 16, 15, (raw >> 8) & 255, 16, raw & 255}));
    EXPECT_EQ(Caption(res, Label11), shown) << version << raw;
  }

  // The identity's serial and version bytes are Windows-1252 (\260 a degree sign, \351 an e
  // with an acute accent), shown and printed as UTF-8.
  res = Handle(sim::BinaryReply(49, '1', std::string(" AQ\26012345 \1\2\0\0\0\3514", 17)));
  EXPECT_EQ(std::tuple(l_.GasSerialNumber, Caption(res, Label25)),
            std::tuple("AQ\u00b012345", "\u00e9.4"));

  // Frames too short for what they carry, or whose length byte is wrong, are rejected.
  v_.Stato = "ACQ";
  l_.GasCO = 3;
  for (int command : {'P', '?', '1', '.'})
    EXPECT_FALSE(Handle(sim::BinaryReply(49, command, "\1\1\1")).handled) << char(command);
  std::string frame = Measurement({});
  frame[5] = 2;
  EXPECT_FALSE(Handle(frame).handled);
  EXPECT_EQ(std::tuple(l_.GasCO, v_.Stato), std::tuple(3, "ACQ"));
}

TEST_F(OwnGasExchangeTest, StatusReplies) {
  s_.GasModelIndex = 0;
  v_.Stato = v_.PrevState = "SCA";
  // Error 32 with detail 7: the message, and the sequence waits for Start/Stop. Fuel code 67:
  // petrol with catalyst, two-stroke; K 15.
  const auto res = Handle(Status({32, 67, 0, 0, 7}));
  EXPECT_EQ(std::tuple(v_.Stato, v_.RedoFlag, Caption(res, GasControl::Label27), v_.FuelIndex,
                       v_.StrokesIndex, v_.KFactor),
            std::tuple("RSTERT", 1, s_.LangText[lang::ANGASErrTen] + " 7", 1, 1, 15));
  v_.FuelIndex = 4;
  Handle(Status({1, 70, 0, 0, 0}));  // fuel code 70 changes nothing
  EXPECT_EQ(std::tuple(v_.FuelIndex, v_.Stato), std::tuple(4, "ACQ"));
  // The warm-up resends the channel list only the first time; fault 34 has no request.
  std::string asked;
  for (const std::string& reply : {Status({2, 0, 0, 0, 0}), sim::BinaryReply(49, '#', ""),
                                   Status({2, 0, 0, 0, 0}), Status({34, 0, 0, 0, 0})}) {
    Handle(reply);
    const auto next = NextOwnGasRequest(v_, s_, g_);
    asked += next ? static_cast<char>(next->command) : '_';
  }
  EXPECT_EQ(asked, "#??_");

  // The calibration bar starts its sweep again past its maximum: 802 ticks.
  auto bar = [&](int tick, float shown) {
    v_.GasTickCount = tick;
    float value = -1;
    for (const ScreenEdit& e : Handle(Status({65, 3, 0, 0, 0}), {true, 0, 800, shown}).edits)
      if (e.kind == ScreenEdit::Kind::Value) value = e.value;
    return value;
  };
  v_.GasWindowStart = 100;
  EXPECT_EQ((std::tuple{bar(898, 796), bar(902, 798), v_.GasWindowStart, bar(906, 0)}),
            std::tuple(798.0f, 0.0f, 902, 4.0f));
}

// The records of an MCTC-NET conversation and a reply handled on them.
struct Records {
  LinkState l;
  GasState g;
  ShellState s;
  std::string Stato = "x", StatoRichiesto, PrevState, GasPhase;
  std::int16_t AutoZeroCount = 0, StandbyAfterEt = 0, FuelIndex = 1, StrokesIndex = 0;

  Records() {
    l.McnAddress = "GAS";
    l.McnDevNumber = "1";
    l.McnDevNumberLen = 1;
    for (std::size_t i = 0; i < s.LangText.size(); ++i) s.LangText[i] = "t" + std::to_string(i);
  }
  McnGasWords Words() {
    return {Stato,          StatoRichiesto, PrevState,    GasPhase, AutoZeroCount,
            StandbyAfterEt, FuelIndex,      StrokesIndex, 1};
  }
  McnGasScreen Reply(const std::string& command, const std::string& data) {
    l.McnCommand = command;
    l.McnCommandLen = static_cast<std::int16_t>(command.size());
    std::string buffer = sim::MctcReply("GAS", command, data);
    const McnCollected got = CollectTestFormReply(l, buffer);
    EXPECT_EQ(got.status, McnCollected::Status::Accepted);
    return DecideMcnGasReply(Words(), l, g, s, got, {2026, 12, 7, 14, 35, 0});
  }
};

// The leak check's verdict and age, at 14:35 on 7 December 2026: the reply, the station's
// option mask, the state before; the state and flag after, the box told (0: none), and whether
// Start and stand-by come back.
TEST(McnGasRulesTest, LeakCheckVerdictAndAge) {
  constexpr std::size_t kExpired = lang::ANGASETmsgbox, kLate = lang::ANGASETIRRmsgbox;
  using Row = std::tuple<const char*, std::string, int, const char*, const char*, const char*,
                         std::size_t, bool>;
  const Row rows[] = {
      {"valid today", Fields({"R", "07122026", "0001"}), 0, "", "ETER", "R", 0, true},
      {"a day old", Fields({"R", "06122026", "1435"}), 0, "", "ETER", "R", 0, true},
      {"a minute older", Fields({"R", "06122026", "1434"}), 0, "", "ETEI", "I", kExpired, true},
      {"two days ago", Fields({"R", "05122026", "2359"}), 0, "", "ETEI", "I", kExpired, true},
      {"no date", Fields({"R", "", ""}), 0, "", "ETEI", "I", kExpired, true},
      {"failed split keeps the word", "", 0, "", "x", " ", 0, true},
      {"after \"@LS\"", Fields({"R", "07122026", "1200"}), 0, "LSEN", "ETER", "R", kLate, true},
      {"refused", Fields({"I", "07122026", "1200"}), 0, "", "ETEI", "I", kExpired, true},
      {"reading", Fields({"E", "07122026", "1200"}), 0, "", "ETEE", "E", 0, false},
      {"skipped", Fields({"E", "07122026", "1200"}), 4, "", "ETER", "R", 0, true},
      {"expired but skipped", Fields({"I", "01012020", "1200"}), 4, "", "ETER", "R", 0, true},
  };
  for (const auto& [name, data, mask, prev, stato, flag, box, back] : rows) {
    SCOPED_TRACE(name);
    Records r;
    r.s.SystemEnableMask = static_cast<std::uint8_t>(mask);
    r.PrevState = prev;
    r.l.McnRsStatus1 = 9;
    const McnGasScreen out = r.Reply("ET", data);
    EXPECT_EQ(std::tuple(r.Stato, r.PrevState, r.l.McnEtFlag, out.boxes, out.startAndStandbyEnabled,
                         r.l.McnRsStatus1),
              std::tuple(stato, stato, flag, box ? std::vector{box} : std::vector<std::size_t>{},
                         back, back ? 0 : 9));
  }
}

TEST(McnGasRulesTest, StatusCharacterAndTheAnalysersCodes) {
  // What happened, the "@RS" data before the status ("" none sent), the "@ST" data, the status
  // and state after, and the Label27 text ("" untouched).
  using Row = std::tuple<const char*, std::string, std::string, int, const char*, std::string>;
  const Row rows[] = {
      {"warm-up", "", "A", 1, "RSTRIS", "t28"},
      {"stand-by, channel error", Fields({"\xA3", "\x05"}), "B", 2, "RSTSB", "t162 CO HC"},
      {"stand-by, codes cleared by an empty reply", "#", "B", 2, "RSTSB", "t9"},
      {"measuring asks for the leak check", "\x1A", "H", 8, "TTE", ""},
      {"measuring asks for the HC residue check", "\x14", "H", 8, "HCRES", ""},
      {"status 0", "", "@", 0, "RSTMIS", ""},
      {"no status at all", "", "", 0, "RSTMIS", ""},
  };
  for (const auto& [name, rs, status, mcnStatus, stato, message] : rows) {
    SCOPED_TRACE(name);
    Records r;
    r.g.GasMcnStatus = 8;
    if (!rs.empty()) r.Reply("@RS", rs);
    if (rs == "#") r.Reply("@RS", "");  // the codes of an earlier reply, then none
    const McnGasScreen out = r.Reply("@ST", status);
    EXPECT_EQ(std::tuple(r.g.GasMcnStatus, r.Stato, out.message ? out.message->text : ""),
              std::tuple(mcnStatus, stato, message));
  }
}

TEST(McnGasRulesTest, HcResidueParameterAndRequestData) {
  Records r;
  EXPECT_EQ(r.Reply("EH", "I").boxes, std::vector<std::size_t>{lang::ANGASEHCIRRmsgbox});
  EXPECT_EQ(r.GasPhase + "|" + r.Stato, "|ESHC");  // a failed check starts no test phase
  r.Stato = "LAL";
  EXPECT_FALSE(r.Reply("@LU", Fields({"0.5", "046"})).pef);
  EXPECT_EQ(r.Stato, "LAL");
  EXPECT_EQ(r.Reply("@LU", Fields({"012", "047"})).pef, "012");
  EXPECT_EQ(r.Stato, "LI");

  // "@SA": six fields, a fuel text joined by "@LA" split into its two words.
  r.l.McnSaField3 = "04";
  r.l.McnStrokes = "4";
  r.l.McnHcRatio = "2.570";
  r.l.McnOcRatio = "0.000";
  r.Stato = r.StatoRichiesto = "@SA";
  for (const char* joined : {"GPLCAT", "GPL\027CAT"}) {
    r.l.McnFuelText = joined;
    EXPECT_EQ(NextMcnGasRequest(r.Words(), r.l, {})->data,
              Fields({"GPL", "CAT", "04", "4", "2.570", "0.000"}));
  }
  EXPECT_EQ(r.StatoRichiesto, "");
  r.l.McnFuelText = " ";  // an "@LA" reply that did not parse: still six fields
  EXPECT_EQ(McnFuelSettingsData(r.l), Fields({" ", "", "04", "4", "2.570", "0.000"}));
}

}  // namespace
}  // namespace vs::test
