#pragma once

#include <cstdint>

#include "core/GrowArray.h"

// Pairs every sliding-window result with the slope-window result at the same
// whole position, `offset` points to its left: key = trunc(h.m_dX + origin
// - offset), matched against trunc(s.m_dX + origin). A pair has m_dX = the
// H (h.m_dY) and m_dY = the slope (s.m_dY). The scan keeps its slope index
// after a match and starts again from the first slope result after a miss
// (a slope key above the H key, or the end of the slopes). When the slope
// keys ascend, as computed slope windows' always do, each scan is a binary
// search from the kept index, so the same pairs come in O((nH + nS) log nS);
// slope keys out of order are scanned step by step. Truncations of NaN or
// out-of-range values have a defined result (see TruncateToKey).
CHPointArray MatchPairs(const CHPointArray& hResults, const CHPointArray& slopes, double origin,
                        std::int32_t offset);

// A position truncated toward zero to a whole number; NaN gives 0 and
// values beyond the 64-bit range are clamped to it.
std::int64_t TruncateToKey(double x);
