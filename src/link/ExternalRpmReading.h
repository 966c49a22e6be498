#pragma once
// Where a gas or smoke reading takes the engine speed and the oil temperature from: the
// engine-speed counter's last readings when its switch is on (ExternRpm, ExternOilTemp),
// else the test instrument's own values. The counter's values are taken as they stand:
// nothing marks them fresh or stale, and before the first reply they are 0.
namespace vs {

struct LinkState;
struct ShellState;

struct EngineReadings {
  double rpm = 0;
  double oilTemp = 0;
};

// The values a test reading stores, given the instrument's own.
EngineReadings EngineReadingsForTest(const ShellState& s, const LinkState& l, EngineReadings own);

}  // namespace vs
