// The gas test form's print button after a certification test: what the operator is told
// when printing goes wrong.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "gas_station_fixture.h"
#include "platform/core/Error.h"
#include "shell/LanguageKeys.h"

namespace vs::test {
namespace {

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

// The copies typed on a printable page (the rule every printed page shares), and nothing
// that goes wrong while printing ends the program: the operator is told, the page gets its
// buttons and copies field back and stays open.
TEST_F(GasPrintTest, CopiesAndPrintProblemsAreToldAndThePageComesBack) {
  struct Case {
    const char* what;
    std::function<void()> before;
    std::string copies;
    std::string told;  // how the message begins; empty: none
    int printed;       // copies printed
  };
  const std::string notCopies = "Numero di copie non valido";
  const Case cases[] = {
      {"two copies", [] {}, "2", "", 2},
      {"a fraction counts its whole copies", [] {}, "2,9", "", 2},
      {"none", [] {}, "0", "", 0},
      {"below none", [] {}, "-1", "", 0},
      {"empty", [] {}, "", notCopies, 0},
      {"copies in words", [] {}, "due", notCopies, 0},
      {"the other separator", [] {}, "1.5", notCopies, 0},
      {"too many copies", [] {}, "100000", notCopies, 0},
      {"far too many copies", [] {}, "1e300", notCopies, 0},
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
    int printed = 0;
    for (std::size_t i = printedBefore; i < ui_.printed().size(); ++i)
      printed += ui_.printed()[i].copies;
    EXPECT_EQ(printed, c.printed);
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

}  // namespace
}  // namespace vs::test
