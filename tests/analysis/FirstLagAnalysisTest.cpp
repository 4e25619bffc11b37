// The first lag of the fit in the analyses: sliding windows (the SIMD path
// bit for bit the direct one), Meta H, the bootstrap and the fit plot's data.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/Bootstrap.h"
#include "analysis/BootstrapText.h"
#include "analysis/FitPlotData.h"
#include "analysis/MetaH.h"
#include "analysis/SlidingWindows.h"
#include "core/HDataSet.h"
#include "core/simd/SimdLevel.h"
#include "platform/HeadlessUi.h"
#include "tests/support/SeriesBuilders.h"
#include "tests/support/TestSupport.h"

namespace first_lag_analysis_test {

TEST(FirstLagSliding, FastPathIsTheDirectPathBitForBit)
{
    const CSeriesArray series = MakeSeriesFrom(0.0, RandomWalk(700, 21));
    struct Case
    {
        int width, spacing, nM, rMin; // nM 0: the best M
    };
    for (const Case c : {Case{100, 3, 0, 2}, Case{60, 70, 8, 3}, Case{40, 1, 5, 4}}) {
        SlidingWindowParams params;
        params.width = c.width;
        params.spacing = c.spacing;
        params.useBestM = c.nM == 0;
        params.nM = c.nM;
        params.nD = 4;
        params.nRMin = c.rMin;
        std::vector<double> expectedL;
        const CHPointArray expected = ComputeSlidingWindowResultsDirect(series, params, &expectedL);
        ASSERT_GT(expected.GetSize(), 0);
        for (const SimdLevel lanes : {SimdLevel::Plain, SimdLevel::Sse2, SimdLevel::Avx2}) {
            SCOPED_TRACE(std::string(SimdLevelName(ResolveSimdLevel(lanes))) + ", r_min " + std::to_string(c.rMin));
            std::vector<double> lengths;
            const CHPointArray got = ComputeSlidingWindowResults(series, params, {}, {2, lanes, &lengths});
            ASSERT_EQ(got.GetSize(), expected.GetSize());
            for (int k = 0; k < got.GetSize(); ++k) {
                ASSERT_TRUE(SameBits(expected[k].m_dY, got[k].m_dY)) << "window " << k;
                ASSERT_TRUE(SameBits(expected[k].m_dB, got[k].m_dB)) << "window " << k;
                ASSERT_TRUE(SameBits(expected[k].m_dR, got[k].m_dR)) << "window " << k;
            }
            EXPECT_EQ(lengths, expectedL);
        }
        // And the direct path is the estimator with that first lag.
        std::vector<double> first(series.GetSize());
        for (int i = 0; i < c.width; ++i)
            first[static_cast<std::size_t>(i)] = series[i].m_dY;
        first.resize(static_cast<std::size_t>(c.width));
        const CHDataSet set =
            EstimatorOver(first, {.nD = 4, .nM = c.nM == 0 ? OptimumM(c.width) : c.nM, .nRMin = c.rMin});
        EXPECT_TRUE(SameBits(set.GetH(), expected[0].m_dY));
    }
}

TEST(FirstLagSliding, FirstLagBeyondMMinusOneIsRefused)
{
    SlidingWindowParams params;
    params.width = 100; // best M 10
    params.nRMin = 10;
    EXPECT_EQ(CheckSlidingWindowParams(params), FirstLagRangeMessage(10));
    params.nRMin = 9;
    EXPECT_EQ(CheckSlidingWindowParams(params), std::nullopt);
    params.nRMin = 0;
    EXPECT_EQ(CheckSlidingWindowParams(params), FirstLagRangeMessage(10));
    EXPECT_EQ(ComputeSlidingWindowResults(MakeSeriesFrom(0.0, RandomWalk(300, 2)), params).GetSize(), 0);
}

TEST(FirstLagMetaH, FitsFromTheFirstLagAndRefusesOneTooLate)
{
    CHeadlessUi ui;
    CHPointArray windows;
    const std::vector<double> hs = RandomWalk(50, 4);
    for (int i = 0; i < 50; ++i)
        windows.Add(MakeWindow(i, hs[static_cast<std::size_t>(i)], 0.0, 0.0, 10));
    CHDataSet set;
    ASSERT_TRUE(ComputeMetaH(ui, windows, {.nD = 2, .nM = 6, .nRMin = 3}, false, set));
    EXPECT_TRUE(SameBits(EstimatorOver(hs, {.nD = 2, .nM = 6, .nRMin = 3}).GetH(), set.GetH()));
    EXPECT_FALSE(ComputeMetaH(ui, windows, {.nD = 2, .nM = 6, .nRMin = 6}, false, set));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, FirstLagRangeMessage(6));
}

TEST(FirstLagBootstrap, ReplicatesAreFittedThroughTheSameLags)
{
    const CHDataSet set = EstimatorOver(RandomWalk(400, 8), {.nD = 4, .nM = 8, .nRMin = 3});
    CBootstrapRequest request = BootstrapRequestFor(set);
    EXPECT_EQ(request.nRMin, 3);
    request.replicates = 6;
    request.threads = 1;
    const std::vector<double> later = BootstrapEstimates(request, 0.7);
    request.nRMin = 1;
    const std::vector<double> all = BootstrapEstimates(request, 0.7);
    ASSERT_EQ(later.size(), all.size());
    for (std::size_t i = 0; i < later.size(); ++i)
        EXPECT_NE(later[i], all[i]) << i;
    request.nRMin = 8;
    EXPECT_EQ(CheckBootstrapRequest(request), FirstLagRangeMessage(8));
}

TEST(FirstLagBootstrap, ModelCheckKeepsLagOneAndSaysSo)
{
    const CHDataSet set = EstimatorOver(RandomWalk(300, 9), {.nD = 4, .nM = 6, .nRMin = 2});
    CSeriesBootstrapOptions options;
    options.replicates = 20;
    const CBootstrapResult result = RunBootstrap(SeriesBootstrapRequest(set, options));
    EXPECT_EQ(result.nRMin, 2);
    ASSERT_TRUE(result.check.has_value());
    for (const CEstimatorSetting& s : result.check->settings)
        EXPECT_EQ(s.nRMin, 1);
    const std::vector<std::string> notes = BootstrapNotes(result);
    EXPECT_NE(std::find(notes.begin(), notes.end(),
                        "The replicates are fitted from lag 2 as the estimate is; the model check's settings fit "
                        "every lag from 1."),
              notes.end());
}

TEST(FirstLagFitPlot, LineAndErrorOverTheFittedPointsOnly)
{
    const CHDataSet set = EstimatorOver(RandomWalk(500, 12), {.nD = 4, .nM = 9, .nRMin = 4});
    const CFitPlotData data = FitPlotDataOf(set, "Global");
    EXPECT_EQ(data.x.size(), 9u);
    EXPECT_EQ(data.firstFitted, 3);
    double sx = 0.0, sy = 0.0;
    for (int i = 3; i < 9; ++i) {
        sx += data.x[static_cast<std::size_t>(i)];
        sy += data.y[static_cast<std::size_t>(i)];
    }
    EXPECT_NEAR(data.intercept, (sy - data.b * sx) / 6.0, 1e-14);
    ASSERT_TRUE(data.slopeError.has_value());
    EXPECT_EQ(FitPlotDataOf(EstimatorOver(RandomWalk(500, 12), {.nD = 4, .nM = 9}), "Global").firstFitted, 0);
}

} // namespace first_lag_analysis_test
