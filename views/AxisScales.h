#pragma once

#include <vector>

#include <QPainter>
#include <QRect>

#include "core/AxisTicks.h"
#include "core/PlotExtents.h"

// The optional scales of the picture: round ticks with their numbers on the
// X and Y axes, a light grid under the series, and a scale of H from 0 to 1
// at the right edge of the plot.
namespace axisscales {
inline const QColor kGridColour(225, 225, 225);
inline const QColor kTickColour(0, 0, 0);
// At most one tick per this many pixels along each axis.
constexpr int kXTickSpacing = 80;
constexpr int kYTickSpacing = 40;
constexpr int kTickLength = 4;
} // namespace axisscales

CAxisTicks XAxisTicks(const CPlotExtents& extents, int plotWidth);
CAxisTicks YAxisTicks(const CPlotExtents& extents, int plotHeight);
CAxisTicks HAxisTicks(int plotHeight);

// The grid lines at the X and Y ticks inside a w by h plot at (0, 0); lines
// on the axes themselves are left to the axes.
void DrawAxisGrid(QPainter& painter, int w, int h, const CPlotExtents& extents);

// Tick marks and numbers around the plot rectangle `plot` (in the painter's
// coordinates): X below the X axis, Y left of the Y axis, H inside the right
// edge. A number that would touch one of the rectangles in `keepClear` (the
// legend's own labels) is left out; its tick mark stays.
void DrawAxisScales(QPainter& painter, const QRect& plot, const CPlotExtents& extents,
                    const std::vector<QRect>& keepClear);
