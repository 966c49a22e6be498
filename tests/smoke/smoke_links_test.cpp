// The smoke test form talking to a simulated opacimeter, in-process on the manual clock:
// each protocol's conversation from the opening of the form to the measurement, request by
// request, and the start notice of the binary link.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "platform/serial/MemoryDevice.h"
#include "shell/LanguageKeys.h"
#include "shell/settings_test_fixture.h"
#include "sim/Instrument.h"
#include "support/FormDriver.h"
#include "support/SourceTree.h"

namespace vs {
namespace {

using sim::Device;
using sim::Instrument;
using sim::Moment;
using sim::Protocol;

constexpr plat::Millis kTick = 25;

// One request the opacimeter received: the tick of the form's timer it went out on, counted
// from the tick that sent the first request, and the command with its data.
struct Asked {
  long tick;
  std::string request;
  friend bool operator==(const Asked&, const Asked&) = default;
};

void PrintTo(const Asked& a, std::ostream* os) { *os << "tick " << a.tick << " " << a.request; }

class SmokeLinks : public test::ConfDirTest {
 protected:
  void SetUp() override {
    ConfDirTest::SetUp();
    std::filesystem::create_directory(dir_ / "bin");
    p_.rt.programFolder = dir_ / "bin";
    std::filesystem::copy_file(plat::test::DataFolder() / "Lingua.ini", dir_ / "Lingua.ini");
  }

  // A station whose opacimeter of `model` is on COM1, with the instrument attached there.
  void Station(Instrument& opa, int model) {
    std::string conf = plat::test::ReadBytes(plat::test::DataFolder() / "Conf.ini");
    Replace(conf, "[MODOPA]\r\nModello=5", "[MODOPA]\r\nModello=" + std::to_string(model));
    Replace(conf, "[COMOPA]\r\nTModCom=2\r\nTCOM=2", "[COMOPA]\r\nTModCom=2\r\nTCOM=1");
    WriteConf(conf);
    line_ = p_.rt.serial.attachMemory(1);
    sim::Attach(opa, line_, &p_.rt.loop);
    opa.onRequest = [this](std::string_view, const sim::Request& r) {
      if (first_ < 0) first_ = p_.rt.loop.now();
      asked_.push_back({static_cast<long>((p_.rt.loop.now() - first_) / kTick),
                        r.command + (r.data.empty() ? "" : " " + Printable(r.data))});
    };
    p_.menu.Show();
  }
  static void Replace(std::string& s, const std::string& from, const std::string& to) {
    const auto at = s.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    s.replace(at, from.size(), to);
  }
  static std::string Printable(const std::string& bytes) {
    std::string s;
    for (const char c : bytes) {
      s += c >= 32 && c < 127 ? std::string(1, c) : std::to_string(static_cast<unsigned char>(c));
    }
    return s;
  }
  const std::string& T(std::size_t i) const { return p_.shell.LangText[i]; }

