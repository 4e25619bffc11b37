#include "cli/EdgeWarnings.h"

#include <algorithm>

#include "analysis/EstimateWarnings.h"
#include "cli/CliUi.h"
#include "core/GrowArray.h"
#include "core/HDataSet.h"
#include "cli/SeriesImport.h"
#include "analysis/SlidingWindows.h"
#include "cli/TextOutput.h"

template <class Points>
void WarnIfConstant(CCliUi& ui, const Points& values, const std::string& what)
{
    if (values.GetSize() < 2)
        return;
    const double first = values[0].m_dY;
    if (!std::all_of(values.begin(), values.end(), [first](const auto& p) { return p.m_dY == first; }))
        return;
    ui.Warn(ConstantValuesWarning(static_cast<std::size_t>(values.GetSize()), first, what));
}

template void WarnIfConstant(CCliUi&, const CSeriesArray&, const std::string&);
template void WarnIfConstant(CCliUi&, const CHPointArray&, const std::string&);

void WarnIfTooShortForLags(CCliUi& ui, const CHDataSet& set, const std::string& what)
{
    if (const auto warning = TooShortForLagsWarning(set, what))
        ui.Warn(*warning);
}

void WarnOfHReading(CCliUi& ui, const CHDataSet& set, const CBootstrapResult* bootstrap, const std::string& about)
{
    for (const std::string& warning : HReadingWarnings(set, bootstrap, about))
        ui.Warn(warning);
}

void WarnIfWindowMTooLarge(CCliUi& ui, const SlidingWindowParams& params)
{
    if (const auto warning = WindowMTooLargeWarning(params))
        ui.Warn(*warning);
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
