#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <tuple>

class CHDataSet;
class IUiServices;

// Says in the status bar (IUiServices::ShowStatusWarning) what an estimate
// must be read with (HReadingWarnings: smoother than any fractional Brownian
// motion, fewer than 128 values), once per estimate: an estimate shown again
// with the same values' count, D, M and H says nothing new. An estimate
// without warnings leaves the status bar's message alone. Never a message
// box. Text() keeps the warnings of the estimate announced last (empty when
// it has none, or after Clear), for a display that outlasts the message.
class CEstimateStatus
{
public:
    void Announce(IUiServices& ui, const CHDataSet& set);
    void Clear();
    const std::string& Text() const { return m_text; }

private:
    std::optional<std::tuple<int, int, int, std::uint64_t>> m_last;
    std::string m_text;
};
