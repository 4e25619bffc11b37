#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include <QPainter>

#include "core/GrowArray.h"
#include "core/PlotExtents.h"
#include "document/IntervalBand.h"

// What the H graph draws, gathered from the document, the ruler and the
// view so that it can be drawn into any paint device.
struct CHGraphData
{
    // The series' extents: a sliding-window result's plot position counts
    // from their X minimum.
    CPlotExtents extents;
    // The range the window shows when zoomed; none: the whole series.
    std::optional<CPlotExtents> shown;
    // The ruler's tab positions, ascending.
    std::vector<std::int32_t> tabPositions;
    // H of each interval that has an estimator, left to right: at most one
    // more than the tab positions.
    std::vector<double> intervalH;
    // The sliding-window results; null or empty for none.
    const CHPointArray* windows = nullptr;
    // The interval band of those results, when there is one: drawn behind
    // the curve (IntervalBandRender.h).
    const CIntervalBand* band = nullptr;

    // The range the picture maps X with.
    const CPlotExtents& Shown() const { return shown ? *shown : extents; }
    // Whether anything is drawn at all.
    bool IsEmpty() const { return tabPositions.empty() && (!windows || windows->IsEmpty()); }
};

// Draws the interval lines with their "H: %.2f" labels along the top edge
// and the sliding-window curve into a w by h area at (0, 0), over what the
// device holds. Text uses the painter's font. Zoomed, a label of an interval
// that begins left of the area stands at its left edge. reduce: the curve keeps only
// the vertices that shape each pixel column (at most four: first, lowest,
// highest, last), for files that would otherwise hold one vertex per window;
// the window draws every one. detail: the curve is traced at that many times
// the area's resolution (a printed page drawn at the window's size).
void DrawHGraph(QPainter& painter, int w, int h, const CHGraphData& data, bool reduce = false, double detail = 1.0);
