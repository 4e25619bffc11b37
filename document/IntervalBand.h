#pragma once

#include <cstdint>
#include <limits>
#include <vector>

// The interval band of the sliding windows: for every window, the corrected
// H and the bootstrap interval read from one bootstrap grid shared by all
// windows of a run (analysis/IntervalBand.h computes it). The document keeps
// it beside its sliding-window results, window for window in their order;
// a window's X is that of its result, so moving the plot points moves the
// band with them.

// How a value was found, as the bootstrap says it: the h solved for, or an
// edge of the searched range that the solution lies at or below / at or
// above.
enum class EBandBound : std::uint8_t
{
    Value = 0,
    AtOrBelow = 1,
    AtOrAbove = 2,
};

struct CBandWindow
{
    // NaN when the window's H cannot be reached (then all three are NaN).
    double corrected = std::numeric_limits<double>::quiet_NaN();
    double low = std::numeric_limits<double>::quiet_NaN();
    double high = std::numeric_limits<double>::quiet_NaN();
    EBandBound correctedBound = EBandBound::Value;
    EBandBound lowBound = EBandBound::Value;
    EBandBound highBound = EBandBound::Value;

    bool Reached() const { return corrected == corrected; }
};

// The model check of a band, made at the window width on a sample of
// non-overlapping windows: each window's check fails with probability
// expectedShare when the series is like the model (measured on the band's
// replicates; 0.05, the single check's level, in bands saved before it was).
struct CBandCheck
{
    std::int32_t windows = 0; // windows checked (0: no check could be made)
    std::int32_t failing = 0; // of those, the ones whose settings disagree
    double expectedShare = 0.05;
    // The chance of at least `failing` failures among `windows` independent
    // windows under the model.
    double pValue = 1.0;
    bool passed = true;
};

struct CIntervalBand
{
    // What the grid was computed with.
    std::int32_t replicates = 0;
    std::uint64_t seed = 0;
    double level = 0.95;
    std::int32_t width = 0;
    std::int32_t nD = 0;
    std::int32_t nM = 0;
    // The first lag of the windows' fits (and of the replicates').
    std::int32_t nRMin = 1;
    // The whole series' noise-or-motion decision and the model it chose, as
    // the numbers of analysis/Bootstrap.h's EBootstrapModel and
    // analysis/SeriesKind.h's ESeriesInput and ESeriesKind.
    std::int32_t model = 0;
    std::int32_t input = 0;
    bool isProfile = false;
    double alpha = 0.0;
    std::int32_t measured = 0;
    std::int32_t estimatedAs = 0;
    CBandCheck check;
    std::vector<CBandWindow> windows;
};
