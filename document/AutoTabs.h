#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The tabs Auto-Tab places: one at xMin + interval, xMin + 2 interval, ...
// strictly below xMax, each step one addition, as the ruler places them.
struct AutoTabPlan
{
    bool ok = false;
    std::vector<double> values; // the tabs' X values, ascending, when ok
    std::string message;        // why no tabs can be placed, when not ok
};

// At most this many tabs are generated at once.
inline constexpr long long kMaxGeneratedTabs = 10000;

// The tabs for one interval over [xMin, xMax). Refuses (ok false, with the
// message to show) an interval of 0 or less or not a number, one below the
// precision of the X values (a step would not move), and one that would make
// more than kMaxGeneratedTabs tabs.
AutoTabPlan PlanAutoTabs(double xMin, double xMax, double interval);

// How many tabs the plan places from xMin + interval in steps of interval
// strictly below xMax, counting no further than limit + 1. Sets stalled when
// a step no longer moves (an interval below the values' precision).
long long CountGeneratedTabs(double xMin, double xMax, double interval, long long limit, bool& stalled);

// A tab's X as a tab position: truncated toward zero, NaN as 0, values beyond
// the 32-bit range held at its ends.
std::int32_t TruncateToTabPosition(double x);
