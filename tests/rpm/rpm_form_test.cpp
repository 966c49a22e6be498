// The engine-speed form against a simulated counter on the manual clock: the poll sequence
// tick by tick, the display, the cylinder and stroke changes, the watchdog, the readings the
// tests take from the counter, and a station without settings or pictures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/ExternalRpmReading.h"
#include "rpm/rpm_test_fixture.h"

namespace vs {
namespace {

using Strings = std::vector<std::string>;

class RpmFormTest : public test::RpmStationTest {
 protected:
  // Shows the form as the start menu does beside a test, and runs `ticks` polls.
  void Open(int ticks = 0) {
    f_.Show();
    for (int i = 0; i < ticks; ++i) ui_.advance(300);
  }
  RPM& f_ = p_.rpm;
};

TEST_F(RpmFormTest, TellsCylindersThenStrokesThenPollsTheChosenQuantity) {
  struct Case {
    const char* pollSelect;
    const char* poll;
    const char* speed;    // Label1 after the first poll's reply
    const char* oilTemp;  // Label3
  };
  const Case cases[] = {
      {"0", "VA", "850", "- - -"},
      {"1", "VE", "850", "80"},
      {"2", "TP", "- - -", "80"},
      {"7", "VA", "850", "- - -"},  // a value the set-up never writes: engine speed
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pollSelect);
    WriteConf(test::RpmSection("4", "2", c.pollSelect));
    counter_.splitInto = 3;  // each reply in three pieces
    Open();
    EXPECT_EQ(f_.Label1.Caption(), "- - -");
    EXPECT_EQ(f_.Label3.Caption(), "- - -");
    EXPECT_EQ(line_->baud(), 9600);
    EXPECT_TRUE(Requests().empty());

    ui_.advance(300);
    EXPECT_EQ(Requests(), Strings{"CI 4"});
    EXPECT_EQ(f_.poll.exchange.step, RpmPollState::Cil);  // the acknowledgement came
    ui_.advance(300);
    EXPECT_EQ(Requests(), Strings{"TE 2"});
    EXPECT_EQ(f_.Label1.Caption(), "- - -");
    ui_.advance(300);
    EXPECT_EQ(Requests(), Strings{c.poll});
    EXPECT_EQ(f_.Label1.Caption(), c.speed);
    EXPECT_EQ(f_.Label3.Caption(), c.oilTemp);
    // Told already: every further tick polls.
    counter_.rpm = {2480.5, 91};
    ui_.advance(600);
    EXPECT_EQ(Requests(), (Strings{c.poll, c.poll}));
    if (std::string(c.speed) != "- - -") {
      EXPECT_EQ(f_.Label1.Caption(), "2480.5");
    }
    f_.Unload();
    EXPECT_FALSE(line_->isOpen());
    counter_ = sim::Instrument(sim::Device::EngineSpeed, sim::Protocol::Mctc);
    sim::Attach(counter_, line_, &p_.rt.loop);
  }
}

TEST_F(RpmFormTest, ExternalCounterFeedsTheTestsReadings) {
  WriteConf(test::RpmSection("4", "4", "1", "1", "0"));
  Open();
  EXPECT_EQ(Requests(), Strings{"ID"});  // asked at load when the engine speed is external
  ui_.advance(900);
  EXPECT_EQ(Requests(), (Strings{"CI 4", "TE 4", "VE"}));

  struct Case {
    std::int16_t externRpm, externOil;
    EngineReadings want;
  };
  const Case cases[] = {
      {0, 0, {1200, 60}},
      {1, 0, {850, 60}},
      {0, 1, {1200, 80}},
      {1, 1, {850, 80}},
  };
  for (const Case& c : cases) {
    p_.shell.ExternRpm = c.externRpm;
    p_.shell.ExternOilTemp = c.externOil;
    const EngineReadings got = EngineReadingsForTest(p_.shell, p_.link, {1200, 60});
    EXPECT_EQ(got.rpm, c.want.rpm) << c.externRpm << c.externOil;
    EXPECT_EQ(got.oilTemp, c.want.oilTemp) << c.externRpm << c.externOil;
  }

  // The test form's unload closes the counter's form when a source is switched in.
  p_.shell.ExternRpm = p_.shell.ExternOilTemp = 0;
  p_.UnloadRpmBesideTest();
  EXPECT_TRUE(f_.IsLoaded());
  p_.shell.ExternOilTemp = 1;
  p_.UnloadRpmBesideTest();
  EXPECT_FALSE(f_.IsLoaded());
  EXPECT_FALSE(line_->isOpen());
}

TEST_F(RpmFormTest, CylinderAndStrokeChangesAreSavedAndToldToTheCounter) {
  WriteConf(test::RpmSection("6", "4"));
  Open(3);
  EXPECT_EQ(Requests(), (Strings{"CI 6", "TE 4", "VA"}));

  ui_.click(f_.Command2);  // 6 + gives 8
  EXPECT_EQ(f_.Text5.Text(), "8");
  EXPECT_NE(ReadConf().find("NCilindriRPM=8\r\n"), std::string::npos);
  ui_.advance(600);  // the poll's reply led back to the cylinders: only they changed
  EXPECT_EQ(Requests(), (Strings{"CI 8", "VA"}));

  ui_.click(f_.Option7);  // strokes alone
  EXPECT_NE(ReadConf().find("NTempiRPM=2\r\n"), std::string::npos);
  ui_.advance(1200);
  EXPECT_EQ(Requests(), (Strings{"CI 8", "TE 2", "VA", "VA"}));
  ui_.click(f_.Option7);  // unchanged: nothing to tell
  ui_.advance(600);
  EXPECT_EQ(Requests(), (Strings{"VA", "VA"}));

  // A typed count is taken when the counter knows it, refused otherwise.
  ui_.type(f_.Text5, "12");
  ui_.click(f_.Command3);  // from the typed 12
  EXPECT_EQ(f_.Text5.Text(), "10");
  EXPECT_EQ(p_.shell.RpmCylinders, 10);
  ui_.answerEveryBox(plat::MsgBoxResult::OK);
  for (const char* typed : {"7", "13", "quattro", ""}) {
    ui_.type(f_.Text5, typed);
    ui_.click(f_.Command2);
    EXPECT_EQ(f_.Text5.Text(), "10") << typed;
    EXPECT_EQ(ui_.lastBox().text, "Cilindri: 1, 2, 3, 4, 5, 6, 8, 10, 12") << typed;
  }
  EXPECT_EQ(ui_.boxes().size(), 4u);
  EXPECT_EQ(p_.shell.RpmCylinders, 10);
  EXPECT_NE(ReadConf().find("NCilindriRPM=10\r\n"), std::string::npos);
  ui_.type(f_.Text5, "3");
  ui_.focus(f_.Option6);  // leaving the box takes the count
  EXPECT_EQ(p_.shell.RpmCylinders, 3);
  EXPECT_NE(ReadConf().find("NCilindriRPM=3\r\n"), std::string::npos);
}

TEST_F(RpmFormTest, SilentCounterBlanksTheSpeedAndTheThirdMissReopensThePort) {
  WriteConf(test::RpmSection());
  Open(3);
  EXPECT_EQ(f_.Label1.Caption(), "850");
  Requests();
  counter_.silent = true;
  line_->setAvailable(false);  // held open until the form closes it

  ui_.advance(300);  // the last reply came: no miss
  EXPECT_EQ(f_.Label1.Caption(), "850");
  ui_.advance(300);
  EXPECT_EQ(f_.Label1.Caption(), "- - -");
  ui_.advance(300);
  EXPECT_TRUE(line_->isOpen());
  EXPECT_EQ(p_.link.RpmMissCount, 2);
  ui_.advance(300);  // the third miss closes the port; it cannot be opened again yet
  EXPECT_FALSE(line_->isOpen());
  EXPECT_EQ(Requests(), (Strings{"VA", "VA", "VA"}));

  counter_.silent = false;
  line_->setAvailable(true);
  ui_.advance(300);  // every further miss reopens the port before sending
  EXPECT_TRUE(line_->isOpen());
  EXPECT_EQ(Requests(), Strings{"VA"});
  EXPECT_EQ(f_.Label1.Caption(), "850");
  ui_.advance(300);
  EXPECT_EQ(p_.link.RpmMissCount, 0);
  EXPECT_EQ(f_.Label3.Caption(), "- - -");  // oil temperature was never polled
}

TEST_F(RpmFormTest, OpensOnAFreshStationWithoutSettingsOrPictures) {
  // No "Conf.ini", no "Immagini": port 1, where nothing can be opened; no count to tell.
  p_.rt.serial.attachMemory(1)->setAvailable(false);
  ui_.answerBox();
  Open();
  EXPECT_TRUE(f_.Visible());
  EXPECT_EQ(ui_.lastBox().text.rfind("COM1 non può essere aperta\r\n", 0), 0u)
      << ui_.lastBox().text;
  EXPECT_EQ(ui_.lastBox().icon, plat::MsgBoxIcon::Critical);
  EXPECT_EQ(f_.Picture1.Picture(), "");
  ui_.advance(3000);
  EXPECT_EQ(f_.Label1.Caption(), "- - -");
  ui_.click(f_.CmdOut);
  EXPECT_FALSE(f_.IsLoaded());

  // With the pictures there they show.
  std::filesystem::create_directory(dir_ / "Immagini");
  for (const char* name : {"RPM.ico", "Temperature.ico"})
    plat::test::WriteBytes(dir_ / "Immagini" / name, std::string("\0\0\1\0", 4));
  WriteConf(test::RpmSection());
  Open();
  EXPECT_EQ(f_.Picture1.Picture(), (dir_ / "Immagini" / "RPM.ico").string());
  EXPECT_EQ(f_.Picture2.Picture(), (dir_ / "Immagini" / "Temperature.ico").string());
}

}  // namespace
}  // namespace vs
