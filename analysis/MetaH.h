#pragma once

#include <cstdint>

#include "core/EstimatorSetting.h"
#include "core/GrowArray.h"

class CHDataSet;
class IUiServices;

// Meta H: the H estimator run over the H values of the sliding-window
// results in window order. useBestM takes M = the number of results itself.
// The fit runs from setting.nRMin; one other than 1 outside 1..M - 1 is
// refused with FirstLagRangeMessage.
// Resets set with D and M and leaves it holding the result; returns false
// (computing nothing, showing nothing) when there are no results.
// "Calculating Meta H..." while it works.
bool ComputeMetaH(IUiServices& ui, const CHPointArray& windows, CEstimatorSetting setting, bool useBestM,
                  CHDataSet& set);
