// The smoke test's other windows: the opacimeter set-up, the limits, the two reports with
// their print dialog and "report.log", and the chart window of mode 6.
#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <regex>
#include <set>
#include <string>

#include "paint/paint_test_util.h"
#include "platform/paint/Painter.h"
#include "platform/paint/Picture.h"
#include "platform/print/PdfPrinter.h"
#include "sim/Instrument.h"
#include "smoke/smoke_form_fixture.h"
#include "support/StandInLp.h"
#include "support/TempFolder.h"

namespace vs {
namespace {

using plat::paint::testing::HavePdfToText;
using plat::paint::testing::PdfText;
using test::SmokeFormTest;

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The acceleration numbers of a smoke report that stand over their own k column, each clear
// of the one before it.
std::string NumbersOverTheirColumns(const SmokeReportPage& page) {
  const plat::Label* numbers[] = {&page.Label5, &page.Label6,  &page.Label7,  &page.Label8,
                                  &page.Label9, &page.Label10, &page.Label11, &page.Label12};
  std::string over;
  int clearFrom = 0;
  for (int i = 0; i < 8; ++i) {
    const plat::Label &n = *numbers[i], &k = page.Label3(i);
    if (n.Left() == k.Left() && n.Width() == k.Width() && n.Top() < k.Top() &&
        n.Left() >= clearFrom)
      over += n.Caption();
    clearFrom = n.Left() + n.Width();
  }
  return over;
}

class OpasuTest : public SmokeFormTest {
 protected:
  // Shows the set-up modally; `inside` runs in its modal loop, then Esc closes it.
  void InSetUp(std::function<void()> inside) {
    Modal(su_, [&] { inside(), ui_.esc(su_); });
    EXPECT_FALSE(su_.IsLoaded());
  }
  OPASU& su_ = p_.opasu;
};

TEST_F(OpasuTest, LoadShowsTheStoredSetUpAndTakesWhatTheControlsCannotShow) {
  const std::string identity =
      "Marca=KARVESTON\r\nNOmologa=OM-1\r\nModello=OPA-735\r\nNserie=AQ77\r\n"
      "Versione=2.1\r\nScadenza=31/12/2030\r\n";
  // [COMOPA] and [MODOPA]; then the model and unit selected in the lists and taken, the port,
  // the speed buttons, the protocol and the device address.
  const std::tuple<std::string, std::string, std::string> rows[] = {
      {"TModCom=2\r\nTCOM=3\r\nTBRate=2\r\n", "Modello=2\r\nUnitOpa=1\r\n", "2 2 1 1 3 0100 1 65"},
      // The MCTC-NET model keeps the address; a model outside the list selects nothing.
      {"TModCom=1\r\nTCOM=16\r\nTBRate=1\r\n", "Modello=5\r\nUnitOpa=0\r\n", "5 5 0 0 16 1000 2 9"},
      {"TModCom=1\r\nTCOM=2\r\nTBRate=4\r\n", "Modello=9\r\nUnitOpa=-1\r\n",
       "-1 9 -1 -1 2 0001 1 9"},
      {"TModCom=2\r\nTCOM=2\r\nTBRate=3\r\n", "Modello=-1\r\nUnitOpa=2\r\n",
       "-1 -1 0 0 2 0010 2 9"},
      // A unit below -1, ports outside 1 to 16, speed codes outside 1 to 4.
      {"TModCom=2\r\nTCOM=0\r\nTBRate=5\r\n", "Modello=0\r\nUnitOpa=-7\r\n", "0 0 0 0 1 0000 1 81"},
      {"TModCom=1\r\nTCOM=17\r\nTBRate=0\r\n", "Modello=1\r\nUnitOpa=x\r\n", "1 1 0 0 1 0000 1 65"},
  };
  for (const auto& [com, mod, expected] : rows) {
    p_.shell = ShellState{};
    LoadLanguageTexts(p_.shell, dir_.path(), 2);
    p_.link.ActiveComMode = 0, p_.smoke.OpaDeviceAddress = 9;
    WriteConf("[COMOPA]\r\n" + com + identity + "[MODOPA]\r\n" + mod);
    std::string shown;
    InSetUp([&] {
      const auto n = [](int v) { return std::to_string(v) + " "; };
      shown = n(su_.Combo1.ListIndex()) + n(p_.shell.OpaModelIndex) + n(su_.Combo2.ListIndex()) +
              n(p_.shell.OpaUnitIndex) + su_.Text5.Text() + " ";
      for (const auto* o : {&su_.Option1, &su_.Option2, &su_.Option3, &su_.Option4})
        shown += o->Value() ? "1" : "0";
      EXPECT_EQ(su_.VScroll1.Value(), p_.shell.OpaComPort);
      EXPECT_EQ(su_.Text3.Text() + " " + su_.Text7.Text(), "OPA-735 31/12/2030");
    });
    EXPECT_EQ(shown + " " + std::to_string(p_.link.ActiveComMode) + " " +
                  std::to_string(p_.smoke.OpaDeviceAddress) + " " + p_.link.InstrSerial,
              expected + " AQ77")
        << com + mod;
  }
}

TEST_F(OpasuTest, IdentificationPicksTheModelAndSaveWritesBothSectionsOrTellsWhyNot) {
  // The opacimeter on COM4; a smoke test's exchange in the middle of a request is left alone.
  WriteConf(
      "[COMOPA]\r\nTModCom=1\r\nTCOM=4\r\nTBRate=2\r\nMarca=OLD\r\n[MODOPA]\r\nModello=0\r\n");
  const auto line = p_.rt.serial.attachMemory(4);
  sim::Instrument opa(sim::Device::Opacimeter, sim::Protocol::Mctc, 5);
  sim::Attach(opa, line, &p_.rt.loop);
  p_.link.McnAddress = "GAS", p_.link.McnCommand = "@VA", p_.link.McnCommandLen = 3;
  opa.identity = {"KARVESTON", "OPA-735/HD  ", "OM-9", "AN555", "01022031", "3.2", "7"};
  opa.splitInto = 3;
  InSetUp([&] {
    line->setAvailable(false);  // a port that does not open is told
    ui_.answerBox();
    ui_.click(su_.ComFind);
    EXPECT_TRUE(ui_.lastBox().text.starts_with("COM4 cannot be opened\r\n")) << ui_.lastBox().text;
    line->setAvailable(true);
    // No answer, and a gas analyser's frame on the line, leave the boxes blank.
    opa.silent = true;
    ui_.click(su_.ComFind);
    line->send(sim::Instrument(sim::Device::Gas, sim::Protocol::Mctc).replyTo({"ID", ""}));
    ui_.advance(5000);
    EXPECT_EQ(su_.Text1.Text(), " ");
    opa.silent = false;
    const auto find = [&](const char* model) {
      opa.identity.model = model;
      ui_.click(su_.ComFind);
      ui_.settle();
      return su_.Text1.Text() + "|" + su_.Text3.Text() + "|" + su_.Text4.Text() + "|" +
             su_.Text6.Text() + "|" + su_.Text7.Text() + "|" +
             std::to_string(su_.Combo1.ListIndex());
    };
    EXPECT_EQ(find("OPA-735/HD  "), "KARVESTON|OPA-735/HD|AN555|3.2|01/02/2031|2");
    EXPECT_EQ(find("OPA-150"), "KARVESTON|OPA-150|AN555|3.2|01/02/2031|5");
    EXPECT_EQ(p_.link.ActiveComMode, 2);
    // No model of the list: the choice stays.
    EXPECT_EQ(find("opa-735"), "KARVESTON|opa-735|AN555|3.2|01/02/2031|5");
    ui_.focus(su_.Text5);  // the spinner takes the port box's focus and colours it
    EXPECT_EQ(std::tuple(p_.rt.forms.activeForm()->ActiveControl(), su_.Text5.BackColor()),
              std::tuple(&su_.VScroll1, 0x80FFFFu));
    ui_.focus(su_.Combo1);
    EXPECT_EQ(su_.Text5.BackColor(), plat::colors::kWindowBackground);
    ui_.choose(su_.Combo2, 1);
    ui_.click(su_.Option1);
    ui_.scroll(su_.VScroll1, 4);
    EXPECT_EQ(find("OPA-264"), "KARVESTON|OPA-264|AN555|3.2|01/02/2031|0");
    ui_.answerBox();
    ui_.click(su_.ComSave);
    EXPECT_EQ(std::tuple(su_.Visible(), ui_.lastBox().text), std::tuple(true, "Settings saved."));
  });
  EXPECT_EQ(ReadConf(),
            "[COMOPA]\r\nTModCom=1\r\nTCOM=4\r\nTBRate=1\r\nMarca=KARVESTON\r\nNOmologa=OM-9\r\n"
            "Modello=OPA-264\r\nNserie=AN555\r\nVersione=3.2\r\nScadenza=01/02/2031\r\n"
            "[MODOPA]\r\nModello=0\r\nUnitOpa=1\r\n");
  std::string asked;
  for (const auto& r : opa.requests) asked += r.command + " ";
  // The identity stays after ESC.
  EXPECT_EQ(std::tuple(asked, p_.link.McnAddress + p_.link.McnCommand, p_.link.McnCommandLen,
                       p_.link.InstrSerial, line->isOpen()),
            std::tuple("ID ID ID ID ID ", "GAS@VA", 3, "AN555", false));

  std::filesystem::remove(conf());
  std::filesystem::create_directory(conf());
  ui_.clearBoxes();
  ui_.answerBox();
  InSetUp([&] { ui_.click(su_.ComSave); });
  ASSERT_EQ(ui_.boxes().size(), 1u);
  const std::string& told = ui_.lastBox().text;
  EXPECT_TRUE(Has(told, conf().string()) && !Has(told, "Settings saved.")) << told;
}

TEST_F(SmokeFormTest, LimitsApplyWithEnterOrEscOrRefuseWhatTheyCannotTake) {
  Station(1, "0", "RN=800\r\nMX=4000\r\nON=0.5\r\nVK=1.5\r\n");
  f_.Load();
  f_.Command2.setEnabled(false), p_.link.OpaRpm = 800;
  const auto limits = [&](std::function<void(LIMITI&)> inside) {
    ui_.onModal(p_.limiti, [&] { inside(p_.limiti); });
    f_.Command3_Click();
    EXPECT_FALSE(p_.limiti.IsLoaded());
  };
  const auto applied = [&s = p_.shell, this] {
    return std::tuple(s.SmokeRpmMin, s.SmokeRpmMax, s.SmokeOpacityThreshold, s.SmokeKLimit,
                      f_.Command2.Enabled());
  };
  // The box (1 to 4), what is typed there, the field named (the box's label when none).
  using Row = std::tuple<int, const char*, const char*>;
  for (const auto& [box, typed, field] :
       {Row{1, "ottocento", "RPMmin"}, Row{1, "32767.6", "RPMmin"}, Row{2, "", "RPMmax"},
        Row{2, "-40000", "RPMmax"}, Row{3, "1E+39", nullptr}, Row{4, "1,5", nullptr}}) {
    SCOPED_TRACE(typed);
    ui_.clearBoxes();
    ui_.answerBox();
    limits([&, box = box, typed = typed, field = field](LIMITI& f) {
      plat::TextBox* boxes[] = {&f.Text1, &f.Text2, &f.Text3, &f.Text4};
      plat::Label* labels[] = {&f.Label1, &f.Label2, &f.Label3, &f.Label4};
      ui_.type(f.Text1, "1200");  // a good value before the bad one is not applied either
      ui_.type(*boxes[box - 1], typed);
      ui_.enter(f);
      ASSERT_TRUE(f.Visible() && ui_.boxes().size() == 1u);
      const std::string& told = ui_.lastBox().text;
      EXPECT_TRUE(Has(told, field ? field : labels[box - 1]->Caption()) &&
                  Has(told, "\"" + std::string(typed) + "\""))
          << told;
      ui_.close(f);
    });
    EXPECT_EQ(applied(), std::tuple(800.0f, 4000.0f, 0.5, 1.5, false));
  }
  limits([&](LIMITI& f) {
    EXPECT_EQ(f.Text1.Text() + " " + f.Text4.Text(), "800 1.5");
    ui_.type(f.Text1, "800.5");  // the engine at 800 is below it
    ui_.type(f.Text2, "700");    // below the minimum: taken as typed
    ui_.type(f.Text3, "0.25");
    ui_.type(f.Text4, "2.75");
    ui_.esc(f);
  });
  EXPECT_EQ(applied(), std::tuple(800.5f, 700.0f, 0.25, 2.75, true));
  f_.Command2.setEnabled(false);
  // Equal to the engine speed: START stays as it is.
  limits([&](LIMITI& f) { ui_.type(f.Text1, "800"), ui_.enter(f); });
  EXPECT_EQ(applied(), std::tuple(800.0f, 700.0f, 0.25, 2.75, false));
  f_.Unload();
}

class SmokeReportsTest : public SmokeFormTest {
 protected:
  void SetUp() override {
    SmokeFormTest::SetUp();
    p_.rt.loop.setLocalTime({2026, 12, 7, 10, 30, 0});
    ShellState& s = p_.shell;
    LinkState& l = p_.link;
    SmokeState& m = p_.smoke;
    l.InstrMake = "FUMOTEC", l.InstrModel = "OPA-735", l.InstrHomologation = "OM 123";
    l.InstrSerial = "AQ1234", l.InstrExpiry = "31/12/2027", l.OpaOilTemp = 888.0;
    s.RpmMake = "GIRITEC", s.RpmHomologation = "RM 9", s.RpmSerial = "R0042";
    s.RpmExpiry = "01/06/2027", s.VehicleMakeType = "FURGONE 2.3", s.VehiclePlate = "AB123CD";
    s.VehicleModel = "DAILY", s.VehicleChassis = "ZFA250000012345", s.VehicleYear = "2015";
    s.AmbientTemperature = "21.5", s.AmbientPressure = "101.3", s.AmbientHumidity = "55";
    s.SmokeRpmMin = 800, s.SmokeRpmMax = 4000, s.SmokeOpacityThreshold = 0.5, s.SmokeKLimit = 1.5;
    s.TechnicalManager = "Mario Rossi\nIng.", s.AgencyName = "Officina Centro";
    m.AccK = {"2.41", "1.62", "1.23", "1.11"}, m.AccRpm = {"4510", "4480", "4520", "4490"};
    m.AccKState = m.AccRpmState = {4, 3, 3, 3, 4, 4, 4, 4};
    m.AccelsUsed = "2,3,4", m.SmokeResultK = "1.32", m.SmokeResultOpacity = "43.6";
    m.SmokeResultText = "REGOLARE", m.ReportMinRpm = 780, m.ReportMaxRpm = 4520.5;
    m.MeasureStart = plat::DateTime{2026, 12, 7, 10, 21, 5};
    m.MeasureEnd = plat::DateTime{2026, 12, 7, 10, 29, 40};
  }
  plat::test::StandInLp lp_;
  plat::PdfPrinter printer_;
};

// Report B rewrites "report.log" when it opens: 49 lines, each value's line breaks as one
// blank, in Windows-1252.
TEST_F(SmokeReportsTest, ReportBWritesTheReportLog) {
  const auto log = [&] {
    Modal(p_.stampaOpaB, [&] { ui_.esc(p_.stampaOpaB); });
    return plat::test::ReadBytes(bin_ / "report.log");
  };
  const std::string common =
      "Title=" + p_.shell.LangText[lang::StampaOPARefer] +
      "\r\nMark=FUMOTEC\r\nType=OPA-735\r\nHomologation=OM 123\r\nSerial=AQ1234\r\n"
      "Expiring=31/12/2027\r\nMarkRPM=GIRITEC\r\nHomologationRPM=RM 9\r\nSerialRPM=R0042\r\n"
      "ExpiringRPM=01/06/2027\r\nManuf=FURGONE 2.3\r\nPlate=AB123CD\r\nLoom=ZFA250000012345\r\n"
      "Regis=2015\r\nAmbTemp=21.5\r\nAmbPress=101.3\r\nAmbHum=55\r\n";
  plat::test::WriteBytes(bin_ / "report.log", std::string(4000, 'x'));  // rewritten whole
  EXPECT_EQ(log(),
            common +
                "OilTemp=OutRange\r\nMinRPM= 780 \r\nMaxRPM= 4520.5 \r\n"
                "ParMinRPM= 800 \r\nParMaxRPM= 4000 \r\nParThrOPA= 0.5 \r\nParMaxOPA= 1.5 \r\n"
                "1MeasOPA=2.41\r\n1MeasRPM=4510\r\n2MeasOPA=1.62\r\n2MeasRPM=4480\r\n"
                "3MeasOPA=1.23\r\n3MeasRPM=4520\r\n4MeasOPA=1.11\r\n4MeasRPM=4490\r\n"
                "5MeasOPA=\r\n5MeasRPM=\r\n6MeasOPA=\r\n6MeasRPM=\r\n7MeasOPA=\r\n7MeasRPM=\r\n"
                "8MeasOPA=\r\n8MeasRPM=\r\nMidOPAK=1.32\r\nMidOPAP=43.6\r\nUnitOPAP=%\r\n"
                "Result=REGOLARE\r\nDate=07/12/2026\r\nStartMeas=10:21:05\r\nEndMeas=10:29:40\r\n"
                "Tech=Mario Rossi Ing.\r\nAgency=Officina Centro\r\n");
  // Failed in HSU with a decimal comma, no engine-speed reading yet and no START since the
  // program began.
  p_.rt.regional = plat::RegionalSettings::Italian();
  p_.link.OpaOilTemp = 82.5, p_.shell.OpaUnitIndex = 1;
  p_.smoke.ReportMinRpm = p_.smoke.ReportMaxRpm = std::nullopt,
  p_.smoke.MeasureStart = std::nullopt;
  p_.shell.SmokeRpmMin = 812.5f, p_.shell.SmokeOpacityThreshold = -0.25;
  p_.smoke.AccK.fill("2"), p_.smoke.AccK[7] = "2,2", p_.smoke.AccRpm.fill("4550");
  p_.smoke.SmokeResultK = "2,07", p_.smoke.SmokeResultOpacity = "58,9";
  p_.smoke.SmokeResultText = "RESPINTO", p_.shell.TechnicalManager = "Ente\nprova\r";
  p_.shell.AgencyName = "Officina S\xC3\xA0n Marco\r\nsede Nord";
  EXPECT_EQ(log(),
            common +
                "OilTemp=82,5\r\nMinRPM=\r\nMaxRPM=\r\n"
                "ParMinRPM= 812,5 \r\nParMaxRPM= 4000 \r\nParThrOPA=-0,25 \r\nParMaxOPA= 1,5 \r\n"
                "1MeasOPA=2\r\n1MeasRPM=4550\r\n2MeasOPA=2\r\n2MeasRPM=4550\r\n"
                "3MeasOPA=2\r\n3MeasRPM=4550\r\n4MeasOPA=2\r\n4MeasRPM=4550\r\n"
                "5MeasOPA=2\r\n5MeasRPM=4550\r\n6MeasOPA=2\r\n6MeasRPM=4550\r\n"
                "7MeasOPA=2\r\n7MeasRPM=4550\r\n8MeasOPA=2,2\r\n8MeasRPM=4550\r\n"
                "MidOPAK=2,07\r\nMidOPAP=58,9\r\nUnitOPAP=HSU\r\n"
                "Result=RESPINTO\r\nDate=07/12/2026\r\nStartMeas=\r\nEndMeas=10:29:40\r\n"
                "Tech=Ente prova \r\nAgency=Officina S\xE0n Marco sede Nord\r\n");
  // One that cannot be written is told; the page still shows and closes without printing.
  std::filesystem::remove(bin_ / "report.log");
  std::filesystem::create_directory(bin_ / "report.log");
  ui_.answerBox();
  Modal(p_.stampaOpaB, [&] {
    EXPECT_EQ(p_.stampaOpaB.Label79.Caption(), "RESPINTO");
    ui_.esc(p_.stampaOpaB);
  });
  ASSERT_EQ(ui_.boxes().size(), 1u);
  const std::string& told = ui_.lastBox().text;
  EXPECT_TRUE(Has(told, (bin_ / "report.log").string()) &&
              Has(told, std::make_error_code(std::errc::is_a_directory).message()))
      << told;
  EXPECT_TRUE(ui_.printed().empty());
}

// Report B from the test form, report A through the print dialog, which saves the layout;
// each read back from the PDF that goes to a stand-in `lp`.
TEST_F(SmokeReportsTest, TheDialogKeepsOrSavesTheLayoutAndEachReportPrintsWhatItShows) {
  // Esc keeps the choice in memory only; a type of neither layout is saved and opens nothing.
  WriteConf("[STAMPA]\r\nTipo=uno\r\n");
  p_.shell.PrintType = 1;
  Modal(p_.dialgStamp, [&] {
    EXPECT_TRUE(p_.dialgStamp.Option6.Value());
    ui_.click(p_.dialgStamp.Option7);
    ui_.esc(p_.dialgStamp);
  });
  EXPECT_EQ(std::tuple(p_.shell.PrintType, ReadConf()), std::tuple(0, "[STAMPA]\r\nTipo=uno\r\n"));
  p_.shell.PrintType = 2;
  WriteConf("");
  Modal(p_.dialgStamp, [&] {
    EXPECT_FALSE(p_.dialgStamp.Option6.Value() || p_.dialgStamp.Option7.Value());
    ui_.click(p_.dialgStamp.Command2);
  });
  EXPECT_EQ(std::tuple(ReadConf(), Count("load StampaOpa")),
            std::tuple("[STAMPA]\r\nTipo=2\r\n", 0));
  p_.rt.forms.setPrinter(&printer_);
  p_.smoke.PrintCopies = "7";  // the dialog's copies do not count for report B
  Modal(p_.stampaOpaB, [&] {
    EXPECT_EQ(p_.stampaOpaB.Label3(1).BackColor(), 0x80FFu);  // in the result: orange
    EXPECT_EQ(p_.stampaOpaB.Label59(0).BackColor(), plat::colors::kYellow);
    EXPECT_EQ(NumbersOverTheirColumns(p_.stampaOpaB), "12345678");
    ui_.type(p_.stampaOpaB.Text5(1), "2");
    ui_.click(p_.stampaOpaB.Command2);
  });
  EXPECT_FALSE(p_.stampaOpaB.IsLoaded());
  WriteConf("[STAMPA]\r\nTipo=1\r\n");
  ui_.onModal(p_.stampaOpa, [&] {
    // Report A's page is 11205 x 9090 twips, 15 to a pixel, and holds every field it shows.
    const StampaOpa& a = p_.stampaOpa;
    std::string outside;
    for (const plat::Control* c : a.controls()) {
      if (c->Visible() && !c->container() &&
          (c->Left() + c->Width() > a.Width() || c->Top() + c->Height() > a.Height()))
        outside += c->qualifiedName() + " ";
    }
    EXPECT_EQ(std::tuple(a.Width(), a.Height(), outside), std::tuple(747, 606, ""));
    EXPECT_EQ(NumbersOverTheirColumns(p_.stampaOpa), "12345678");
    ui_.click(p_.stampaOpa.Command2);
  });
  std::filesystem::remove(bin_ / "report.log");
  Modal(p_.dialgStamp, [&] {
    EXPECT_TRUE(p_.dialgStamp.Option6.Value());
    ui_.click(p_.dialgStamp.Option7);
    ui_.type(p_.dialgStamp.Text5(1), "2");
    ui_.click(p_.dialgStamp.Command2);
  });
  // "report.log" is report B's only.
  EXPECT_EQ(
      std::tuple(p_.stampaOpa.IsLoaded(), ReadConf(), std::filesystem::exists(bin_ / "report.log")),
      std::tuple(false, "[STAMPA]\r\nTipo=0\r\n", false));
  ASSERT_EQ(lp_.jobs().size(), 2u);
  if (!HavePdfToText()) GTEST_SKIP() << "pdftotext is not installed";
  const std::string b = PdfText(lp_.pdf(0)), a = PdfText(lp_.pdf(1));
  EXPECT_EQ(std::count(b.begin(), b.end(), '\f') + std::count(a.begin(), a.end(), '\f'), 4);
  for (const char* part :
       {"FUMOTEC", "OPA-735", "AQ1234",   "GIRITEC",  "R0042",    "FURGONE 2.3",
        "AB123CD", "101.3",   "OutRange", "780",      "4520",     "RPMmin",
        "800",     "4000",    "0.5",      "1.5",      "2.41",     "1.62",
        "1.23",    "1.11",    "4510",     "4480",     "4490",     "2,3,4",
        "1.32",    "43.6",    "REGOLARE", "10:21:05", "10:29:40", "Officina Centro"})
    EXPECT_TRUE(Has(b, part)) << part << " is not on report B:\n" << b;
  for (const char* part : {"FUMOTEC", "DAILY", "AB123CD", "OutRange", "2.41", "1.11", "2,3,4",
                           "1.32", "43.6", "REGOLARE", "10:29:40", "Officina Centro"})
    EXPECT_TRUE(Has(a, part)) << part << " is not on report A:\n" << a;
  // The acceleration numbers side by side on one line, not piled up.
  const std::regex numbers("\n *1 +2 +3 +4 +5 +6 +7 +8( |\n)");
  for (int job : {0, 1}) {
    const std::string page = PdfText(lp_.pdf(job), true);
    EXPECT_TRUE(std::regex_search(page, numbers)) << page;
  }
  // Report B has no copies box and no vehicle model, report A no limits or speeds.
  EXPECT_FALSE(Has(b, "Copie") || Has(b, "DAILY") || Has(a, "RPMmin") || Has(a, "4510"));
}

// Mode 6: each "@VA" reply, 100 ms after the last, handed to the form's reading step as the
// MCTC-NET link stores it, so that the test knows the point of every row of the chart; the
// chart window drawn to PNG and PDF and printed.
TEST_F(SmokeFormTest, ChartModeRecordsEachAccelerationAndTheWindowDrawsAndPrintsIt) {
  Station(5, "0", "RN=1000\r\nMX=4000\r\nON=0.5\r\nVK=1.5\r\n");
  Open();
  ui_.choose(f_.Combo1, 6);
  ui_.click(f_.Command2);
  Grafic& g = p_.grafic;
  p_.link.OpaLuStatus1 = "00016", p_.link.OpaLuStatus2 = "00002";
  // The phase, row and step, and the instruction line, after the reply.
  const auto reply = [&](double rpm, double k, double cellTemp = 75) {
    ui_.advance(100);
    p_.link.OpaRpm = rpm, p_.link.OpaK = k, p_.link.OpaCellTemp = cellTemp;
    f_.ShowSmokeReadings(smoke::Protocol::MctcNet);
    f_.EndOfFrame();
    return f_.TestPhase + " " + std::to_string(f_.ChartRow) + " " + f_.ChartStep + "|" +
           f_.Label39.Caption();
  };
  reply(800, 0.1, 70.0);
  EXPECT_EQ(f_.Label24.BackColor(), plat::colors::kRed);
  const std::string acc = t_[lang::ANFUMOAcc], hold = t_[lang::ANFUMOManMax];
  // Exactly the lower limit begins the acceleration; exactly the upper limit is not above it.
  EXPECT_EQ((std::vector{reply(800, 0.1), reply(800, 0.2), reply(1000, 0.5), reply(4000, 1.5),
                         reply(4500, 2.0)}),
            (std::vector{"PREAVVIO 1 |" + acc, "PREAVVIO 1 |" + acc, "AVVIO 2 UNO|" + acc,
                         "AVVIO 3 UNO|" + acc, "AVVIO 4 DUE|" + hold}));
  const int holdEnds = f_.SmokeTickCount + 120;
  while (f_.SmokeTickCount + 4 <= holdEnds) EXPECT_TRUE(reply(4600, 2.5).ends_with("DUE|" + hold));
  const std::string dec = t_[lang::ANFUMODec],
                    done = "|" + t_[lang::ANFUMOConcl] + ", " + acc + " " + t_[lang::ANFUMOGrafic];
  EXPECT_EQ((std::vector{reply(4600, 2.5), reply(2000, 1.0), reply(900, 0.3)}),
            (std::vector{"AVVIO 35 TRE|" + dec, "AVVIO 36 TRE|" + dec, "PREAVVIO 1 TRE" + done}));
  ASSERT_TRUE(g.Visible());
  EXPECT_FALSE(p_.exclam.IsLoaded());
  // Time, k x 10, engine speed / 100 and the limit lines; the form's table ready for the next.
  const auto& rows = g.MSChart1.ChartData();
  const int last = 4 + 31 + 2;  // 4500, the hold, 2000 and 900
  using Rows = std::vector<std::vector<double>>;
  const Rows seen = {
      rows[0], rows[1], rows[3], rows[last], {rows[last + 1].begin() + 1, rows[last + 1].end()}};
  const Rows expected = {
      {0.0, 2.0, 8.0, 10, 40},         {0.25, 5.0, 10.0, 10, 40}, {0.75, 15.0, 40.0, 10, 40},
      {last * 0.25, 3.0, 9.0, 10, 40}, {0.0, 0.0, 10, 40},
  };
  EXPECT_EQ(seen, expected);
  EXPECT_TRUE(std::isnan(rows[last + 1][0]));  // no time yet
  EXPECT_EQ(f_.SmokeChartData[3], (smoke::ChartPoint{0.75, 0.0, 0.0, 10, 40}));
  EXPECT_EQ(p_.smoke.AccIndex, 0);

  // Drawn with the k curve red, the engine speed blue, the limit lines green and magenta.
  plat::test::TempFolder dir;
  plat::paint::WriteFormPng(g, dir / "chart.png");
  const plat::paint::Bitmap png(cairo_image_surface_create_from_png((dir / "chart.png").c_str()));
  ASSERT_EQ(png.width(), 723);
  std::set<std::uint32_t> drawn;
  for (int x = 0; x < png.width(); ++x)
    for (int y = 0; y < png.height(); ++y) drawn.insert(png.pixel(x, y) & 0xFFFFFF);
  for (const std::uint32_t colour : {0xFF0000u, 0x0000FFu, 0x008000u, 0xFF00FFu})
    EXPECT_TRUE(drawn.count(colour)) << std::hex << colour;

  // The time ticks under the chart in seconds; the instruction line and engine speed as the
  // test form's. Printed, these and the buttons are left off the page.
  EXPECT_EQ(g.LabelTime(0).Caption() + " " + g.LabelTime(18).Caption() + " " +
                g.LabelTime(19).Caption() + " " + g.Label3.Caption() + " " + g.Label39.Caption(),
            "0.5 9.5 10 900 " + f_.Label39.Caption());
  if (HavePdfToText()) {
    std::string printed;
    ui_.whilePrinting = [&](plat::Form& form) {
      plat::paint::WriteFormPdf(form, dir / "printed.pdf", 1);
      printed = PdfText(dir / "printed.pdf");
    };
    ui_.click(g.Command2);
    EXPECT_EQ(std::tuple(ui_.printed().size(), Count("print Grafic x1")), std::tuple(1u, 1));
    EXPECT_TRUE(Has(printed, "Time, sec") && Has(printed, "9.5") &&
                !Has(printed, t_[lang::ANFUMOConcl]))
        << printed;
    EXPECT_TRUE(g.Command2.Visible() && g.Command1.Visible() && g.Label39.Visible() &&
                g.Label3.Visible() && g.Label4.Visible());
  }

  // A full table ends the acceleration while the engine stays up; the next waits for idle.
  reply(1200, 0.5);
  while (f_.ChartRow < 40) reply(4600, 2.0);
  EXPECT_EQ(f_.TestPhase, "AVVIO");
  EXPECT_EQ(
      (std::vector{reply(4600, 2.0), reply(1000, 1.0), reply(999, 1.0)}),
      (std::vector{"SUBATTESA 40 TRE" + done, "SUBATTESA 40 TRE" + done, "PREAVVIO 1 TRE" + done}));
  EXPECT_EQ(g.MSChart1.ChartData()[40][1], 20.0);
  // The window does not close with the test form; its cancel button closes it.
  ui_.click(f_.CmdOut);
  EXPECT_TRUE(g.Visible());
  ui_.esc(g);
  EXPECT_FALSE(g.IsLoaded());
}

}  // namespace
}  // namespace vs
