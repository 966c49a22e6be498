// The binary protocol's reply step on records: readings, corrected CO, short frames and the
// calibration bar, without a form.
#include <gtest/gtest.h>

#include <string>

#include "gas/GasState.h"
#include "gas/OwnGasExchange.h"
#include "link/LinkState.h"
#include "shell/LanguageKeys.h"
#include "shell/ShellState.h"
#include "sim/Instrument.h"

namespace vs {
namespace {

// A "P" reply of eight records with every value byte 0 except those set.
std::string Measurement(std::initializer_list<std::pair<int, int>> bytes, int address = 49) {
  std::string data(40, '\0');
  for (auto [pos, value] : bytes)
    data[static_cast<std::size_t>(pos - 7)] = static_cast<char>(value);
  return sim::BinaryReply(address, 'P', data);
}

class OwnGasExchangeTest : public ::testing::Test {
 protected:
  OwnGasReplyResult Handle(const std::string& frame, ProgressView bar = {}) {
    return HandleOwnGasFrame(v_, g_, l_, s_, r_, bar, frame);
  }
  std::string CaptionOf(const OwnGasReplyResult& res, GasControl c) {
    std::string text = "(none)";
    for (const ScreenEdit& e : res.edits)
      if (e.control == c && e.kind == ScreenEdit::Kind::Caption) text = e.text;
    return text;
  }

