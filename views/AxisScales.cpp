#include "views/AxisScales.h"

#include <algorithm>

#include <QPen>
#include <QString>

#include "core/Format.h"
#include "core/PlotMapping.h"

namespace {

int TickCount(int pixels, int spacing)
{
    return std::max(1, pixels / spacing);
}

bool KeepsClear(const QRect& r, const std::vector<QRect>& keepClear)
{
    return std::none_of(keepClear.begin(), keepClear.end(), [&r](const QRect& k) { return r.intersects(k); });
}

QString TickText(double value, int decimals)
{
    return QString::fromStdString(FormatFixed(value, decimals));
}

} // namespace

CAxisTicks XAxisTicks(const CPlotExtents& e, int plotWidth)
{
    return ComputeAxisTicks(e.m_dXMin, e.m_dXMax, TickCount(plotWidth, axisscales::kXTickSpacing));
}

CAxisTicks YAxisTicks(const CPlotExtents& e, int plotHeight)
{
    return ComputeAxisTicks(e.m_dYMin, e.m_dYMax, TickCount(plotHeight, axisscales::kYTickSpacing));
}

CAxisTicks HAxisTicks(int plotHeight)
{
    return ComputeAxisTicks(0.0, 1.0, TickCount(plotHeight, axisscales::kYTickSpacing));
}

void DrawAxisGrid(QPainter& painter, int w, int h, const CPlotExtents& extents)
{
    const CPlotRect rect{0, 0, w, h};
    painter.save();
    painter.setPen(QPen(axisscales::kGridColour, 1));
    for (double v : XAxisTicks(extents, w).values) {
        const int x = ValueToPixelX(rect, extents, v);
        if (x > 0 && x <= w)
            painter.drawLine(x, 0, x, h);
    }
    for (double v : YAxisTicks(extents, h).values) {
        const int y = ValueToPixelY(rect, extents, v);
        if (y >= 0 && y < h)
            painter.drawLine(0, y, w, y);
    }
    painter.restore();
}

void DrawAxisScales(QPainter& painter, const QRect& plot, const CPlotExtents& extents,
                    const std::vector<QRect>& keepClear)
{
    using namespace axisscales;
    const int w = plot.width();
    const int h = plot.height();
    const CPlotRect rect{0, 0, w, h};
    const QFontMetrics metrics = painter.fontMetrics();
    const int textHeight = metrics.height();
    const int left = plot.left();
    const int top = plot.top();
    const int bottom = top + h;
    const int right = left + w;
    // A number centred on its row, kept within the plot's height.
    auto rowTop = [&](int y) { return std::clamp(y - textHeight / 2, top, std::max(top, bottom - textHeight)); };

    painter.save();
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setPen(QPen(kTickColour, 1));
    auto write = [&](const QRect& box, const QString& text) {
        if (KeepsClear(box, keepClear))
            painter.drawText(QPoint(box.left(), box.top() + metrics.ascent()), text);
    };

    const CAxisTicks xTicks = XAxisTicks(extents, w);
    for (double v : xTicks.values) {
        const int x = left + ValueToPixelX(rect, extents, v);
        painter.drawLine(x, bottom, x, bottom + kTickLength);
        const QString text = TickText(v, xTicks.decimals);
        const int tw = metrics.horizontalAdvance(text);
        write(QRect(x - tw / 2, bottom + kTickLength, tw, textHeight), text);
    }

    const CAxisTicks yTicks = YAxisTicks(extents, h);
    for (double v : yTicks.values) {
        const int y = top + ValueToPixelY(rect, extents, v);
        painter.drawLine(left - kTickLength, y, left, y);
        const QString text = TickText(v, yTicks.decimals);
        const int tw = metrics.horizontalAdvance(text);
        write(QRect(left - kTickLength - 1 - tw, rowTop(y), tw, textHeight), text);
    }

    // H: 0 at the bottom, 1 at the top, whatever the series' range.
    const CAxisTicks hTicks = HAxisTicks(h);
    for (double v : hTicks.values) {
        const int y = top + HToPixel(rect, v);
        painter.drawLine(right - kTickLength, y, right, y);
        const QString text = TickText(v, hTicks.decimals);
        const int tw = metrics.horizontalAdvance(text);
        write(QRect(right - kTickLength - 2 - tw, rowTop(y), tw, textHeight), text);
    }
    painter.restore();
}
