#include "SlopeWindows.h"
// outline
CHPointArray ComputeSlopeWindowResults(const CHPointArray&, std::int32_t, const PercentCallback&, unsigned) { return {}; }
void CalculateSlopeWindows(CKestrinDoc&, std::int32_t) {}