  GasTestVars v_;
  GasState g_;
  LinkState l_;
  ShellState s_;
  plat::RegionalSettings r_;
};

TEST(CorrectedCoTest, FormedAsShownAndNotComputableOutOfRange) {
  struct Row {
    double co, co2;
    std::optional<int> k;
    double expected;
  };
  const Row rows[] = {
      {1.3, 8.0, 15, 2.0},   // 2.05.. cut down, not rounded up
      {0.2, 9.8, 15, 0.3},   // 0.3 exactly, as shown: a limit of 0.3 is met
      {0.5, 3.0, 15, 65},    // too diluted
      {1.0, 14.0, 15, 1.0},  // CO + CO2 at K: the CO as it is
      {1.26, 3.0, {}, 1.3},  // K not set yet: the CO rounded
      {-1, 14.0, 15, 65},    // CO out of range
      {0.5, -1, 15, 65},     // CO2 out of range
      {-1, -1, {}, 65},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(CorrectedCo(r.co, r.co2, r.k), r.expected) << r.co << " " << r.co2;
  }
}

TEST_F(OwnGasExchangeTest, MeasurementBytesAreUnsignedAndModelTwoComputesCorrectedCo) {
  s_.GasModelIndex = 2;
  v_.KFactor = 15;
  l_.GasCOcorr = 7;  // an earlier vehicle's value
  // HC 200 x 256 = 51200; CO 0.5 (bytes 30, 31 = 1, 244); CO2 14 (54, 176); O2 40.96
  // (160, 0); lambda 2.56 (10, 0); rpm 20479 (79, 255).
  const auto res = Handle(Measurement({{40, 200},
                                       {30, 1},
                                       {31, 244},
                                       {35, 54},
                                       {36, 176},
                                       {45, 160},
                                       {20, 10},
                                       {25, 79},
                                       {26, 255}}));
  ASSERT_TRUE(res.handled && res.measurement);
  EXPECT_EQ(l_.GasHC, 51200);
  EXPECT_EQ(l_.GasO2, 40.96);
  EXPECT_EQ(l_.GasLambda, 2.56);
  EXPECT_EQ(l_.GasRpm, 20479);
  EXPECT_EQ(l_.GasCOcorr, 0.5);
  EXPECT_EQ(CaptionOf(res, GasControl::Label9), "0.5");

  // Out marks: CO2, rpm without signal, rpm out of range, lambda, oil temperature.
  const auto out = Handle(Measurement({{35, 255}, {25, 255}, {20, 11}, {9, 4}}));
  EXPECT_EQ(l_.GasCO2, -1);
  EXPECT_EQ(l_.GasCOcorr, 65);
  EXPECT_EQ(CaptionOf(out, GasControl::Label9), "Out");
  EXPECT_EQ(CaptionOf(out, GasControl::Label15), "- - -");
  EXPECT_EQ(CaptionOf(out, GasControl::Label26), "Out");
  EXPECT_EQ(l_.GasOilTemp, -1);
  Handle(Measurement({{25, 80}}));
  EXPECT_EQ(l_.GasRpm, -1);
}

TEST_F(OwnGasExchangeTest, ExtendedHcRangeFollowsOptionAndFirmware) {
  s_.SystemEnableMask = 2;
  struct Row {
    const char* version;
    std::string label;
  };
  // Raw 0x3FFFFF is the range's zero point (10477); 0x400000 + 1 200 000 reads far above.
  for (const Row& r :
       {Row{"5.4", "10477"}, Row{"9.9", "10477"}, Row{"6.0", "Out"}, Row{"4.9", "Out"}}) {
    g_.GasFirmwareVersion = r.version;
    const auto res = Handle(Measurement({{40, 255}, {14, 0x3F}, {15, 0xFF}, {16, 0xFF}}));
    EXPECT_EQ(CaptionOf(res, GasControl::Label11), r.label) << r.version;
  }
  g_.GasFirmwareVersion = "5.4";
  const auto high = Handle(Measurement({{40, 255}, {14, 0x52}, {15, 0x4F}, {16, 0x80}}));
  EXPECT_EQ(CaptionOf(high, GasControl::Label11), "Out");
}

TEST_F(OwnGasExchangeTest, FramesTooShortForWhatTheyCarryAreRejected) {
  l_.GasCO = 3;
  v_.Stato = "ACQ";
  for (int command : {'P', '?', '1', '.'}) {
    const auto res = Handle(sim::BinaryReply(49, command, std::string(3, '\x01')));
    EXPECT_FALSE(res.handled) << char(command);
  }
  EXPECT_EQ(l_.GasCO, 3);
  EXPECT_EQ(v_.Stato, "ACQ");
  // A frame whose length byte does not match its size is no frame.
  std::string frame = Measurement({});
  frame[5] = 2;
  EXPECT_FALSE(Handle(frame).handled);
}

TEST_F(OwnGasExchangeTest, CalibrationBarStartsItsSweepAgainPastItsMaximum) {
  s_.GasModelIndex = 0;
  const std::string calibrating = sim::BinaryReply(49, '?', std::string{65, 3, 0, 0, 0});
  auto barValue = [](const OwnGasReplyResult& res) {
    float value = -1;
    for (const ScreenEdit& e : res.edits)
      if (e.kind == ScreenEdit::Kind::Value) value = e.value;
    return value;
  };
  v_.GasWindowStart = 100;
  v_.GasTickCount = 898;
  EXPECT_EQ(barValue(Handle(calibrating, {true, 0, 800, 796})), 798);
  v_.GasTickCount = 902;  // 802 ticks: past the maximum, a new sweep
  EXPECT_EQ(barValue(Handle(calibrating, {true, 0, 800, 798})), 0);
  EXPECT_EQ(v_.GasWindowStart, 902);
  v_.GasTickCount = 906;
  EXPECT_EQ(barValue(Handle(calibrating, {true, 0, 800, 0})), 4);
}

TEST_F(OwnGasExchangeTest, StatusReplies) {
  s_.GasModelIndex = 0;
  v_.Stato = v_.PrevState = "SCA";
  // Error 32 with detail 7: the message, and the sequence waits for Start/Stop.
  auto res = Handle(sim::BinaryReply(49, '?', std::string{32, 67, 0, 0, 7}));
  EXPECT_EQ(v_.Stato, "RSTERT");
  EXPECT_EQ(v_.RedoFlag, 1);
  EXPECT_EQ(CaptionOf(res, GasControl::Label27), s_.LangText[lang::ANGASErrTen] + " 7");
  // Fuel code 67: petrol with catalyst, two-stroke; K 15.
  EXPECT_EQ(v_.FuelIndex, 1);
  EXPECT_EQ(v_.StrokesIndex, 1);
  EXPECT_EQ(v_.KFactor, 15);
  // Fuel code 70 changes nothing.
  v_.FuelIndex = 4;
  Handle(sim::BinaryReply(49, '?', std::string{1, 70, 0, 0, 0}));
  EXPECT_EQ(v_.FuelIndex, 4);
  EXPECT_EQ(v_.Stato, "ACQ");
  // The warm-up resends the channel list only the first time.
  Handle(sim::BinaryReply(49, '?', std::string{2, 0, 0, 0, 0}));
  EXPECT_EQ(NextOwnGasRequest(v_, s_, g_)->command, '#');
  Handle(sim::BinaryReply(49, '#', ""));
  EXPECT_EQ(v_.ChannelListSent, 1);
  Handle(sim::BinaryReply(49, '?', std::string{2, 0, 0, 0, 0}));
  EXPECT_EQ(NextOwnGasRequest(v_, s_, g_)->command, '?');
  // Fault 34: no request belongs to it.
  Handle(sim::BinaryReply(49, '?', std::string{34, 0, 0, 0, 0}));
  EXPECT_FALSE(NextOwnGasRequest(v_, s_, g_).has_value());
}

}  // namespace
}  // namespace vs
