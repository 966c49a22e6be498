// The reply parsers of the gas analyser, the opacimeter and the engine-speed counter.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "link/ReplyParsers.h"
#include "link/SmokeRpmReplies.h"
#include "link_test_util.h"
#include "state/ProgramState.h"

namespace vs {
namespace {

using testing::BareReply;
using ::testing::DoubleEq;
using testing::Fields;
using ::testing::Pointwise;
using testing::Reply;
using Texts = std::vector<std::string>;
using Numbers = std::vector<double>;

class ParsersTest : public ::testing::Test {
 protected:
  // The seven texts of the identification.
  Texts Id() const {
    return {l.InstrMake,   l.InstrModel,   l.InstrHomologation, l.InstrSerial,
            l.InstrExpiry, l.InstrVersion, l.McnIdField7};
  }
  // The nine readings of "@VA" in their field order.
  Numbers Gas() const {
    return {l.GasCO,     l.GasCOcorr,  l.GasCO2, l.GasHC, l.GasO2,
            l.GasLambda, l.GasOilTemp, l.GasRpm, l.GasNOx};
  }
  void Va(std::initializer_list<std::string_view> fields) {
    Hint(ParseGasVaReply(l, p.shell, Reply("@VA", Fields(fields)), 3, 1));
  }

  // Keeps a port hint that a parser returns, as ExclamStampa would show it.
  void Hint(const PortHint& hint) {
    if (hint) hints.push_back(*hint);
  }

