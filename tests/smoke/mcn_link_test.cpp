// The MCTC-NET smoke link at the record level: the request of each state word, the lock
// display, the supply-voltage warning and the cell-chamber alarm.
#include <gtest/gtest.h>

#include <string>

#include "link/LinkState.h"
#include "shell/ShellState.h"
#include "smoke/McnSmokeLink.h"
#include "smoke/SmokeFormFields.h"
#include "smoke/SmokeState.h"
#include "smoke_test_util.h"

namespace vs::smoke {
namespace {

constexpr char kEtb = 23;

class McnLink : public ::testing::Test {
 protected:
  void SetUp() override {
    shell_.LangText = test::NumberedTexts();
    link_.McnLuParam = "21";
  }
  std::string Next() {
    const auto r = NextMcnSmokeRequest(f_, link_, shell_);
    if (!r) return "";
    EXPECT_EQ(link_.McnCommand, r->command);
    EXPECT_EQ(link_.McnCommandLen, static_cast<int>(r->command.size()));
    return r->data.empty() ? r->command : r->command + " " + r->data;
  }
  SmokeFormFields f_;
  LinkState link_;
  SmokeState smoke_;
  ShellState shell_;
  LinkView view_;
};

TEST_F(McnLink, RequestsWhereTheStateWordIsNotEnough) {
  struct Row {
    const char* state;
    int voltagePolls, paramPolls;
    double version;
    const char* sent;
    const char* stateAfter;
  } rows[] = {
      // "ACQ": values again while both counters allow, else a parameter or the voltage.
      {"ACQ", 8, 6, 0, "@RS", "RSTMIS"},
      {"ACQ", 8, 8, 0, "@LU 21", "ACQ"},
      {"ACQ", 9, 2, 0, "@RD", "ACQ"},
      {"RSTAZE", 9, 0, 0, "@RD", "RSTAZE"},
      // The status command by firmware version.
      {"LPAR", 0, 0, 4004, "ST", "LPAR"},
      {"SBY", 0, 0, 4005, "@ST", "SBY"},
      // The buttons' requests are cleared once sent.
      {"STARTMIS", 0, 0, 0, "AZ", "STARTMIS"},
      {"STANDBY", 0, 0, 0, "SB", "STANDBY"},
      {"XYZ", 0, 0, 0, "", "XYZ"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.state);
    f_.LinkState = r.state;
    f_.VoltagePollCounter = r.voltagePolls;
    f_.ParamPollCounter = r.paramPolls;
    f_.RequestedLinkState = "X";
    link_.InstrVersionX1000 = r.version;
    link_.McnLuParam = "21";
    shell_.ExclamStampaPending = 1;
    const std::string sent = Next();
    EXPECT_EQ(sent, r.sent);
    EXPECT_EQ(f_.LinkState, r.stateAfter);
    EXPECT_EQ(f_.RequestedLinkState, sent == "AZ" || sent == "SB" ? "" : "X");
    EXPECT_EQ(shell_.ExclamStampaPending, sent.ends_with("ST") ? 0 : 1);
  }
  // "@LU" alternates its parameter.
  f_.LinkState = "IDE";
  f_.VoltagePollCounter = 0;
  EXPECT_EQ(Next(), "@LU 21");
  EXPECT_EQ(Next(), "@LU 20");
  EXPECT_EQ(Next(), "@LU 21");
}

TEST_F(McnLink, LockParameterAndItsDisplay) {
  const auto lu = [](const char* value, const char* number) {
    return std::string(value) + kEtb + number;
  };
  struct Row {
    std::string data;
    const char* status1;  // OpaLuStatus1 and OpaLuStatus2 afterwards
    const char* status2;
    std::optional<std::string> caption;
    std::optional<plat::Color> back;
  } rows[] = {
      {lu("00016", "020"), "00016", "", std::nullopt, std::nullopt},
      {lu("00002", "021"), "00016", "00002", "T149", plat::colors::kGreen},
      {lu("00032", "020"), "00032", "00002", "T148", 0x0080FF},
      {lu("00007", "020"), "00007", "00002", std::nullopt, std::nullopt},
      {lu("00001", "021"), "00007", "00001", "T147", plat::colors::kCyan},
      {lu("00000", "021"), "00007", "00000", "T144", plat::colors::kRed},
      {lu("00016", "022"), "00007", "00000", "T144", plat::colors::kRed},  // neither: redrawn
      {"00016" + std::string(1, kEtb) + "02", "00007", "00000", "T144", plat::colors::kRed},
      {"00003", "00007", "00000", "T144", plat::colors::kRed},
      {lu("00009", "021"), "00007", "00009", std::nullopt, std::nullopt},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.data);
    const LinkDisplay d = TakeLockParameter(link_, shell_, r.data);
    EXPECT_EQ(link_.OpaLuStatus1, r.status1);
    EXPECT_EQ(link_.OpaLuStatus2, r.status2);
    EXPECT_EQ(d.label29.caption, r.caption);
    EXPECT_EQ(d.label29.backColor, r.back);
  }
}

TEST_F(McnLink, SupplyVoltageWarningBlinksOnEachLowReading) {
  struct Row {
    double volts;
    plat::Color backBefore;
    std::optional<plat::Color> backAfter;
    bool visible;
  } rows[] = {
      {10.69, plat::colors::kWhite, plat::colors::kRed, true},
      {10.5, plat::colors::kRed, plat::colors::kCyan, true},
      {9.0, plat::colors::kCyan, plat::colors::kRed, true},
      {10.0, plat::colors::kGreen, std::nullopt, true},  // another colour stays
      {10.7, plat::colors::kRed, plat::colors::kWhite, false},
      {12.6, plat::colors::kWhite, plat::colors::kWhite, false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.volts);
    view_.label30Back = r.backBefore;
    const LinkDisplay d = SupplyVoltageWarning(f_, r.volts, view_, shell_);
    EXPECT_EQ(d.label30.backColor, r.backAfter);
    EXPECT_EQ(d.label30Visible, r.visible);
    EXPECT_EQ(d.label30.caption, r.visible ? std::optional<std::string>("T160") : std::nullopt);
    EXPECT_EQ(f_.VoltageBlinkCount, 0);
  }
}

TEST_F(McnLink, CellChamberAlarmInStandBy) {
  struct Row {
    double cell, smoke;
    bool alarm;
  } rows[] = {{1.0, 20.0, true}, {0, 300, true}, {1.01, 20.0, false}, {1.0, 19.99, false}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.cell);
    link_.OpaCellTemp = r.cell;
    link_.OpaSmokeTemp = r.smoke;
    const LinkDisplay d = DecodeMcnStatus(f_, link_, smoke_, shell_, view_, "B");
    ASSERT_EQ(d.critic.has_value(), r.alarm);
    if (r.alarm) {
      EXPECT_EQ(d.critic->caption, "ERROR 10");
      EXPECT_EQ(d.critic->text, "T161");
    }
  }
}

