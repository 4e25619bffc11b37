#pragma once

#include <vector>

#include <QPainter>

#include "core/PlotExtents.h"

// The ruler strip and its tabs as a picture.
struct CRulerData
{
    bool enabled = false;
    // Each tab's value and its left edge on the ruler that showed it, which
    // was shownWidth pixels wide.
    struct Tab
    {
        double value = 0.0;
        int left = 0;
    };
    std::vector<Tab> tabs;
    int shownWidth = 0;
};

// The strip: a line across at mid-height and a line down at each end, red
// while tabs can be placed and grey otherwise, in a w by h area at (0, 0).
void DrawRuler(QPainter& painter, int w, int h, bool enabled);

// The tabs' markers (their normal image) on a ruler w pixels wide: at the
// left edges they had when w is the width they were shown at, otherwise at
// their values' columns.
void DrawRulerTabs(QPainter& painter, int w, const CRulerData& data, const CPlotExtents& extents);
