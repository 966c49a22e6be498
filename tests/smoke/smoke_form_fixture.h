#pragma once
// The smoke test form on a station: a "Conf.ini" with the opacimeter's model, unit and
// limits, English screen texts, and the opacimeter's port on an in-memory device whose
// written bytes the test reads and whose replies it scripts. NumberedTexts() for the steps
// tested without the form.
#include <functional>
#include <memory>
#include <string>

#include "link/MctcNetFrame.h"
#include "link/OwnProtocolFrame.h"
#include "platform/serial/MemoryDevice.h"
#include "shell/LanguageTable.h"
#include "shell/menu_test_fixture.h"
#include "smoke/SeriesTypes.h"

namespace vs::test {

// Language texts that name their own index ("T135"), so a test sees which text a step chose.
inline smoke::LangTexts NumberedTexts() {
  smoke::LangTexts texts;
  for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = "T" + std::to_string(i);
  return texts;
}

class SmokeFormTest : public StationTest {
 protected:
  static constexpr int kPort = 3;
  static constexpr int kTickMs = 25;

  void SetUp() override {
    StationTest::SetUp();
    LoadLanguageTexts(p_.shell, p_.rt.currentDirectory, 2);
    p_.shell.OpaComPort = kPort;
    p_.shell.OpaBaudIndex = 2;
    device_ = p_.rt.serial.attachMemory(kPort);
  }
  // "Conf.ini" for one opacimeter model and opacity unit.
  void Station(int model, const std::string& unit = "0", const std::string& limits = "") {
    WriteConf("[COMOPA]\r\nModello=OPA-735\r\nNserie=AQ4711\r\n[MODOPA]\r\nModello=" +
              std::to_string(model) + "\r\nUnitOpa=" + unit + "\r\n[LO]\r\n" +
              (limits.empty() ? "RN=800\r\nMX=4500\r\nON=50\r\nVK=2.5\r\n" : limits));
  }
  // Opens the form as the start menu does.
  ANFUMO& Open() {
    p_.link.OpaFormActive = 1;
    f_.Show();
    device_->takeWritten();
    return f_;
  }
  // Ticks of the form's timer; returns what it wrote to the port meanwhile.
  std::string Ticks(int n = 1) {
    std::string all;
    for (int i = 0; i < n; ++i) {
      ui_.advance(kTickMs);
      all += device_->takeWritten();
    }
    return all;
  }
  // Shows `form` modally; `inside` runs in its modal loop.
  void Modal(plat::Form& form, std::function<void()> inside) {
    ui_.onModal(form, std::move(inside));
    form.Show(plat::ShowMode::Modal);
  }
  static std::string McnId() { return BuildMctcNetFrame("OPA", "ID", "1", ""); }
  static std::string OwnFirst(int address) { return BuildOwnProtocolFrame(address, '1', ""); }

  ANFUMO& f_ = p_.anfumo;
  const smoke::LangTexts& t_ = p_.shell.LangText;  // the screen texts loaded
  std::shared_ptr<plat::MemoryDevice> device_;
};

}  // namespace vs::test
