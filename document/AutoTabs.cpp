#include "document/AutoTabs.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/Format.h"

namespace {

// A count too large to print in full is shown in exponent form; one beyond
// the range of a double (a span over a tiny interval) is said in words.
std::string CountText(double count)
{
    if (!std::isfinite(count))
        return "more than 1e308";
    return count < 1e15 ? FormatFixed(count, 0) : FormatRoundTrip(count);
}

} // namespace

long long CountGeneratedTabs(double xMin, double xMax, double interval, long long limit, bool& stalled)
{
    // The same additions as the placing loop, so the count is exact.
    stalled = false;
    long long count = 0;
    double x = xMin + interval;
    while (x < xMax) {
        ++count;
        if (count > limit)
            break;
        const double next = x + interval;
        if (!(next > x)) {
            stalled = true;
            break;
        }
        x = next;
    }
    return count;
}

AutoTabPlan PlanAutoTabs(double xMin, double xMax, double interval)
{
    AutoTabPlan plan;
    if (!(interval > 0.0)) {
        plan.message = "The tab interval must be a number greater than 0.";
        return plan;
    }
    bool stalled = false;
    const long long count = CountGeneratedTabs(xMin, xMax, interval, kMaxGeneratedTabs, stalled);
    if (stalled) {
        plan.message = "An interval of " + FormatRoundTrip(interval) +
                       " is too small for the X values of this series: the tabs would not move apart. "
                       "Please choose a larger interval.";
        return plan;
    }
    if (count > kMaxGeneratedTabs) {
        // The exact count would take as many steps as tabs; the span over the
        // interval says how many there would be.
        const double wouldBe = std::max(std::ceil((xMax - xMin) / interval) - 1.0, static_cast<double>(count));
        plan.message = "An interval of " + FormatRoundTrip(interval) + " would create " + CountText(wouldBe) +
                       " tabs; at most " + std::to_string(kMaxGeneratedTabs) +
                       " tabs can be generated. Please choose a larger interval.";
        return plan;
    }
    plan.ok = true;
    plan.values.reserve(static_cast<std::size_t>(count));
    for (double x = xMin + interval; x < xMax; x += interval)
        plan.values.push_back(x);
    return plan;
}

std::int32_t TruncateToTabPosition(double x)
{
    constexpr double kMax = std::numeric_limits<std::int32_t>::max();
    constexpr double kMin = std::numeric_limits<std::int32_t>::min();
    if (std::isnan(x))
        return 0;
    if (x >= kMax)
        return std::numeric_limits<std::int32_t>::max();
    if (x <= kMin)
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(x);
}
