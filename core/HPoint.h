#pragma once

#include <cstdint>

// One point-like record: a sliding-window result, a slope-window result or a
// correlation pair. A plain value type (no virtual functions) of exactly 40
// bytes; a series keeps only X and Y (CSeriesArray, read as CSeriesPoint).
struct CHPoint
{
    std::int32_t m_nCount = 0; // values behind the point (window results)
    double m_dY = 0.0;         // the value plotted upward
    double m_dX = 0.0;         // position along the series
    double m_dB = 0.0;         // regression slope of a window's estimator
    double m_dR = 0.0;         // correlation of a window's estimator
};

static_assert(sizeof(CHPoint) == 40, "CHPoint must stay 40 bytes");
