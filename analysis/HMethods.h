#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "analysis/Dfa.h"
#include "analysis/SeriesKind.h"
#include "analysis/Whittle.h"

// Three estimates of H on one scale (0.5 for a random walk's motion or for
// white noise), each for the series as the noise-or-motion decision reads
// it:
//  - the curve length (the estimator's own H, for a motion);
//  - DFA-1: alpha for a noise, alpha - 1 for a motion;
//  - Whittle (fractional Gaussian noise): of the series for a noise, of its
//    increments for a motion.
enum class EHMethod
{
    Curve,
    Dfa,
    Whittle,
};

constexpr EHMethod kAllHMethods[] = {EHMethod::Curve, EHMethod::Dfa, EHMethod::Whittle};

// "curve", "dfa", "whittle".
const char* HMethodWord(EHMethod method);
// "curve length", "DFA-1", "Whittle (fGn)".
const char* HMethodName(EHMethod method);
// The method a word names; nothing for another word.
std::optional<EHMethod> HMethodOfWord(const std::string& word);

struct CMethodEstimate
{
    EHMethod method = EHMethod::Curve;
    double h = 0.0;             // NaN when the series is too short
    double standardError = 0.0; // Whittle's asymptotic one; NaN for the others
    double alpha = 0.0;         // DFA's alpha; NaN for the others
    int scales = 0;             // DFA's fit points (scales); Whittle's frequencies
};

// What a method fitted, for its plot: DFA-1's fit points, or Whittle's
// periodogram and fitted density (of the increments for a motion).
struct CMethodFit
{
    CDfaResult dfa;
    CWhittleFit whittle;
};

// H of count values by DFA-1 or Whittle, read as kind (Unclear is read as a
// motion, as the estimate does); with fit, what the method fitted too.
// Curve is not computed here (it takes the estimator's D and M): it gives
// NaN.
CMethodEstimate EstimateByMethod(EHMethod method, const double* values, std::size_t count, ESeriesKind kind,
                                 CMethodFit* fit = nullptr);
