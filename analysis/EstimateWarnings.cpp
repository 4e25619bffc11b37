#include "analysis/EstimateWarnings.h"

#include <algorithm>

#include "analysis/Bootstrap.h"
#include "analysis/SlidingWindows.h"
#include "core/Format.h"
#include "core/HDataSet.h"

std::string ConstantValuesWarning(std::size_t count, double value, const std::string& what)
{
    return what + " is constant (all " + std::to_string(count) + " values are " + FormatRoundTrip(value) +
           "): every L(r) is 0, so H = 2, b = 0 and r = 0 say nothing about it";
}

std::optional<std::string> TooShortForLagsWarning(const CHDataSet& set, const std::string& what)
{
    const int n = set.GetCount();
    if (n == 0 || !TooFewForLags(n, set.GetSetting()))
        return std::nullopt;
    return what + " (n = " + std::to_string(n) + ") is too short for D " + std::to_string(set.GetD()) + " and M " +
           std::to_string(set.GetM()) + ": L(r) is 0 for every r > " + std::to_string(std::max(n - set.GetD(), 0));
}

std::optional<std::string> WindowMTooLargeWarning(const SlidingWindowParams& params)
{
    const std::int32_t m = WindowM(params);
    const long long lags = static_cast<long long>(params.width) - params.nD;
    if (m <= lags)
        return std::nullopt;
    const std::string allowed = std::to_string(std::max(lags, 0LL));
    return "the window M " + std::to_string(m) + " is larger than a window of " + std::to_string(params.width) +
           " values with D " + std::to_string(params.nD) + " allows (" + allowed + "): L(r) is 0 for every r > " +
           allowed + " in every window, so the window H values mean little";
}

namespace {

// The observed H lies above the replicates' median at the highest h the
// search tried, the top of its range: no h reaches it.
bool FindsNoHFromAbove(const CBootstrapResult& result)
{
    if (result.correctedBound == EBootstrapBound::AtOrAbove)
        return true;
    return !result.Reached() && !result.grid.empty() && result.grid.back().h == kBootstrapHighestH &&
           result.observedH > result.grid.back().quantiles[1];
}

} // namespace

std::optional<std::string> SmootherThanFbmWarning(const CHDataSet& set, const CBootstrapResult* bootstrap)
{
    bool anyLength = false;
    for (int i = 0; i < set.GetM(); ++i)
        anyLength = anyLength || set.GetL(i) != 0.0;
    if (!anyLength || !(set.GetH() >= kSmoothestH || (bootstrap && FindsNoHFromAbove(*bootstrap))))
        return std::nullopt;
    return "The series is smoother than any fractional Brownian motion: a trend or a smooth signal dominates.";
}

std::optional<std::string> FewValuesWarning(const CHDataSet& set)
{
    const int n = set.GetCount();
    if (n < 1 || n >= kFewValues)
        return std::nullopt;
    return "Estimates from fewer than " + std::to_string(kFewValues) +
           " values vary by 0.1 or more; use the bootstrap to see how far.";
}

std::vector<std::string> HReadingWarnings(const CHDataSet& set, const CBootstrapResult* bootstrap,
                                          const std::string& about)
{
    std::vector<std::string> warnings;
    for (const auto& warning : {SmootherThanFbmWarning(set, bootstrap), FewValuesWarning(set)})
        if (warning)
            warnings.push_back(about + *warning);
    return warnings;
}

std::vector<std::string> BootstrapReadingWarnings(const CHDataSet& set, const CBootstrapResult& bootstrap,
                                                  const std::string& chooseHint)
{
    std::vector<std::string> warnings;
    if (bootstrap.decision)
        if (auto warning = SeriesKindWarning(*bootstrap.decision, chooseHint))
            warnings.push_back(std::move(*warning));
    for (std::string& warning : HReadingWarnings(set, &bootstrap))
        warnings.push_back(std::move(warning));
    return warnings;
}
