// The gas test form's print button: the certificate after a certification test, the
// diagnosis sheet in diagnosis mode, and what the operator is told when printing goes
// wrong.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>

#include "gas_station_fixture.h"
#include "paint/paint_test_util.h"
#include "platform/core/Error.h"
#include "platform/print/PdfPrinter.h"
#include "shell/LanguageKeys.h"
#include "support/StandInLp.h"

namespace vs::test {
namespace {

using plat::paint::testing::HavePdfToText;
using plat::paint::testing::PdfText;

class GasPrintTest : public GasStationTest {
 protected:
  // A non-catalysed idle test at a steady idle: one window, then the verdict.
  ANGAS& RunToVerdict() {
    ANGAS& f = OpenGasTest();
    analyser_->gas.rpm = 850;
    StartCertification(f, 0);
    EXPECT_TRUE(AdvanceUntil([&] { return f.GasPhase == "OUT"; }, 10000));
    EXPECT_TRUE(f.Command2.Enabled());
    return f;
  }
  bool PageControlsShown() const {
    const PrtKYMRACERT& c = p_.prtKYMRACERT;
    return c.Command1.Visible() && c.Command2.Visible() && c.Text5.Visible() && c.Label1.Visible();
  }
};

// Nothing that goes wrong while printing ends the program: the operator is told, the
// page gets its buttons and copies field back and stays open.
TEST_F(GasPrintTest, PrintProblemsAreToldAndThePageComesBack) {
  struct Case {
    const char* what;
    std::function<void()> before;
    std::string copies;
    std::string told;  // how the message begins; empty: none
    int printed;
  };
  const Case cases[] = {
      {"two copies", [] {}, "2", "", 1},
      {"none", [] {}, "0", "", 0},
      {"copies in words", [] {}, "due", "Numero di copie non valido", 0},
      {"the other separator", [] {}, "1.5", "Numero di copie non valido", 0},
      {"too many copies", [] {}, "100000", "Numero di copie non valido", 0},
      {"printer failure",
       [&] { ui_.failPrinting(plat::RuntimeError(plat::kErrPrintFailed, "Printer error")); }, "1",
       "Stampa non riuscita:\nPrinter error", 0},
      {"report.log cannot be written",
       [&] { std::filesystem::create_directory(bin_ / "report.log"); }, "1",
       "report.log non scritto:", 1},
  };
  ANGAS& f = RunToVerdict();
  PrtKYMRACERT& cert = p_.prtKYMRACERT;
  ui_.whilePrinting = [&](plat::Form&) { EXPECT_FALSE(cert.Command2.Visible()); };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ui_.clearBoxes();
    const std::size_t printedBefore = ui_.printed().size();
    c.before();
    if (!c.told.empty()) ui_.answerBox();
    ui_.onModal(cert, [&] {
      ui_.type(cert.Text5, c.copies);
      ui_.click(cert.Command2);
      EXPECT_TRUE(PageControlsShown());
      EXPECT_TRUE(cert.Visible());
      ui_.click(cert.Command1);
    });
    ui_.click(f.Command2);
    EXPECT_EQ(static_cast<int>(ui_.printed().size() - printedBefore), c.printed);
    if (c.told.empty()) {
      EXPECT_TRUE(ui_.boxes().empty());
    } else {
      ASSERT_EQ(ui_.boxes().size(), 1u);
      EXPECT_EQ(ui_.boxes()[0].text.rfind(c.told, 0), 0u) << ui_.boxes()[0].text;
    }
    EXPECT_FALSE(ui_.ended());
    ui_.failPrinting(std::nullopt);
    std::filesystem::remove(bin_ / "report.log");
  }
}

// What a printed page says, as its PDF gives it back.
TEST_F(GasPrintTest, ThePrintedCertificateAndSheetCarryTheTestAndNotTheButtons) {
  if (!HavePdfToText()) GTEST_SKIP() << "pdftotext is not installed";
  plat::test::StandInLp lp;
  plat::PdfPrinter printer;
  ANGAS& f = RunToVerdict();
  p_.rt.forms.setPrinter(&printer);
  PrtKYMRACERT& cert = p_.prtKYMRACERT;
  ui_.onModal(cert, [&] {
    ui_.click(cert.Command2);
    ui_.click(cert.Command1);
  });
  ui_.click(f.Command2);
  const std::string page = PdfText(lp.pdf(0));
  for (const std::string& shown :
       {Text(lang::PrtKYMRACERTReferto), Text(lang::ANGASProSup), std::string("AB123CD"),
        std::string("FIAT PUNTO"), std::string("Bianchi"), std::string("Officina Nord"),
        std::string("TOPAZ"), std::string("COcorr(%vol.)"), std::string("14/03/2026")})
    EXPECT_NE(page.find(shown), std::string::npos) << shown << " in\n" << page;
  EXPECT_EQ(page.find(Text(lang::PrtKYMRADiagnCopie)), std::string::npos) << page;

  ui_.choose(f.Combo4, 1);  // diagnosis: the sheet of the readings shown now
  PrtKYMRADIAGN& sheet = p_.prtKYMRADIAGN;
  ui_.onModal(sheet, [&] {
    EXPECT_EQ(sheet.Label46.Caption(), f.Label15.Caption());
    EXPECT_EQ(sheet.Label31.Caption(), f.Label33.Caption());
    ui_.click(sheet.Command2);
    ui_.click(sheet.Command1);
  });
  ui_.click(f.Command2);
  const std::string sheetText = PdfText(lp.pdf(1));
  for (const std::string& shown :
       {Text(lang::PrtKYMRADiagnMis), std::string("Rossi"), std::string("AB123CD"),
        std::string("NOx(ppm)"), std::string("Officina Nord")})
    EXPECT_NE(sheetText.find(shown), std::string::npos) << shown << " in\n" << sheetText;
  EXPECT_EQ(sheetText.find(Text(lang::PrtKYMRADiagnCopie)), std::string::npos) << sheetText;
  EXPECT_EQ(sheetText.find(Text(lang::ANGASProSup)), std::string::npos) << sheetText;
  p_.rt.forms.setPrinter(&ui_);
}

}  // namespace
}  // namespace vs::test
