#include "analysis/MatchPairs.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

std::int64_t TruncateToKey(double x)
{
    if (std::isnan(x))
        return 0;
    // 2^63 is exactly representable; -2^63 is the smallest int64 itself.
    constexpr double kLimit = 9223372036854775808.0;
    if (x >= kLimit)
        return std::numeric_limits<std::int64_t>::max();
    if (x <= -kLimit)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(x); // truncates toward zero
}

namespace {

void AddPair(CHPointArray& pairs, const CHPoint& h, const CHPoint& s)
{
    CHPoint pair;
    pair.m_dX = h.m_dY;
    pair.m_dY = s.m_dY;
    pairs.Add(pair);
}

} // namespace

CHPointArray MatchPairs(const CHPointArray& hResults, const CHPointArray& slopes, double origin, std::int32_t offset)
{
    CHPointArray pairs;
    const std::size_t nH = static_cast<std::size_t>(hResults.GetSize());
    const std::size_t nS = static_cast<std::size_t>(slopes.GetSize());
    if (nH == 0 || nS == 0)
        return pairs;

    std::vector<std::int64_t> sKeys(nS);
    for (std::size_t p = 0; p < nS; ++p)
        sKeys[p] = TruncateToKey(slopes[static_cast<int>(p)].m_dX + origin);
    const bool sorted = std::is_sorted(sKeys.begin(), sKeys.end());

    // The slope index the scan resumes from: kept after a match, back to the
    // first slope result after a miss.
    std::size_t j = 0;
    for (const CHPoint& h : hResults) {
        const std::int64_t key = TruncateToKey(h.m_dX + origin - offset);
        if (sorted) {
            // The scan from j stops at the first slope key not below key:
            // with ascending keys that is a binary search of [j, nS).
            const auto it = std::lower_bound(sKeys.begin() + static_cast<std::ptrdiff_t>(j), sKeys.end(), key);
            if (it != sKeys.end() && *it == key) {
                j = static_cast<std::size_t>(it - sKeys.begin());
                AddPair(pairs, h, slopes[static_cast<int>(j)]);
            } else {
                j = 0;
            }
            continue;
        }
        // Slope results out of order (never so for computed slope windows):
        // the scan step by step.
        bool matched = false;
        while (j < nS) {
            const std::int64_t sKey = sKeys[j];
            if (sKey == key) {
                AddPair(pairs, h, slopes[static_cast<int>(j)]);
                matched = true;
                break;
            }
            if (sKey > key)
                break;
            ++j;
        }
        if (!matched)
            j = 0;
    }
    return pairs;
}
