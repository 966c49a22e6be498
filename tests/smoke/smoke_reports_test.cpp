// The two smoke reports and the print dialog: what each page prints (read back from the PDF
// that goes to a stand-in `lp`) and report B's "report.log" when it cannot be written.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "paint/paint_test_util.h"
#include "platform/print/PdfPrinter.h"
#include "smoke/smoke_form_fixture.h"
#include "support/StandInLp.h"

namespace vs {
namespace {

using plat::paint::testing::HavePdfToText;
using plat::paint::testing::PdfText;

class SmokeReportsTest : public test::SmokeFormTest {
 protected:
  void SetUp() override {
    SmokeFormTest::SetUp();
    p_.rt.loop.setLocalTime({2026, 12, 7, 10, 30, 0});
    ShellState& s = p_.shell;
    LinkState& l = p_.link;
    SmokeState& m = p_.smoke;
    l.InstrMake = "FUMOTEC", l.InstrModel = "OPA-735", l.InstrSerial = "AQ1234";
    s.RpmMake = "GIRITEC", s.RpmSerial = "R0042";
    s.VehicleMakeType = "FURGONE 2.3", s.VehiclePlate = "AB123CD", s.VehicleModel = "DAILY";
    s.AmbientPressure = "101.3";
    s.SmokeRpmMin = 800, s.SmokeRpmMax = 4000, s.SmokeOpacityThreshold = 0.5, s.SmokeKLimit = 1.5;
    s.TechnicalManager = "Mario Rossi\nIng.", s.AgencyName = "Officina Centro";
    l.OpaOilTemp = 888.0;
    m.ReportMinRpm = 780, m.ReportMaxRpm = 4520;
    const char* k[] = {"2.41", "1.62", "1.23", "1.11"};
    const char* rpm[] = {"4510", "4480", "4520", "4490"};
    for (std::size_t i = 0; i < 8; ++i) m.AccKState[i] = m.AccRpmState[i] = 4;
    for (std::size_t i = 0; i < 4; ++i) m.AccK[i] = k[i], m.AccRpm[i] = rpm[i];
    for (std::size_t i = 1; i < 4; ++i) m.AccKState[i] = m.AccRpmState[i] = 3;
    m.AccelsUsed = "2,3,4", m.SmokeResultK = "1.32", m.SmokeResultOpacity = "43.6";
    m.SmokeResultText = "REGOLARE";
    m.MeasureStart = plat::DateTime{2026, 12, 7, 10, 21, 5};
    m.MeasureEnd = plat::DateTime{2026, 12, 7, 10, 29, 40};
  }
  // Prints through PDF to the stand-in `lp` from now on (the driver records nothing then).
  void PrintToPdf() { p_.rt.forms.setPrinter(&printer_); }
  static int Pages(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\f'));
  }
  static bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
  }

  plat::test::StandInLp lp_;
  plat::PdfPrinter printer_;
};

TEST_F(SmokeReportsTest, ReportBPrintsItsCopiesWithTheLimitsAndSpeedsAndWritesTheLog) {
  if (!HavePdfToText()) GTEST_SKIP() << "pdftotext is not installed";
  PrintToPdf();
  p_.smoke.PrintCopies = "7";  // the dialog's copies do not count for report B
  ui_.onModal(p_.stampaOpaB, [&] {
    EXPECT_EQ(p_.stampaOpaB.Label3(1).BackColor(), 0x80FFu);  // in the result: orange
    EXPECT_EQ(p_.stampaOpaB.Label59(0).BackColor(), plat::colors::kYellow);
    ui_.type(p_.stampaOpaB.Text5(1), "2");
    ui_.click(p_.stampaOpaB.Command2);
  });
  p_.stampaOpaB.Show(plat::ShowMode::Modal);
  EXPECT_FALSE(p_.stampaOpaB.IsLoaded());

  const auto jobs = lp_.jobs();
  ASSERT_EQ(jobs.size(), 1u);
  const std::string text = PdfText(lp_.pdf(0));
  EXPECT_EQ(Pages(text), 2);
  for (const char* part :
       {"FUMOTEC", "OPA-735", "AQ1234",   "GIRITEC",  "R0042",    "FURGONE 2.3",
        "AB123CD", "101.3",   "OutRange", "780",      "4520",     "RPMmin",
        "800",     "4000",    "0.5",      "1.5",      "2.41",     "1.62",
        "1.23",    "1.11",    "4510",     "4480",     "4490",     "2,3,4",
        "1.32",    "43.6",    "REGOLARE", "10:21:05", "10:29:40", "Officina Centro"}) {
    EXPECT_TRUE(Has(text, part)) << part << " is not on the page:\n" << text;
  }
  EXPECT_FALSE(Has(text, "Copie")) << "the copies box is printed";
  EXPECT_FALSE(Has(text, "DAILY")) << "report B has no vehicle model";

  const std::string log = plat::test::ReadBytes(bin_ / "report.log");
  EXPECT_TRUE(Has(log, "ParMinRPM= 800 \r\n")) << log;
  EXPECT_TRUE(Has(log, "Tech=Mario Rossi Ing.\r\n")) << log;
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 49);
}

