#include "analysis/EstimateWarnings.h"

#include <algorithm>

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
