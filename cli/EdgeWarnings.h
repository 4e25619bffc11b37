#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/GrowArray.h"

class CCliUi;
class CHDataSet;
struct CBootstrapResult;
struct SlidingWindowParams;

// Results the tool computes as the workbench does, but which mean nothing
// for a reason the numbers do not show; each check warns through ui.

// A series whose values are all equal: every L(r) is 0 and the fit reads
// log10(L(r)/r) as 0, so H is 2 and b and r are 0 whatever the series.
// what names the values ("the series", "the sliding-window H values"); the
// values are the points' Y.
template <class Points>
void WarnIfConstant(CCliUi& ui, const Points& values, const std::string& what);

extern template void WarnIfConstant(CCliUi&, const CSeriesArray&, const std::string&);
extern template void WarnIfConstant(CCliUi&, const CHPointArray&, const std::string&);

// An estimator with fewer values than D + M: L(r) is 0 for r > n - D.
void WarnIfTooShortForLags(CCliUi& ui, const CHDataSet& set, const std::string& what);

// An H that reads a smooth signal rather than a motion, or one from fewer
// values than can pin it down (HReadingWarnings); about names the estimate
// when not empty ("5.000000: "). bootstrap may be null.
void WarnOfHReading(CCliUi& ui, const CHDataSet& set, const CBootstrapResult* bootstrap,
                    const std::string& about = {});

// Windows whose M is larger than a window of their width has lags for:
// L(r) is 0 for r > width - D in every window.
void WarnIfWindowMTooLarge(CCliUi& ui, const SlidingWindowParams& params);

// Tabs beyond the series' largest X (tabs ascending): the interval that ends
// at the first of them holds the largest X too, and every interval after it
// starts beyond the largest X and holds no value (its label, the largest X,
// is below its start). The workbench computes the same intervals.
void WarnOfTabsBeyondTheSeries(CCliUi& ui, const std::vector<std::int32_t>& tabs, double largestX);
