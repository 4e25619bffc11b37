#include "MatchPairs.h"
// outline
CHPointArray MatchPairs(const CHPointArray&, const CHPointArray&, double, std::int32_t) { return {}; }
std::int64_t TruncateToKey(double) { return 0; }
