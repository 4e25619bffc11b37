#pragma once

#include <QRect>

#include "core/PlotMapping.h"

// Where the layers of the picture lie in a view area of cx by cy pixels.
// Margins: left 40, top 25, right 10, bottom 40.
inline QRect PicturePlotRect(int cx, int cy)
{
    return QRect(40, 25, (cx - 10) - 40, (cy - 40) - 25);
}

// The ruler: 15 pixels high above the plot, with its left and right edges.
inline QRect PictureRulerRect(int cx)
{
    return QRect(40, 5, (cx - 10) - 40, 15);
}

// A window's client rectangle as the plot mappings take it.
inline CPlotRect PlotRectOf(const QRect& r)
{
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}
