#pragma once

#include "core/EstimatorSetting.h"

class CKestrinDoc;

// Sets M and/or D of every interval estimator of the document, in its order,
// and recomputes each, through the document (SetIntervalSettings), which
// tells its views once. With useOptimumM, each estimator's M is the best M
// (BestIntervalM, at least 2) of the values it used at its last computation;
// otherwise setting.nM. With M, the first lag of setting goes too (else
// each keeps its own); one that leaves fewer than two lags to fit under the
// new M falls back to 1. The global estimator and the document's own M and D
// stay as they are; a change marks a document with tabs modified. Returns false, having changed nothing
// and told no view, when neither M nor D is to be modified.
bool SetAllTabParameters(CKestrinDoc& doc, bool modifyM, bool modifyD, CEstimatorSetting setting, bool useOptimumM);
