#pragma once

#include <optional>

// Where an observed H meets a quantile of the replicates' estimates that
// rises with the trial exponent h, over [lowest, highest]: the bisection
// that the bootstrap and the interval band's grid both run.

// The result: the observed H lies below the quantile at lowest (belowLowest),
// above it at highest (aboveHighest), or between q(lo) and q(hi) of the final
// bracket, q(lo) < observed <= q(hi) but for a bracket that never moved
// from an end. stopped: quantileAt gave nothing (a cancelled run).
struct CCrossingBracket
{
    double lo = 0.0;
    double hi = 0.0;
    double qLo = 0.0;
    double qHi = 0.0;
    bool belowLowest = false;
    bool aboveHighest = false;
    bool stopped = false;
};

// quantileAt(h) -> std::optional<double>: the quantile at h, nothing to
// stop. It is asked at lowest, then (unless the observed H lies below)
// highest, then at the middles of `steps` bisections.
template <class QuantileAt>
CCrossingBracket BisectCrossing(double observed, double lowest, double highest, int steps, QuantileAt&& quantileAt)
{
    CCrossingBracket b;
    b.lo = lowest;
    b.hi = highest;
    const std::optional<double> atLow = quantileAt(lowest);
    if (!atLow) {
        b.stopped = true;
        return b;
    }
    b.qLo = *atLow;
    if (observed < b.qLo) {
        b.belowLowest = true;
        return b;
    }
    const std::optional<double> atHigh = quantileAt(highest);
    if (!atHigh) {
        b.stopped = true;
        return b;
    }
    b.qHi = *atHigh;
    if (observed > b.qHi) {
        b.aboveHighest = true;
        return b;
    }
    for (int step = 0; step < steps; ++step) {
        const double mid = 0.5 * (b.lo + b.hi);
        const std::optional<double> atMid = quantileAt(mid);
        if (!atMid) {
            b.stopped = true;
            return b;
        }
        if (*atMid < observed) {
            b.lo = mid;
            b.qLo = *atMid;
        } else {
            b.hi = mid;
            b.qHi = *atMid;
        }
    }
    return b;
}