  std::shared_ptr<plat::MemoryDevice> line_;
  plat::test::FormDriver ui_{p_.rt};
  ANFUMO& f_ = p_.anfumo;
  std::vector<Asked> asked_;
  plat::Millis first_ = -1;
};

TEST_F(SmokeLinks, BinaryModel0FromOpeningToMeasuring) {
  Instrument opa(Device::Opacimeter, Protocol::Binary, 0);
  opa.identity.serial = "AM654321";
  opa.identity.expiry = "30062031";
  opa.opa.k = 0.42;
  opa.opa.n = 16.3;
  opa.opa.rpm = 780;
  opa.opa.cellTemp = 76;
  sim::Scenario run;
  run.state(Moment::Request(1), "warmup").state(Moment::Request(7), "ready");
  opa.play(run);
  Station(opa, 0);
  ui_.onModal(p_.exclamStampa, [&] { ui_.click(p_.exclamStampa.Command1); });

  ui_.fkey(p_.menu, 3);
  ASSERT_TRUE(f_.IsLoaded());
  ui_.advance(12 * kTick);

  const std::vector<Asked> expected = {
      {0, "1"},
      {1, "a"},
      {2, "# 835602817"},  // the channel list: count 8, channels 3 5
                           // 6 0 2 8 1 7
      {3, "?"},            // warm-up
      {4, "# 835602817"},
      {5, "?"},  // warm-up again: the list is sent anew
      {6, "# 835602817"},
      {7, "?"},  // ready
      {8, "P"},
      {9, "?"},
      {10, "P"},
      {11, "?"},
  };
  EXPECT_EQ(asked_, expected);
  EXPECT_EQ(p_.link.InstrSerial, "AM654321");
  EXPECT_EQ(p_.link.InstrExpiry, "30/06/2031");
  EXPECT_EQ(f_.Label2.Caption(), T(lang::ANFUMOAttivo));
  EXPECT_EQ(f_.LinkState, "RSTATT");
  EXPECT_DOUBLE_EQ(p_.link.OpaK, 0.42);
  EXPECT_DOUBLE_EQ(p_.link.OpaN, 16.3);
  EXPECT_DOUBLE_EQ(p_.link.OpaRpm, 780);
  EXPECT_DOUBLE_EQ(p_.link.OpaCellTemp, 76);
  EXPECT_TRUE(f_.CmdOut.Enabled());
}

TEST_F(SmokeLinks, BinaryStartNoticeHoldsTheLinkUntilClosed) {
  Instrument opa(Device::Opacimeter, Protocol::Binary, 0);
  Station(opa, 0);
  bool timerOffBehindBox = false;
  ui_.onModal(p_.exclamStampa, [&] {
    timerOffBehindBox = !f_.Timer1.Enabled();
    ui_.advance(5000);  // the operator reads for five seconds
    ui_.click(p_.exclamStampa.Command1);
  });
  ui_.fkey(p_.menu, 3);
  ui_.advance(kTick);  // the first tick shows the notice; the first request follows its closing
  ui_.advance(2 * kTick);
  EXPECT_TRUE(timerOffBehindBox);
  EXPECT_FALSE(p_.exclamStampa.IsLoaded());
  EXPECT_EQ(p_.shell.ExclamStampaMessage, T(lang::ANFUMOExclStamp2));
  const std::vector<Asked> expected = {{0, "1"}, {1, "a"}, {2, "# 835602817"}};
  EXPECT_EQ(asked_, expected);
  EXPECT_EQ(p_.link.InstrSerial, "AM123456");  // set once, from the model's prefix
  EXPECT_TRUE(f_.Timer1.Enabled());
}

TEST_F(SmokeLinks, McnFromOpeningToMeasuring) {
  Instrument opa(Device::Opacimeter, Protocol::Mctc, 5);
  opa.identity.version = "4.5";  // "@ST" from version 4.005 on
  opa.opa.cellTemp = 60;
  opa.params["020"] = "00016";
  opa.params["021"] = "00002";
  sim::Scenario run;
  run.state(Moment::Request(1), "warmup")
      .state(Moment::Request(6), "autozero")
      .state(Moment::Request(20), "measuring");
  opa.play(run);
  Station(opa, 5);

  ui_.fkey(p_.menu, 3);
  ASSERT_TRUE(f_.IsLoaded());
  ui_.advance(40 * kTick);

  std::vector<std::string> sent;
  for (const Asked& a : asked_) sent.push_back(a.request);
  const std::vector<std::string> expected = {
      "ID",
      "@LU 21",
      "@ST",  // identified, lock "021", warm-up
      "@RS",
      "@VA",
      "@RS",
      "@VA",
      "@RS",
      "@VA",
      "@RS",
      "@VA",  // values in warm-up too
              // ...
      "@LU 20",
      "@ST",  // ... until the fourth "@VA" brings the lock parameter; auto-zero
      "@LU 21",
      "@ST",
      "@LU 20",
      "@ST",
      "@LU 21",
      "@ST",  // auto-zero: parameter and status
      "@RS",
      "@ST",  // the fourth auto-zero status: "@RS" in place of the parameter; measuring
      "@RS",
      "@VA",
      "@RS",
      "@VA",
      "@RS",
      "@VA",
      "@RS",
      "@VA",
      "@LU 20",
      "@ST",
  };
  sent.resize(std::min(sent.size(), expected.size()));
  EXPECT_EQ(sent, expected);
  for (std::size_t i = 0; i < asked_.size(); ++i) EXPECT_EQ(asked_[i].tick, static_cast<long>(i));
  EXPECT_EQ(p_.link.InstrSerial, "AQ123456");
  EXPECT_EQ(f_.Label2.Caption(), T(lang::ANFUMOMisura));
  EXPECT_EQ(f_.Label29.Caption(), T(lang::ANFUMOSlAperta));
  EXPECT_DOUBLE_EQ(p_.link.OpaK, 0.35);
}

}  // namespace
}  // namespace vs
