#pragma once

#include <string>

#include <QPainter>

#include "core/PlotExtents.h"

// What the legend writes: its two titles and the series' extents, as the
// view last handed them over.
struct CLegendData
{
    std::string bottomTitle;
    std::string leftTitle;
    CPlotExtents extents;
    // A series of H values: its Y extents get one decimal.
    bool hSeries = false;
    // The round ticks and numbers of the axes and the H scale, too; the two
    // titles then trade places, each beside the axis it names.
    bool axisScales = false;
};

// Writes the legend into the margins of a view area of cx by cy pixels
// whose plot rectangle has the view's margins. Text uses the painter's font.
void DrawLegend(QPainter& painter, int cx, int cy, const CLegendData& data);
