#pragma once

#include "core/EstimatorSetting.h"

class CKestrinDoc;

// Sets M and/or D of every interval estimator of the document, in its order,
// and recomputes each. With useOptimumM, each estimator's M is the best M
// (BestIntervalM, at least 2) of the values it used at its last computation;
// otherwise setting.nM. The global
// estimator, the document's own M and D and its modified flag stay as they
// are. Returns false, having changed nothing, when neither M nor D is to be
// modified.
bool SetAllTabParameters(CKestrinDoc& doc, bool modifyM, bool modifyD, CEstimatorSetting setting, bool useOptimumM);
