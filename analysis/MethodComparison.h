#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/Bootstrap.h"
#include "analysis/HMethods.h"
#include "analysis/SeriesKind.h"

class CHDataSet;

// The estimates of H of one estimator's series by several methods, the
// series decided noise or motion once for all of them, and, when asked,
// each method's bootstrap: its corrected H and interval. Every method's
// bootstrap takes the same seed, so that at every trial exponent the
// methods estimate the same simulated paths (common random numbers); the
// curve length's is the estimator's own bootstrap, model check included.

struct CMethodRow
{
    CMethodEstimate estimate;
    std::optional<CBootstrapResult> bootstrap;
};

struct CMethodComparison
{
    CSeriesDecision decision;
    std::vector<CMethodRow> rows;
    bool cancelled = false;
};

// The methods' estimates of the set as last computed, the curve length's
// being the set's H. With bootstrap, each method's bootstrap too (progress
// runs over all of them; a cancel leaves cancelled set). Throws
// std::runtime_error with the reason when a bootstrap cannot be run.
CMethodComparison CompareMethods(const CHDataSet& set, const std::vector<EHMethod>& methods, ESeriesInput input,
                                 bool isProfile, const CSeriesBootstrapOptions* bootstrap = nullptr,
                                 const BootstrapProgress& progress = {});

// Whether the intervals of every row with a bootstrap share a common point
// (the largest low end at or below the least high end); nothing when fewer
// than two rows have an interval.
std::optional<bool> IntervalsOverlap(const CMethodComparison& comparison);
