#pragma once

#include <cstdint>
#include <vector>

#include "core/HDataSet.h"

// One tab of a window's ruler: the X it stands for and whether it keeps that
// X (placed at a value) or takes the value of its ruler column whenever the
// tabs are calculated (placed by a double-click or dragged).
struct CWindowTab
{
    double value = 0.0;
    bool fixed = false;
    // The tab's column on the ruler at full view: where its marker stands
    // there, and the column a tab that follows its column takes its value
    // from, whatever range the window shows.
    int column = 0;
};

// A part of the series a window shows in place of the whole of it: an X
// range, and a Y range too after a rectangle was dragged (otherwise the
// series' own Y extremes).
struct CShownRange
{
    double xMin = 0.0;
    double xMax = 0.0;
    bool yZoomed = false;
    double yMin = 0.0;
    double yMax = 0.0;

    friend bool operator==(const CShownRange&, const CShownRange&) = default;
};

// What belongs to one window on a document rather than to the document:
// its ruler's tabs, their positions as last calculated, where its
// sliding-window computations plot a result, the width it last computed
// with, the Meta H it last computed from the results, and the range of the
// series it shows. It goes with the window.
struct CWindowState
{
    // The ruler's tabs, in the order of their creation. The ruler shows them
    // and only reports the user's changes; it keeps no value of its own.
    std::vector<CWindowTab> m_tabs;
    // Each tab's X truncated toward zero, ascending, as last calculated: the
    // positions the document's intervals were last built from by this window.
    std::vector<std::int32_t> m_tabPositions;
    // Where in a sliding window its result is plotted, as a fraction of it.
    double m_dPlotPoint = 0.5;
    // Width of the sliding windows last computed.
    std::int32_t m_nWindowWidth = 0;
    // 1 once a Meta H has been computed from sliding results, 0 after an
    // attempt without any.
    std::int32_t m_bMetaH = 0;
    CHDataSet m_metaHSet;
    // The zoom: the ranges shown, each step after the one before it; the
    // last is shown. Empty: the whole series. Display only: the analyses,
    // the tabs' calculation and the exports read the series' extents.
    std::vector<CShownRange> m_zoom;
};
