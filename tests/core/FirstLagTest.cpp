// The first lag of the fit: r_min = 1 is the estimator as it always was,
// a later one fits r = r_min..M as a plain least-squares fit does, every
// lag's L(r) is kept, and the limits 1..M - 1.
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Archive.h"
#include "core/HDataSet.h"
#include "core/OptimumM.h"
#include "tests/support/SeriesBuilders.h"
#include "tests/support/TestSupport.h"

namespace first_lag_test {

namespace {

// The line through (log10 r, log10(L(r)/r)), r = rMin..M, fitted the
// textbook way: centred sums in long double, from the lengths alone.
struct ReferenceFit
{
    double b;
    double r;
};

ReferenceFit Reference(const CHDataSet& set, int rMin)
{
    std::vector<long double> xs, ys;
    for (int r = rMin; r <= set.GetM(); ++r) {
        xs.push_back(std::log10(static_cast<long double>(r)));
        ys.push_back(std::log10(static_cast<long double>(set.GetL(r - 1)) / r));
    }
    const long double n = static_cast<long double>(xs.size());
    long double mx = 0, my = 0;
    for (std::size_t i = 0; i < xs.size(); ++i) {
        mx += xs[i] / n;
        my += ys[i] / n;
    }
    long double sxy = 0, sxx = 0, syy = 0;
    for (std::size_t i = 0; i < xs.size(); ++i) {
        sxy += (xs[i] - mx) * (ys[i] - my);
        sxx += (xs[i] - mx) * (xs[i] - mx);
        syy += (ys[i] - my) * (ys[i] - my);
    }
    return {static_cast<double>(sxy / sxx), static_cast<double>(sxy / std::sqrt(sxx * syy))};
}

} // namespace

TEST(FirstLag, OneIsTheEstimatorAsItWas)
{
    // The worked value of the two-dimensional series, with and without the
    // first lag named.
    const std::vector<double> values{1, 3, 2, 5, 4, 6, 5, 8, 7, 9};
    const CHDataSet plain = EstimatorOver(values, {.nD = 2, .nM = 3});
    const CHDataSet named = EstimatorOver(values, {.nD = 2, .nM = 3, .nRMin = 1});
    EXPECT_EQ(named.GetH(), 0.06898713444565008);
    EXPECT_EQ(named.GetR(), -0.990237242199398);
    EXPECT_TRUE(SameBits(plain.GetB(), named.GetB()));
    EXPECT_EQ(named.GetRMin(), 1);
    EXPECT_EQ(FittedLagCount({.nM = 7}), 7);
}

TEST(FirstLag, LaterFirstLagFitsAsAPlainLeastSquaresFit)
{
    const std::vector<double> walk = RandomWalk(2000, 11);
    struct Case
    {
        int nD, nM, rMin;
    };
    for (const Case c : {Case{4, 10, 2}, Case{1, 20, 5}, Case{6, 44, 43}}) {
        SCOPED_TRACE(testing::Message() << "D " << c.nD << " M " << c.nM << " r_min " << c.rMin);
        const CHDataSet all = EstimatorOver(walk, {.nD = c.nD, .nM = c.nM});
        const CHDataSet later = EstimatorOver(walk, {.nD = c.nD, .nM = c.nM, .nRMin = c.rMin});
        const ReferenceFit reference = Reference(later, c.rMin);
        // The estimator's uncentred sums lose digits when the lags fitted
        // lie close together in log10 r (43 and 44: 0.01 apart).
        EXPECT_NEAR(later.GetB(), reference.b, 1e-9);
        EXPECT_NEAR(later.GetH(), reference.b + 2.0, 1e-9);
        EXPECT_NEAR(later.GetR(), reference.r, 1e-9);
        EXPECT_EQ(FittedLagCount(later.GetSetting()), c.nM - c.rMin + 1);
        // Every lag's length and logarithms are kept as the whole fit keeps them.
        for (int i = 0; i < c.nM; ++i) {
            EXPECT_TRUE(SameBits(all.GetL(i), later.GetL(i)));
            EXPECT_TRUE(SameBits(all.GetLogL(i), later.GetLogL(i)));
        }
    }
}

TEST(FirstLag, SetRMinRecomputesTheFitOnly)
{
    CHDataSet set({.nD = 4, .nM = 8});
    for (const double v : RandomWalk(300, 5))
        set.AddValue(v);
    const double fromOne = set.GetH();
    set.SetRMin(3);
    EXPECT_EQ(set.GetSetting(), (CEstimatorSetting{.nD = 4, .nM = 8, .nRMin = 3}));
    EXPECT_NE(set.GetH(), fromOne);
    set.SetRMin(1);
    EXPECT_TRUE(SameBits(fromOne, set.GetH()));
}

TEST(FirstLag, LimitsAreOneToMMinusOne)
{
    struct Case
    {
        int rMin, nM;
        bool usable;
    };
    for (const Case c : {Case{1, 2, true}, Case{2, 3, true}, Case{0, 3, false}, Case{-1, 3, false},
                         Case{3, 3, false}, Case{4, 3, false}, Case{1, 1, false}, Case{99999, 100000, true}})
        EXPECT_EQ(IsUsableFirstLag(c.rMin, c.nM), c.usable) << c.rMin << " of M " << c.nM;
    EXPECT_EQ(FirstLagRangeMessage(10),
              "The first lag must be between 1 and M - 1 (9 for M = 10), so that at least two lags are fitted.");
}

TEST(FirstLag, SavedLayoutReadsBackAsOne)
{
    // The estimator's own layout has no place for the first lag: the
    // document keeps it in a section of its own.
    CHDataSet set = EstimatorOver(RandomWalk(50, 2), {.nD = 3, .nM = 5, .nRMin = 2});
    std::vector<std::uint8_t> bytes;
    {
        CMemorySink sink(bytes);
        CArchive ar(sink);
        set.Serialize(ar);
        ar.Flush();
    }
    CHDataSet back({.nD = 3, .nM = 5, .nRMin = 4});
    CMemorySource source(bytes.data(), bytes.size());
    CArchive in(source);
    back.Serialize(in);
    EXPECT_EQ(back.GetRMin(), 1);
    EXPECT_TRUE(SameBits(set.GetH(), back.GetH()));
}

} // namespace first_lag_test
