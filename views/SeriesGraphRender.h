#pragma once

#include <QPainter>

#include "GrowArray.h"
#include "PlotExtents.h"

// What a fresh drawing of the series graph needs, gathered from the document
// and the view so that it can be drawn into any paint device.
struct CSeriesGraphData
{
    const CHPointArray* points = nullptr;
    CPlotExtents extents;
    double dH = 0.0;
    double dR = 0.0;
    int nCount = 0;
};

// Draws the axes, the series, the whole-series H line and its label into a
// w by h area at (0, 0). reduce: join the points of each pixel column by the
// few segments that shape it instead of every segment.
void DrawSeriesGraph(QPainter& painter, int w, int h, const CSeriesGraphData& data, bool reduce = true);
