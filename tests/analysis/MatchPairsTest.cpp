#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/MatchPairs.h"
#include "analysis/SlopeWindows.h"
#include "tests/support/SeriesBuilders.h"

namespace match_pairs_test {

namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

CHPoint Result(double position, double value)
{
    CHPoint p;
    p.m_dX = position;
    p.m_dY = value;
    return p;
}

CHPointArray Results(std::initializer_list<std::pair<double, double>> positionsAndValues)
{
    CHPointArray a;
    for (auto [x, y] : positionsAndValues)
        a.Add(Result(x, y));
    return a;
}

// Slope results of size 10 over 1000 points: positions 5 to 994, each with
// a slope of its own (Y = X * X has slope 2 * position - 1 there).
CHPointArray SlopesOfSize10()
{
    CSeriesArray series;
    for (int i = 0; i < 1000; ++i)
        series.Add(MakeSeriesPoint(i, static_cast<double>(i) * i));
    return ComputeSlopeWindowResults(series, 10);
}

// The correlation dialog's scan, step by step as it was first written:
// the slope index is kept after a match and restarts at 0 after a miss.
CHPointArray LiteralScan(const CHPointArray& h, const CHPointArray& s, double origin, std::int32_t offset)
{
    CHPointArray pairs;
    int j = 0;
    for (int i = 0; i < h.GetSize(); ++i) {
        const std::int64_t key = TruncateToKey(h[i].m_dX + origin - offset);
        bool paired = false;
        while (j < s.GetSize()) {
            const std::int64_t sKey = TruncateToKey(s[j].m_dX + origin);
            if (sKey == key) {
                CHPoint pair;
                pair.m_dX = h[i].m_dY;
                pair.m_dY = s[j].m_dY;
                pairs.Add(pair);
                paired = true;
                break;
            }
            if (sKey > key)
                break;
            ++j;
        }
        if (!paired)
            j = 0;
    }
    return pairs;
}

void ExpectPairs(const CHPointArray& pairs, const std::vector<std::pair<double, double>>& expected)
{
    ASSERT_EQ(pairs.GetSize(), static_cast<int>(expected.size()));
    for (int i = 0; i < pairs.GetSize(); ++i) {
        EXPECT_EQ(pairs[i].m_dX, expected[static_cast<std::size_t>(i)].first) << "pair " << i;
        EXPECT_EQ(pairs[i].m_dY, expected[static_cast<std::size_t>(i)].second) << "pair " << i;
        EXPECT_EQ(pairs[i].m_nCount, 0);
        EXPECT_EQ(pairs[i].m_dB, 0.0);
        EXPECT_EQ(pairs[i].m_dR, 0.0);
    }
}

bool SamePairs(const CHPointArray& a, const CHPointArray& b)
{
    if (a.GetSize() != b.GetSize())
        return false;
    for (int i = 0; i < a.GetSize(); ++i) {
        if (a[i].m_dX != b[i].m_dX || a[i].m_dY != b[i].m_dY || a[i].m_nCount != b[i].m_nCount ||
            a[i].m_dB != b[i].m_dB || a[i].m_dR != b[i].m_dR)
            return false;
    }
    return true;
}

} // namespace

