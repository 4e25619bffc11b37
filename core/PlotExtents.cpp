#include "core/PlotExtents.h"

template <class Points>
void UpdatePlotExtents(const Points& points, bool bHSeries, CPlotExtents& e)
{
    if (points.IsEmpty())
        return;
    const auto first = points[0];
    e.m_dXMin = e.m_dXMax = first.m_dX;
    e.m_dYMin = e.m_dYMax = first.m_dY;
    if (bHSeries) {
        e.m_dYMax = 1.0;
        e.m_dYMin = 0.0;
    }
    for (const auto& p : points) {
        if (e.m_dXMin > p.m_dX) e.m_dXMin = p.m_dX;
        if (e.m_dXMax < p.m_dX) e.m_dXMax = p.m_dX;
        if (!bHSeries) {
            if (e.m_dYMin > p.m_dY) e.m_dYMin = p.m_dY;
            if (e.m_dYMax < p.m_dY) e.m_dYMax = p.m_dY;
        }
    }
}

template void UpdatePlotExtents(const CSeriesArray&, bool, CPlotExtents&);
template void UpdatePlotExtents(const CHPointArray&, bool, CPlotExtents&);
