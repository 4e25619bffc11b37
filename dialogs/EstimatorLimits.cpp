#include "dialogs/EstimatorLimits.h"

#include "core/OptimumM.h"
#include "platform/UiServices.h"

bool CheckEmbeddingD(IUiServices& ui, int nD)
{
    if (IsMeasuringEmbedding(nD))
        return true;
    ui.MessageBox(EmbeddingRangeMessage(), MsgButtons::ok, MsgIcon::warning);
    return false;
}

bool CheckFirstLag(IUiServices& ui, int nRMin, int nM)
{
    if (IsUsableFirstLag(nRMin, nM))
        return true;
    ui.MessageBox(FirstLagRangeMessage(nM), MsgButtons::ok, MsgIcon::warning);
    return false;
}

bool CheckFirstLagChoice(IUiServices& ui, int nRMin, bool typedM, int nM)
{
    if (typedM)
        return CheckFirstLag(ui, nRMin, nM);
    if (nRMin >= kMinFirstLag)
        return true;
    ui.MessageBox("The first lag must be 1 or more.", MsgButtons::ok, MsgIcon::warning);
    return false;
}

bool CheckLagCountM(IUiServices& ui, int nM)
{
    if (IsMeasuringLagCount(nM))
        return true;
    ui.MessageBox(LagRangeMessage(), MsgButtons::ok, MsgIcon::warning);
    return false;
}
