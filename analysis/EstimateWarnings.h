#pragma once

#include <cstddef>
#include <optional>
#include <string>

class CHDataSet;
struct SlidingWindowParams;

// Results computed as the workbench computes them, but which mean nothing
// for a reason the numbers do not show: the words the command line and the
// Python module warn with. Each gives nothing when there is nothing to say.

// count values, all equal to value (count >= 2): every L(r) is 0 and the fit
// reads log10(L(r)/r) as 0, so H is 2 and b and r are 0 whatever the series.
// what names the values ("the series", "the sliding-window H values").
std::string ConstantValuesWarning(std::size_t count, double value, const std::string& what);

// An estimator with fewer values than D + M: L(r) is 0 for r > n - D.
std::optional<std::string> TooShortForLagsWarning(const CHDataSet& set, const std::string& what);

// Windows whose M is larger than a window of their width has lags for: L(r)
// is 0 for r > width - D in every window.
std::optional<std::string> WindowMTooLargeWarning(const SlidingWindowParams& params);
