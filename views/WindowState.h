#pragma once

#include <cstdint>
#include <vector>

#include "core/HDataSet.h"

// What belongs to one window on a document rather than to the document:
// the positions of its ruler's tabs as last calculated, where its
// sliding-window computations plot a result, the width it last computed
// with, and the Meta H it last computed from the results. It goes with the
// window.
struct CWindowState
{
    // Each of the ruler's tabs' X truncated toward zero, ascending.
    std::vector<std::int32_t> m_tabPositions;
    // Where in a sliding window its result is plotted, as a fraction of it.
    double m_dPlotPoint = 0.5;
    // Width of the sliding windows last computed.
    std::int32_t m_nWindowWidth = 0;
    // 1 once a Meta H has been computed from sliding results, 0 after an
    // attempt without any.
    std::int32_t m_bMetaH = 0;
    CHDataSet m_metaHSet;
};
