#include "document/TabParameters.h"

#include <vector>

#include "document/KestrinDoc.h"
#include "core/OptimumM.h"

bool SetAllTabParameters(CKestrinDoc& doc, bool modifyM, bool modifyD, CEstimatorSetting setting, bool useOptimumM)
{
    if (!modifyM && !modifyD)
        return false;
    std::vector<CEstimatorSetting> settings;
    settings.reserve(doc.m_tabSets.size());
    for (const auto& set : doc.m_tabSets) {
        // The best M of the values the estimator used at its last
        // computation, as the document recomputes each one after both
        // parameters are set.
        const int nM = !modifyM ? set->GetM() : useOptimumM ? BestIntervalM(set->GetCount()) : setting.nM;
        // The first lag: setting's when M is set, else the interval's own; a
        // first lag the new M leaves no two lags after falls back to 1.
        const int nRMin = modifyM ? setting.nRMin : set->GetRMin();
        settings.push_back({.nD = modifyD ? setting.nD : set->GetD(),
                            .nM = nM,
                            .nRMin = IsUsableFirstLag(nRMin, nM) ? nRMin : 1});
    }
    doc.SetIntervalSettings(settings);
    return true;
}
