// The engine-speed counter's set-up against a simulated counter: what it opens with, the
// identification, "Applica" with its exchange and the section it writes, and failures.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "rpm/rpm_test_fixture.h"

namespace vs {
namespace {

using plat::CheckBox;

class RpmSetupTest : public test::RpmStationTest {
 protected:
  // Shows the set-up modally and runs `action` inside it; the form is closed afterwards.
  void Run(const std::function<void()>& action) {
    ui_.onModal(f_, [&] {
      action();
      if (f_.IsLoaded()) ui_.esc(f_);
    });
    f_.Show(plat::ShowMode::Modal);
  }
  RPMSU& f_ = p_.rpmsu;
};

TEST_F(RpmSetupTest, OpensWithTheStoredSettingsAndAppliesThemToFileAndCounter) {
  // A port the spinner cannot take counts as 1; the counter is on COM3.
  WriteConf(test::RpmSection("6", "2", "1", "1", "0")
                .replace(test::RpmSection().find("TCOMrpm=3"), 9, "TCOMrpm=0"));
  Run([&] {
    EXPECT_EQ(f_.Text1.Text(), "GIRITEC  RX-2");
    EXPECT_EQ(f_.Text2.Text(), "OM-0815");
    EXPECT_EQ(f_.Text3.Text(), "R0042");
    EXPECT_EQ(f_.Text4.Text(), "01/02/2031");
    EXPECT_EQ(f_.Text6.Text(), "1");
    EXPECT_EQ(p_.shell.RpmComPort, 1);
    EXPECT_EQ(f_.Text5.Text(), "6");
    EXPECT_TRUE(f_.Option7.Value() && f_.Option2.Value() && f_.Option9.Value());
    EXPECT_EQ(f_.Check1.Caption(), "ON");
    EXPECT_EQ(f_.Check1.BackColor(), plat::colors::kGreen);
    EXPECT_EQ(f_.Check2.Caption(), "OFF");
    EXPECT_EQ(f_.Check2.BackColor(), plat::colors::kRed);

    ui_.scroll(f_.VScroll1, 3);
    EXPECT_EQ(f_.Text6.Text(), "3");
    EXPECT_EQ(f_.Text6.BackColor(), 0x80FFFFu);  // while the spinner has the focus
    ui_.click(f_.Command2);                      // 6 + gives 8
    ui_.click(f_.Option6);
    ui_.click(f_.Option1);
    ui_.click(f_.Check2);
    EXPECT_EQ(f_.Check2.Caption(), "ON");
    ui_.click(f_.Check1);
    EXPECT_EQ(f_.Check1.BackColor(), plat::colors::kRed);
    // The poll buttons exclude each other, "TP+VA" beside the frame included.
    for (plat::OptionButton* o : {&f_.Option10, &f_.Option8, &f_.Option10, &f_.Option9}) {
      ui_.click(*o);
      EXPECT_EQ(f_.Option8.Value() + f_.Option9.Value() + f_.Option10.Value(), 1);
      EXPECT_TRUE(o->Value());
    }
    EXPECT_EQ(ReadConf().find("NCilindriRPM=8"), std::string::npos);  // nothing saved yet

    ui_.answerBox();
    ui_.enter(f_);  // Applica, without a search: the stored identity stays
    EXPECT_EQ(ReadConf(),
              "[RPM]\r\nMarca=GIRITEC  RX-2\r\nNOmol=OM-0815\r\nNserie=R0042\r\n"
              "Scadenza=01/02/2031\r\nTCOMrpm=3\r\nTBRaterpm=1\r\nNCilindriRPM=8\r\n"
              "NTempiRPM=4\r\nExternRPM=0\r\nExternToil=1\r\nSelrpmT=1\r\n");
    EXPECT_EQ(line_->baud(), 1200);
    ui_.settle();
    EXPECT_EQ(Requests(), (std::vector<std::string>{"CI 8", "TE 4"}));
    EXPECT_EQ(ui_.lastBox().text, "Impostazioni salvate.");
  });
  EXPECT_FALSE(line_->isOpen());
}

TEST_F(RpmSetupTest, SearchShowsTheCountersIdentity) {
  WriteConf(test::RpmSection());
  counter_.identity = {"GIRITEC", "RX-9   ", "OM-0999", "R0077", "15062032", "3.1", "0"};
  Run([&] {
    ui_.click(f_.Command1);
    EXPECT_EQ(f_.Text1.Text(), " ");  // blank until the reply comes
    EXPECT_EQ(f_.Text4.Text(), " ");
    ui_.settle();
    EXPECT_EQ(f_.Text1.Text(), "GIRITEC  RX-9");
    EXPECT_EQ(f_.Text2.Text(), "OM-0999");
    EXPECT_EQ(f_.Text3.Text(), "R0077");
    EXPECT_EQ(f_.Text4.Text(), "15/06/2032");
    EXPECT_EQ(p_.link.InstrSerial, "R0077");
    EXPECT_EQ(f_.ReplyCommand, "ID");
  });
  EXPECT_EQ(Requests(), std::vector<std::string>{"ID"});
}

TEST_F(RpmSetupTest, FailuresAreReportedAndTheSettingsKept) {
  WriteConf(test::RpmSection());
  ui_.answerEveryBox(plat::MsgBoxResult::OK);
  Run([&] {
    // A typed count the counter does not know is refused by Applica, and nothing is written.
    ui_.type(f_.Text5, "11");
    ui_.enter(f_);
    EXPECT_EQ(ui_.lastBox().text, "Cilindri: 1, 2, 3, 4, 5, 6, 8, 10, 12");
    EXPECT_EQ(ui_.boxes().size(), 1u);
    EXPECT_TRUE(Requests().empty());

    // A write that fails is reported; the counter is still told, but nothing confirms.
    std::filesystem::remove(dir_ / "Conf.ini");
    std::filesystem::create_directory(dir_ / "Conf.ini");
    ui_.click(f_.CmdApl);
    EXPECT_EQ(ui_.lastBox().text.rfind("Impostazioni non salvate nel file:", 0), 0u);
    ui_.settle();
    EXPECT_EQ(Requests(), (std::vector<std::string>{"CI 4", "TE 4"}));
    EXPECT_EQ(ui_.boxes().size(), 3u);  // the failed save after "TE" too
    EXPECT_EQ(ui_.lastBox().text.rfind("Impostazioni non salvate nel file:", 0), 0u);
    std::filesystem::remove(dir_ / "Conf.ini");

    // A port that cannot be opened: everything is saved first, then the port is reported.
    ui_.scroll(f_.VScroll1, 5);
    p_.rt.serial.attachMemory(5)->setAvailable(false);
    ui_.click(f_.CmdApl);
    EXPECT_NE(ReadConf().find("TCOMrpm=5\r\n"), std::string::npos);
    EXPECT_EQ(ui_.lastBox().text.rfind("COM5 non può essere aperta\r\n", 0), 0u);
    EXPECT_EQ(ui_.lastBox().icon, plat::MsgBoxIcon::Critical);
    ui_.settle();
    EXPECT_EQ(ui_.boxes().size(), 4u);  // no confirmation
  });
}

}  // namespace
}  // namespace vs
