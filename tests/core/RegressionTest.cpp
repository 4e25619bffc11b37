#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "core/Regression.h"

namespace regression_test {

namespace {

CHPointArray Points(std::initializer_list<std::pair<double, double>> xy)
{
    CHPointArray a;
    for (auto [x, y] : xy) {
        CHPoint p;
        p.m_dX = x;
        p.m_dY = y;
        a.Add(p);
    }
    return a;
}

} // namespace

TEST(Regression, LinesGiveTheirSlopeAndFullCorrelation)
{
    const CHPointArray up = Points({{1, 2}, {2, 4}, {3, 6}});
    EXPECT_EQ(LeastSquaresSlope(up), 2.0);
    EXPECT_EQ(PearsonCorrelation(up), 1.0);
    const CHPointArray down = Points({{1, 6}, {2, 4}, {3, 2}});
    EXPECT_EQ(LeastSquaresSlope(down), -2.0);
    EXPECT_EQ(PearsonCorrelation(down), -1.0);
}

TEST(Regression, DegenerateArraysGiveZero)
{
    const CHPointArray empty;
    EXPECT_EQ(LeastSquaresSlope(empty), 0.0);
    EXPECT_EQ(PearsonCorrelation(empty), 0.0);
    const CHPointArray single = Points({{3, 4}});
    EXPECT_EQ(LeastSquaresSlope(single), 0.0);
    EXPECT_EQ(PearsonCorrelation(single), 0.0);
    const CHPointArray sameX = Points({{2, 1}, {2, 5}, {2, 9}});
    EXPECT_EQ(LeastSquaresSlope(sameX), 0.0);
    EXPECT_EQ(PearsonCorrelation(sameX), 0.0);
    const CHPointArray flat = Points({{1, 7}, {2, 7}, {3, 7}});
    EXPECT_EQ(LeastSquaresSlope(flat), 0.0);
    EXPECT_EQ(PearsonCorrelation(flat), 0.0);
}

TEST(Regression, NotANumber)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const CHPointArray nanX = Points({{1, 2}, {nan, 4}, {3, 6}});
    EXPECT_EQ(LeastSquaresSlope(nanX), 0.0);
    EXPECT_EQ(PearsonCorrelation(nanX), 0.0);
    const CHPointArray nanY = Points({{1, 2}, {2, nan}, {3, 6}});
    EXPECT_TRUE(std::isnan(LeastSquaresSlope(nanY)));
    EXPECT_EQ(PearsonCorrelation(nanY), 0.0);
}

TEST(PointArray, GrowsWithZeroRecordsAndAppendsAtTheEnd)
{
    static_assert(sizeof(CHPoint) == 40);
    CHPointArray a;
    a.SetSize(3);
    ASSERT_EQ(a.GetSize(), 3);
    for (const CHPoint& p : a) {
        EXPECT_EQ(p.m_nCount, 0);
        EXPECT_EQ(p.m_dX, 0.0);
        EXPECT_EQ(p.m_dY, 0.0);
        EXPECT_EQ(p.m_dB, 0.0);
        EXPECT_EQ(p.m_dR, 0.0);
    }
    CHPoint p;
    p.m_dY = 5;
    EXPECT_EQ(a.Add(p), 3);
    EXPECT_EQ(a[3].m_dY, 5.0);
    a.RemoveAll();
    EXPECT_EQ(a.GetSize(), 0);
}

} // namespace regression_test
