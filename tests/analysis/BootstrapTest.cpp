#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "Bootstrap.h"
#include "FbmSimulation.h"
#include "HDataSet.h"

namespace bootstrap_test {

namespace {

double EstimateOf(const std::vector<double>& series, int nD, int nM)
{
    CHDataSet set(nD, nM);
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

} // namespace bootstrap_test
