#include "cli/EdgeWarnings.h"

#include <algorithm>

#include "cli/CliUi.h"
#include "core/GrowArray.h"
#include "core/HDataSet.h"
#include "cli/SeriesImport.h"
#include "analysis/SlidingWindows.h"
#include "cli/TextOutput.h"

void WarnIfConstant(CCliUi& ui, const CHPointArray& values, const std::string& what)
{
    if (values.GetSize() < 2)
        return;
    const double first = values[0].m_dY;
    if (!std::all_of(values.begin(), values.end(), [first](const CHPoint& p) { return p.m_dY == first; }))
        return;
    ui.Warn(what + " is constant (all " + std::to_string(values.GetSize()) + " values are " + Exact(first) +
            "): every L(r) is 0, so H = 2, b = 0 and r = 0 say nothing about it");
}

void WarnIfTooShortForLags(CCliUi& ui, const CHDataSet& set, const std::string& what)
{
    const int n = set.GetCount();
    if (n == 0 || !TooFewForLags(n, set.GetSetting()))
        return;
    ui.Warn(what + " (n = " + std::to_string(n) + ") is too short for D " + std::to_string(set.GetD()) + " and M " +
            std::to_string(set.GetM()) + ": L(r) is 0 for every r > " + std::to_string(std::max(n - set.GetD(), 0)));
}

void WarnIfWindowMTooLarge(CCliUi& ui, const SlidingWindowParams& params)
{
    const std::int32_t m = WindowM(params);
    const long long lags = static_cast<long long>(params.width) - params.nD;
    if (m <= lags)
        return;
    ui.Warn("the window M " + std::to_string(m) + " is larger than a window of " + std::to_string(params.width) +
            " values with D " + std::to_string(params.nD) + " allows (" + std::to_string(std::max(lags, 0LL)) +
            "): L(r) is 0 for every r > " + std::to_string(std::max(lags, 0LL)) +
            " in every window, so the window H values mean little");
}

void WarnOfTabsBeyondTheSeries(CCliUi& ui, const std::vector<std::int32_t>& tabs, double largestX)
{
    const auto first = std::upper_bound(tabs.begin(), tabs.end(), largestX,
                                        [](double x, std::int32_t t) { return x < static_cast<double>(t); });
    const auto beyond = static_cast<std::size_t>(tabs.end() - first);
    if (beyond == 0)
        return;
    const bool one = beyond == 1;
    ui.Warn(std::to_string(beyond) + (one ? " tab lies" : " tabs lie") + " beyond the largest X (" +
            Exact(largestX) + "): the interval ending at " + std::to_string(*first) +
            " holds the largest X too, and the last " + (one ? "interval" : std::to_string(beyond) + " intervals") +
            ", beyond the series, " + (one ? "holds" : "hold") + " no values");
}
