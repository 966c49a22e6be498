// The engine-speed form and the counter's set-up against a simulated counter on COM3 (an
// in-memory line answering through the event loop, on the manual clock; a poll every 300 ms).
#include <gmock/gmock.h>

#include "gas/gas_fixture.h"
#include "link/ExternalRpmReading.h"

namespace vs::test {
namespace {

using ::testing::StartsWith;

// Counts typed into the cylinder box in turn, starting from 10 held, and what follows: '+'
// or '-' steps from the number the box shows, 'o' leaves the box (which takes a count the
// counter knows). Then what the box shows, the count held, and whether the typed text was
// refused as no whole number (the operator told, the count held shown again).
struct TypedCount {
  const char* typed;
  char then;
  const char* shown;
  int held;
  bool refused;
};
constexpr TypedCount kTypedCounts[] = {
    {"12", '-', "10", 10, false},    {"11", '+', "12", 12, false}, {"7", '+', "8", 8, false},
    {"13", '-', "12", 12, false},    {"13", '+', "13", 12, false}, {"1", '-', "1", 1, false},
    {"3", 'o', "3", 3, false},       {"9", 'o', "9", 3, false},    {"quattro", '+', "3", 3, true},
    {"", '-', "3", 3, true},         {"4.5", 'o', "3", 3, true},   {"-2", '+', "1", 1, false},
    {"99999", '-', "12", 12, false},
};

// Section RPM with the counter at 9600 baud.
std::string RpmSection(const char* cyl = "4", const char* strokes = "4", const char* poll = "0",
                       const char* rpm = "0", const char* oil = "0", const char* port = "3") {
  return std::string("[RPM]\r\nMarca=GIRITEC  RX-2\r\nNOmol=OM-0815\r\nNserie=R0042\r\n") +
         "Scadenza=01/02/2031\r\nTCOMrpm=" + port + "\r\nTBRaterpm=2\r\nNCilindriRPM=" + cyl +
         "\r\nNTempiRPM=" + strokes + "\r\nExternRPM=" + rpm + "\r\nExternToil=" + oil +
         "\r\nSelrpmT=" + poll + "\r\n";
}

// The gas tests' folder, texts and program, with the counter on COM3.
class RpmTest : public GasTest {
 protected:
  void SetUp() override {
    GasTest::SetUp();
    p_.rt.regional = plat::RegionalSettings::English();
    sim::Attach(counter_, line_ = p_.rt.serial.attachMemory(3), &p_.rt.loop);
  }
  void WriteConf(const std::string& b) const { plat::test::WriteBytes(dir_ / "Conf.ini", b); }
  bool ConfHas(const std::string& line) const {
    return plat::test::ReadBytes(dir_ / "Conf.ini").find(line + "\r\n") != std::string::npos;
  }
  // The requests the counter gets in the next `polls` (and before): "CI 4, VA".
  std::string Polls(int polls) {
    ui_.advance(300 * polls);
    std::string out;
    for (const sim::Request& r : counter_.requests)
      out += (out.empty() ? "" : ", ") + r.command + (r.data.empty() ? "" : " " + r.data);
    counter_.requests.clear();
    return out;
  }
  // For each of the next `polls` polls (or for now, at 0): the requests, the speed and the oil
  // temperature shown, and "shut" while the port is closed; " / " between polls.
  std::string Seen(int polls) {
    std::string all;
    for (int i = 0; i < std::max(polls, 1); ++i) {
      const std::string sent = Polls(polls > 0);
      all += (i ? " / " : "") + sent + "|" + f_.Label1.Caption() + "|" + f_.Label3.Caption() +
             (line_->isOpen() ? "" : "|shut");
    }
    return all;
  }

