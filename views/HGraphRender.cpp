#include "views/HGraphRender.h"

#include <algorithm>
#include <cmath>

#include <QPen>
#include <QString>

#include "views/ClippedLines.h"
#include "views/ColumnRuns.h"
#include "views/FineArea.h"
#include "views/IntervalBandRender.h"
#include "core/Format.h"
#include "core/PlotMapping.h"

namespace {

const QColor kIntervalColour(255, 0, 255);
const QColor kSlidingColour(0, 255, 0);

QPen SolidPen(const QColor& colour)
{
    return QPen(colour, 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
}

} // namespace

void DrawHGraph(QPainter& painter, int w, int h, const CHGraphData& data, bool reduce, double detail)
{
    const CPlotRect client{0, 0, w, h};
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setBrush(Qt::NoBrush);

    const std::size_t tabCount = data.tabPositions.size();
    if (tabCount > 0) {
        const std::size_t intervals = std::min(tabCount + 1, data.intervalH.size());
        painter.setPen(SolidPen(kIntervalColour));
        const int ascent = painter.fontMetrics().ascent();
        int xStart = 0;
        for (std::size_t i = 0; i < intervals; ++i) {
            const int xEnd =
                i == tabCount ? w : ValueToPixelX(client, data.extents, static_cast<double>(data.tabPositions[i]));
            const double hValue = data.intervalH[i];
            // An H above 1 or below 0 lies outside the area: no line.
            if (std::isfinite(hValue))
                DrawClippedHLine(painter, w, h, xStart, xEnd, HToPixel(client, hValue));
            painter.drawText(QPoint(xStart, ascent), QString::fromStdString("H: " + FormatFixed(hValue, 2)));
            xStart = xEnd + 1;
        }
    }

    const int slidingCount = data.windows ? data.windows->GetSize() : 0;
    if (slidingCount > 1 && data.band)
        DrawIntervalBand(painter, w, h, data.extents, *data.windows, *data.band, detail);
    if (slidingCount > 1) {
        const CFineArea fine(painter, w, h, detail);
        QPen pen = SolidPen(kSlidingColour);
        pen.setWidthF(fine.PenScale());
        painter.setPen(pen);
        const CPlotRect area{0, 0, fine.Width(), fine.Height()};
        CPathSink curve;
        CRunJoiner<CPathSink> columns(curve);
        if (!reduce)
            curve.vertices.reserve(static_cast<std::size_t>(slidingCount));
        for (const CHPoint& result : *data.windows) {
            const CPixel px = SlidingResultToPixel(area, data.extents, result.m_dX, result.m_dY);
            if (reduce)
                columns.Add(SingleRun(px.x, px.y));
            else
                curve.Add(QPoint(px.x, px.y));
        }
        columns.Finish();
        // A file keeps what a clip would hide; the window and images clip
        // every pixel themselves.
        if (reduce)
            DrawClippedPolyline(painter, fine.Width(), fine.Height(), curve.vertices);
        else
            painter.drawPolyline(curve.vertices.data(), static_cast<int>(curve.vertices.size()));
    }
    painter.restore();
}