TEST_F(SmokeReportsTest, AnUnwritableReportLogIsToldAndThePageStillShows) {
  std::filesystem::create_directory(bin_ / "report.log");
  ui_.answerBox();
  ui_.onModal(p_.stampaOpaB, [&] {
    EXPECT_EQ(p_.stampaOpaB.Label79.Caption(), "REGOLARE");
    ui_.esc(p_.stampaOpaB);  // closes without printing
  });
  p_.stampaOpaB.Show(plat::ShowMode::Modal);
  ASSERT_EQ(ui_.boxes().size(), 1u);
  const std::string& told = ui_.lastBox().text;
  EXPECT_TRUE(Has(told, (bin_ / "report.log").string())) << told;
  EXPECT_TRUE(Has(told, std::make_error_code(std::errc::is_a_directory).message())) << told;
  EXPECT_TRUE(ui_.printed().empty());
}

TEST_F(SmokeReportsTest, DialogSavesTheLayoutAndOpensReportAWithItsCopies) {
  if (!HavePdfToText()) GTEST_SKIP() << "pdftotext is not installed";
  PrintToPdf();
  WriteConf("[STAMPA]\r\nTipo=1\r\n");
  ui_.onModal(p_.dialgStamp, [&] {
    EXPECT_TRUE(p_.dialgStamp.Option6.Value());
    ui_.click(p_.dialgStamp.Option7);
    ui_.type(p_.dialgStamp.Text5(1), "2");
    ui_.click(p_.dialgStamp.Command2);
  });
  ui_.onModal(p_.stampaOpa, [&] { ui_.click(p_.stampaOpa.Command2); });
  p_.dialgStamp.Show(plat::ShowMode::Modal);
  EXPECT_FALSE(p_.stampaOpa.IsLoaded());
  EXPECT_EQ(ReadConf(), "[STAMPA]\r\nTipo=0\r\n");

  const auto jobs = lp_.jobs();
  ASSERT_EQ(jobs.size(), 1u);
  const std::string text = PdfText(lp_.pdf(0));
  EXPECT_EQ(Pages(text), 2);
  for (const char* part : {"FUMOTEC", "DAILY", "AB123CD", "OutRange", "2.41", "1.11", "2,3,4",
                           "1.32", "43.6", "REGOLARE", "10:29:40", "Officina Centro"}) {
    EXPECT_TRUE(Has(text, part)) << part << " is not on the page:\n" << text;
  }
  EXPECT_FALSE(Has(text, "RPMmin")) << "report A has no limits";
  EXPECT_FALSE(Has(text, "4510")) << "report A has no speeds";
  EXPECT_FALSE(std::filesystem::exists(bin_ / "report.log"));
}

TEST_F(SmokeReportsTest, DialogEscKeepsTheChoiceInMemoryOnlyAndABadTypeKeepsTheLayout) {
  WriteConf("[STAMPA]\r\nTipo=uno\r\n");
  p_.shell.PrintType = 1;
  ui_.onModal(p_.dialgStamp, [&] {
    EXPECT_TRUE(p_.dialgStamp.Option6.Value());
    ui_.click(p_.dialgStamp.Option7);
    ui_.esc(p_.dialgStamp);
  });
  p_.dialgStamp.Show(plat::ShowMode::Modal);
  EXPECT_EQ(p_.shell.PrintType, 0);
  EXPECT_EQ(ReadConf(), "[STAMPA]\r\nTipo=uno\r\n");
  EXPECT_FALSE(p_.stampaOpa.IsLoaded());

  p_.shell.PrintType = 2;  // neither layout: OK saves it and opens nothing
  WriteConf("");
  ui_.onModal(p_.dialgStamp, [&] {
    EXPECT_FALSE(p_.dialgStamp.Option6.Value() || p_.dialgStamp.Option7.Value());
    ui_.click(p_.dialgStamp.Command2);
  });
  p_.dialgStamp.Show(plat::ShowMode::Modal);
  EXPECT_EQ(ReadConf(), "[STAMPA]\r\nTipo=2\r\n");
  EXPECT_EQ(ui_.journal().end(),
            std::find(ui_.journal().begin(), ui_.journal().end(), "load StampaOpa"));
}

}  // namespace
}  // namespace vs
