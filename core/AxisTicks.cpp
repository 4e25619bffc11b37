#include "core/AxisTicks.h"

#include <cmath>

namespace {

// More ticks than this are never asked for by a picture; it also keeps a
// range that is tiny against its values from looping for long.
constexpr long long kMaxValues = 100000;

} // namespace

CAxisTicks ComputeAxisTicks(double lo, double hi, int maxTicks)
{
    CAxisTicks ticks;
    if (!std::isfinite(lo) || !std::isfinite(hi) || !(hi > lo) || maxTicks < 1)
        return ticks;
    const double span = hi - lo;
    if (!std::isfinite(span))
        return ticks;
    const double raw = span / maxTicks;
    const int exponent = static_cast<int>(std::floor(std::log10(raw)));
    const double magnitude = std::pow(10.0, exponent);
    // The smallest of 1, 2, 5, 10 times the magnitude that is at least raw;
    // the small allowance keeps an exact fit (span 10 over 5 ticks: step 2)
    // from going one size up through rounding.
    double step = 10.0 * magnitude;
    int stepExponent = exponent + 1;
    for (double factor : {1.0, 2.0, 5.0}) {
        if (factor * magnitude >= raw * (1.0 - 1e-9)) {
            step = factor * magnitude;
            stepExponent = exponent;
            break;
        }
    }
    const double tolerance = step * 1e-6;
    const double first = std::ceil((lo - tolerance) / step);
    const double last = std::floor((hi + tolerance) / step);
    if (!(last >= first) || last - first >= kMaxValues)
        return ticks;
    ticks.step = step;
    // Each value is its index times the step, so errors do not add up.
    for (double k = first; k <= last; k += 1.0) {
        double v = k * step;
        if (std::fabs(v) < tolerance)
            v = 0.0;
        ticks.values.push_back(v);
    }
    ticks.decimals = stepExponent < 0 ? -stepExponent : 0;
    return ticks;
}
