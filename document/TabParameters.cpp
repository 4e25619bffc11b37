#include "document/TabParameters.h"

#include "document/KestrinDoc.h"
#include "core/OptimumM.h"

bool SetAllTabParameters(CKestrinDoc& doc, bool modifyM, bool modifyD, CEstimatorSetting setting, bool useOptimumM)
{
    if (!modifyM && !modifyD)
        return false;
    bool changed = false;
    for (const auto& set : doc.m_tabSets) {
        const int oldD = set->GetD();
        const int oldM = set->GetM();
        // One computation per estimator, after both parameters are set.
        set->m_bAutoCompute = 0;
        if (modifyD)
            set->SetD(setting.nD);
        if (modifyM)
            set->SetM(useOptimumM ? BestIntervalM(set->GetCount()) : setting.nM);
        set->Compute();
        changed = changed || set->GetD() != oldD || set->GetM() != oldM;
    }
    if (changed)
        doc.IntervalParametersChanged();
    return true;
}
