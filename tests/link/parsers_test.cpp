#include <gtest/gtest.h>

#include <string>

#include "app/Program.h"
#include "link/ReplyParsers.h"
#include "link_test_util.h"

namespace vs {
namespace {

using testing::BareReply;
using testing::Fields;
using testing::Reply;

class ParsersTest : public ::testing::Test {
 protected:
  Program p{plat::EventLoop::ClockKind::Manual};
  LinkState& l = p.link;
};

TEST_F(ParsersTest, IdentificationWithSevenFields) {
  ParseIdReply(p, Reply("ID", Fields({"MAKE", "TOPAZ", "OM123", "SN0042", "31122025", "1.5", "x"})),
               2, 1);
  EXPECT_EQ(l.InstrMake, "MAKE");
  EXPECT_EQ(l.InstrModel, "TOPAZ");
  EXPECT_EQ(l.InstrHomologation, "OM123");
  EXPECT_EQ(l.InstrSerial, "SN0042");
  EXPECT_EQ(l.GasSerialNumber, "SN0042");
  EXPECT_EQ(l.InstrExpiry, "31/12/2025");
  EXPECT_EQ(l.GasCheckExpiry, "31/12/2025");
  EXPECT_EQ(l.InstrVersion, "1.5");
  EXPECT_EQ(l.McnIdField7, "x");
  EXPECT_DOUBLE_EQ(l.InstrVersionX1000, 1500);
  EXPECT_EQ(l.McnReplyWork,
            Fields({"MAKE", "TOPAZ", "OM123", "SN0042", "31122025", "1.5", "x", "", ""}));
}

TEST_F(ParsersTest, IdentificationFieldsAreWindows1252Texts) {
  ParseIdReply(p, Reply("ID", Fields({"Citt\xE0", "\x80", "", "", "", "", ""})), 2, 1);
  EXPECT_EQ(l.InstrMake, "Città");
  EXPECT_EQ(l.InstrModel, "€");
  EXPECT_EQ(l.InstrExpiry, "//");  // a short date field is cut as far as it goes
  EXPECT_EQ(l.InstrVersionX1000, 0);
}

TEST_F(ParsersTest, IdentificationWithSixFieldsAndWithFive) {
  ParseIdReply(p, Reply("ID", Fields({"A", "B", "C", "D", "01012024", "4.005"})), 2, 1);
  EXPECT_EQ(l.McnIdField7, "");
  EXPECT_DOUBLE_EQ(l.InstrVersionX1000, 4005);
  // Five fields: the version reads "", the seventh field is missing, the parse fails
  // after the gas analyser's copies were made.
  ParseIdReply(p, Reply("ID", Fields({"M", "N", "O", "NEWSN", "02032026"})), 2, 1);
  for (const std::string* t : {&l.InstrMake, &l.InstrModel, &l.InstrHomologation, &l.InstrSerial,
                               &l.InstrExpiry, &l.InstrVersion, &l.McnIdField7}) {
    EXPECT_EQ(*t, " ");
  }
  EXPECT_EQ(l.GasSerialNumber, "NEWSN");
  EXPECT_EQ(l.GasCheckExpiry, "02/03/2026");
  EXPECT_DOUBLE_EQ(l.InstrVersionX1000, 4005);
}

TEST_F(ParsersTest, ReplyTooShortForItsHeaderFails) {
  l.GasSerialNumber = "KEEP";
  for (const std::string& reply : {BareReply("ID"), std::string(), std::string("\x02\x03"),
                                   std::string("\x02GAS\x17"
                                               "1\x17",
                                               7)}) {
    l.InstrMake = "old";
    ParseIdReply(p, reply, 2, 1);
    EXPECT_EQ(l.InstrMake, " ");
    EXPECT_EQ(l.McnReplyWork, "");
  }
  EXPECT_EQ(l.GasSerialNumber, "KEEP");
  // Lengths that do not fit the frame at all.
  ParseIdReply(p, Reply("ID", "A"), -20, 1);
  ParseIdReply(p, Reply("ID", "A"), 2, 30000);
  EXPECT_EQ(l.InstrMake, " ");
}

TEST_F(ParsersTest, FuelSettings) {
  ParseGasLaReply(p, Reply("@LA", Fields({"BENZINA", "NO CAT", "04", "4", "1.730", "0.000"})), 3,
                  1);
  EXPECT_EQ(l.McnFuelText, "BENZINANO CAT");
  EXPECT_EQ(l.McnSaField3, "04");
  EXPECT_EQ(l.McnStrokes, "4");
  EXPECT_EQ(l.McnHcRatio, "1.730");
  EXPECT_EQ(l.McnOcRatio, "0.000");
  ParseGasLaReply(p, Reply("@LA", Fields({"GPL", "CAT", "04", "2", "2.570"})), 3, 1);
  EXPECT_EQ(l.McnFuelText, "GPLCAT");
  EXPECT_EQ(l.McnOcRatio, "");
  ParseGasLaReply(p, Reply("@LA", Fields({"METANO", "CAT", "04"})), 3, 1);
  for (const std::string* t :
       {&l.McnFuelText, &l.McnSaField3, &l.McnStrokes, &l.McnHcRatio, &l.McnOcRatio}) {
    EXPECT_EQ(*t, " ");
  }
}

TEST_F(ParsersTest, OneFieldReplies) {
  ParseGasLiReply(p, Reply("@LI", Fields({"0.512", "extra"})), 3, 1);
  EXPECT_EQ(l.McnLiField1, "0.512");
  ParseGasLiReply(p, BareReply("@LI"), 3, 1);
  EXPECT_EQ(l.McnLiField1, " ");
  ParseGasEhReply(p, Reply("EH", "R"), 2, 1);
  EXPECT_EQ(l.McnEhField1, "R");
  ParseGasEhReply(p, "\x02GAS", 2, 1);
  EXPECT_EQ(l.McnEhField1, " ");
}

TEST_F(ParsersTest, LeakCheckDate) {
  ParseGasEtReply(p, Reply("ET", Fields({"R", "00002024", "0930"})), 2, 1);
  EXPECT_EQ(l.McnEtFlag, "R");
  EXPECT_EQ(l.McnEtDate, "01/01/2024");
  EXPECT_EQ(l.McnEtTime, "09:30");
  ParseGasEtReply(p, Reply("ET", Fields({"I", "15072023"})), 2, 1);
  EXPECT_EQ(l.McnEtDate, "15/07/2023");
  EXPECT_EQ(l.McnEtTime, ":");
  ParseGasEtReply(p, Reply("ET", "E"), 2, 1);
  EXPECT_EQ(l.McnEtFlag, " ");
  EXPECT_EQ(l.McnEtDate, "01/01/2000");
  EXPECT_EQ(l.McnEtTime, " ");
}

TEST_F(ParsersTest, GasValues) {
  const std::string nine =
      Fields({"0.12", "0.10", "14.5", "120", "0.8", "1.002", "85.5", "850", "44"});
  ParseGasVaReply(p, Reply("@VA", nine), 3, 1);
  EXPECT_DOUBLE_EQ(l.GasCO, 0.12);
  EXPECT_DOUBLE_EQ(l.GasCOcorr, 0.10);
  EXPECT_DOUBLE_EQ(l.GasCO2, 14.5);
  EXPECT_DOUBLE_EQ(l.GasHC, 120);
  EXPECT_DOUBLE_EQ(l.GasO2, 0.8);
  EXPECT_DOUBLE_EQ(l.GasLambda, 1.002);
  EXPECT_FLOAT_EQ(l.GasOilTemp, 85.5f);
  EXPECT_DOUBLE_EQ(l.GasRpm, 850);
  EXPECT_DOUBLE_EQ(l.GasNOx, 44);
  // Leading-number rule: "." only, whatever follows is ignored, no number is 0.
  ParseGasVaReply(p, Reply("@VA", Fields({"-1", "2,5", " 3.5%", "abc", "", "1", "2", "3", "4"})), 3,
                  1);
  EXPECT_DOUBLE_EQ(l.GasCO, -1);
  EXPECT_DOUBLE_EQ(l.GasCOcorr, 2);
  EXPECT_DOUBLE_EQ(l.GasCO2, 3.5);
  EXPECT_DOUBLE_EQ(l.GasHC, 0);
  EXPECT_DOUBLE_EQ(l.GasO2, 0);
  // Eight fields: NOx reads 0, no warning.
  l.ShowParseWarning = -1;
  ParseGasVaReply(p, Reply("@VA", Fields({"1", "1", "1", "1", "1", "1", "1", "900"})), 3, 1);
  EXPECT_DOUBLE_EQ(l.GasRpm, 900);
  EXPECT_DOUBLE_EQ(l.GasNOx, 0);
  EXPECT_TRUE(l.headless.portHints.empty());
  EXPECT_EQ(l.ShowParseWarning, -1);
}

TEST_F(ParsersTest, GasValuesTooFewFieldsRaiseTheHintOnce) {
  l.GasNOx = 77;
  l.ShowParseWarning = -1;
  p.shell.LanguageCode = 1;
  // Seven fields: engine speed reads 0, then the ninth field is missing.
  ParseGasVaReply(p, Reply("@VA", Fields({"5", "5", "5", "5", "5", "5", "5"})), 3, 1);
  EXPECT_DOUBLE_EQ(l.GasRpm, 0);
  EXPECT_DOUBLE_EQ(l.GasNOx, 77);
  ASSERT_EQ(l.headless.portHints.size(), 1u);
  EXPECT_EQ(l.headless.portHints[0],
            "SCEGLIERE LA PORTA DI COMUNICAZIONE NELLA FINESTRA SET-UP ANALIZZATORE, DOPODICHE' "
            "SCEGLIERE LO STRUMENTO NELLA FINESTRA ANALISI GAS");
  EXPECT_EQ(l.ShowParseWarning, 0);
  ParseGasVaReply(p, BareReply("@VA"), 3, 1);
  EXPECT_EQ(l.headless.portHints.size(), 1u);
}

TEST_F(ParsersTest, PortHintLanguage) {
  const std::string english =
      "CHOOSE THE CORRECT COMUNICATION PORT INTO GAS-ANALYSER SET-UP WINDOW, AFTER CHOOSE THE "
      "INSTRUMENT INTO GAS ANALYSIS WINDOW ";
  std::vector<std::string> shown;
  l.ui.showPortHint = [&](const std::string& text) { shown.push_back(text); };
  for (int code : {0, 1, 2, 3}) {
    p.shell.LanguageCode = static_cast<std::int16_t>(code);
    l.ShowParseWarning = 1;
    ShowPortHint(p, HintInstrument::Gas);
  }
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(shown[2], english);
  for (int i : {0, 1, 3}) EXPECT_EQ(shown[i].substr(0, 9), "SCEGLIERE") << i;
  EXPECT_TRUE(l.headless.portHints.empty());
}

TEST_F(ParsersTest, GasValuesFromTheEngineSpeedCounter) {
  p.shell.ExternRpm = 1;
  p.shell.ExternOilTemp = 1;
  l.RpmCounterRpm = 1450;
  l.RpmCounterOilTemp = 92.25;
  const std::string nine = Fields({"1", "1", "1", "1", "1", "1", "60", "800", "3"});
  ParseGasVaReply(p, Reply("@VA", nine), 3, 1);
  EXPECT_DOUBLE_EQ(l.GasRpm, 1450);
  EXPECT_FLOAT_EQ(l.GasOilTemp, 92.25f);
  // Field 8 is still needed for the count.
  l.ShowParseWarning = 1;
  l.GasNOx = 5;
  ParseGasVaReply(p, Reply("@VA", Fields({"1", "1", "1", "1", "1", "1", "60"})), 3, 1);
  EXPECT_EQ(l.headless.portHints.size(), 1u);
  EXPECT_DOUBLE_EQ(l.GasNOx, 5);
  // An oil temperature beyond a single is a failure, not an overflow.
  p.shell.ExternOilTemp = 0;
  l.ShowParseWarning = 1;
  ParseGasVaReply(
      p, Reply("@VA", Fields({"1", "1", "1", "1", "1", "1", std::string(50, '9'), "800", "3"})), 3,
      1);
  EXPECT_FLOAT_EQ(l.GasOilTemp, 92.25f);
  EXPECT_EQ(l.headless.portHints.size(), 2u);
}

TEST_F(ParsersTest, LeakTestPressureRoundsHalfToEven) {
  ParseGasLsReply(p, Reply("@LS", "2.5"), 3, 1);
  EXPECT_EQ(l.McnLsValue, 2);
  ParseGasLsReply(p, Reply("@LS", "3.5"), 3, 1);
  EXPECT_EQ(l.McnLsValue, 4);
  ParseGasLsReply(p, Reply("@LS", "-12.5mbar"), 3, 1);
  EXPECT_EQ(l.McnLsValue, -12);
  ParseGasLsReply(p, Reply("@LS", "99999999999"), 3, 1);
  EXPECT_EQ(l.McnLsValue, -12);
  ParseGasLsReply(p, BareReply("@LS"), 3, 1);
  EXPECT_EQ(l.McnLsValue, -12);
}

TEST_F(ParsersTest, StatusCodes) {
  ParseRsReply(p, Reply("@RS", "A"), 3, 1);
  EXPECT_EQ(l.McnRsStatus1, 65);
  EXPECT_EQ(l.McnRsStatus2, 23);
  ParseRsReply(p, Reply("@RS", Fields({"\xC1", "B"})), 3, 1);
  EXPECT_EQ(l.McnRsStatus1, 0xC1);
  EXPECT_EQ(l.McnRsStatus2, 'B');
  ParseRsReply(p, Reply("@RS", "XYZ"), 3, 1);
  EXPECT_EQ(l.McnRsStatus1, 'X');
  EXPECT_EQ(l.McnRsStatus2, 'Z');
  // An empty first field stores nothing.
  ParseRsReply(p, Reply("@RS", Fields({"", "Q"})), 3, 1);
  ParseRsReply(p, BareReply("@RS"), 3, 1);
  EXPECT_EQ(l.McnRsStatus1, 'X');
  EXPECT_EQ(l.McnRsStatus2, 'Z');
}

}  // namespace
}  // namespace vs
