// The Whittle fGn estimate: its spectral density against the Fourier series
// of the noise's autocovariance, its periodogram against a plain DFT, the
// Nile minima's published value, and known exponents recovered.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

#include "analysis/FbmSimulation.h"
#include "analysis/HMethods.h"
#include "analysis/Whittle.h"

namespace whittle_test {

namespace {

// f(lambda) = sum_k gamma(k) e^(-i k lambda), the partial sums averaged over
// k = N .. N + P - 1 so that the slowly falling tail of a persistent noise
// does not oscillate into the result.
double FourierSeriesDensity(double lambda, double h)
{
    constexpr int kN = 100000, kP = 2000;
    double sum = FgnAutocovariance(h, 0), averaged = 0.0;
    for (int k = 1; k < kN + kP; ++k) {
        sum += 2.0 * FgnAutocovariance(h, k) * std::cos(k * lambda);
        if (k >= kN)
            averaged += sum;
    }
    return averaged / kP;
}

std::vector<double> NileMinima()
{
    std::ifstream in(std::string(KESTRIN_SAMPLES_DIR) + "/nile-minima.txt");
    std::vector<double> values;
    for (double v; in >> v;)
        values.push_back(v);
    return values;
}

} // namespace

TEST(Whittle, SpectralDensityIsTheAutocovariancesFourierSeries)
{
    // The truncated aliasing sum is within 9e-5 (its bound) of the exact
    // one; it is measured at most 1.5e-5 off.
    for (const double h : {0.2, 0.5, 0.7})
        for (const double lambda : {0.5, 1.5, 3.0}) {
            const double expected = FourierSeriesDensity(lambda, h);
            EXPECT_NEAR(FgnSpectralDensity(lambda, h), expected, 2e-5 * expected) << "H " << h << " lambda " << lambda;
        }
    // White noise is flat at 1.
    EXPECT_NEAR(FgnSpectralDensity(std::numbers::pi, 0.5), 1.0, 2e-5);
}

TEST(Whittle, PeriodogramIsTheSquaredDftOverTwoPiN)
{
    // A smooth length (the fast transform) and a prime one (the chirp).
    for (const std::size_t n : {30u, 37u}) {
        std::vector<double> x(n);
        CNormalStream(7, n).Fill(x.data(), n);
        const std::vector<double> periodogram = Periodogram(x.data(), n);
        ASSERT_EQ(periodogram.size(), (n - 1) / 2);
        for (std::size_t k = 1; k <= periodogram.size(); ++k) {
            double re = 0.0, im = 0.0;
            for (std::size_t t = 0; t < n; ++t) {
                const double angle = 2.0 * std::numbers::pi * static_cast<double>(k * t % n) / static_cast<double>(n);
                re += x[t] * std::cos(angle);
                im -= x[t] * std::sin(angle);
            }
            const double expected = (re * re + im * im) / (2.0 * std::numbers::pi * static_cast<double>(n));
            EXPECT_NEAR(periodogram[k - 1], expected, 1e-12 * (1.0 + expected)) << "n " << n << " k " << k;
        }
    }
}

TEST(Whittle, NileMinimaGiveThePublishedEstimate)
{
    const std::vector<double> nile = NileMinima();
    ASSERT_EQ(nile.size(), 663u);
    const CWhittleResult result = WhittleFgn(nile.data(), nile.size());
    ASSERT_TRUE(result.Valid());
    // Published: 0.837; the standard error about 0.027.
    EXPECT_NEAR(result.h, 0.837, 0.005);
    RecordProperty("H", std::to_string(result.h));
    RecordProperty("standard_error", std::to_string(result.standardError));
    EXPECT_NEAR(result.standardError, 0.027, 0.003);
    EXPECT_EQ(result.frequencies, 331);
}

TEST(Whittle, RefusesWhatItCannotEstimate)
{
    const std::vector<double> constant(100, 3.0), shortOne(6, 1.0);
    EXPECT_FALSE(WhittleFgn(constant.data(), constant.size()).Valid());
    EXPECT_FALSE(WhittleFgn(shortOne.data(), shortOne.size()).Valid());
    std::vector<double> withNan(100, 1.0);
    withNan[5] = std::nan("");
    EXPECT_FALSE(WhittleFgn(withNan.data(), withNan.size()).Valid());
}

// DFA-1 and Whittle recover the exponent of exact fBm (read as a motion) and
// fGn (read as a noise). The tolerances are about four times the spread
// measured over 50 replicates at these lengths.
TEST(HMethods, RecoverKnownExponents)
{
    struct Case
    {
        int n;
        double h;
        EHMethod method;
        double tolerance;
    };
    const Case cases[] = {
        {1024, 0.3, EHMethod::Whittle, 0.08}, {4096, 0.7, EHMethod::Whittle, 0.05},
        {1024, 0.3, EHMethod::Dfa, 0.15},     {4096, 0.7, EHMethod::Dfa, 0.10},
    };
    for (const Case& c : cases)
        for (const std::uint64_t seed : {1u, 2u, 3u}) {
            const std::vector<double> motion = SimulateFbm(c.n, c.h, seed);
            std::vector<double> noise(motion.size());
            for (std::size_t i = 0; i < motion.size(); ++i)
                noise[i] = motion[i] - (i > 0 ? motion[i - 1] : 0.0);
            const CMethodEstimate asMotion = EstimateByMethod(c.method, motion.data(), motion.size(), ESeriesKind::Motion);
            const CMethodEstimate asNoise = EstimateByMethod(c.method, noise.data(), noise.size(), ESeriesKind::Noise);
            const std::string what = std::string(HMethodWord(c.method)) + " n " + std::to_string(c.n) + " H " +
                                     std::to_string(c.h) + " seed " + std::to_string(seed);
            EXPECT_NEAR(asMotion.h, c.h, c.tolerance) << what;
            EXPECT_NEAR(asNoise.h, c.h, c.tolerance) << what;
            if (c.method == EHMethod::Whittle) { // the increments of the motion are the noise less its first value
                EXPECT_NEAR(asMotion.h, asNoise.h, 0.02) << what;
            }
        }
}

} // namespace whittle_test
