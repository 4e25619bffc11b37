#include "views/HGraphRender.h"

#include <algorithm>
#include <cmath>

#include <QPen>
#include <QString>

#include "views/ClippedLines.h"
#include "views/HCurveRender.h"
#include "views/IntervalBandRender.h"
#include "core/Format.h"
#include "core/PlotMapping.h"

namespace {

const QColor kIntervalColour(255, 0, 255);

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
        const bool zoomed = data.shown.has_value();
        for (std::size_t i = 0; i < intervals; ++i) {
            const int xEnd =
                i == tabCount ? w : ValueToPixelX(client, data.Shown(), static_cast<double>(data.tabPositions[i]));
            const double hValue = data.intervalH[i];
            // An H above 1 or below 0 lies outside the area: no line.
            if (std::isfinite(hValue))
                DrawClippedHLine(painter, w, h, xStart, xEnd, HToPixel(client, hValue), zoomed);
            const QString label = QString::fromStdString("H: " + FormatFixed(hValue, 2));
            if (!zoomed)
                painter.drawText(QPoint(xStart, ascent), label);
            else if (xEnd >= 0 && xStart < w)
                painter.drawText(QPoint(std::max(xStart, 0), ascent), label);
            xStart = xEnd + 1;
        }
    }

    if (data.windows && data.windows->GetSize() > 1 && data.band)
        DrawIntervalBand(painter, w, h, data, *data.band, detail);
    DrawHCurve(painter, w, h, data, reduce, detail);
    painter.restore();
}
