#include "views/LegendRender.h"

#include <vector>

#include <QFontMetrics>

#include "views/AxisScales.h"
#include "core/Format.h"
#include "views/PictureLayout.h"
#include "platform/TextEncoding.h"

namespace {

// Writes text with its top-left corner at (x, y) and returns the cell it
// takes. In opaque mode the painter fills that cell (the text's advance by
// ascent + descent) with the background brush before drawing the glyphs.
QRect TextOutAt(QPainter& painter, int x, int y, const QString& text)
{
    const QFontMetrics metrics = painter.fontMetrics();
    painter.drawText(QPoint(x, y + metrics.ascent()), text);
    return QRect(x, y, metrics.horizontalAdvance(text), metrics.height());
}

// Titles come from document files and database fields and are kept byte
// for byte; they need not be valid UTF-8.
QString TitleText(const std::string& title)
{
    return QString::fromStdString(DisplayText(title));
}

QString Number(double value, int decimals)
{
    return QString::fromStdString(FormatFixed(value, decimals));
}

} // namespace

void DrawLegend(QPainter& painter, int cx, int cy, const CLegendData& data)
{
    // The labels stand around the plot rectangle.
    const QRect plot = PicturePlotRect(cx, cy);
    const int plotRight = plot.x() + plot.width();
    const int plotBottom = plot.y() + plot.height();
    painter.save();
    painter.setPen(Qt::black);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(QBrush(Qt::white));

    const CPlotExtents& e = data.extents;
    std::vector<QRect> labels;
    // With the axes' scales each title stands beside the axis whose values
    // it names: the left title (the X field) under the plot, the bottom one
    // (the Y field) in the left margin.
    const std::string& bottomTitle = data.axisScales ? data.leftTitle : data.bottomTitle;
    const std::string& leftTitle = data.axisScales ? data.bottomTitle : data.leftTitle;
    labels.push_back(TextOutAt(painter, cx / 2, plotBottom, TitleText(bottomTitle)));
    labels.push_back(TextOutAt(painter, 0, cy / 2, TitleText(leftTitle)));

    labels.push_back(TextOutAt(painter, plot.x(), plotBottom, Number(e.m_dXMin, 0)));
    // The X maximum ends where the X axis ends.
    const QString xMax = Number(e.m_dXMax, 0);
    labels.push_back(TextOutAt(painter, plotRight - painter.fontMetrics().horizontalAdvance(xMax), plotBottom, xMax));

    // H values lie between 0 and 1: one decimal tells them apart.
    const int yDecimals = data.hSeries ? 1 : 0;
    labels.push_back(TextOutAt(painter, 0, plotBottom - 25, Number(e.m_dYMin, yDecimals)));
    labels.push_back(TextOutAt(painter, 0, plot.y(), Number(e.m_dYMax, yDecimals)));

    if (data.axisScales) {
        // Empty titles take no room.
        std::erase_if(labels, [](const QRect& r) { return r.width() <= 0; });
        DrawAxisScales(painter, plot, e, labels);
    }
    painter.restore();
}
