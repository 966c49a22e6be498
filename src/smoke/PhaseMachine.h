#pragma once
// The free-acceleration phase machine of the smoke test form. On every measured-values reply
// it moves the phase word on by the test mode, tells the operator what to do (instruction
// line Label39, cell-temperature colour Label24), captures the acceleration at the end of
// each hold at full speed, and shows the end of the series.
//
//   PhaseMachine phases(fields, table, chart);
//   phases.Start(testMode);                         // START
//   ReplyOutcome out = phases.OnValueReply(reply, cells, settings, exclamPending);
//   // apply out.label39, out.label24Back, out.result ...
#include <cstdint>
#include <optional>
#include <string>

#include "smoke/AccelerationSeries.h"
#include "smoke/ChartSeries.h"
#include "smoke/SeriesTypes.h"

namespace vs::smoke {

// What one value reply asks of the test form, in the order the form applies it.
struct ReplyOutcome {
  LabelChange label39;                     // instruction line
  std::optional<plat::Color> label24Back;  // cell-temperature display
  CaptureOutcome capture;                  // an acceleration was captured (see `captured`)
  bool captured = false;
  std::optional<ChartTable> showChart;  // mode 6: the chart window shown anew with this table
  // The closing message box: ExclamStampaMessage and ExclamMessage set to these texts, then
  // Exclam shown modally.
  struct ClosingBox {
    std::string exclamStampaMessage, exclamMessage;
  };
  std::optional<ClosingBox> closingBox;
};

class PhaseMachine {
 public:
  PhaseMachine(PhaseFields& fields, AccelerationTable& table, ChartRecord& chart)
      : f_(fields), table_(table), chart_(chart) {}

  // The first phase word of a test mode; nothing for a mode that has none.
  static std::optional<std::string> FirstPhase(std::int16_t testMode);

  // START: a new series in the mode.
  void Start(std::int16_t testMode);

  // One measured-values reply: the phase step (while the series is open and the readings
  // are usable), then the end-of-series step. `exclamPending` is the program's request for
  // the closing box, cleared when it is shown.
  ReplyOutcome OnValueReply(const ValueReply& reply, const RowCells& cells,
                            const SeriesSettings& settings, std::int16_t& exclamPending);

 private:
  void Step(const ValueReply& reply, const RowCells& cells, const SeriesSettings& settings,
            ReplyOutcome& out);
  void StepByLimit(const ValueReply& reply, const RowCells& cells, const SeriesSettings& settings,
                   ReplyOutcome& out);
  void StepTimed(const ValueReply& reply, const RowCells& cells, const SeriesSettings& settings,
                 ReplyOutcome& out);
  void Capture(const ValueReply& reply, const RowCells& cells, const SeriesSettings& settings,
               ReplyOutcome& out);

  PhaseFields& f_;
  AccelerationTable& table_;
  ChartRecord& chart_;
};

}  // namespace vs::smoke
