#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>

#include "analysis/Bootstrap.h"
#include "analysis/BootstrapText.h"
#include "analysis/FbmSimulation.h"
#include "core/HDataSet.h"
#include "analysis/SeriesProfile.h"

namespace bootstrap_test {

namespace {

double EstimateOf(const std::vector<double>& series, int nD, int nM)
{
    CHDataSet set({.nD = nD, .nM = nM});
    set.m_bAutoCompute = 0;
    set.Values().Storage() = series;
    set.Compute();
    return set.GetH();
}

CBootstrapRequest Request(int n, double observed, int replicates)
{
    CBootstrapRequest request;
    request.n = n;
    request.observedH = observed;
    request.replicates = replicates;
    return request;
}

CHDataSet Estimated(const std::vector<double>& series)
{
    CHDataSet set({.nD = 4, .nM = 3});
    set.m_bAutoCompute = 0;
    set.Values().Storage() = series;
    set.Compute();
    return set;
}

// The whole pipeline at the import's defaults: decided, modelled, checked.
CBootstrapResult SeriesBootstrap(const std::vector<double>& series, int replicates, std::uint64_t seed,
                                 ESeriesInput input = ESeriesInput::Auto, bool isProfile = false)
{
    CSeriesBootstrapOptions options;
    options.replicates = replicates;
    options.seed = seed;
    options.input = input;
    options.isProfile = isProfile;
    return RunBootstrap(SeriesBootstrapRequest(Estimated(series), options));
}

std::vector<double> Normals(int n, std::uint64_t seed)
{
    std::vector<double> z(static_cast<std::size_t>(n));
    CNormalStream(seed, 9).Fill(z.data(), z.size());
    return z;
}

} // namespace

// The simulated noise has fractional Gaussian noise's autocovariance: the
// sample autocovariance over many paths (mean known to be 0) lies within
// four standard errors of the theoretical value, the standard error coming
// from the theoretical covariance itself (Bartlett's formula, leading term).
TEST(FbmSimulation, NoiseHasTheAutocovarianceOfFractionalGaussianNoise)
{
    constexpr int n = 2048;
    constexpr int calls = 16; // two paths each
    for (const double h : {0.3, 0.5, 0.7, 0.9}) {
        const CFgnGenerator generator(n, h);
        std::vector<double> normals(generator.NormalsPerCall()), a(n), b(n);
        std::vector<std::complex<double>> work;
        for (const int lag : {0, 1, 2, 5}) {
            double sum = 0.0;
            for (int c = 0; c < calls; ++c) {
                CNormalStream(7, static_cast<std::uint64_t>(c)).Fill(normals.data(), normals.size());
                generator.Generate(normals.data(), a.data(), b.data(), work);
                for (int i = 0; i + lag < n; ++i)
                    sum += a[i] * a[i + lag] + b[i] * b[i + lag];
            }
            const double samples = 2.0 * calls * (n - lag);
            double squares = 0.0;
            for (int k = -(n - 1); k < n; ++k)
                squares += FgnAutocovariance(h, k) * (FgnAutocovariance(h, k) + FgnAutocovariance(h, k + 2 * lag));
            const double standardError = std::sqrt(squares / samples * (n - lag) / n) + 1e-12;
            EXPECT_NEAR(sum / samples, FgnAutocovariance(h, lag), 4.0 * standardError) << "H " << h << " lag " << lag;
        }
    }
}

TEST(FbmSimulation, AutocovarianceAtKnownPoints)
{
    EXPECT_NEAR(FgnAutocovariance(0.5, 3), 0.0, 1e-15); // white noise
    EXPECT_DOUBLE_EQ(FgnAutocovariance(0.7, 0), 1.0);
    EXPECT_DOUBLE_EQ(FgnAutocovariance(0.7, 1), 0.5 * (std::pow(2.0, 1.4) - 2.0));
    EXPECT_NEAR(FgnAutocovariance(0.7, 10), 0.5 * (std::pow(11.0, 1.4) - 2 * std::pow(10.0, 1.4) + std::pow(9.0, 1.4)),
                1e-12);
    EXPECT_EQ(FgnAutocovariance(0.3, -4), FgnAutocovariance(0.3, 4));
}

// On fBm of known H (4096 points, D 4, M 3, the import's defaults) the
// corrected H is within 0.03 of the truth and the interval holds it.
TEST(Bootstrap, CorrectsTheBiasOfSimulatedMotion)
{
    for (const double truth : {0.3, 0.7}) {
        const double observed = EstimateOf(SimulateFbm(4096, truth, 99), 4, 3);
        const CBootstrapResult result = RunBootstrap(Request(4096, observed, 40));
        ASSERT_TRUE(result.corrected && result.low && result.high) << truth;
        EXPECT_NEAR(*result.corrected, truth, 0.03) << "observed " << observed;
        EXPECT_LE(*result.low, truth);
        EXPECT_GE(*result.high, truth);
        EXPECT_LT(*result.low, *result.corrected);
        EXPECT_LT(*result.corrected, *result.high);
    }
}

// The same seed gives the same numbers bit for bit whatever the number of
// threads (an odd count leaves the last pair half used).
TEST(Bootstrap, SeedGivesTheSameNumbersOnAnyThreadCount)
{
    CBootstrapRequest request = Request(300, 0.6, 7);
    request.threads = 1;
    const std::vector<double> one = BootstrapEstimates(request, 0.6);
    ASSERT_EQ(one.size(), 7u);
    const CBootstrapResult first = RunBootstrap(request);
    for (const unsigned threads : {2u, 3u, 8u}) {
        request.threads = threads;
        const std::vector<double> again = BootstrapEstimates(request, 0.6);
        EXPECT_EQ(std::memcmp(one.data(), again.data(), one.size() * sizeof(double)), 0) << threads;
        const CBootstrapResult other = RunBootstrap(request);
        EXPECT_EQ(*first.corrected, *other.corrected);
        EXPECT_EQ(*first.low, *other.low);
        EXPECT_EQ(*first.high, *other.high);
    }
    request.seed += 1;
    EXPECT_NE(BootstrapEstimates(request, 0.6), one);
}

// An observed H that no exponent in (0, 1) gives (a straight line reads
// about 1, a period-2 series below 0) is reported as not reached.
TEST(Bootstrap, ObservedBeyondReachGivesNoInterval)
{
    for (const double observed : {1.6, -0.4}) {
        const CBootstrapResult result = RunBootstrap(Request(256, observed, 6));
        EXPECT_FALSE(result.Reached()) << observed;
        EXPECT_FALSE(result.low || result.high) << observed;
        EXPECT_FALSE(result.cancelled);
    }
    EXPECT_FALSE(RunBootstrap(Request(3, 0.5, 6)).Reached()); // too few values
}

TEST(Bootstrap, CancelStopsWithoutValues)
{
    int calls = 0;
    const CBootstrapResult result = RunBootstrap(Request(512, 0.6, 20), [&](double fraction) {
        EXPECT_GE(fraction, 0.0);
        EXPECT_LE(fraction, 1.0);
        return ++calls < 3;
    });
    EXPECT_TRUE(result.cancelled);
    EXPECT_FALSE(result.corrected || result.low || result.high);
    EXPECT_EQ(calls, 3);
}

// The model follows what the data went through. The Nile minima's profile,
// simulated as a profile of fGn (the profile's line through its ends being
// no part of fBm), reads a higher corrected H than simulated as fBm.
TEST(Bootstrap, ModelFollowsWhatTheDataWentThrough)
{
    std::ifstream in(KESTRIN_SAMPLES_DIR "/nile-minima.txt");
    std::vector<double> nile;
    for (double v; in >> v;)
        nile.push_back(v);
    ASSERT_EQ(nile.size(), 663u);
    std::vector<double> profile = nile;
    ProfileInPlace(profile.data(), profile.size());
    const CBootstrapResult asProfile = SeriesBootstrap(profile, 50, 1, ESeriesInput::Auto, true);
    const CBootstrapResult asMotion = SeriesBootstrap(profile, 50, 1, ESeriesInput::Motion, true);
    const CBootstrapResult asNoise = SeriesBootstrap(nile, 50, 1);
    EXPECT_STREQ(BootstrapModelName(asProfile.model), "profile of fractional Gaussian noise");
    EXPECT_STREQ(BootstrapModelName(asMotion.model), "fractional Brownian motion");
    EXPECT_STREQ(BootstrapModelName(asNoise.model), "fractional Gaussian noise");
    ASSERT_TRUE(asProfile.corrected && asMotion.corrected && asNoise.corrected);
    EXPECT_GT(*asProfile.corrected, *asMotion.corrected + 0.02);
    // The raw series as a noise reads about the published 0.8 to 0.9 too.
    EXPECT_NEAR(*asNoise.corrected, 0.85, 0.05);
    EXPECT_TRUE(asProfile.check && asProfile.check->passed);
}

// The model check adds estimators to the same paths: the corrected H and
// the interval stay the same bit for bit.
TEST(Bootstrap, ModelCheckLeavesTheIntervalAsItIs)
{
    const std::vector<double> walk = SimulateFbm(500, 0.6, 8);
    const CHDataSet set = Estimated(walk);
    CBootstrapRequest plain = BootstrapRequestFor(set);
    plain.replicates = 15;
    CBootstrapRequest checked = plain;
    checked.checkObserved = ModelCheckEstimates(walk.data(), 500);
    const CBootstrapResult a = RunBootstrap(plain), b = RunBootstrap(checked);
    ASSERT_TRUE(a.corrected && b.corrected && b.check);
    EXPECT_FALSE(a.check);
    EXPECT_EQ(*a.corrected, *b.corrected);
    EXPECT_EQ(*a.low, *b.low);
    EXPECT_EQ(*a.high, *b.high);
    EXPECT_EQ(b.check->settings[2].nM, 22); // the best M of 500
    EXPECT_EQ(b.check->corrected.size(), 3u);
    checked.checkObserved.pop_back();
    EXPECT_TRUE(CheckBootstrapRequest(checked).has_value());
}

// The check on small fixed sets (n 1024, 50 replicates): quiet on exact fBm,
// flagging cumulated AR(1), fBm under white noise, and a trend.
TEST(Bootstrap, ModelCheckTellsFbmFromWhatIsNot)
{
    int alarms = 0;
    for (const double h : {0.3, 0.5, 0.7, 0.9})
        alarms += !SeriesBootstrap(SimulateFbm(1024, h, 1), 50, 1).check->passed;
    EXPECT_LE(alarms, 1);
    int flagged = 0;
    for (const std::uint64_t seed : {3u, 4u}) {
        std::vector<double> ar = Normals(1024, seed);
        for (std::size_t i = 1; i < ar.size(); ++i)
            ar[i] += 0.5 * ar[i - 1];
        CumulativeSum(ar.data(), ar.size());
        std::vector<double> noisy = SimulateFbm(1024, 0.7, seed);
        const std::vector<double> z = Normals(1024, seed + 10);
        for (std::size_t i = 0; i < noisy.size(); ++i)
            noisy[i] += z[i];
        for (const auto* series : {&ar, &noisy}) {
            const CBootstrapResult result = SeriesBootstrap(*series, 50, seed);
            ASSERT_TRUE(result.check);
            flagged += !result.check->passed;
            if (!result.check->passed) {
                const std::vector<std::string> notes = BootstrapNotes(result);
                ASSERT_FALSE(notes.empty());
                EXPECT_EQ(notes[0].rfind("The data are not like fractional Brownian motion (the settings disagree: "
                                         "D 4 M 3 gives ",
                                         0),
                          0u)
                    << notes[0];
            }
        }
    }
    EXPECT_GE(flagged, 3);
}

// At the searched range's edges: an observed H beyond the median there but
// within the replicates is "at or above" the edge, not unreachable; beyond
// every replicate it cannot be reached.
TEST(Bootstrap, EdgesSayWhatTheyMean)
{
    CBootstrapRequest request = Request(256, 0.0, 30);
    for (const bool top : {true, false}) {
        std::vector<double> atEdge = BootstrapEstimates(request, top ? kBootstrapHighestH : kBootstrapLowestH);
        std::sort(atEdge.begin(), atEdge.end());
        const double median = SortedQuantile(atEdge, 0.5);
        const double extreme = top ? atEdge.back() : atEdge.front();
        request.observedH = 0.5 * (median + extreme);
        const CBootstrapResult within = RunBootstrap(request);
        ASSERT_TRUE(within.Reached()) << top;
        EXPECT_EQ(within.correctedBound, top ? EBootstrapBound::AtOrAbove : EBootstrapBound::AtOrBelow);
        EXPECT_EQ(*within.corrected, top ? kBootstrapHighestH : kBootstrapLowestH);
        EXPECT_EQ(top ? within.highBound : within.lowBound, within.correctedBound);
        EXPECT_TRUE(std::isnan(within.correctedError));
        EXPECT_EQ(BootstrapSummaryText(within).find(top ? "H corrected \xE2\x89\xA5 0.99, 95 % interval "
                                                    : "H corrected \xE2\x89\xA4 0.01, 95 % interval "),
                  0u)
            << BootstrapSummaryText(within);
        EXPECT_EQ(BootstrapSummaryText(within).find("none"), std::string::npos);
        EXPECT_NE(BootstrapNotes(within).front().find("[0.008, 0.992]"), std::string::npos);

        request.observedH = extreme + (top ? 1e-9 : -1e-9);
        const CBootstrapResult beyond = RunBootstrap(request);
        EXPECT_FALSE(beyond.Reached() || beyond.low || beyond.high) << top;
        EXPECT_NE(BootstrapSummaryText(beyond).find("cannot be reached by any H in [0.008, 0.992]"), std::string::npos);
    }
}

// Values print to the digits their Monte-Carlo error supports, never more
// than three decimals; errors above a quarter of the width ask for more
// replicates.
TEST(Bootstrap, DigitsFollowTheMonteCarloError)
{
    const struct
    {
        double error;
        const char* text;
    } table[] = {{0.0002, "0.712"}, {0.003, "0.712"}, {0.004, "0.71"}, {0.03, "0.71"}, {0.06, "0.7"},
                 {0.4, "0.7"},      {std::nan(""), "0.712"}};
    for (const auto& row : table)
        EXPECT_EQ(BootstrapValueText(0.712345, EBootstrapBound::Value, row.error), row.text) << row.error;
    EXPECT_EQ(BootstrapValueText(0.992, EBootstrapBound::AtOrAbove, 0.01), "\xE2\x89\xA5 0.99");
    EXPECT_EQ(BootstrapValueText(0.008, EBootstrapBound::AtOrBelow, 0.01), "\xE2\x89\xA4 0.01");

    CBootstrapResult result;
    result.corrected = 0.5;
    result.low = 0.45;
    result.high = 0.55;
    result.correctedError = 0.01;
    result.lowError = 0.02;
    result.highError = 0.02;
    EXPECT_FALSE(result.NeedsMoreReplicates());
    result.highError = 0.03;
    EXPECT_TRUE(result.NeedsMoreReplicates());
    EXPECT_NE(BootstrapPrecisionText(result).find("; use more replicates"), std::string::npos);

    // A real run: errors finite, positive and below the interval's width.
    const CBootstrapResult run = RunBootstrap(Request(512, 0.6, 40));
    for (const double e : {run.correctedError, run.lowError, run.highError}) {
        EXPECT_GT(e, 0.0);
        EXPECT_LT(e, *run.high - *run.low);
    }
}

} // namespace bootstrap_test
