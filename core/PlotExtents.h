#pragma once

#include "core/GrowArray.h"

// The range of a series: the extremes of m_dX and m_dY over its points.
// Member order follows the view's declaration: Y max, Y min, X max, X min.
struct CPlotExtents
{
    double m_dYMax = 0.0;
    double m_dYMin = 0.0;
    double m_dXMax = 0.0;
    double m_dXMin = 0.0;
};

// Recomputes the extents of a series (or of window results). With no points
// the extents keep their values. For a series of H values (bHSeries) the Y
// range is fixed to 0..1. A value that compares false both ways (NaN) changes
// nothing, except that a first point's NaN is taken as it stands.
template <class Points>
void UpdatePlotExtents(const Points& points, bool bHSeries, CPlotExtents& extents);

extern template void UpdatePlotExtents(const CSeriesArray&, bool, CPlotExtents&);
extern template void UpdatePlotExtents(const CHPointArray&, bool, CPlotExtents&);
