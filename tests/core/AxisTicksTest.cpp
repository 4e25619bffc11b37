#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "core/AxisTicks.h"

namespace axis_ticks_test {

namespace {

struct TickCase
{
    double lo;
    double hi;
    int maxTicks;
    double step;
    std::vector<double> values;
    int decimals;
};

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

} // namespace

TEST(AxisTicks, RoundStepsOfOneTwoOrFiveTimesAPowerOfTen)
{
    const TickCase cases[] = {
        {0, 1000, 5, 200, {0, 200, 400, 600, 800, 1000}, 0},
        {0, 1000, 4, 500, {0, 500, 1000}, 0},
        {12.6, 57.2, 5, 10, {20, 30, 40, 50}, 0},
        {12.6, 57.2, 10, 5, {15, 20, 25, 30, 35, 40, 45, 50, 55}, 0},
        {0, 1, 5, 0.2, {0, 0.2, 0.4, 0.6, 0.8, 1.0}, 1},
        {-0.35, 0.35, 3, 0.5, {0}, 1},
        {-7, 3, 5, 2, {-6, -4, -2, 0, 2}, 0},
        {0.001, 0.0049, 4, 0.001, {0.001, 0.002, 0.003, 0.004}, 3},
        {1e6, 1e7, 3, 5e6, {5e6, 1e7}, 0},
        {0.5, 0.9, 1, 0.5, {0.5}, 1},
        {1.01, 1.99, 1, 0, {}, 0}, // the step of 1 has no multiple inside
    };
    for (const TickCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.lo << ".." << c.hi << " / " << c.maxTicks);
        const CAxisTicks ticks = ComputeAxisTicks(c.lo, c.hi, c.maxTicks);
        EXPECT_DOUBLE_EQ(ticks.step, c.step);
        ASSERT_EQ(ticks.values.size(), c.values.size());
        for (std::size_t i = 0; i < c.values.size(); ++i)
            EXPECT_NEAR(ticks.values[i], c.values[i], c.step * 1e-9) << i;
        EXPECT_EQ(ticks.decimals, c.decimals);
    }
}

TEST(AxisTicks, NoTicksForRangesWithoutExtent)
{
    const double ranges[][2] = {{5, 5}, {2, 1}, {kNaN, 1}, {0, kInf}, {-1e308, 1e308}};
    for (const auto& r : ranges) {
        const CAxisTicks ticks = ComputeAxisTicks(r[0], r[1], 5);
        EXPECT_TRUE(ticks.values.empty()) << r[0] << ".." << r[1];
        EXPECT_EQ(ticks.step, 0.0);
    }
    EXPECT_TRUE(ComputeAxisTicks(0, 1, 0).values.empty());
}

} // namespace axis_ticks_test
