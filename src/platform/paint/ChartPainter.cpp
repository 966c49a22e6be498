#include "platform/paint/ChartPainter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "platform/paint/Text.h"

namespace plat::paint {

namespace {

// A round step for about `parts` divisions of `range`.
double NiceStep(double range, int parts) {
  const double raw = range / parts;
  const double mag = std::pow(10.0, std::floor(std::log10(raw)));
  const double f = raw / mag;
  const double nice = f <= 1 ? 1 : f <= 2 ? 2 : f <= 2.5 ? 2.5 : f <= 5 ? 5 : 10;
  return nice * mag;
}

// Values the chart can place (far-out or not-a-number values are left out).
bool Plottable(double v) { return std::isfinite(v) && std::abs(v) < 1e12; }

std::string Number(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%g", std::abs(v) < 1e-12 ? 0.0 : v);
  return buf;
}

}  // namespace

void PaintChart(cairo_t* cr, const Chart& chart, double w, double h) {
  const auto& rows = chart.ChartData();
  const ChartGeometry g = ChartLayout(w, h, chart.ShowLegend());
  cairo_save(cr);
  cairo_rectangle(cr, 0, 0, w, h);
  cairo_clip(cr);
  SetColor(cr, chart.BackColor());
  cairo_paint(cr);

  Font titleFont = chart.font();
  titleFont.size = std::max(titleFont.size, 12.0);
  titleFont.bold = true;
  TextStyle ts{titleFont, chart.ForeColor(), Alignment::Center, false, true};
  DrawText(cr, chart.TitleText(), 0, 0, w, g.titleH + 4, ts);

  // Series: every column after the first that some row has.
  std::size_t columns = 0;
  for (const auto& row : rows) columns = std::max(columns, row.size());
  double lo = 0, hi = 0;
  bool any = false;
  for (const auto& row : rows)
    for (std::size_t c = 1; c < row.size(); ++c)
      if (Plottable(row[c])) {
        lo = std::min(lo, row[c]);
        hi = std::max(hi, row[c]);
        any = true;
      }
  if (!any || !(hi - lo > std::abs(lo) * 1e-9 + 1e-9)) hi = lo + std::max(1.0, std::abs(lo));
  double step = NiceStep(hi - lo, 5);
  if (!(step > 0) || !std::isfinite(step)) step = hi - lo;
  lo = std::floor(lo / step) * step;
  hi = std::ceil(hi / step) * step;
  if (!(hi > lo)) hi = lo + step;
  const int ticks = std::clamp(static_cast<int>(std::lround((hi - lo) / step)), 1, 50);
  auto yOf = [&](double v) { return g.plotY + g.plotH - (v - lo) / (hi - lo) * g.plotH; };
  const std::size_t n = rows.size();
  auto xOf = [&](std::size_t i) {
    return n < 2 ? g.plotX + g.plotW / 2
                 : g.plotX + static_cast<double>(i) * g.plotW / static_cast<double>(n - 1);
  };

  // Grid, value scale and row ticks.
  Font small = chart.font();
  small.bold = false;
  TextStyle label{small, chart.ForeColor(), Alignment::Right, false, true, false, 0};
  cairo_set_line_width(cr, 1);
  for (int t = 0; t <= ticks; ++t) {
    const double v = lo + t * step;
    const double y = std::round(yOf(v)) + 0.5;
    cairo_set_source_rgb(cr, 0.85, 0.85, 0.85);
    cairo_move_to(cr, g.plotX, y);
    cairo_line_to(cr, g.plotX + g.plotW, y);
    cairo_stroke(cr);
    DrawText(cr, Number(v), 0, y - 10, g.plotX - 6, 20, label);
  }
  SetColor(cr, chart.ForeColor());
  for (std::size_t i = 0; n >= 2 && i < n; i += 2) {
    const double x = std::round(xOf(i)) + 0.5;
    cairo_move_to(cr, x, g.plotY + g.plotH);
    cairo_line_to(cr, x, g.plotY + g.plotH + (i % 4 == 0 ? 6 : 3));
  }
  cairo_stroke(cr);
  cairo_rectangle(cr, std::round(g.plotX) + 0.5, std::round(g.plotY) + 0.5, std::round(g.plotW),
                  std::round(g.plotH));
  cairo_stroke(cr);

  // Axis titles.
  Font axisFont = chart.font();
  axisFont.bold = true;
  TextStyle axis{axisFont, chart.ForeColor(), Alignment::Center, false, true, false, 0};
  DrawText(cr, chart.AxisTitle(ChartAxis::X), g.plotX, g.plotY + g.plotH + 8, g.plotW,
           h - (g.plotY + g.plotH + 8), axis);
  cairo_save(cr);
  cairo_translate(cr, 0, g.plotY + g.plotH);
  cairo_rotate(cr, -M_PI / 2);
  DrawText(cr, chart.AxisTitle(ChartAxis::Y), 0, 0, g.plotH, 22, axis);
  cairo_restore(cr);

  // Curves.
  cairo_save(cr);
  cairo_rectangle(cr, g.plotX, g.plotY, g.plotW + 1, g.plotH + 1);
  cairo_clip(cr);
  cairo_set_line_width(cr, 2);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  for (std::size_t c = 1; c < columns; ++c) {
    SetColor(cr, chart.SeriesColor(static_cast<int>(c) + 1));
    bool pen = false;
    for (std::size_t i = 0; i < n; ++i) {
      if (c >= rows[i].size() || !Plottable(rows[i][c])) {
        pen = false;
        continue;
      }
      if (pen)
        cairo_line_to(cr, xOf(i), yOf(rows[i][c]));
      else
        cairo_move_to(cr, xOf(i), yOf(rows[i][c]));
      pen = true;
    }
    cairo_stroke(cr);
  }
  cairo_restore(cr);

  // Legend.
  if (chart.ShowLegend()) {
    TextStyle entry{small, chart.ForeColor(), Alignment::Left, false, true, false, 0};
    double y = g.legendY;
    for (std::size_t c = 1; c < columns; ++c) {
      const int column = static_cast<int>(c) + 1;
      std::string name = chart.ColumnLabel(column);
      if (name.empty()) name = std::to_string(column).insert(0, 1, 'C');
      SetColor(cr, chart.SeriesColor(column));
      cairo_rectangle(cr, g.legendX, y + 8, 18, 4);
      cairo_fill(cr);
      DrawText(cr, name, g.legendX + 24, y, w - g.legendX - 24, 20, entry);
      y += 22;
    }
  }
  cairo_restore(cr);
}

}  // namespace plat::paint
