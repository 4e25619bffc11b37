#pragma once

// One point of a series: its value (Y) at its position (X). Only these two
// are kept for a series (a .kst document stores exactly them): CSeriesArray
// holds them in two arrays, 16 * N bytes for N points, and passes its points
// around as this value. Window results, slopes and correlation pairs keep
// their count, b and r in a CHPoint.
struct CSeriesPoint
{
    double m_dY = 0.0; // the value plotted upward
    double m_dX = 0.0; // position along the series
};

static_assert(sizeof(CSeriesPoint) == 16, "CSeriesPoint must stay 16 bytes");
