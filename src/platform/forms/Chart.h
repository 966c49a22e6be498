#pragma once
// The chart control.
#include <string>
#include <vector>

#include "platform/forms/Control.h"

namespace plat {

enum class ChartAxis { X, Y };

struct ChartGeometry {
  double plotX = 0, plotY = 0, plotW = 0, plotH = 0;  // the plot area
  double legendX = 0, legendY = 0;                    // top-left of the legend
  double titleH = 0;                                  // band of the title at the top
};

// Where the parts of a chart of this size go when it is drawn (depends on the size only, so
// that a form can place its own texts under the plot area).
ChartGeometry ChartLayout(double w, double h, bool legend);

namespace detail {
struct ChartState {
  std::vector<std::vector<double>> data;
  std::vector<std::string> labels;
  std::vector<Color> colors;
  std::string title, xTitle, yTitle;
  bool legend = true;
};
}  // namespace detail

// A chart of a numeric table. Columns are numbered from 1: row r's column c is
// ChartData()[r][c - 1]. Column 1 is the X value of the row; every further column is a
// series drawn against it, named by its column label (shown in the legend).
class Chart : public WithState<Control, detail::ChartState> {
 public:
  Chart(Form& form, std::string name, int index = -1);
  const std::vector<std::vector<double>>& ChartData() const { return s_.data; }
  void setChartData(std::vector<std::vector<double>> rows);  // the chart keeps its own copy
  std::string ColumnLabel(int column) const;
  void setColumnLabel(int column, const std::string& v);
  const std::string& TitleText() const { return s_.title; }
  void setTitleText(const std::string& v);
  const std::string& AxisTitle(ChartAxis a) const;
  void setAxisTitle(ChartAxis a, const std::string& v);
  bool ShowLegend() const { return s_.legend; }
  void setShowLegend(bool v);
  // Colour of series `column` (>= 1); a default palette unless set.
  Color SeriesColor(int column) const;
  void setSeriesColor(int column, Color c);
};

}  // namespace plat
