#pragma once

#include "core/PlotExtents.h"

// A rectangle in pixels: left and top inclusive, right and bottom the far
// edges, as a window's client rectangle gives them.
struct CPlotRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

struct CPixel
{
    int x = 0;
    int y = 0;
    friend bool operator==(const CPixel&, const CPixel&) = default;
};

// Truncates toward zero like a C cast, but with a defined result for every
// input: NaN gives 0 and values beyond +-2^30 are held there, far outside any
// window yet safe for a painter.
// Inline: drawing a long series calls it for every point.
inline int TruncateToPixel(double v)
{
    constexpr double kLimit = 1073741824.0; // 2^30
    if (v >= kLimit)
        return static_cast<int>(kLimit);
    if (v <= -kLimit)
        return -static_cast<int>(kLimit);
    if (v != v) // NaN
        return 0;
    return static_cast<int>(v);
}

// The conversions between the series' values and the pixels of a rectangle.
// Larger Y is higher on the screen. When all points share one X (or one Y)
// the span is zero: such points are placed on the rectangle's left (or
// bottom) edge.
CPixel ValueToPixel(const CPlotRect& rect, const CPlotExtents& e, double x, double y);
int ValueToPixelX(const CPlotRect& rect, const CPlotExtents& e, double x);
int ValueToPixelY(const CPlotRect& rect, const CPlotExtents& e, double y);
// The X value under pixel column px, not rounded. A zero X span gives the X
// minimum.
double PixelToValue(const CPlotRect& rect, const CPlotExtents& e, int px);
// The row of an H value on the fixed scale: 0 at the bottom, 1 at the top.
int HToPixel(const CPlotRect& rect, double h);
// A sliding-window result: its m_dX is an offset from the series' start, its
// m_dY the window's H.
CPixel SlidingResultToPixel(const CPlotRect& rect, const CPlotExtents& e, double plotPosition, double h);
