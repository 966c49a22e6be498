#include "platform/forms/Chart.h"

#include <algorithm>

#include "platform/core/Error.h"
#include "platform/forms/SetIfChanged.h"

namespace plat {

namespace {
constexpr Color kPalette[] = {0xC00000, 0x0000C0, 0x008000, 0x8000C0, 0x0080FF, 0x808000};
}

ChartGeometry ChartLayout(double w, double h, bool legend) {
  ChartGeometry g;
  g.titleH = std::max(24.0, h * 0.08);
  const double legendW = legend ? std::max(90.0, w * 0.16) : 0.0;
  const double left = std::max(64.0, w * 0.09);
  const double bottom = std::max(36.0, h * 0.09);
  g.plotX = left;
  g.plotY = g.titleH + 8;
  g.plotW = std::max(1.0, w - left - legendW - 16);
  g.plotH = std::max(1.0, h - g.plotY - bottom);
  g.legendX = g.plotX + g.plotW + 12;
  g.legendY = g.plotY;
  return g;
}

Chart::Chart(Form& form, std::string name, int index)
    : WithState(form, ControlKind::Chart, std::move(name), index) {
  setBackColor(colors::kWhite);
  setForeColor(colors::kBlack);
}

void Chart::setChartData(std::vector<std::vector<double>> rows) {
  s_.data = std::move(rows);
  changed(Prop::Chart);
}

std::string Chart::ColumnLabel(int column) const {
  if (column < 1 || column > static_cast<int>(s_.labels.size())) return {};
  return s_.labels[static_cast<std::size_t>(column - 1)];
}

void Chart::setColumnLabel(int column, const std::string& v) {
  if (column < 1 || column > 1000)
    throw RuntimeError(kErrInvalidArrayIndex, "Invalid property array index");
  if (s_.labels.size() < static_cast<std::size_t>(column))
    s_.labels.resize(static_cast<std::size_t>(column));
  if (SetIfChanged(s_.labels[static_cast<std::size_t>(column - 1)], v)) changed(Prop::Chart);
}

void Chart::setTitleText(const std::string& v) {
  if (SetIfChanged(s_.title, v)) changed(Prop::Chart);
}

const std::string& Chart::AxisTitle(ChartAxis a) const {
  return a == ChartAxis::X ? s_.xTitle : s_.yTitle;
}

void Chart::setAxisTitle(ChartAxis a, const std::string& v) {
  if (SetIfChanged(a == ChartAxis::X ? s_.xTitle : s_.yTitle, v)) changed(Prop::Chart);
}

void Chart::setShowLegend(bool v) {
  if (SetIfChanged(s_.legend, v)) changed(Prop::Chart);
}

Color Chart::SeriesColor(int column) const {
  if (column >= 1 && column <= static_cast<int>(s_.colors.size()) &&
      s_.colors[static_cast<std::size_t>(column - 1)] != 0xFFFFFFFFu)
    return s_.colors[static_cast<std::size_t>(column - 1)];
  const int n = static_cast<int>(std::size(kPalette));
  return kPalette[((column - 2) % n + n) % n];
}

void Chart::setSeriesColor(int column, Color c) {
  if (column < 1 || column > 1000)
    throw RuntimeError(kErrInvalidArrayIndex, "Invalid property array index");
  if (s_.colors.size() < static_cast<std::size_t>(column))
    s_.colors.resize(static_cast<std::size_t>(column), 0xFFFFFFFFu);
  if (SetIfChanged(s_.colors[static_cast<std::size_t>(column - 1)], c)) changed(Prop::Chart);
}

}  // namespace plat
