#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "core/PlotMapping.h"

namespace plot_mapping_test {

namespace {

CPlotExtents Extents(double xMin, double xMax, double yMin, double yMax)
{
    CPlotExtents e;
    e.m_dXMin = xMin;
    e.m_dXMax = xMax;
    e.m_dYMin = yMin;
    e.m_dYMax = yMax;
    return e;
}

} // namespace

TEST(PlotMapping, ValuesMapToTruncatedPixelsWithLargerYHigher)
{
    const CPlotRect r{0, 0, 500, 300};
    const CPlotExtents e = Extents(0, 1000, 10, 20);
    EXPECT_EQ(ValueToPixel(r, e, 0, 10), (CPixel{0, 300}));
    EXPECT_EQ(ValueToPixel(r, e, 1000, 20), (CPixel{500, 0}));
    // 333 / 1000 * 500 = 166.5 -> 166; 300 - 0.37 * 300 = 189 exactly.
    EXPECT_EQ(ValueToPixel(r, e, 333, 13.7), (CPixel{166, 189}));
    // Truncation goes toward zero, also left of the rectangle.
    EXPECT_EQ(ValueToPixelX(r, e, -1.5), 0);
    EXPECT_EQ(ValueToPixelX(r, e, -3), -1);
    // An offset rectangle adds its left edge and counts from its bottom.
    const CPlotRect offset{40, 25, 540, 325};
    EXPECT_EQ(ValueToPixel(offset, e, 500, 15), (CPixel{290, 175}));
}

TEST(PlotMapping, PixelToValueInvertsTheColumnWithoutRounding)
{
    const CPlotRect r{0, 0, 500, 15};
    const CPlotExtents e = Extents(0, 1000, 0, 1);
    EXPECT_DOUBLE_EQ(PixelToValue(r, e, 100), 200.0);
    EXPECT_DOUBLE_EQ(PixelToValue(r, e, 1), 2.0);
    const CPlotExtents odd = Extents(3, 10, 0, 1);
    EXPECT_DOUBLE_EQ(PixelToValue(r, odd, 250), 6.5);
}

TEST(PlotMapping, HUsesTheFixedZeroToOneScale)
{
    const CPlotRect r{0, 0, 600, 400};
    EXPECT_EQ(HToPixel(r, 0.0), 400);
    EXPECT_EQ(HToPixel(r, 1.0), 0);
    EXPECT_EQ(HToPixel(r, 0.775994), 89); // 400 - 310.3976 = 89.6 -> 89
    EXPECT_LT(HToPixel(r, 1.2), 0);
    EXPECT_GT(HToPixel(r, -0.5), 400);
    // A sliding result's position counts from the series' first X.
    const CPlotExtents e = Extents(100, 1100, 0, 50);
    EXPECT_EQ(SlidingResultToPixel(r, e, 500, 0.5), (CPixel{300, 200}));
}

TEST(PlotMapping, DegenerateSpansAndNonFiniteValuesGiveDefinedPixels)
{
    const CPlotRect r{40, 25, 540, 325};
    // All points share one X and one Y: left and bottom edges.
    const CPlotExtents flat = Extents(7, 7, 3, 3);
    EXPECT_EQ(ValueToPixel(r, flat, 7, 3), (CPixel{40, 325}));
    EXPECT_DOUBLE_EQ(PixelToValue(r, flat, 300), 7.0);
    const CPlotRect empty{10, 10, 10, 10};
    EXPECT_DOUBLE_EQ(PixelToValue(empty, Extents(0, 5, 0, 1), 10), 0.0);

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const CPlotExtents e = Extents(0, 1000, 0, 1);
    EXPECT_EQ(TruncateToPixel(nan), 0);
    EXPECT_EQ(TruncateToPixel(inf), 1 << 30);
    EXPECT_EQ(TruncateToPixel(-inf), -(1 << 30));
    EXPECT_EQ(TruncateToPixel(1e300), 1 << 30);
    EXPECT_EQ(ValueToPixelX(r, e, nan), 0);
    EXPECT_EQ(ValueToPixelY(r, e, 1e308), -(1 << 30));
    EXPECT_EQ(HToPixel(r, nan), 0);
}

} // namespace plot_mapping_test
