#include "SlidingWindows.h"
// outline
std::optional<std::string> CheckSlidingWindowParams(const SlidingWindowParams&) { return std::nullopt; }
std::int64_t CountSlidingWindows(std::int64_t, std::int32_t, std::int32_t) { return 0; }
std::int32_t WindowM(const SlidingWindowParams& p) { return p.nM; }
CHPointArray ComputeSlidingWindowResults(const CHPointArray&, const SlidingWindowParams&, const PercentCallback&, unsigned) { return {}; }
CHPointArray ComputeSlidingWindowResultsDirect(const CHPointArray&, const SlidingWindowParams&) { return {}; }
void ClearSlidingWindows(CKestrinDoc&) {}
void ComputeSlidingWindows(CKestrinDoc&, const SlidingWindowParams&) {}
void ResetPlotPoints(CKestrinDoc&, double) {}
void ResetPlotPositions(CHPointArray&, double, std::int32_t, const PercentCallback&) {}
