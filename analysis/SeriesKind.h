#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "analysis/Dfa.h"

// Noise or motion, decided before a series is estimated. The curve-length
// estimate is made for motions (series like fractional Brownian motion); a
// noise (its increments: levels around a fixed mean) reads a low H that is
// not its Hurst exponent. DFA-1 tells them apart: its alpha is about H for
// fractional Gaussian noise and H + 1 for fractional Brownian motion, so a
// series whose alpha lies below 1 - g is a noise, above 1 + g a motion, and
// in the grey zone between the two, no call can be made from the data.

// g: half the width of the grey zone around alpha 1. The spread of DFA-1's
// alpha at n 256 (standard deviation about 0.06 for fractional Gaussian
// noise of H 0.9, about 0.03 at n 4096) puts a series of true alpha 1 inside
// the zone in most cases at the lengths people analyse.
constexpr double kSeriesKindGrey = 0.1;

// What the user says the series is; Auto lets the data decide.
enum class ESeriesInput
{
    Auto,
    Noise,
    Motion,
};

enum class ESeriesKind
{
    Noise,
    Motion,
    Unclear, // alpha inside the grey zone
};

// "noise", "motion", "unclear"; "noise", "motion", "auto".
const char* SeriesKindWord(ESeriesKind kind);
const char* SeriesInputWord(ESeriesInput input);

// The kind that alpha reads as (Unclear for a NaN alpha).
ESeriesKind SeriesKindOfAlpha(double alpha);

struct CSeriesDecision
{
    ESeriesInput input = ESeriesInput::Auto;
    // True when the series is known to be a profile (a document made by
    // Profile): then alpha and measured are those of its increments, that
    // is of the series the profile was made from.
    bool isProfile = false;
    double alpha = 0.0;                         // DFA-1 alpha (NaN: too short)
    ESeriesKind measured = ESeriesKind::Unclear; // what alpha reads as
    // How the series is estimated: as given, else as measured; an unclear
    // series is estimated as a motion (the curve-length reading of old).
    ESeriesKind estimatedAs = ESeriesKind::Motion;
};

// Decides for count values. For a profile the increments (successive
// differences) are measured.
CSeriesDecision DecideSeriesKind(const double* values, std::size_t count, ESeriesInput input, bool isProfile = false);

// "motion, α 1.71", "noise, α 0.88", "unclear, α 1.02 (estimated as a
// motion)", "profile of a noise, α 0.84"; "(as given)" follows a kind the
// user chose. α is printed "n/a" when the series is too short for DFA.
std::string SeriesKindLabel(const CSeriesDecision& decision);

// What the user must know, or nothing: the curve-length H of a noise is not
// its Hurst exponent; the call cannot be made (and how to choose); the
// profile of a motion is not what to estimate. chooseHint names how to
// choose in the caller's terms (e.g. "--input noise|motion").
std::optional<std::string> SeriesKindWarning(const CSeriesDecision& decision, const std::string& chooseHint);
