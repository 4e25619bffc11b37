#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QPainter>
#include <QPoint>

#include "core/GrowArray.h"
#include "core/PlotExtents.h"
#include "views/SeriesSummary.h"

// What a fresh drawing of the series graph needs, gathered from the document
// and the view so that it can be drawn into any paint device.
struct CSeriesGraphData
{
    const CSeriesArray* points = nullptr;
    CPlotExtents extents;
    double dH = 0.0;
    double dR = 0.0;
    int nCount = 0;
    // A light grid at the round ticks of both axes under everything else.
    bool axisScales = false;
    // The range the window shows when zoomed; none: the whole series
    // (extents), drawn exactly as ever.
    std::optional<CPlotExtents> shown;
    // The points' Y extremes by blocks, for drawing a zoomed range of a long
    // series column by column; null: every point is visited.
    std::shared_ptr<const CSeriesSummary> summary;

    // The range the picture maps values with.
    const CPlotExtents& Shown() const { return shown ? *shown : extents; }
};

// The pens and colours of the picture.
namespace seriesgraph {
inline const QColor kAxisColor(0, 0, 0);
inline const QColor kSeriesColor(127, 127, 127);
inline const QColor kHColor(0, 0, 255);
constexpr int kAxisWidth = 2;
constexpr int kSeriesWidth = 2;
constexpr int kHLineWidth = 1;
// The label's top edge lies this far below the H line, or above it for an
// H under kLabelAboveBelow so that it stays inside the window.
constexpr int kLabelOffset = 20;
constexpr int kLabelLeft = 20;
constexpr double kLabelAboveBelow = 0.1;
} // namespace seriesgraph

// "H: %.2f, r: %.2f, n: %i", with '.' as decimal point whatever the locale.
std::string SeriesGraphLabel(double h, double r, int n);

// Draws the axes, the series, the whole-series H line and its label into a
// w by h area at (0, 0), over what the device already holds (nothing is
// filled). Text uses the painter's font. reduce: join the points of each
// pixel column by the few segments that shape it instead of every segment;
// the picture is the same. onePath: draw the series as one polyline (a
// vector file then holds one element, at most four vertices per column when
// reduced) instead of segment by segment as the window does. detail: the
// series is traced at that many times the area's resolution (a printed page
// drawn at the window's size), everything else as it is.
void DrawSeriesGraph(QPainter& painter, int w, int h, const CSeriesGraphData& data, bool reduce = true,
                     bool onePath = false, double detail = 1.0);

// The vertices of the series line in a w by h area, in drawing order: the
// pen's start on the left edge, then the points' pixels (every point, or
// with reduce only those that shape each pixel column). The line joins each
// vertex to the next.
std::vector<QPoint> SeriesGraphPath(const CSeriesArray& points, const CPlotExtents& extents, int w, int h,
                                    bool reduce);
// The same for the data's zoomed range (or the whole series): with a summary
// of points whose X ascends, only the points of the columns drawn are found,
// by binary search, and each column is drawn from its extremes; the line is
// the same as the one through every point within the area and a few columns
// beyond its edges (where a pen penWidth wide still reaches in). The line
// starts on the left edge only when the first point lies within or right of
// the range shown.
std::vector<QPoint> SeriesGraphPath(const CSeriesGraphData& data, int w, int h, double penWidth = seriesgraph::kSeriesWidth);
