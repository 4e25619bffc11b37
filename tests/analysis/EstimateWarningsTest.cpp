// The words that say an H reads a smooth signal or comes from too few
// values: when they are said and when not.
#include <cmath>

#include <gtest/gtest.h>

#include "analysis/Bootstrap.h"
#include "analysis/EstimateWarnings.h"
#include "analysis/FbmSimulation.h"
#include "core/HDataSet.h"

namespace estimate_warnings_test {

namespace {

const std::string kSmooth =
    "The series is smoother than any fractional Brownian motion: a trend or a smooth signal dominates.";
const std::string kShort = "Estimates from fewer than 128 values vary by 0.1 or more; use the bootstrap to see how far.";

CHDataSet Estimated(const std::vector<double>& values)
{
    CHDataSet set({.nD = 4, .nM = 3});
    set.m_bAutoCompute = 0;
    set.Values().Storage() = values;
    set.Compute();
    return set;
}

std::vector<double> Of(int n, double (*f)(int))
{
    std::vector<double> values;
    for (int i = 0; i < n; ++i)
        values.push_back(f(i));
    return values;
}

// A bootstrap whose replicates' median stays below the observed H at the
// highest h searched (unreached: below every replicate there too, or
// reached at that edge).
CBootstrapResult FromAbove(double observed, bool reached)
{
    CBootstrapResult result;
    result.observedH = observed;
    result.grid = {{kBootstrapLowestH, {0.0, 0.1, 0.2}}, {kBootstrapHighestH, {0.8, 0.9, 0.92}}};
    if (reached) {
        result.corrected = kBootstrapHighestH;
        result.correctedBound = EBootstrapBound::AtOrAbove;
    }
    return result;
}

TEST(EstimateWarnings, SmoothAndShortSeriesAreNamedOthersNot)
{
    const CBootstrapResult unreachedAbove = FromAbove(0.95, false);
    const CBootstrapResult atTop = FromAbove(0.95, true);
    const CBootstrapResult unreachedBelow = FromAbove(-0.5, false);
    const struct
    {
        const char* name;
        std::vector<double> values;
        const CBootstrapResult* bootstrap;
        std::vector<std::string> warnings;
    } cases[] = {
        {"sine", Of(400, [](int i) { return std::sin(i / 10.0); }), nullptr, {kSmooth}},
        {"quadratic", Of(400, [](int i) { return 1e-3 * i * i; }), nullptr, {kSmooth}},
        {"short quadratic", Of(100, [](int i) { return 1e-3 * i * i; }), nullptr, {kSmooth, kShort}},
        {"fBm", SimulateFbm(400, 0.5, 3), nullptr, {}},
        {"fBm, 127 values", SimulateFbm(127, 0.5, 3), nullptr, {kShort}},
        {"fBm, 128 values", SimulateFbm(128, 0.5, 3), nullptr, {}},
        {"fBm, no h from above", SimulateFbm(400, 0.5, 3), &unreachedAbove, {kSmooth}},
        {"fBm, h at the top", SimulateFbm(400, 0.5, 3), &atTop, {kSmooth}},
        {"fBm, below every h", SimulateFbm(400, 0.5, 3), &unreachedBelow, {}},
        // Every L(r) 0: the constant series' own warning says why H is 2.
        {"constant", std::vector<double>(400, 2.5), nullptr, {}},
        {"empty", {}, nullptr, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CHDataSet set = Estimated(c.values);
        EXPECT_EQ(HReadingWarnings(set, c.bootstrap), c.warnings) << set.GetH();
    }
    EXPECT_EQ(HReadingWarnings(Estimated(Of(100, [](int i) { return 1e-3 * i * i; })), nullptr, "5.000000: "),
              (std::vector<std::string>{"5.000000: " + kSmooth, "5.000000: " + kShort}));
}

} // namespace

} // namespace estimate_warnings_test
