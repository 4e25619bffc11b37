#include "views/EstimateStatus.h"

#include <bit>

#include "analysis/EstimateWarnings.h"
#include "core/HDataSet.h"
#include "platform/UiServices.h"

void CEstimateStatus::Announce(IUiServices& ui, const CHDataSet& set)
{
    const auto estimate = std::make_tuple(set.GetCount(), set.GetD(), set.GetM(), std::bit_cast<std::uint64_t>(set.GetH()));
    if (m_last == estimate)
        return;
    m_last = estimate;
    m_text.clear();
    for (const std::string& warning : HReadingWarnings(set, nullptr))
        m_text += (m_text.empty() ? "" : " ") + warning;
    if (!m_text.empty())
        ui.ShowStatusWarning(m_text);
}

void CEstimateStatus::Clear()
{
    m_last.reset();
    m_text.clear();
}
