#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/text/Numbers.h"
#include "smoke/PhaseMachine.h"
#include "smoke_test_util.h"

namespace vs::smoke {
namespace {

using test::NumberedTexts;

// An engine that follows the instruction line (or, in the manual modes, the operator's own
// rhythm): idle 800 rpm, full speed 4600 rpm, 1200 rpm per reply up or down; k follows the
// speed up to the acceleration's peak. One reply every 4 ticks (100 ms); the cell is cold for
// the first second.
class ScriptedEngine {
 public:
  explicit ScriptedEngine(const LangTexts& texts) : texts_(texts) {}

  ValueReply Next(Protocol protocol, std::int16_t mode, std::int16_t accIndex) {
    tick_ += 4;
    const double target = throttle_ ? 4600 : 800;
    rpm_ = rpm_ < target ? std::min(target, rpm_ + 1200) : std::max(target, rpm_ - 1200);
    const double peak = kPeaks[static_cast<std::size_t>(std::min<int>(accIndex, 7))];
    ValueReply r;
    r.protocol = protocol;
    r.testMode = mode;
    r.tick = tick_;
    r.rpm = rpm_;
    r.k = 0.2 + (peak - 0.2) * (rpm_ - 800) / 3800;
    r.cellTemp = tick_ <= 40 ? 65.0 : 75.0;
    r.luStatus1 = "00016";
    r.luStatus2 = "00000";
    r.modelIndex = 1;
    r.status1 = 64;
    return r;
  }
  // Follows the instruction line as an operator would.
  void Read(const LabelChange& label39) {
    if (!label39.caption) return;
    const std::string& t = *label39.caption;
    if (t == texts_[lang::ANFUMOAcc] || t == texts_[lang::ANFUMOManMax]) throttle_ = true;
    if (t == texts_[lang::ANFUMODec] || t == texts_[lang::ANFUMOManMin] ||
        t == texts_[lang::ANFUMOConcl]) {
      throttle_ = false;
    }
  }
  // The manual modes: two seconds on, three seconds off; true at the end of each acceleration.
  bool OwnRhythm() {
    const std::int32_t inCycle = tick_ % 200;
    throttle_ = tick_ > 40 && inCycle < 80;
    return tick_ > 40 && inCycle == 196;
  }

  // Peak k of the eight accelerations: the series decides at the fifth (3,4,5 mean 1.27).
  static constexpr double kPeaks[8] = {2.4, 2.0, 1.6, 1.2, 1.0, 1.0, 1.0, 1.0};

