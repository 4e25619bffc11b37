#include "core/PlotMapping.h"

int ValueToPixelX(const CPlotRect& r, const CPlotExtents& e, double x)
{
    const double span = e.m_dXMax - e.m_dXMin;
    if (span == 0.0)
        return r.left;
    return TruncateToPixel(r.left + (x - e.m_dXMin) / span * (r.right - r.left));
}

int ValueToPixelY(const CPlotRect& r, const CPlotExtents& e, double y)
{
    const double span = e.m_dYMax - e.m_dYMin;
    if (span == 0.0)
        return r.bottom;
    return TruncateToPixel(r.bottom - (y - e.m_dYMin) / span * (r.bottom - r.top));
}

CPixel ValueToPixel(const CPlotRect& r, const CPlotExtents& e, double x, double y)
{
    return {ValueToPixelX(r, e, x), ValueToPixelY(r, e, y)};
}

double PixelToValue(const CPlotRect& r, const CPlotExtents& e, int px)
{
    const int width = r.right - r.left;
    if (width == 0)
        return e.m_dXMin;
    return e.m_dXMin + static_cast<double>(px - r.left) / width * (e.m_dXMax - e.m_dXMin);
}

int HToPixel(const CPlotRect& r, double h)
{
    return TruncateToPixel(r.bottom - h * (r.bottom - r.top));
}

CPixel SlidingResultToPixel(const CPlotRect& r, const CPlotExtents& e, double plotPosition, double h)
{
    return {ValueToPixelX(r, e, plotPosition + e.m_dXMin), HToPixel(r, h)};
}
