#include "analysis/MetaH.h"

#include <string>

#include "core/HDataSet.h"
#include "core/OptimumM.h"
#include "analysis/SlidingWindows.h"
#include "platform/StatusOperation.h"
#include "platform/UiServices.h"

bool ComputeMetaH(IUiServices& ui, const CHPointArray& windows, CEstimatorSetting setting, bool useBestM,
                  CHDataSet& set)
{
    const int count = windows.GetSize();
    if (count == 0)
        return false;
    // A typed M beyond any use would only ask for gigabytes of lag tables.
    if (!useBestM && !IsUsableLagCount(setting.nM)) {
        ui.MessageBox(LagCountMessage(), MsgButtons::ok, MsgIcon::warning);
        return false;
    }
    const int nM = useBestM ? count : setting.nM;
    if (setting.nRMin != 1 && !IsUsableFirstLag(setting.nRMin, nM)) {
        ui.MessageBox(FirstLagRangeMessage(nM), MsgButtons::ok, MsgIcon::warning);
        return false;
    }
    CStatusOperation status(ui, "Calculating Meta H...");
    set.Reset({.nD = setting.nD, .nM = useBestM ? 0 : setting.nM, .nRMin = setting.nRMin});
    set.m_bAutoCompute = 0;
    set.Values().Reserve(static_cast<std::size_t>(count));
    for (const CHPoint& result : windows)
        set.AddValue(result.m_dY);
    if (useBestM)
        set.SetM(count);
    set.Compute();
    return true;
}
