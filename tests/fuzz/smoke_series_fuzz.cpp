// Fuzz target: a free-acceleration series driven by any sequence of value replies (any
// mode, protocol, status, tick step and readings, NaN and infinities included), manual
// captures, STARTs and row cells of any text. The series index stays within its values,
// the chart table within its rows, and nothing a cell holds is taken as a number it is not.
#include <cstring>
#include <string>

#include "platform/text/RegionalSettings.h"
#include "smoke/AccelerationSeries.h"
#include "smoke/ChartSeries.h"
#include "smoke/PhaseMachine.h"

namespace {

using namespace vs::smoke;

struct Bytes {
  const std::uint8_t* data;
  std::size_t size;
  std::uint8_t Byte() {
    if (size == 0) return 0;
    --size;
    return *data++;
  }
  double Double() {
    double v = 0;
    if (size >= sizeof v) {
      std::memcpy(&v, data, sizeof v);
      data += sizeof v;
      size -= sizeof v;
    }
    return v;
  }
  std::string Text() {
    const std::size_t n = std::min<std::size_t>(Byte() % 8, size);
    std::string s(reinterpret_cast<const char*>(data), n);
    data += n;
    size -= n;
    return s;
  }
};

const char* const kLockStates[] = {"00000", "00001", "00002", "00016", "00032", ""};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const LangTexts* texts = new LangTexts();
  static const plat::RegionalSettings* regional =
      new plat::RegionalSettings(plat::RegionalSettings::English());
  Bytes in{data, size};
  const SeriesSettings settings{*texts,
                                *regional,
                                1000,
                                4000,
                                in.Double(),
                                in.Double(),
                                static_cast<std::int16_t>(in.Byte() % 3)};
  PhaseFields fields;
  AccelerationTable table;
  ChartRecord chart;
  PhaseMachine phases(fields, table, chart);
  RowCells cells;
  std::int16_t exclamPending = -1;
  ValueReply r;
  while (in.size > 0) {
    const std::uint8_t op = in.Byte();
    switch (op % 4) {
      case 0: {  // a value reply
        r.protocol = (op & 4) ? Protocol::MctcNet : Protocol::Binary;
        r.testMode = static_cast<std::int16_t>((op >> 3) % 8);
        r.tick += in.Byte();
        r.rpm = in.Double();
        r.k = in.Double();
        r.cellTemp = in.Double();
        const std::uint8_t status = in.Byte();
        r.valuesInvalid = (status & 1) != 0;
        r.mcnStatus = static_cast<std::int16_t>((status >> 1) & 1);
        r.luStatus1 = kLockStates[(status >> 2) % 6];
        r.luStatus2 = kLockStates[(status >> 5) % 6];
        r.modelIndex = static_cast<std::int16_t>(in.Byte() % 7);
        r.status0 = in.Byte();
        r.status1 = in.Byte();
        const ReplyOutcome out = phases.OnValueReply(r, cells, settings, exclamPending);
        if (out.showChart && chart.ChartRow > 40) std::abort();
        break;
      }
      case 1:  // the capture button
        ManualCapture(table, cells, static_cast<std::int16_t>((op >> 2) % 8), in.Double(),
                      settings);
        break;
      case 2:  // a row cell as the readings or anything else wrote it
        cells.k[(op >> 2) % kAccelerationRows] = in.Text();
        cells.rpm[(op >> 5) % kAccelerationRows] = in.Text();
        break;
      default:
        phases.Start(static_cast<std::int16_t>((op >> 2) % 8));
        exclamPending = -1;
        break;
    }
    const std::int16_t i = table.AccIndex;
    if (i < 0 || i > kSeriesClosedByHand || i == 9) std::abort();
    if (chart.ChartRow < 0 || chart.ChartRow > 40) std::abort();
  }
  return 0;
}