TEST(TruncateToKey, TowardZeroWithDefinedEdges)
{
    EXPECT_EQ(TruncateToKey(0.3), 0);
    EXPECT_EQ(TruncateToKey(-0.7), 0);
    EXPECT_EQ(TruncateToKey(-0.0), 0);
    EXPECT_EQ(TruncateToKey(600.5), 600);
    EXPECT_EQ(TruncateToKey(2.9999), 2);
    EXPECT_EQ(TruncateToKey(-2.9999), -2);
    EXPECT_EQ(TruncateToKey(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(TruncateToKey(-std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(TruncateToKey(std::numeric_limits<double>::infinity()), kMax);
    EXPECT_EQ(TruncateToKey(-std::numeric_limits<double>::infinity()), kMin);
    EXPECT_EQ(TruncateToKey(1e300), kMax);
    EXPECT_EQ(TruncateToKey(-1e300), kMin);
    EXPECT_EQ(TruncateToKey(9223372036854775808.0), kMax);  // 2^63
    EXPECT_EQ(TruncateToKey(-9223372036854775808.0), kMin); // -2^63 itself
    EXPECT_EQ(TruncateToKey(9223372036854774784.0), 9223372036854774784); // below 2^63
}

TEST(MatchPairs, SlidingResultsPairWithSlopesAtTheirPositionOrOffsetLeft)
{
    const CHPointArray slopes = SlopesOfSize10();
    ASSERT_EQ(slopes.GetSize(), 990);
    const auto slopeAt = [&](int position) { return slopes[position - 5].m_dY; };
    const CHPointArray h = Results({{50, 0.61}, {51, 0.62}, {52, 0.63}});

    ExpectPairs(MatchPairs(h, slopes, 0.0, 0), {{0.61, slopeAt(50)}, {0.62, slopeAt(51)}, {0.63, slopeAt(52)}});
    ExpectPairs(MatchPairs(h, slopes, 0.0, 20), {{0.61, slopeAt(30)}, {0.62, slopeAt(31)}, {0.63, slopeAt(32)}});
    // Shifted before the first slope result (position 5): no pair.
    ExpectPairs(MatchPairs(h, slopes, 0.0, 46), {{0.62, slopeAt(5)}, {0.63, slopeAt(6)}});
    EXPECT_EQ(MatchPairs(h, slopes, 0.0, 100).GetSize(), 0);
    // The origin moves both sides alike.
    ExpectPairs(MatchPairs(h, slopes, 1900.0, 20), {{0.61, slopeAt(30)}, {0.62, slopeAt(31)}, {0.63, slopeAt(32)}});
    EXPECT_EQ(MatchPairs(CHPointArray(), slopes, 0.0, 0).GetSize(), 0);
    EXPECT_EQ(MatchPairs(h, CHPointArray(), 0.0, 0).GetSize(), 0);
}

TEST(MatchPairs, KeysAreTruncatedAfterTheShift)
{
    const CHPointArray slopes = SlopesOfSize10();
    const auto slopeAt = [&](int position) { return slopes[position - 5].m_dY; };
    // Plot positions ending in .5 fall on the whole position below.
    ExpectPairs(MatchPairs(Results({{600.5, 0.5}, {601.5, 0.6}}), slopes, 0.0, 0),
                {{0.5, slopeAt(600)}, {0.6, slopeAt(601)}});
    // The origin is added before truncating: 600.5 + 0.5 is 601 exactly.
    ExpectPairs(MatchPairs(Results({{600.5, 0.5}}), slopes, 0.5, 0), {{0.5, slopeAt(601)}});
    // 0.3 and 0.3 - 1 = -0.7 both give key 0.
    const CHPointArray fromZero = Results({{0.0, -1.0}, {1.0, -2.0}});
    ExpectPairs(MatchPairs(Results({{0.3, 0.1}}), fromZero, 0.0, 0), {{0.1, -1.0}});
    ExpectPairs(MatchPairs(Results({{0.3, 0.1}}), fromZero, 0.0, 1), {{0.1, -1.0}});
    ExpectPairs(MatchPairs(Results({{1.3, 0.1}}), fromZero, 0.0, 1), {{0.1, -1.0}});
}

TEST(MatchPairs, AMissSendsTheScanBackToTheStart)
{
    const CHPointArray slopes = SlopesOfSize10();
    const auto slopeAt = [&](int position) { return slopes[position - 5].m_dY; };
    // After the match at 60 the scan resumes there, so 50 (already passed)
    // is a miss; the miss restarts the scan and the next 50 is found.
    ExpectPairs(MatchPairs(Results({{60, 0.1}, {50, 0.2}, {50, 0.3}, {50, 0.4}}), slopes, 0.0, 0),
                {{0.1, slopeAt(60)}, {0.3, slopeAt(50)}, {0.4, slopeAt(50)}});
    // Running past the last slope result is a miss too.
    ExpectPairs(MatchPairs(Results({{100, 0.1}, {5000, 0.2}, {90, 0.3}}), slopes, 0.0, 0),
                {{0.1, slopeAt(100)}, {0.3, slopeAt(90)}});
}

TEST(MatchPairs, SlopesOutOfOrderAreScannedStepByStep)
{
    // Descending slope positions: the step-by-step scan stops at the first
    // slope key above the H key, which a search for sorted keys would not
    // find.
    const CHPointArray slopes = Results({{30, 3.0}, {20, 2.0}, {10, 1.0}, {20, 2.5}, {40, 4.0}});
    const CHPointArray h = Results({{10, 0.1}, {20, 0.2}, {30, 0.3}, {20, 0.4}, {40, 0.5}, {40, 0.6}});
    const CHPointArray pairs = MatchPairs(h, slopes, 0.0, 0);
    ExpectPairs(pairs, {{0.3, 3.0}, {0.5, 4.0}, {0.6, 4.0}});
    EXPECT_TRUE(SamePairs(pairs, LiteralScan(h, slopes, 0.0, 0)));
}

TEST(MatchPairs, SameAsTheStepByStepScanOnRandomInput)
{
    std::mt19937 rng(42);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (int round = 0; round < 400; ++round) {
        const bool sortedSlopes = round % 4 != 0;
        const int nS = std::uniform_int_distribution<int>(0, 60)(rng);
        const int nH = std::uniform_int_distribution<int>(0, 60)(rng);
        const double origin = std::uniform_int_distribution<int>(0, 3)(rng) == 0
                                  ? 0.0
                                  : std::uniform_real_distribution<double>(-50.0, 50.0)(rng);
        const std::int32_t offset = std::uniform_int_distribution<std::int32_t>(0, 30)(rng);

        // Slope positions: ascending with repeats, fractions and gaps, or
        // shuffled; now and then a NaN.
        CHPointArray slopes;
        double position = std::uniform_real_distribution<double>(-20.0, 40.0)(rng);
        for (int i = 0; i < nS; ++i) {
            position += std::uniform_int_distribution<int>(0, 3)(rng) * 0.5;
            slopes.Add(Result(position, i + 0.25));
        }
        if (!sortedSlopes)
            std::shuffle(slopes.begin(), slopes.end(), rng);

        // H positions: mostly ascending, with jumps back.
        CHPointArray h;
        double hPosition = std::uniform_real_distribution<double>(-10.0, 60.0)(rng);
        for (int i = 0; i < nH; ++i) {
            const int step = std::uniform_int_distribution<int>(-8, 4)(rng);
            hPosition += step < -5 ? -10.0 * std::uniform_real_distribution<double>(0.0, 1.0)(rng) : step * 0.75;
            h.Add(Result(hPosition, 1000.0 + i));
        }
        if (nH > 0 && round % 10 == 0)
            h[nH / 2].m_dX = nan;
        if (nS > 0 && sortedSlopes && round % 10 == 5)
            slopes[nS - 1].m_dX = nan; // key 0: may break the order

        const CHPointArray expected = LiteralScan(h, slopes, origin, offset);
        ASSERT_TRUE(SamePairs(MatchPairs(h, slopes, origin, offset), expected))
            << "round " << round << ": " << expected.GetSize() << " pairs expected";
    }
}

} // namespace match_pairs_test