  ProgramState p{plat::EventLoop::ClockKind::Manual};
  LinkState& l = p.link;
  std::vector<std::string> hints;
};

TEST_F(ParsersTest, IdentificationWithSevenSixAndFiveFields) {
  ParseIdReply(l, Reply("ID", Fields({"MAKE", "TOPAZ", "OM123", "SN0042", "31122025", "1.5", "x"})),
               2, 1);
  EXPECT_EQ(Id(), (Texts{"MAKE", "TOPAZ", "OM123", "SN0042", "31/12/2025", "1.5", "x"}));
  EXPECT_EQ((Texts{l.GasSerialNumber, l.GasCheckExpiry}), (Texts{"SN0042", "31/12/2025"}));
  EXPECT_DOUBLE_EQ(l.InstrVersionX1000, 1500);
  EXPECT_EQ(l.McnReplyWork,
            Fields({"MAKE", "TOPAZ", "OM123", "SN0042", "31122025", "1.5", "x", "", ""}));

  ParseIdReply(l, Reply("ID", Fields({"A", "B", "C", "D", "01012024", "4.005"})), 2, 1);
  EXPECT_EQ(l.McnIdField7, "");
  EXPECT_DOUBLE_EQ(l.InstrVersionX1000, 4005);
  // Five fields: the version reads "", the seventh field is missing, the parse fails
  // after the gas analyser's copies were made.
  ParseIdReply(l, Reply("ID", Fields({"M", "N", "O", "NEWSN", "02032026"})), 2, 1);
  EXPECT_EQ(Id(), Texts(7, " "));
  EXPECT_EQ((Texts{l.GasSerialNumber, l.GasCheckExpiry}), (Texts{"NEWSN", "02/03/2026"}));
  EXPECT_DOUBLE_EQ(l.InstrVersionX1000, 4005);

  // Fields become texts from Windows-1252; a short date field is cut as far as it goes.
  ParseIdReply(l, Reply("ID", Fields({"Citt\xE0", "\x80", "", "", "", "", ""})), 2, 1);
  EXPECT_EQ(Id(), (Texts{"Città", "€", "", "", "//", "", ""}));
  EXPECT_EQ(l.InstrVersionX1000, 0);
}

TEST_F(ParsersTest, ReplyTooShortForItsHeaderFails) {
  l.GasSerialNumber = "KEEP";
  for (const std::string& reply :
       {BareReply("ID"), std::string(), std::string("\x02\x03"), testing::Ctl("<GAS|1|")}) {
    l.InstrMake = "old";
    ParseIdReply(l, reply, 2, 1);
    EXPECT_EQ(l.InstrMake, " ");
    EXPECT_EQ(l.McnReplyWork, "");
  }
  EXPECT_EQ(l.GasSerialNumber, "KEEP");
  // Lengths that do not fit the frame at all.
  l.InstrMake = "old";
  ParseIdReply(l, Reply("ID", "A"), -20, 1);
  EXPECT_EQ(l.InstrMake, " ");
  l.InstrMake = "old";
  ParseIdReply(l, Reply("ID", "A"), 2, 30000);
  EXPECT_EQ(l.InstrMake, " ");
}

TEST_F(ParsersTest, FuelSettings) {
  const auto texts = [&] {
    return Texts{l.McnFuelText, l.McnSaField3, l.McnStrokes, l.McnHcRatio, l.McnOcRatio};
  };
  ParseGasLaReply(l, Reply("@LA", Fields({"BENZINA", "NO CAT", "04", "4", "1.730", "0.000"})), 3,
                  1);
  EXPECT_EQ(texts(), (Texts{"BENZINANO CAT", "04", "4", "1.730", "0.000"}));
  ParseGasLaReply(l, Reply("@LA", Fields({"GPL", "CAT", "04", "2", "2.570"})), 3, 1);
  EXPECT_EQ(texts(), (Texts{"GPLCAT", "04", "2", "2.570", ""}));
  ParseGasLaReply(l, Reply("@LA", Fields({"METANO", "CAT", "04"})), 3, 1);
  EXPECT_EQ(texts(), Texts(5, " "));
}

TEST_F(ParsersTest, OneFieldRepliesAndTheLeakCheckDate) {
  ParseGasLiReply(l, Reply("@LI", Fields({"0.512", "extra"})), 3, 1);
  EXPECT_EQ(l.McnLiField1, "0.512");
  ParseGasLiReply(l, BareReply("@LI"), 3, 1);
  EXPECT_EQ(l.McnLiField1, " ");
  ParseGasEhReply(l, Reply("EH", "R"), 2, 1);
  EXPECT_EQ(l.McnEhField1, "R");
  ParseGasEhReply(l, "\x02GAS", 2, 1);
  EXPECT_EQ(l.McnEhField1, " ");

  const auto et = [&] { return Texts{l.McnEtFlag, l.McnEtDate, l.McnEtTime}; };
  ParseGasEtReply(l, Reply("ET", Fields({"R", "00002024", "0930"})), 2, 1);
  EXPECT_EQ(et(), (Texts{"R", "01/01/2024", "09:30"}));
  ParseGasEtReply(l, Reply("ET", Fields({"I", "15072023"})), 2, 1);
  EXPECT_EQ(et(), (Texts{"I", "15/07/2023", ":"}));
  ParseGasEtReply(l, Reply("ET", "E"), 2, 1);
  EXPECT_EQ(et(), (Texts{" ", "01/01/2000", " "}));
}

TEST_F(ParsersTest, GasValues) {
  Va({"0.12", "0.10", "14.5", "120", "0.8", "1.002", "85.5", "850", "44"});
  EXPECT_THAT(Gas(),
              Pointwise(DoubleEq(), Numbers{0.12, 0.10, 14.5, 120, 0.8, 1.002, 85.5, 850, 44}));
  // Leading-number rule: "." only, whatever follows is ignored, no number is 0.
  Va({"-1", "2,5", " 3.5%", "abc", "", "1", "2", "3", "4"});
  EXPECT_THAT(Gas(), Pointwise(DoubleEq(), Numbers{-1, 2, 3.5, 0, 0, 1, 2, 3, 4}));
  // Eight fields: NOx reads 0, no warning.
  l.ShowParseWarning = -1;
  Va({"1", "1", "1", "1", "1", "1", "1", "900"});
  EXPECT_DOUBLE_EQ(l.GasRpm, 900);
  EXPECT_DOUBLE_EQ(l.GasNOx, 0);
  EXPECT_TRUE(hints.empty());
  EXPECT_EQ(l.ShowParseWarning, -1);
}

TEST_F(ParsersTest, GasValuesTooFewFieldsRaiseTheHintOnce) {
  l.GasNOx = 77;
  l.ShowParseWarning = -1;
  p.shell.LanguageCode = 1;
  // Seven fields: engine speed reads 0, then the ninth field is missing.
  Va({"5", "5", "5", "5", "5", "5", "5"});
  EXPECT_DOUBLE_EQ(l.GasRpm, 0);
  EXPECT_DOUBLE_EQ(l.GasNOx, 77);
  ASSERT_EQ(hints.size(), 1u);
  EXPECT_EQ(hints[0],
            "SCEGLIERE LA PORTA DI COMUNICAZIONE NELLA FINESTRA SET-UP ANALIZZATORE, DOPODICHE' "
            "SCEGLIERE LO STRUMENTO NELLA FINESTRA ANALISI GAS");
  EXPECT_EQ(l.ShowParseWarning, 0);
  Hint(ParseGasVaReply(l, p.shell, BareReply("@VA"), 3, 1));
  EXPECT_EQ(hints.size(), 1u);
  // English for language 2 only.
  for (int code : {0, 2, 3}) {
    p.shell.LanguageCode = static_cast<std::int16_t>(code);
    l.ShowParseWarning = 1;
    Hint(TakePortHint(l, p.shell, HintInstrument::Gas));
  }
  ASSERT_EQ(hints.size(), 4u);
  EXPECT_EQ(hints[1], hints[0]);
  EXPECT_EQ(hints[3], hints[0]);
  EXPECT_EQ(
      hints[2],
      "CHOOSE THE CORRECT COMUNICATION PORT INTO GAS-ANALYSER SET-UP WINDOW, AFTER CHOOSE THE "
      "INSTRUMENT INTO GAS ANALYSIS WINDOW ");
}

TEST_F(ParsersTest, GasValuesFromTheEngineSpeedCounter) {
  p.shell.ExternRpm = 1;
  p.shell.ExternOilTemp = 1;
  l.RpmCounterRpm = 1450;
  l.RpmCounterOilTemp = 92.25;
  Va({"1", "1", "1", "1", "1", "1", "60", "800", "3"});
  EXPECT_DOUBLE_EQ(l.GasRpm, 1450);
  EXPECT_FLOAT_EQ(l.GasOilTemp, 92.25f);
  // Field 8 is still needed for the count.
  l.ShowParseWarning = 1;
  l.GasNOx = 5;
  Va({"1", "1", "1", "1", "1", "1", "60"});
  EXPECT_EQ(hints.size(), 1u);
  EXPECT_DOUBLE_EQ(l.GasNOx, 5);
  // An oil temperature beyond a single is a failure, not an overflow.
  p.shell.ExternOilTemp = 0;
  l.ShowParseWarning = 1;
  const std::string huge(50, '9');
  Va({"1", "1", "1", "1", "1", "1", huge, "800", "3"});
  EXPECT_FLOAT_EQ(l.GasOilTemp, 92.25f);
  EXPECT_EQ(hints.size(), 2u);
}

TEST_F(ParsersTest, LeakTestPressureRoundsHalfToEvenAndKeepsItsValueOnFailure) {
  const struct {
    std::string reply;
    int expected;
  } cases[] = {
      {Reply("@LS", "2.5"), 2},         {Reply("@LS", "3.5"), 4},
      {Reply("@LS", "-12.5mbar"), -12}, {Reply("@LS", "99999999999"), -12},  // overflow
      {BareReply("@LS"), -12},
  };
  for (const auto& c : cases) {
    ParseGasLsReply(l, c.reply, 3, 1);
    EXPECT_EQ(l.McnLsValue, c.expected) << c.reply;
  }
}

TEST_F(ParsersTest, StatusCodes) {
  const struct {
    std::string data;
    int status1, status2;
  } cases[] = {
      {"A", 65, 23},  // byte 3 is one of the two ETBs put after the data
      {Fields({"\xC1", "B"}), 0xC1, 'B'},
      {"XYZ", 'X', 'Z'},
      {Fields({"", "Q"}), 'X', 'Z'},  // an empty first field stores nothing
  };
  for (const auto& c : cases) {
    ParseRsReply(l, Reply("@RS", c.data), 3, 1);
    EXPECT_EQ(l.McnRsStatus1, c.status1) << c.data;
    EXPECT_EQ(l.McnRsStatus2, c.status2) << c.data;
  }
  ParseRsReply(l, BareReply("@RS"), 3, 1);
  EXPECT_EQ(l.McnRsStatus1, 'X');
}

class SmokeRpmRepliesTest : public ParsersTest {
 protected:
  SmokeRpmRepliesTest() {
    l.McnAddress = "OPA";
    l.McnDevNumberLen = 1;
    l.McnCommandLen = 3;
  }
};

TEST_F(SmokeRpmRepliesTest, OpacimeterValues) {
  const auto values = [&] {
    return Numbers{l.OpaK,         l.OpaN,        l.OpaRpm,        l.OpaOilTemp,
                   l.OpaSmokeTemp, l.OpaCellTemp, l.OpaValueField7};
  };
  Hint(ParseOpaMeasureReply(
      l, p.shell, Reply("@VA", Fields({"1.23", "41.5", "780", "88", "120", "75", "9"}), "OPA")));
  EXPECT_THAT(values(), Pointwise(DoubleEq(), Numbers{1.23, 41.5, 780, 88, 120, 75, 9}));
  EXPECT_EQ((Texts{l.OpaValueText5, l.OpaValueText6, l.OpaValueText7}), (Texts{"120", "75", "9"}));
  // The counter's readings replace engine speed and oil temperature when switched in.
  p.shell.ExternRpm = 1;
  p.shell.ExternOilTemp = 1;
  l.RpmCounterRpm = 2100;
  l.RpmCounterOilTemp = 70.5;
  Hint(ParseOpaMeasureReply(l, p.shell,
                            Reply("@VA", Fields({"1", "2", "3", "4", "888.0", "6", "7"}), "OPA")));
  EXPECT_THAT(values(), Pointwise(DoubleEq(), Numbers{1, 2, 2100, 70.5, 888, 6, 7}));
}

TEST_F(SmokeRpmRepliesTest, OpacimeterShortRepliesAndTheOneShotHint) {
  l.ShowParseWarning = -1;
  Hint(ParseOpaMeasureReply(l, p.shell,
                            Reply("@VA", Fields({"1", "2", "3", "4", "5", "6"}), "OPA")));
  EXPECT_EQ(l.OpaValueText7, "");
  EXPECT_DOUBLE_EQ(l.OpaValueField7, 0);
  EXPECT_TRUE(hints.empty());
  // Five fields: the cell temperature reads 0, then the warning, once.
  l.OpaCellTemp = 50;
  Hint(ParseOpaMeasureReply(l, p.shell, Reply("@VA", Fields({"9", "9", "9", "9", "9"}), "OPA")));
  EXPECT_DOUBLE_EQ(l.OpaK, 9);
  EXPECT_DOUBLE_EQ(l.OpaCellTemp, 0);
  ASSERT_EQ(hints.size(), 1u);
  EXPECT_EQ(hints[0],
            "SCEGLIERE LA PORTA DI COMUNICAZIONE NELLA FINESTRA SET-UP OPACIMETRO, DOPODICHE' "
            "SCEGLIERE LO STRUMENTO NELLA FINESTRA ANALISI FUMO");
  Hint(ParseOpaMeasureReply(l, p.shell, BareReply("@VA", "OPA")));
  Hint(ParseOpaRdReply(l, p.shell, BareReply("@RD", "OPA")));
  EXPECT_EQ(hints.size(), 1u);
  p.shell.LanguageCode = 2;
  l.ShowParseWarning = -1;
  Hint(ParseOpaRdReply(l, p.shell, Reply("@RD", Fields({"1", "2", "3", "4"}), "OPA")));
  ASSERT_EQ(hints.size(), 2u);
  EXPECT_EQ(hints[1],
            "CHOOSE THE CORRECT COMUNICATION PORT INTO SMOKE-METER SET-UP WINDOW, AFTER CHOOSE "
            "THE INSTRUMENT INTO SMOKE ANALYSIS WINDOW ");
}

TEST_F(SmokeRpmRepliesTest, SupplyVoltageInVolts) {
  Hint(
      ParseOpaRdReply(l, p.shell, Reply("@RD", Fields({"a", "b", "c", "d", "e", "12450"}), "OPA")));
  EXPECT_DOUBLE_EQ(l.OpaSupplyVoltage, 12.45);
  Hint(ParseOpaRdReply(l, p.shell, Reply("@RD", Fields({"a", "b", "c", "d", "e"}), "OPA")));
  EXPECT_DOUBLE_EQ(l.OpaSupplyVoltage, 0);
}

TEST_F(SmokeRpmRepliesTest, EngineSpeedCounter) {
  const auto state = [&] {
    return std::tuple(l.RpmReplyText1, l.RpmReplyText2, l.RpmCounterRpm, l.RpmCounterOilTemp);
  };
  ParseRpmVaReply(l, Reply("VA", "1450", "RPM"), 2, 1);
  // "VA" and "TP" take the whole data text, ETBs and all.
  ParseRpmTpReply(l, Reply("TP", Fields({"85.5", "x"}), "RPM"), 2, 1);
  EXPECT_EQ(state(), std::tuple("1450", "85.5\x17x", 1450.0, 85.5));
  ParseRpmVeReply(l, Reply("VE", Fields({"900", "77"}), "RPM"), 2, 1);
  EXPECT_EQ(state(), std::tuple("900", "77", 900.0, 77.0));
  ParseRpmVeReply(l, Reply("VE", "", "RPM"), 2, 1);
  EXPECT_EQ(state(), std::tuple("", "", 0.0, 0.0));
  // Too short for the header: texts blank, numbers kept.
  l.RpmCounterRpm = 5;
  l.RpmCounterOilTemp = 6;
  ParseRpmVaReply(l, BareReply("VA", "RPM"), 2, 1);
  ParseRpmTpReply(l, BareReply("TP", "RPM"), 2, 1);
  EXPECT_EQ(state(), std::tuple(" ", " ", 5.0, 6.0));
  l.RpmReplyText1 = l.RpmReplyText2 = "";
  ParseRpmVeReply(l, "\x02RPM\x03", 2, 1);
  EXPECT_EQ(state(), std::tuple(" ", " ", 5.0, 6.0));
}

TEST_F(SmokeRpmRepliesTest, ErrorCodes) {
  p.shell.LangText[lang::CRITICTcam] = "CELLA";
  // Codes with a message: caption "ERROR n", English for language 2, Italian otherwise;
  // the warning switch is cleared.
  const struct {
    const char* code;
    const char* caption;
    const char* italian;
    const char* english;
  } cases[] = {
      {"002", "ERROR 2", "SPENGERE OPACIMETRO E PULIRE PARTI OTTICHE",
       "TURN OF SMOKE METER AND CLEAN OPTICAL PATH"},
      {"003", "ERROR 3", "SPENGERE OPACIMETRO", "TURN OF SMOKE METER"},
      {"010", "ERROR 10", "CELLA", "CELLA"},
  };
  for (int language : {0, 1, 2, 3}) {
    p.shell.LanguageCode = static_cast<std::int16_t>(language);
    for (const auto& c : cases) {
      l.ShowParseWarning = -1;
      const auto alarm = ShowOpaErrorCode(l, p.shell, c.code);
      ASSERT_TRUE(alarm) << c.code;
      EXPECT_EQ(alarm->caption + "|" + alarm->text + "|" + std::to_string(l.ShowParseWarning),
                std::string(c.caption) + "|" + (language == 2 ? c.english : c.italian) + "|0")
          << c.code << " language " << language;
    }
  }
  for (const char* code : {"004", "006", "007"}) EXPECT_TRUE(ShowOpaErrorCode(l, p.shell, code));
  // Known codes without a message clear the switch; anything else leaves it.
  const std::pair<const char*, int> silent[] = {{"001", 0}, {"005", 0},   {"008", -1}, {"", -1},
                                                {"2", -1},  {"0020", -1}, {"010 ", -1}};
  for (const auto& [code, warning] : silent) {
    l.ShowParseWarning = -1;
    EXPECT_FALSE(ShowOpaErrorCode(l, p.shell, code)) << code;
    EXPECT_EQ(l.ShowParseWarning, warning) << code;
  }
}

}  // namespace
}  // namespace vs
