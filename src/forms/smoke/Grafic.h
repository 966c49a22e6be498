#pragma once
// Grafic: the chart of one free acceleration (test mode 6): k × 10 and engine speed / 100
// over the 41 rows of the acceleration, 0.25 s apart, with the engine-speed limits as two
// flat lines. The smoke test form shows it anew when an acceleration has ended and keeps
// its instruction line and engine speed up to date while the mode runs.
#include <optional>
#include <vector>

#include "platform/forms/Forms.h"
#include "smoke/ChartSeries.h"

namespace vs {

class Program;

class Grafic : public plat::Form {
 public:
  explicit Grafic(Program& p);

  // Controls, in drawing order.
  plat::Chart MSChart1{*this, "MSChart1"};
  // Texts of the time ticks, 0.5 s to 10 s, under the plot area.
  plat::ControlArray<plat::Label> LabelTime{*this, "LabelTime", 0, 19};
  plat::Label Label39{*this, "Label39"};            // the test form's instruction line
  plat::Label Label4{*this, "Label4"};              // "RPM"
  plat::Label Label3{*this, "Label3"};              // engine speed
  plat::CommandButton Command1{*this, "Command1"};  // close; the cancel button
  plat::CommandButton Command2{*this, "Command2"};  // print

  // The acceleration that has just ended: the window closes if open and shows `table`.
  void ShowAcceleration(const smoke::ChartTable& table);

  // The chart's rows as the chart control takes them: a value never written is not drawn.
  static std::vector<std::vector<double>> ChartRows(const smoke::ChartTable& table);

 protected:
  void Form_Load() override;

 private:
  void Command2_Click();

  Program& p_;
  std::optional<smoke::ChartTable> next_;  // the table the next load shows
};

}  // namespace vs
