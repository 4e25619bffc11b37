#pragma once

#include <cstddef>
#include <vector>

// Detrended fluctuation analysis of order 1 (DFA-1). The series' profile
// (the running sum of its departures from the mean) is cut, at each scale s,
// into floor(n / s) non-overlapping windows from the start and as many from
// the end (2 floor(n / s) windows). In each window a least-squares line is
// fitted to the profile against the position; the residual mean square of
// the window is the mean squared departure from that line. F(s) is the
// square root of the mean of the windows' residual mean squares, and alpha
// the least-squares slope of log10 F(s) on log10 s.
//
// For fractional Gaussian noise of exponent H alpha is about H; for
// fractional Brownian motion (its running sum) about H + 1.

// The least scale by default: a line through fewer points leaves too little.
constexpr int kDfaDefaultMinScale = 4;
// Scales per octave of the log grid.
constexpr int kDfaScalesPerOctave = 4;

struct CDfaResult
{
    // The fit points, by increasing scale: the scales and F at each. Scales
    // where F is 0 (a window set that lines fit exactly) are left out.
    std::vector<int> scales;
    std::vector<double> fluctuations;
    // The slope of log10 F on log10 s; NaN with fewer than two fit points.
    double alpha = 0.0;

    bool Valid() const;
};

// The scales for count values: minScale * 2^(k / 4), rounded, k = 0, 1, ...
// up to count / 4 (integer division), each integer once. A minScale below 3
// is taken as 3. Empty when count / 4 < minScale.
std::vector<int> DfaScales(std::size_t count, int minScale = kDfaDefaultMinScale);

// F(s) of a profile (not of the series: the profile is taken by the caller)
// of count values, for one scale s with 3 <= s <= count. O(count).
double DfaFluctuation(const double* profile, std::size_t count, int s);

// DFA-1 of a series (its profile is taken here).
CDfaResult Dfa1(const double* series, std::size_t count, int minScale = kDfaDefaultMinScale);
