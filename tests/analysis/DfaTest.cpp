// DFA-1 against a straightforward implementation: every window of the
// profile detrended by its own least-squares line, written out plainly.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "analysis/Dfa.h"
#include "analysis/FbmSimulation.h"
#include "core/simd/SimdLevel.h"

namespace dfa_test {

namespace {

// F(s) the plain way: the profile from the mean, then for each window (from
// the start, then from the end) the line fitted by the centred normal
// equations and the residuals squared and averaged.
double ReferenceFluctuation(const std::vector<double>& series, int s)
{
    const std::size_t n = series.size();
    double mean = 0.0;
    for (const double v : series)
        mean += v;
    mean /= static_cast<double>(n);
    std::vector<double> profile(n);
    double run = 0.0;
    for (std::size_t i = 0; i < n; ++i)
        profile[i] = run += series[i] - mean;
    const std::size_t windows = n / s;
    std::vector<std::size_t> starts;
    for (std::size_t w = 0; w < windows; ++w)
        starts.push_back(w * s);
    for (std::size_t w = 0; w < windows; ++w)
        starts.push_back(n - (w + 1) * s);
    double total = 0.0;
    for (const std::size_t a : starts) {
        double tBar = 0.0, yBar = 0.0;
        for (int i = 0; i < s; ++i) {
            tBar += i;
            yBar += profile[a + i];
        }
        tBar /= s;
        yBar /= s;
        double stt = 0.0, sty = 0.0;
        for (int i = 0; i < s; ++i) {
            stt += (i - tBar) * (i - tBar);
            sty += (i - tBar) * (profile[a + i] - yBar);
        }
        const double slope = sty / stt;
        double squares = 0.0;
        for (int i = 0; i < s; ++i) {
            const double r = profile[a + i] - (yBar + slope * (i - tBar));
            squares += r * r;
        }
        total += squares / s;
    }
    return std::sqrt(total / static_cast<double>(starts.size()));
}

struct SeriesCase
{
    std::string name;
    std::function<std::vector<double>()> make;
};

std::vector<double> Noise(int n, std::uint64_t seed)
{
    std::vector<double> z(static_cast<std::size_t>(n));
    CNormalStream(seed, 0).Fill(z.data(), z.size());
    return z;
}

} // namespace

TEST(Dfa, FluctuationsAndAlphaMatchThePlainComputation)
{
    const std::vector<SeriesCase> cases = {
        {"white noise 1000", [] { return Noise(1000, 1); }},
        {"random walk 777", [] {
             std::vector<double> x = Noise(777, 2);
             CumulativeSum(x.data(), x.size());
             return x;
         }},
        {"fBm 0.8 2048", [] { return SimulateFbm(2048, 0.8, 3); }},
        {"far-off level and trend 1500", [] {
             std::vector<double> x = Noise(1500, 4);
             for (std::size_t i = 0; i < x.size(); ++i)
                 x[i] += 1.0e6 + 3.0 * i + 1.0e-3 * i * i;
             return x;
         }},
        {"short 64", [] { return Noise(64, 5); }},
    };
    for (const SeriesCase& c : cases) {
        const std::vector<double> x = c.make();
        const CDfaResult result = Dfa1(x.data(), x.size());
        ASSERT_TRUE(result.Valid()) << c.name;
        ASSERT_EQ(result.scales, DfaScales(x.size())) << c.name;
        double sx = 0, sy = 0, sxx = 0, sxy = 0;
        for (std::size_t k = 0; k < result.scales.size(); ++k) {
            const double expected = ReferenceFluctuation(x, result.scales[k]);
            EXPECT_NEAR(result.fluctuations[k], expected, 1e-12 * expected) << c.name << " s " << result.scales[k];
            const double lx = std::log10(static_cast<double>(result.scales[k])), ly = std::log10(expected);
            sx += lx;
            sy += ly;
            sxx += lx * lx;
            sxy += lx * ly;
        }
        const double k = static_cast<double>(result.scales.size());
        EXPECT_NEAR(result.alpha, (k * sxy - sx * sy) / (k * sxx - sx * sx), 1e-11) << c.name;
        // The same bits with every kernel set this processor has.
        for (const SimdLevel level : {SimdLevel::Plain, SimdLevel::Sse2, SimdLevel::Avx2}) {
            SetSimdLimit(level);
            const CDfaResult atLevel = Dfa1(x.data(), x.size());
            SetSimdLimit(SimdLevel::Automatic);
            EXPECT_EQ(atLevel.fluctuations, result.fluctuations) << c.name << " " << SimdLevelName(level);
            EXPECT_EQ(atLevel.alpha, result.alpha) << c.name << " " << SimdLevelName(level);
        }
    }
}

// Scales: 4 per octave from the least, rounded, each once, up to n / 4.
TEST(Dfa, ScalesAndDegenerateSeries)
{
    EXPECT_EQ(DfaScales(100), (std::vector<int>{4, 5, 6, 7, 8, 10, 11, 13, 16, 19, 23}));
    EXPECT_EQ(DfaScales(64, 2), (std::vector<int>{3, 4, 5, 6, 7, 8, 10, 12, 14}));
    EXPECT_TRUE(DfaScales(15).empty());
    // Too short for two scales, and a constant (its profile 0, F 0 everywhere):
    // no alpha.
    const std::vector<double> shortOne = Noise(19, 6);
    EXPECT_FALSE(Dfa1(shortOne.data(), shortOne.size()).Valid());
    std::vector<double> constant(300, 2.0);
    EXPECT_FALSE(Dfa1(constant.data(), constant.size()).Valid());
    EXPECT_TRUE(std::isnan(DfaFluctuation(constant.data(), constant.size(), 2)));
}

} // namespace dfa_test
