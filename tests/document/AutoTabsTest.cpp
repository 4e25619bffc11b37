// The Auto-Tab arithmetic the ruler and kestrin-cli share: where the tabs go,
// how many there are, and which intervals are refused with which message.
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "document/AutoTabs.h"

namespace auto_tabs_test {

constexpr double kInf = std::numeric_limits<double>::infinity();

struct CountCase
{
    double xMin, xMax, interval;
    long long count;
    bool stalled;
};

TEST(AutoTabs, CountIsExactAtTheLimit)
{
    const CountCase cases[] = {
        {0.0, 1000.0, 100.0, 9, false},    {0.0, 10001.0, 1.0, 10000, false},
        {0.0, 10002.0, 1.0, 10001, false}, // counting stops one past the limit
        {5.0, 5.0, 1.0, 0, false},         {0.0, 1000.0, kInf, 0, false},
        {1e20, 1e20 + 1e6, 1.0, 1, true}, // steps below the X values' precision never move on
    };
    for (const CountCase& c : cases) {
        bool stalled = !c.stalled;
        EXPECT_EQ(CountGeneratedTabs(c.xMin, c.xMax, c.interval, kMaxGeneratedTabs, stalled), c.count)
            << c.xMin << ".." << c.xMax << " every " << c.interval;
        EXPECT_EQ(stalled, c.stalled) << c.xMin << ".." << c.xMax << " every " << c.interval;
    }
}

TEST(AutoTabs, PlanPlacesEachStepByOneAddition)
{
    const AutoTabPlan plan = PlanAutoTabs(0.5, 1.0, 0.1);
    ASSERT_TRUE(plan.ok);
    std::vector<double> expected;
    for (double x = 0.5 + 0.1; x < 1.0; x += 0.1)
        expected.push_back(x);
    EXPECT_EQ(plan.values, expected); // 0.6, 0.7, 0.7999..., 0.8999..., 0.9999...
    EXPECT_EQ(plan.values.size(), 5u);
    EXPECT_TRUE(PlanAutoTabs(0.0, 100.0, 100.0).values.empty());
    EXPECT_TRUE(PlanAutoTabs(0.0, 100.0, 100.0).ok);
}

TEST(AutoTabs, PlanRefusesWithTheMessageToShow)
{
    const struct
    {
        double xMin, xMax, interval;
        std::string message;
    } cases[] = {
        {0.0, 100.0, 0.0, "The tab interval must be a number greater than 0."},
        {0.0, 100.0, -1.0, "The tab interval must be a number greater than 0."},
        {0.0, 100.0, std::nan(""), "The tab interval must be a number greater than 0."},
        {1e20, 1e20 + 1e6, 1.0,
         "An interval of 1 is too small for the X values of this series: the tabs would not move apart. "
         "Please choose a larger interval."},
        {0.0, 1000.0, 0.05,
         "An interval of 0.05 would create 19999 tabs; at most 10000 tabs can be generated. "
         "Please choose a larger interval."},
        {0.0, 1e300, 1e290,
         "An interval of 1e+290 would create 9999999999 tabs; at most 10000 tabs can be generated. "
         "Please choose a larger interval."},
        {0.0, 1e300, 1e-300,
         "An interval of 1e-300 would create more than 1e308 tabs; at most 10000 tabs can be generated. "
         "Please choose a larger interval."},
    };
    for (const auto& c : cases) {
        const AutoTabPlan plan = PlanAutoTabs(c.xMin, c.xMax, c.interval);
        EXPECT_FALSE(plan.ok) << c.interval;
        EXPECT_TRUE(plan.values.empty()) << c.interval;
        EXPECT_EQ(plan.message, c.message);
    }
}

TEST(AutoTabs, TruncationIsDefinedForEveryValue)
{
    const auto kMax = std::numeric_limits<std::int32_t>::max();
    const auto kMin = std::numeric_limits<std::int32_t>::min();
    const struct
    {
        double x;
        std::int32_t position;
    } cases[] = {
        {2.7, 2},
        {-2.7, -2},
        {std::nan(""), 0},
        {2147483646.9, 2147483646},
        {2147483647.5, kMax},
        {1e300, kMax},
        {kInf, kMax},
        {-2147483648.9, kMin},
        {-1e300, kMin},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TruncateToTabPosition(c.x), c.position) << c.x;
}

} // namespace auto_tabs_test
