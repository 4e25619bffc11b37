#include "views/HCurveRender.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <QLine>
#include <QPen>

#include "core/PlotMapping.h"
#include "views/ClippedLines.h"
#include "views/ColumnRuns.h"
#include "views/FineArea.h"

namespace {

QPen CurvePen(const QColor& colour, double width)
{
    QPen pen(colour, 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
    pen.setWidthF(width);
    return pen;
}

// The median of the values (reordered): the middle one, or the mean of the
// two middle ones of an even count.
double Median(std::vector<double>::iterator first, std::vector<double>::iterator last)
{
    const auto n = last - first;
    const auto mid = first + n / 2;
    std::nth_element(first, mid, last);
    if (n % 2 == 1)
        return *mid;
    const double upper = *mid;
    const double lower = *std::max_element(first, mid);
    return lower + (upper - lower) / 2.0;
}

bool PositionsAscend(const CHPointArray& windows)
{
    for (int i = 1; i < windows.GetSize(); ++i) {
        if (!(windows[i].m_dX >= windows[i - 1].m_dX))
            return false;
    }
    return true;
}

// Each column's extent of H and the curve through the columns' medians,
// with the neighbours beyond the edges (when the positions ascend) joined
// on as they are.
void DrawColumnExtents(QPainter& painter, int w, int h, const std::vector<QPoint>& pixels,
                       const CHPointArray& windows, bool ascending, bool reduce, double penWidth)
{
    const CPlotRect area{0, 0, w, h};
    std::vector<int> start(static_cast<std::size_t>(w) + 1, 0);
    int firstIn = -1;
    int lastIn = -1;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const int col = pixels[i].x();
        if (col < 0 || col >= w || !std::isfinite(windows[static_cast<int>(i)].m_dY))
            continue;
        ++start[static_cast<std::size_t>(col) + 1];
        if (firstIn < 0)
            firstIn = static_cast<int>(i);
        lastIn = static_cast<int>(i);
    }
    for (int c = 0; c < w; ++c)
        start[static_cast<std::size_t>(c) + 1] += start[static_cast<std::size_t>(c)];
    std::vector<double> values(static_cast<std::size_t>(start.back()));
    std::vector<int> fill(start.begin(), start.end() - 1);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const int col = pixels[i].x();
        const double hValue = windows[static_cast<int>(i)].m_dY;
        if (col >= 0 && col < w && std::isfinite(hValue))
            values[static_cast<std::size_t>(fill[static_cast<std::size_t>(col)]++)] = hValue;
    }

    std::vector<QLine> extents;
    std::vector<QPoint> curve;
    if (ascending && firstIn > 0)
        curve.push_back(pixels[static_cast<std::size_t>(firstIn) - 1]);
    for (int c = 0; c < w; ++c) {
        const auto first = values.begin() + start[static_cast<std::size_t>(c)];
        const auto last = values.begin() + start[static_cast<std::size_t>(c) + 1];
        if (first == last)
            continue;
        const auto [lo, hi] = std::minmax_element(first, last);
        extents.emplace_back(c, HToPixel(area, *hi), c, HToPixel(area, *lo));
        curve.emplace_back(c, HToPixel(area, Median(first, last)));
    }
    if (ascending && lastIn >= 0 && static_cast<std::size_t>(lastIn) + 1 < pixels.size())
        curve.push_back(pixels[static_cast<std::size_t>(lastIn) + 1]);

    painter.setPen(CurvePen(hcurve::kExtentColour, penWidth));
    if (reduce) {
        for (const QLine& line : extents)
            DrawClippedPolyline(painter, w, h, {line.p1(), line.p2()}, true);
    } else {
        painter.drawLines(extents.data(), static_cast<int>(extents.size()));
    }
    painter.setPen(CurvePen(hcurve::kCurveColour, penWidth));
    if (reduce)
        DrawClippedPolyline(painter, w, h, curve, true);
    else
        painter.drawPolyline(curve.data(), static_cast<int>(curve.size()));
}

} // namespace

void DrawHCurve(QPainter& painter, int w, int h, const CHGraphData& data, bool reduce, double detail)
{
    const int slidingCount = data.windows ? data.windows->GetSize() : 0;
    if (slidingCount <= 1)
        return;
    const CHPointArray& windows = *data.windows;
    const CFineArea fine(painter, w, h, detail);
    const CPlotRect area{0, 0, fine.Width(), fine.Height()};
    const CPlotExtents& shown = data.Shown();
    const double origin = data.extents.m_dXMin;

    std::vector<QPoint> pixels;
    pixels.reserve(static_cast<std::size_t>(slidingCount));
    int inside = 0;
    for (const CHPoint& result : windows) {
        const QPoint px(ValueToPixelX(area, shown, result.m_dX + origin), HToPixel(area, result.m_dY));
        if (px.x() >= 0 && px.x() < area.right)
            ++inside;
        pixels.push_back(px);
    }
    const bool zoomed = data.shown.has_value();
    const bool ascending = zoomed && PositionsAscend(windows);
    if (inside > area.right) {
        DrawColumnExtents(painter, area.right, area.bottom, pixels, windows, ascending, reduce, fine.PenScale());
        return;
    }

    // Zoomed over ascending positions: the windows shown and one beyond each
    // edge.
    std::size_t first = 0;
    std::size_t last = pixels.size();
    if (ascending) {
        while (first + 1 < last && pixels[first + 1].x() < 0)
            ++first;
        while (last - 1 > first + 1 && pixels[last - 2].x() >= area.right)
            --last;
    }
    painter.setPen(CurvePen(hcurve::kCurveColour, fine.PenScale()));
    CPathSink curve;
    CRunJoiner<CPathSink> columns(curve);
    if (!reduce)
        curve.vertices.reserve(last - first);
    for (std::size_t i = first; i < last; ++i) {
        if (reduce)
            columns.Add(SingleRun(pixels[i].x(), pixels[i].y()));
        else
            curve.Add(pixels[i]);
    }
    columns.Finish();
    // A file keeps what a clip would hide; the window and images clip every
    // pixel themselves.
    if (reduce)
        DrawClippedPolyline(painter, fine.Width(), fine.Height(), curve.vertices, zoomed);
    else
        painter.drawPolyline(curve.vertices.data(), static_cast<int>(curve.vertices.size()));
}
