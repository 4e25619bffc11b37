#pragma once

#include <vector>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QString>

#include "views/Legend.h"

// What a legend should look like, drawn independently of its own painting:
// each label black on an opaque white cell, its top-left corner at its point.
struct LegendLabel
{
    QString text;
    QPoint topLeft;
};

// The legend alone, painted over a plain image of its size in colour under.
inline QImage RenderLegend(CLegend& legend, QRgb under)
{
    QImage image(legend.size(), QImage::Format_RGB32);
    image.fill(under);
    legend.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    return image;
}

inline QImage ExpectedLegend(const CLegend& legend, const std::vector<LegendLabel>& labels, QRgb under)
{
    QImage image(legend.size(), QImage::Format_RGB32);
    image.fill(under);
    QPainter painter(&image);
    painter.setFont(legend.font());
    painter.setPen(Qt::black);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(Qt::white);
    const QFontMetrics fm(legend.font());
    for (const LegendLabel& label : labels)
        painter.drawText(label.topLeft + QPoint(0, fm.ascent()), label.text);
    return image;
}

// The four extents' labels of a legend cx by cy pixels in size: X minimum
// under the left end of the axis, X maximum ending at its right end, Y
// minimum 25 pixels above the plot's bottom, Y maximum level with its top.
inline std::vector<LegendLabel> LegendExtentLabels(const CLegend& legend, const QString& xMin, const QString& xMax,
                                                   const QString& yMin, const QString& yMax, int cx, int cy)
{
    const QFontMetrics fm(legend.font());
    return {{xMin, {40, cy - 40}},
            {xMax, {cx - 10 - fm.horizontalAdvance(xMax), cy - 40}},
            {yMin, {0, cy - 40 - 25}},
            {yMax, {0, 25}}};
}