  // Types kTypedCounts into a form's cylinder box; `elsewhere` takes the focus for 'o'.
  // `saved`: each count held is in "Conf.ini" at once.
  void TypeCounts(plat::TextBox& box, plat::CommandButton& plus, plat::CommandButton& minus,
                  plat::Control& elsewhere, bool saved) {
    ui_.answerEveryBox(plat::MsgBoxResult::OK);
    for (const auto& [typed, then, shown, held, refused] : kTypedCounts) {
      SCOPED_TRACE(std::string(typed) + " " + then);
      const std::size_t boxes = ui_.boxes().size();
      ui_.type(box, typed);
      if (then == 'o') {
        ui_.focus(elsewhere);
      } else {
        ui_.click(then == '+' ? plus : minus);
      }
      EXPECT_EQ(std::tuple(box.Text(), int{p_.shell.RpmCylinders}, ui_.boxes().size() - boxes),
                std::tuple(shown, held, refused ? 1u : 0u));
      if (refused) {
        EXPECT_EQ(ui_.lastBox().text,
                  "Cilindri: \"" + std::string(typed) + "\" non \xC3\xA8 un numero intero.");
      }
      EXPECT_EQ(ConfHas("NCilindriRPM=" + std::to_string(held)), saved);
    }
  }

  sim::Instrument counter_{sim::Device::EngineSpeed, sim::Protocol::Mctc};
  RPM& f_ = p_.rpm;
  RPMSU& su_ = p_.rpmsu;
};

// The cylinders, the strokes, then polls of the chosen quantity (7: engine speed). A silent
// counter blanks the speed at the second miss; the third closes the port until the next poll.
TEST_F(RpmTest, TellsCylindersThenStrokesThenPollsTheChosenQuantity) {
  counter_.splitInto = 3;  // each reply in three pieces
  // The poll setting, its request, what the first poll shows, and the next two.
  for (auto [select, poll, first, later] : {std::tuple("0", "VA", "850|- - -", "2480.5|- - -"),
                                            {"1", "VE", "850|80", "2480.5|80"},
                                            {"2", "TP", "- - -|80", "- - -|80"},
                                            {"7", "VA", "850|- - -", "2480.5|- - -"}}) {
    SCOPED_TRACE(select);
    WriteConf(RpmSection("4", "2", select));
    f_.Show();
    EXPECT_EQ(std::tuple(line_->baud(), Seen(0)), std::tuple(9600, "|- - -|- - -"));
    EXPECT_EQ((std::tuple{Polls(1), f_.poll.exchange.step}), std::tuple("CI 4", RpmPollState::Cil));
    EXPECT_EQ(Seen(1), "TE 2|- - -|- - -");
    EXPECT_EQ(Seen(1), poll + std::string("|") + first);
    counter_.rpm.rpm = 2480.5;
    EXPECT_EQ(Seen(2), poll + ("|" + std::string(later)) + " / " + poll + "|" + later);
    f_.Unload();
    EXPECT_FALSE(line_->isOpen());
    counter_.rpm.rpm = 850;
  }

  f_.Show();
  Polls(3);
  counter_.silent = true;
  line_->setAvailable(false);  // held open until the form closes it
  EXPECT_EQ(Seen(3), "VA|850|- - - / VA|- - -|- - - / VA|- - -|- - -");  // the last reply came
  EXPECT_EQ(p_.link.RpmMissCount, 2);
  EXPECT_EQ(Seen(1), "|- - -|- - -|shut");
  counter_.silent = false;
  line_->setAvailable(true);
  EXPECT_EQ(Seen(2), "VA|850|- - - / VA|850|- - -");
  EXPECT_EQ(p_.link.RpmMissCount, 0);

  // Unplugged: the same misses (the port, still open, loses the requests); the third miss
  // closes it and cannot open it again, until the counter is back.
  line_->unplug();
  EXPECT_EQ(Seen(4), "|850|- - -|shut / |- - -|- - -|shut / |- - -|- - -|shut / |- - -|- - -|shut");
  EXPECT_FALSE(f_.MSComm6.PortOpen());
  line_->setAvailable(true);
  EXPECT_EQ(Seen(2), "VA|850|- - - / VA|850|- - -");
}

TEST_F(RpmTest, CylinderAndStrokeChangesAreSavedAndToldToTheCounter) {
  WriteConf(RpmSection("6", "4"));
  f_.Show();
  EXPECT_EQ(Polls(3), "CI 6, TE 4, VA");
  ui_.click(f_.Command2);  // 6 + gives 8
  EXPECT_TRUE(f_.Text5.Text() == "8" && ConfHas("NCilindriRPM=8"));
  EXPECT_EQ(Polls(2), "CI 8, VA");  // the poll's reply led back to the cylinders: only they
  ui_.click(f_.Option7);            // strokes alone
  EXPECT_TRUE(ConfHas("NTempiRPM=2"));
  EXPECT_EQ(Polls(4), "CI 8, TE 2, VA, VA");
  ui_.click(f_.Option7);  // unchanged: nothing to tell
  EXPECT_EQ(Polls(2), "VA, VA");

  // Typed counts: the buttons step from the number shown, each count held saved at once.
  ui_.type(f_.Text5, "10");
  ui_.focus(f_.Option6);
  EXPECT_TRUE(p_.shell.RpmCylinders == 10 && ConfHas("NCilindriRPM=10"));
  TypeCounts(f_.Text5, f_.Command2, f_.Command3, f_.Option6, true);
  EXPECT_EQ(Polls(2), "CI 12, VA");
  ui_.type(f_.Text5, "3");
  ui_.focus(f_.Option6);
  ui_.type(f_.Text5, " 12");  // a blank before the digits
  ui_.focus(f_.Option6);
  EXPECT_EQ(std::tuple(p_.shell.RpmCylinders, ConfHas("NCilindriRPM=12")), std::tuple(12, true));
}

// An external counter is asked for its identity at load; its readings replace the test's own
// by the station's choice; the test form's unload closes the counter's form when one is used.
TEST_F(RpmTest, ExternalCounterFeedsTheTestsReadings) {
  WriteConf(RpmSection("4", "4", "1", "1", "0"));
  f_.Show();
  EXPECT_EQ(Polls(0), "ID");
  EXPECT_EQ(Polls(3), "CI 4, TE 4, VE");
  for (int both = 3; both >= 0; --both) {  // external speed, external oil temperature
    p_.shell.ExternRpm = static_cast<std::int16_t>(both / 2);
    p_.shell.ExternOilTemp = static_cast<std::int16_t>(both % 2);
    const EngineReadings got = EngineReadingsForTest(p_.shell, p_.link, {1200, 60});
    EXPECT_EQ(std::tuple(got.rpm, got.oilTemp),
              std::tuple(both / 2 ? 850.0 : 1200, both % 2 ? 80.0 : 60));
  }
  p_.UnloadRpmBesideTest();
  EXPECT_TRUE(f_.IsLoaded());
  p_.shell.ExternOilTemp = 1;
  p_.UnloadRpmBesideTest();
  EXPECT_FALSE(f_.IsLoaded() || line_->isOpen());
}

// No "Conf.ini" and no "Immagini": port 0, which names no port (COM1 is not tried); no count
// to tell. With the pictures there they show.
TEST_F(RpmTest, OpensOnAFreshStationWithoutSettingsOrPictures) {
  p_.rt.serial.attachMemory(1)->setAvailable(false);
  ui_.answerBox();
  f_.Show();
  EXPECT_THAT(ui_.lastBox().text, StartsWith("COM0 non può essere aperta\r\n"));
  EXPECT_EQ(std::tuple(ui_.lastBox().icon, f_.Picture1.Picture()),
            std::tuple(plat::MsgBoxIcon::Critical, ""));
  ui_.advance(3000);
  EXPECT_EQ(f_.Label1.Caption(), "- - -");
  ui_.click(f_.CmdOut);
  EXPECT_FALSE(f_.IsLoaded());
  const std::filesystem::path icons = dir_ / "Immagini";
  std::filesystem::create_directory(icons);
  for (const char* name : {"RPM.ico", "Temperature.ico"})
    plat::test::WriteBytes(icons / name, std::string("\0\0\1\0", 4));
  WriteConf(RpmSection());
  f_.Show();
  EXPECT_EQ(f_.Picture1.Picture() + "|" + f_.Picture2.Picture(),
            (icons / "RPM.ico").string() + "|" + (icons / "Temperature.ico").string());
}

// The set-up opens with the stored settings (a port the spinner cannot take shows as it is
// stored); "Applica" writes them and tells the counter. A count that is no whole number is
// refused; a failed write is told and not confirmed; a port that does not open is told after
// saving.
TEST_F(RpmTest, SetUpAppliesSearchesAndTellsItsFailures) {
  WriteConf(RpmSection("6", "2", "1", "1", "0", "0"));
  ui_.answerEveryBox(plat::MsgBoxResult::OK);
  counter_.identity = {"GIRITEC", "RX-9   ", "OM-0999", "R0077", "15062032", "3.1", "0"};
  const auto identity = [&] { return Shown(su_.Text1, su_.Text2, su_.Text3, su_.Text4); };
  const plat::CheckBox &on = su_.Check1, &off = su_.Check2;
  ui_.onModal(su_, [&] {
    EXPECT_EQ(identity() + su_.Text6.Text() + su_.Text5.Text(),
              "GIRITEC  RX-2|OM-0815|R0042|01/02/2031|06");
    EXPECT_EQ(p_.shell.RpmComPort, 0);
    EXPECT_TRUE(su_.Option7.Value() && su_.Option2.Value() && su_.Option9.Value());
    EXPECT_EQ(std::tuple(on.Caption(), on.BackColor(), off.Caption(), off.BackColor()),
              std::tuple("ON", plat::colors::kGreen, "OFF", plat::colors::kRed));
    ui_.scroll(su_.VScroll1, 3);
    EXPECT_EQ(std::tuple(su_.Text6.Text(), su_.Text6.BackColor()),
              std::tuple("3", 0x80FFFFu));  // yellow while the spinner has the focus
    ui_.click(su_.Command2);                // 6 + gives 8
    ui_.click(su_.Option6);
    ui_.click(su_.Option1);
    ui_.click(su_.Check2);
    ui_.click(su_.Check1);
    EXPECT_EQ(std::tuple(on.Caption(), on.BackColor(), off.Caption(), off.BackColor()),
              std::tuple("OFF", plat::colors::kRed, "ON", plat::colors::kGreen));
    // The poll buttons exclude each other, "TP+VA" beside the frame included.
    for (plat::OptionButton* o : {&su_.Option10, &su_.Option8, &su_.Option10, &su_.Option9}) {
      ui_.click(*o);
      EXPECT_TRUE(o->Value());
      EXPECT_EQ(su_.Option8.Value() + su_.Option9.Value() + su_.Option10.Value(), 1);
    }
    EXPECT_FALSE(ConfHas("NCilindriRPM=8"));  // nothing saved yet
    ui_.enter(su_);  // Applica, without a search: the stored identity stays
    EXPECT_EQ(plat::test::ReadBytes(dir_ / "Conf.ini"),
              "[RPM]\r\nMarca=GIRITEC  RX-2\r\nNOmol=OM-0815\r\nNserie=R0042\r\n"
              "Scadenza=01/02/2031\r\nTCOMrpm=3\r\nTBRaterpm=1\r\nNCilindriRPM=8\r\n"
              "NTempiRPM=4\r\nExternRPM=0\r\nExternToil=1\r\nSelrpmT=1\r\n");
    EXPECT_EQ((std::tuple{line_->baud(), Polls(0), ui_.lastBox().text}),
              std::tuple(1200, "CI 8, TE 4", "Impostazioni salvate."));
    ui_.click(su_.Command1);
    EXPECT_EQ((std::tuple{identity(), Polls(0), identity()}),  // blank until the reply comes
              std::tuple(" | | | |", "ID", "GIRITEC  RX-9|OM-0999|R0077|15/06/2032|"));
    EXPECT_EQ(p_.link.InstrSerial + su_.ReplyCommand, "R0077ID");

    ui_.type(su_.Text5, "undici");
    ui_.enter(su_);
    EXPECT_EQ((std::tuple{ui_.lastBox().text, Polls(0)}),
              std::tuple("Cilindri: \"undici\" non \xC3\xA8 un numero intero.", ""));
    std::filesystem::remove(dir_ / "Conf.ini");
    std::filesystem::create_directory(dir_ / "Conf.ini");
    ui_.click(su_.CmdApl);
    EXPECT_EQ((std::tuple{Polls(0), ui_.boxes().size()}), std::tuple("CI 8, TE 4", 4u));
    for (const auto& box : {ui_.boxes()[2], ui_.boxes()[3]})
      EXPECT_THAT(box.text, StartsWith("Impostazioni non salvate nel file:"));
    std::filesystem::remove(dir_ / "Conf.ini");
    ui_.scroll(su_.VScroll1, 5);
    p_.rt.serial.attachMemory(5)->setAvailable(false);
    ui_.click(su_.CmdApl);
    EXPECT_TRUE(ConfHas("TCOMrpm=5"));
    EXPECT_THAT(ui_.lastBox().text, StartsWith("COM5 non può essere aperta\r\n"));
    EXPECT_EQ(ui_.lastBox().icon, plat::MsgBoxIcon::Critical);
    ui_.settle();
    EXPECT_EQ(ui_.boxes().size(), 5u);  // no confirmation
    ui_.esc(su_);
  });
  su_.Show(plat::ShowMode::Modal);
  EXPECT_FALSE(line_->isOpen());
  ui_.onModal(su_, [&] {  // opened again as saved
    EXPECT_TRUE(su_.Option6.Value() && su_.Text6.Text() == "5");
    ui_.esc(su_);
  });
  su_.Show(plat::ShowMode::Modal);
  WriteConf(RpmSection("4", "4", "0", "0", "0", "16"));  // the last port there is
  ui_.onModal(su_, [&] {
    EXPECT_EQ(std::tuple(su_.Text6.Text(), p_.shell.RpmComPort), std::tuple("16", 16));
    ui_.esc(su_);
  });
  su_.Show(plat::ShowMode::Modal);
}

// The set-up's "+" and "-" step from the number the box shows; "Applica" takes a count the
// counter knows and otherwise applies the count held.
TEST_F(RpmTest, SetUpStepsFromTheTypedCount) {
  WriteConf(RpmSection("5"));
  ui_.onModal(su_, [&] {
    ui_.type(su_.Text5, "10");
    ui_.focus(su_.Option6);
    TypeCounts(su_.Text5, su_.Command2, su_.Command3, su_.Option6, false);  // nothing saved
    for (auto [typed, sent, shown] :
         {std::tuple("10", "CI 10, TE 4", "10"), {"13", "CI 10, TE 4", "13"}, {"", "", "10"}}) {
      ui_.type(su_.Text5, typed);
      ui_.enter(su_);
      EXPECT_EQ(std::tuple(Polls(0), su_.Text5.Text(), ConfHas("NCilindriRPM=10")),
                std::tuple(sent, shown, true));
    }
    ui_.esc(su_);
  });
  su_.Show(plat::ShowMode::Modal);
}

// A stored port that names none of COM1 to COM16 is told as a port that cannot be opened, and
// nothing goes out: not on COM1 (the gas analyser's line), not on the port the form's control
// held from an earlier opening (COM3).
TEST_F(RpmTest, AStoredPortOutsideOneToSixteenIsToldAndNothingIsSent) {
  const auto com1 = p_.rt.serial.attachMemory(1);
  ui_.answerEveryBox(plat::MsgBoxResult::OK);
  WriteConf(RpmSection());
  f_.Show();
  EXPECT_EQ(Polls(3), "CI 4, TE 4, VA");
  f_.Unload();
  for (const char* port : {"0", "17", "-1"}) {
    SCOPED_TRACE(port);
    const std::string cannot = std::string("COM") + port + " non pu\xC3\xB2 essere aperta\r\n";
    WriteConf(RpmSection("4", "4", "0", "1", "0", port));
    f_.Show();
    EXPECT_THAT(ui_.lastBox().text, StartsWith(cannot));
    EXPECT_EQ(std::tuple(Polls(10), com1->takeWritten(), line_->isOpen(), f_.Label1.Caption()),
              std::tuple("", "", false, "- - -"));
    f_.Unload();
    ui_.onModal(su_, [&] {
      EXPECT_EQ(std::tuple(su_.Text6.Text(), int{p_.shell.RpmComPort}),
                std::tuple(port, std::atoi(port)));
      const std::size_t boxes = ui_.boxes().size();
      ui_.click(su_.Command1);
      ui_.enter(su_);
      ASSERT_EQ(ui_.boxes().size(), boxes + 2);  // no confirmation
      for (const auto& box : {ui_.boxes()[boxes], ui_.boxes()[boxes + 1]})
        EXPECT_THAT(box.text, StartsWith(cannot));
      EXPECT_EQ(std::tuple(Polls(1), com1->takeWritten(), ConfHas(std::string("TCOMrpm=") + port)),
                std::tuple("", "", true));
      ui_.esc(su_);
    });
    su_.Show(plat::ShowMode::Modal);
  }
}

}  // namespace
}  // namespace vs::test
