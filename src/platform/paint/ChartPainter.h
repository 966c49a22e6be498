#pragma once
// The chart control drawn with cairo, on screen and on paper alike: the title at the top,
// the plot area with a value scale on the left, one curve per series column (column 2 on),
// the axis titles, and the legend at the right. The rows are drawn in order, evenly spaced
// across the plot (row n at the n-th step): the first column labels the rows and is not a
// curve, so stale or empty values in it never fold a curve back.
#include <cairo.h>

#include "platform/forms/Chart.h"

namespace plat::paint {

// Where the parts of a chart go (the chart control's, so that a form can place its own
// texts under the plot area without the painter).
using plat::ChartGeometry;
using plat::ChartLayout;

// Draws the chart in the box (0, 0, w, h) of the context.
void PaintChart(cairo_t* cr, const Chart& chart, double w, double h);

}  // namespace plat::paint
