// The bootstraps of the whole series and of every interval in one run: each
// the same bits as a bootstrap of its own, neighbours whose intervals share
// no point marked, and the table as CSV.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/BootstrapLimits.h"
#include "analysis/FbmSimulation.h"
#include "analysis/IntervalBootstraps.h"
#include "core/Format.h"
#include "core/HDataSet.h"

namespace interval_bootstraps_test {

namespace {

CHDataSet Estimated(const std::vector<double>& values)
{
    CHDataSet set({.nD = 4, .nM = 3});
    set.m_bAutoCompute = 0;
    set.Values().Storage() = values;
    set.Compute();
    return set;
}

CBootstrapResult Interval(double corrected, double low, double high, double error)
{
    CBootstrapResult r;
    r.corrected = corrected;
    r.low = low;
    r.high = high;
    r.correctedError = r.lowError = r.highError = error;
    return r;
}

} // namespace

TEST(IntervalBootstraps, SpansRunFromTheSmallestToTheLargestX)
{
    const std::vector<CIntervalSpan> spans = IntervalSpansOf({10, 15}, -2.5, 19.0);
    ASSERT_EQ(spans.size(), 3u);
    const double expected[][2] = {{-2.5, 10.0}, {10.0, 15.0}, {15.0, 19.0}};
    for (std::size_t i = 0; i < spans.size(); ++i) {
        EXPECT_FALSE(spans[i].global);
        EXPECT_EQ(spans[i].lower, expected[i][0]) << i;
        EXPECT_EQ(spans[i].upper, expected[i][1]) << i;
    }
    EXPECT_EQ(SpanText(spans[0]), "-2.500000 to 10.000000");
    EXPECT_EQ(SpanText({.global = true}), "global");
}

// Each estimate's result is its own bootstrap bit for bit; a short one is
// refused and the others run on; a given result is taken as it is; a
// cancelled run leaves every estimate from the one under way cancelled.
TEST(IntervalBootstraps, EachIsItsOwnBootstrapAndRefusalsDoNotStopTheRun)
{
    const std::vector<double> motion = SimulateFbm(256, 0.7, 5);
    const CHDataSet global = Estimated(motion);
    const CHDataSet first = Estimated({motion.begin(), motion.begin() + 128});
    const CHDataSet tiny = Estimated({1.0, 2.0, 0.5});
    const CHDataSet last = Estimated({motion.begin() + 128, motion.end()});
    CSeriesBootstrapOptions options;
    options.replicates = 8;
    options.seed = 11;
    CBootstrapResult given = Interval(0.5, 0.4, 0.6, 0.01);
    const std::vector<CIntervalEstimate> estimates{{.set = &global, .span = {.global = true}},
                                                   {.set = &first, .span = {}},
                                                   {.set = &tiny, .span = {}},
                                                   {.set = &last, .span = {}, .given = &given}};
    const std::vector<CIntervalBootstrapRow> rows = BootstrapIntervals(estimates, options);
    ASSERT_EQ(rows.size(), 4u);
    for (const std::size_t i : {0u, 1u}) {
        const CBootstrapRequest request = SeriesBootstrapRequest(*estimates[i].set, options);
        CBootstrapResult own = RunBootstrap(request);
        const auto leftOut = LeaveOutUngivenInterval(request, own);
        EXPECT_EQ(rows[i].result.corrected, own.corrected) << i;
        EXPECT_EQ(rows[i].result.low, own.low) << i;
        EXPECT_EQ(rows[i].leftOut, leftOut) << i;
        // Eight replicates give no 95 % interval.
        EXPECT_TRUE(leftOut.has_value()) << i;
        EXPECT_EQ(rows[i].n, estimates[i].set->GetCount());
        EXPECT_EQ(rows[i].h, estimates[i].set->GetH());
    }
    EXPECT_TRUE(rows[2].refusal.has_value());
    EXPECT_FALSE(rows[2].result.Reached());
    EXPECT_EQ(rows[3].result.corrected, 0.5);
    EXPECT_EQ(rows[3].result.low, 0.4);
    EXPECT_EQ(rows[3].leftOut, rows[1].leftOut);

    int calls = 0;
    const auto stopped = BootstrapIntervals(estimates, options, [&](double fraction) {
        EXPECT_GE(fraction, 0.0);
        EXPECT_LE(fraction, 1.0);
        return ++calls < 3;
    });
    ASSERT_EQ(stopped.size(), 4u);
    EXPECT_TRUE(stopped[3].result.cancelled);
    EXPECT_FALSE(stopped[3].result.Reached());
}

// Neighbouring intervals are marked apart when theirs share no point, never
// against the whole series; the CSV gives the digits each value supports.
TEST(IntervalBootstraps, CsvOfWorkedRows)
{
    const CBootstrapResult a = Interval(0.5, 0.45, 0.55, 0.004);   // 2 decimals
    const CBootstrapResult b = Interval(0.7123, 0.6, 0.8, 0.0004); // 3 decimals
    const CBootstrapResult c = Interval(0.75, 0.79, 0.9, 0.04);    // 1 decimal
    const CHDataSet one = Estimated({0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    std::vector<CIntervalEstimate> estimates{{.set = &one, .span = {.global = true, .lower = 0, .upper = 19}, .given = &a},
                                             {.set = &one, .span = {.lower = 0, .upper = 10}, .given = &a},
                                             {.set = &one, .span = {.lower = 10, .upper = 15}, .given = &b},
                                             {.set = &one, .span = {.lower = 15, .upper = 19}, .given = &c}};
    CSeriesBootstrapOptions options;
    options.replicates = 39;
    std::vector<CIntervalBootstrapRow> rows = BootstrapIntervals(estimates, options);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_FALSE(rows[0].apartFromPrevious);
    EXPECT_FALSE(rows[1].apartFromPrevious); // after the whole series
    EXPECT_EQ(rows[2].apartFromPrevious, true);
    EXPECT_EQ(rows[3].apartFromPrevious, false);
    EXPECT_EQ(ApartText(rows[2]), "apart");
    EXPECT_EQ(ApartText(rows[3]), "overlap");
    rows[3].result.decision = CSeriesDecision{.input = ESeriesInput::Motion,
                                              .alpha = 1.5,
                                              .measured = ESeriesKind::Motion,
                                              .estimatedAs = ESeriesKind::Motion};
    rows[3].result.check = CModelCheck{};
    rows[3].result.check->passed = false;
    rows[3].result.highBound = EBootstrapBound::AtOrAbove;
    rows[1].result.cancelled = true;
    // One set of 10 values, D 4, M 3: H as the estimator gives it.
    const std::string h = FormatFixed(one.GetH(), 6);
    EXPECT_EQ(IntervalBootstrapsCsv(rows),
              "interval,lower X,upper X,n,H,H corrected,low,high,vs previous,series,model,model check\r\n"
              "global,0.000000,19.000000,10," + h + ",0.50,0.45,0.55,,,fractional Brownian motion,\r\n"
              "1,0.000000,10.000000,10," + h + ",,,,,,,\r\n"
              "2,10.000000,15.000000,10," + h + ",0.712,0.600,0.800,apart,,fractional Brownian motion,\r\n"
              "3,15.000000,19.000000,10," + h + ",0.8,0.8,\xE2\x89\xA5 0.99,overlap,\"motion (as given), \xCE\xB1 1.50\","
              "fractional Brownian motion,failed\r\n");
}

} // namespace interval_bootstraps_test
