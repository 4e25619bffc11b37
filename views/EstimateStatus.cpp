#include "views/EstimateStatus.h"

#include <bit>
#include <string>

#include "analysis/EstimateWarnings.h"
#include "core/HDataSet.h"
#include "platform/UiServices.h"

void CEstimateStatus::Announce(IUiServices& ui, const CHDataSet& set)
{
    const auto estimate = std::make_tuple(set.GetCount(), set.GetD(), set.GetM(), std::bit_cast<std::uint64_t>(set.GetH()));
    if (m_last == estimate)
        return;
    m_last = estimate;
    std::string text;
    for (const std::string& warning : HReadingWarnings(set, nullptr))
        text += (text.empty() ? "" : " ") + warning;
    if (!text.empty())
        ui.ShowStatusWarning(text);
}
