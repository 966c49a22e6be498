// The about box: its texts, its keys and the system-information button.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/core/Error.h"
#include "shell/LanguageTable.h"
#include "shell/menu_test_fixture.h"

namespace vs {
namespace {

class AboutTest : public test::StationTest {
 protected:
  frmAbout& about_ = p_.shellForms.about;
};

TEST_F(AboutTest, ShowsNameVersionAndDescriptionAndClosesOnEnterOrEsc) {
  LoadLanguageTexts(p_, 3);
  p_.rt.version = {1, 7, 7};
  about_.Show();
  EXPECT_EQ(about_.Caption(), "Vantoscope Info");
  EXPECT_EQ(about_.lblVersion.Caption(), "Ver. 1.7.7");
  EXPECT_EQ(about_.lblDescription.Caption(), p_.shell.LangText[83]);
  ui_.enter(about_);
  EXPECT_FALSE(about_.IsLoaded());
  about_.Show();
  ui_.esc(about_);
  EXPECT_FALSE(about_.IsLoaded());
}

TEST_F(AboutTest, StartsTheFirstSystemInformationProgramThatStarts) {
  std::set<std::string> installed = {"kinfocenter", "gnome-system-monitor"};
  std::vector<std::string> started;
  p_.rt.app.setProgramStarter([&](const std::string& program, const std::vector<std::string>&) {
    if (!installed.count(program)) throw plat::RuntimeError(53, "File not found");
    started.push_back(program);
  });
  about_.Show();
  ui_.click(about_.cmdSysInfo);
  EXPECT_EQ(started, std::vector<std::string>{"kinfocenter"});

  installed.clear();
  ui_.answerBox();
  ui_.alt(about_, 'S');
  EXPECT_EQ(ui_.lastBox().text, "Le informazioni sul sistema non sono attualmente disponibili.");
  EXPECT_EQ(ui_.lastBox().title, "Vantoscope");
  EXPECT_TRUE(about_.Visible());
}

}  // namespace
}  // namespace vs
