#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "app/Program.h"
#include "link/SmokeRpmReplies.h"
#include "link_test_util.h"

namespace vs {
namespace {

using testing::BareReply;
using ::testing::DoubleEq;
using testing::Fields;
using ::testing::Pointwise;
using testing::Reply;
using Texts = std::vector<std::string>;
using Numbers = std::vector<double>;

class SmokeRpmRepliesTest : public ::testing::Test {
 protected:
  SmokeRpmRepliesTest() {
    l.McnAddress = "OPA";
    l.McnDevNumberLen = 1;
    l.McnCommandLen = 3;
  }
  Program p{plat::EventLoop::ClockKind::Manual};
  LinkState& l = p.link;
};

TEST_F(SmokeRpmRepliesTest, OpacimeterValues) {
  const auto values = [&] {
    return Numbers{l.OpaK,         l.OpaN,        l.OpaRpm,        l.OpaOilTemp,
                   l.OpaSmokeTemp, l.OpaCellTemp, l.OpaValueField7};
  };
  ParseOpaMeasureReply(
      p, Reply("@VA", Fields({"1.23", "41.5", "780", "88", "120", "75", "9"}), "OPA"));
  EXPECT_THAT(values(), Pointwise(DoubleEq(), Numbers{1.23, 41.5, 780, 88, 120, 75, 9}));
  EXPECT_EQ((Texts{l.OpaValueText5, l.OpaValueText6, l.OpaValueText7}), (Texts{"120", "75", "9"}));
  // The counter's readings replace engine speed and oil temperature when switched in.
  p.shell.ExternRpm = 1;
  p.shell.ExternOilTemp = 1;
  l.RpmCounterRpm = 2100;
  l.RpmCounterOilTemp = 70.5;
  ParseOpaMeasureReply(p, Reply("@VA", Fields({"1", "2", "3", "4", "888.0", "6", "7"}), "OPA"));
  EXPECT_THAT(values(), Pointwise(DoubleEq(), Numbers{1, 2, 2100, 70.5, 888, 6, 7}));
}

TEST_F(SmokeRpmRepliesTest, OpacimeterShortRepliesAndTheOneShotHint) {
  l.ShowParseWarning = -1;
  ParseOpaMeasureReply(p, Reply("@VA", Fields({"1", "2", "3", "4", "5", "6"}), "OPA"));
  EXPECT_EQ(l.OpaValueText7, "");
  EXPECT_DOUBLE_EQ(l.OpaValueField7, 0);
  EXPECT_TRUE(l.headless.portHints.empty());
  // Five fields: the cell temperature reads 0, then the warning, once.
  l.OpaCellTemp = 50;
  ParseOpaMeasureReply(p, Reply("@VA", Fields({"9", "9", "9", "9", "9"}), "OPA"));
  EXPECT_DOUBLE_EQ(l.OpaK, 9);
  EXPECT_DOUBLE_EQ(l.OpaCellTemp, 0);
  ASSERT_EQ(l.headless.portHints.size(), 1u);
  EXPECT_EQ(l.headless.portHints[0],
            "SCEGLIERE LA PORTA DI COMUNICAZIONE NELLA FINESTRA SET-UP OPACIMETRO, DOPODICHE' "
            "SCEGLIERE LO STRUMENTO NELLA FINESTRA ANALISI FUMO");
  ParseOpaMeasureReply(p, BareReply("@VA", "OPA"));
  ParseOpaRdReply(p, BareReply("@RD", "OPA"));
  EXPECT_EQ(l.headless.portHints.size(), 1u);
  p.shell.LanguageCode = 2;
  l.ShowParseWarning = -1;
  ParseOpaRdReply(p, Reply("@RD", Fields({"1", "2", "3", "4"}), "OPA"));
  ASSERT_EQ(l.headless.portHints.size(), 2u);
  EXPECT_EQ(l.headless.portHints[1],
            "CHOOSE THE CORRECT COMUNICATION PORT INTO SMOKE-METER SET-UP WINDOW, AFTER CHOOSE "
            "THE INSTRUMENT INTO SMOKE ANALYSIS WINDOW ");
}

TEST_F(SmokeRpmRepliesTest, SupplyVoltageInVolts) {
  ParseOpaRdReply(p, Reply("@RD", Fields({"a", "b", "c", "d", "e", "12450"}), "OPA"));
  EXPECT_DOUBLE_EQ(l.OpaSupplyVoltage, 12.45);
  ParseOpaRdReply(p, Reply("@RD", Fields({"a", "b", "c", "d", "e"}), "OPA"));
  EXPECT_DOUBLE_EQ(l.OpaSupplyVoltage, 0);
}

TEST_F(SmokeRpmRepliesTest, EngineSpeedCounter) {
  const auto state = [&] {
    return std::tuple(l.RpmReplyText1, l.RpmReplyText2, l.RpmCounterRpm, l.RpmCounterOilTemp);
  };
  ParseRpmVaReply(p, Reply("VA", "1450", "RPM"), 2, 1);
  // "VA" and "TP" take the whole data text, ETBs and all.
  ParseRpmTpReply(p, Reply("TP", Fields({"85.5", "x"}), "RPM"), 2, 1);
  EXPECT_EQ(state(), std::tuple("1450", "85.5\x17x", 1450.0, 85.5));
  ParseRpmVeReply(p, Reply("VE", Fields({"900", "77"}), "RPM"), 2, 1);
  EXPECT_EQ(state(), std::tuple("900", "77", 900.0, 77.0));
  ParseRpmVeReply(p, Reply("VE", "", "RPM"), 2, 1);
  EXPECT_EQ(state(), std::tuple("", "", 0.0, 0.0));
  // Too short for the header: texts blank, numbers kept.
  l.RpmCounterRpm = 5;
  l.RpmCounterOilTemp = 6;
  ParseRpmVaReply(p, BareReply("VA", "RPM"), 2, 1);
  ParseRpmTpReply(p, BareReply("TP", "RPM"), 2, 1);
  EXPECT_EQ(state(), std::tuple(" ", " ", 5.0, 6.0));
  l.RpmReplyText1 = l.RpmReplyText2 = "";
  ParseRpmVeReply(p, "\x02RPM\x03", 2, 1);
  EXPECT_EQ(state(), std::tuple(" ", " ", 5.0, 6.0));
}

TEST_F(SmokeRpmRepliesTest, ErrorCodesThatShowCritic) {
  p.shell.LangText[161] = "CELLA";
  struct Case {
    const char* code;
    const char* caption;
    const char* italian;
    const char* english;
  };
  const Case cases[] = {
      {"002", "ERROR 2", "SPENGERE OPACIMETRO E PULIRE PARTI OTTICHE",
       "TURN OF SMOKE METER AND CLEAN OPTICAL PATH"},
      {"003", "ERROR 3", "SPENGERE OPACIMETRO", "TURN OF SMOKE METER"},
      {"004", "ERROR 4", "EMETTITORE NON OPERATIVO, SPENGERE OPACIMETRO",
       "LIGHT EMITTER NOT OPERATING, TURN OFF SMOKE METER"},
      {"006", "ERROR 6", "OPERAZIONE NON CONSENTITA", "NOT VALID OPERATION"},
      {"007", "ERROR 7", "TEMPERATURA TROPPO ALTA, SPENGERE OPACIMETRO",
       "TEMPERATURE TOO HIGHT, TURN OFF SMOKE METER"},
      {"010", "ERROR 10", "CELLA", "CELLA"},
  };
  std::vector<std::string> events;
  l.ui.setSmokeTimerEnabled = [&](bool on) { events.push_back(on ? "timer on" : "timer off"); };
  l.ui.showCritic = [&](const std::string& caption, const std::string& text) {
    events.push_back(caption + "|" + text + "|" + std::to_string(l.ShowParseWarning));
  };
  for (int language : {0, 1, 2, 3}) {
    p.shell.LanguageCode = static_cast<std::int16_t>(language);
    for (const Case& c : cases) {
      events.clear();
      l.ShowParseWarning = -1;
      ShowOpaErrorCode(p, c.code);
      const std::string text = language == 2 ? c.english : c.italian;
      const std::vector<std::string> expected = {"timer off",
                                                 std::string(c.caption) + "|" + text + "|0"};
      EXPECT_EQ(events, expected) << c.code << " language " << language;
    }
  }
}

TEST_F(SmokeRpmRepliesTest, ErrorCodesWithoutMessage) {
  for (const char* code : {"001", "005"}) {
    l.ShowParseWarning = -1;
    ShowOpaErrorCode(p, code);
    EXPECT_EQ(l.ShowParseWarning, 0) << code;
  }
  for (const char* code : {"008", "", "2", "0020", "000", "010 "}) {
    l.ShowParseWarning = -1;
    ShowOpaErrorCode(p, code);
    EXPECT_EQ(l.ShowParseWarning, -1) << code;
  }
  EXPECT_TRUE(l.headless.critics.empty());
  EXPECT_TRUE(l.headless.smokeTimerSettings.empty());
  // Without forms hooked in, the requests are recorded.
  ShowOpaErrorCode(p, "003");
  ASSERT_EQ(l.headless.critics.size(), 1u);
  EXPECT_EQ(l.headless.critics[0].first, "ERROR 3");
  EXPECT_EQ(l.headless.smokeTimerSettings, std::vector<bool>{false});
}

}  // namespace
}  // namespace vs
