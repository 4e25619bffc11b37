#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/GrowArray.h"

class CCliUi;
class CHDataSet;
struct SlidingWindowParams;

// Results the tool computes as the workbench does, but which mean nothing
// for a reason the numbers do not show; each check warns through ui.

// A series whose values are all equal: every L(r) is 0 and the fit reads
// log10(L(r)/r) as 0, so H is 2 and b and r are 0 whatever the series.
// what names the values ("the series", "the sliding-window H values").
void WarnIfConstant(CCliUi& ui, const CHPointArray& values, const std::string& what);

// An estimator with fewer values than D + M: L(r) is 0 for r > n - D.
void WarnIfTooShortForLags(CCliUi& ui, const CHDataSet& set, const std::string& what);

// Windows whose M is larger than a window of their width has lags for:
// L(r) is 0 for r > width - D in every window.
void WarnIfWindowMTooLarge(CCliUi& ui, const SlidingWindowParams& params);

// Tabs beyond the series' largest X (tabs ascending): the interval that ends
// at the first of them holds the largest X too, and every interval after it
// starts beyond the largest X and holds no value (its label, the largest X,
// is below its start). The workbench computes the same intervals.
void WarnOfTabsBeyondTheSeries(CCliUi& ui, const std::vector<std::int32_t>& tabs, double largestX);