 private:
  const LangTexts& texts_;
  std::int32_t tick_ = 0;
  double rpm_ = 800;
  bool throttle_ = false;
};

struct SeriesCase {
  const char* name;
  std::int16_t mode;
  Protocol protocol;
  int captures;
  std::int16_t accIndex;
  std::string resultText, accelsUsed, meanK;
  bool closingBox;
};

const SeriesCase kSeries[] = {
    {"ContinuousMctcNet", 0, Protocol::MctcNet, 0, 0, "", "", "", false},
    {"ContinuousBinary", 0, Protocol::Binary, 0, 0, "", "", "", false},
    {"SpeedMctcNet", 1, Protocol::MctcNet, 5, 8, "T135", "3,4,5", "1.27", true},
    {"SpeedBinary", 1, Protocol::Binary, 5, 8, "T135", "3,4,5", "1.27", false},
    {"SmokeMctcNet", 2, Protocol::MctcNet, 5, 8, "T135", "3,4,5", "1.27", true},
    {"SmokeBinary", 2, Protocol::Binary, 5, 8, "T135", "3,4,5", "1.27", false},
    {"TimedMctcNet", 3, Protocol::MctcNet, 5, 8, "T135", "3,4,5", "1.27", true},
    {"TimedBinary", 3, Protocol::Binary, 5, 8, "T135", "3,4,5", "1.27", false},
    {"ManualMctcNet", 4, Protocol::MctcNet, 5, 10, "T135", "3,4,5", "1.27", true},
    {"ManualBinary", 4, Protocol::Binary, 5, 10, "T135", "3,4,5", "1.27", false},
    {"DirectMctcNet", 5, Protocol::MctcNet, 8, 10, "T165", "", "", true},
    {"DirectBinary", 5, Protocol::Binary, 8, 10, "T165", "", "", false},
};

void PrintTo(const SeriesCase& c, std::ostream* os) { *os << c.name; }

class PhaseMachineTest : public ::testing::TestWithParam<SeriesCase> {};

TEST_P(PhaseMachineTest, RunsAWholeSeries) {
  const SeriesCase& c = GetParam();
  const LangTexts texts = NumberedTexts();
  const plat::RegionalSettings regional = plat::RegionalSettings::English();
  const SeriesSettings settings{texts, regional, 1000, 4000, 0.5, 1.5, 0};
  PhaseFields fields;
  AccelerationTable table;
  ChartRecord chart;
  PhaseMachine phases(fields, table, chart);
  ScriptedEngine engine(texts);
  RowCells cells;
  double peak = 0;  // the row display: peak k of the acceleration while the hold runs
  std::int16_t exclamPending = c.protocol == Protocol::MctcNet ? -1 : 0;
  int captures = 0, closingBoxes = 0;
  bool buttonEnabled = c.mode == 4 || c.mode == 5;
  LabelChange label39, label24;

  phases.Start(c.mode);
  for (int reply = 0; reply < 1500; ++reply) {
    const bool accelerationOver = (c.mode == 4 || c.mode == 5) && engine.OwnRhythm();
    const ValueReply r = engine.Next(c.protocol, c.mode, table.AccIndex);
    if (fields.TestPhase == "DUE" && IsWarm(r.cellTemp) && table.AccIndex < 8) {
      peak = std::max(peak, r.k);
      cells.k[static_cast<std::size_t>(table.AccIndex)] = plat::FormatDouble(peak, regional);
    }
    const ReplyOutcome out = phases.OnValueReply(r, cells, settings, exclamPending);
    engine.Read(out.label39);
    if (out.label39.caption) label39.caption = out.label39.caption;
    if (out.label24Back) label24.backColor = out.label24Back;
    if (out.captured) ++captures;
    if (out.capture.peakTrackersReset) peak = 0;
    if (out.closingBox) ++closingBoxes;
    if (accelerationOver && buttonEnabled) {
      const ManualCaptureOutcome click = ManualCapture(table, cells, c.mode, r.cellTemp, settings);
      ASSERT_TRUE(click.captured);
      ++captures;
      if (click.capture.peakTrackersReset) peak = 0;
      buttonEnabled = !click.buttonDisabled;
    }
  }

  EXPECT_EQ(captures, c.captures);
  EXPECT_EQ(table.AccIndex, c.accIndex);
  EXPECT_EQ(table.SmokeResultText, c.resultText);
  EXPECT_EQ(table.AccelsUsed, c.accelsUsed);
  EXPECT_EQ(table.SmokeResultK, c.meanK);
  EXPECT_EQ(closingBoxes, c.closingBox ? 1 : 0);
  if (c.captures == 0) {
    EXPECT_EQ(fields.TestPhase, "CONTINUA");
    EXPECT_EQ(label39.caption,
              c.protocol == Protocol::Binary ? std::optional<std::string>("T9") : std::nullopt);
  } else {
    EXPECT_EQ(fields.TestPhase, " ");
    EXPECT_EQ(label39.caption, "T33");
    EXPECT_EQ(label24.backColor, plat::colors::kWhite);
  }
  if (c.mode == 5) {
    EXPECT_EQ(table.AccKState, (std::array<std::int16_t, 8>{3, 3, 3, 3, 3, 3, 3, 3}));
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, PhaseMachineTest, ::testing::ValuesIn(kSeries),
                         [](const auto& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace vs::smoke