TEST_F(McnLink, RsReplyAndTheErrorCodeItCarries) {
  const auto frame = [](const std::string& data) {
    return std::string(
               "\x02OPA\x17"
               "1\x17@RS\x17") +
           data + "00\x03";
  };
  link_.McnCommand = "@RS";
  link_.McnCommandLen = 3;
  link_.McnDevNumberLen = 1;
  link_.ShowParseWarning = -1;
  const std::string withCode = std::string("\x94\x17\x80\x17") + "003";
  auto out =
      HandleMcnSmokeFrame(f_, link_, smoke_, shell_, view_, frame(withCode), "@RS", withCode);
  EXPECT_EQ(link_.McnRsStatus1, 20);  // the top bit is not part of the code
  EXPECT_EQ(f_.LinkState, "RSEC");
  EXPECT_EQ(f_.LastStatusWord, "RSEC");
  EXPECT_EQ(smoke_.OpaErrorCode, "003");
  // The next reply that looks for an error code raises it once.
  out = HandleMcnSmokeFrame(f_, link_, smoke_, shell_, view_, frame("x"), "SB", "");
  ASSERT_TRUE(out.errorAlarm);
  EXPECT_EQ(out.errorAlarm->caption, "ERROR 3");
  EXPECT_EQ(f_.LinkState, "SBY");
  out = HandleMcnSmokeFrame(f_, link_, smoke_, shell_, view_, frame("x"), "AZ", "");
  EXPECT_FALSE(out.errorAlarm);

  // In auto-zero the "@RS" reply leads back to the status and keeps the status word.
  f_.LastStatusWord = "RSTAZE";
  const std::string noCode = std::string("\x80\x17\x80\x17") + "000";
  HandleMcnSmokeFrame(f_, link_, smoke_, shell_, view_, frame(noCode), "@RS", noCode);
  EXPECT_EQ(f_.LinkState, "ACQXAZE");
  EXPECT_EQ(f_.LastStatusWord, "RSTAZE");
  EXPECT_EQ(smoke_.OpaErrorCode, "");
}

}  // namespace
}  // namespace vs::smoke
