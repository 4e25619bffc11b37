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

bool CheckLagCountM(IUiServices& ui, int nM)
{
    if (IsMeasuringLagCount(nM))
        return true;
    ui.MessageBox(LagRangeMessage(), MsgButtons::ok, MsgIcon::warning);
    return false;
}
