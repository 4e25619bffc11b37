#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "analysis/BootstrapGrid.h"
#include "analysis/FbmSimulation.h"
#include "analysis/IntervalBand.h"
#include "analysis/ResultExport.h"
#include "analysis/SlidingWindows.h"
#include "document/KestrinDoc.h"
#include "platform/HeadlessUi.h"
#include "tests/support/SeriesBuilders.h"

namespace interval_band_test {

namespace {

CSeriesArray Series(const std::vector<double>& y)
{
    return MakeSeriesFrom(0.0, y);
}

SlidingWindowParams Params(int width, int spacing)
{
    SlidingWindowParams params;
    params.width = width;
    params.spacing = spacing;
    params.nD = 6;
    params.useBestM = true;
    return params;
}

CIntervalBandOptions Options(int replicates)
{
    CIntervalBandOptions options;
    options.replicates = replicates;
    options.seed = 7;
    return options;
}

CSeriesDecision Motion()
{
    CSeriesDecision decision;
    decision.measured = decision.estimatedAs = ESeriesKind::Motion;
    return decision;
}

EBandBound AsBand(EBootstrapBound bound)
{
    return static_cast<EBandBound>(bound);
}

} // namespace

// The grid's quantiles at its h are the bootstrap's own at the same h.
TEST(BootstrapGrid, QuantilesAreTheBootstrapsAtTheSameH)
{
    const CBootstrapRequest request = BandRequestFor(Params(128, 1), Motion(), Options(20));
    const CBootstrapGrid grid = ComputeBootstrapGrid(request, 2, false);
    ASSERT_EQ(grid.points.size(), 5u);
    EXPECT_EQ(grid.points[2].h, 0.5);
    std::vector<double> at = BootstrapEstimates(request, grid.points[1].h);
    std::sort(at.begin(), at.end());
    EXPECT_EQ(grid.points[1].quantiles[1], SortedQuantile(at, 0.5));
    EXPECT_EQ(grid.lowestLeast, grid.evaluations.front().sorted.front());
}

// Read from the grid, a window's corrected H, low and high lie within 0.005
// of a bootstrap of that window alone, with the same bounds; so do observed
// H's at the edges of the range and beyond reach.
TEST(BootstrapGrid, ReadsEachWindowAsItsOwnBootstrap)
{
    const CSeriesArray series = Series(SimulateFbm(1400, 0.6, 3));
    const SlidingWindowParams params = Params(256, 380);
    const CHPointArray windows = ComputeSlidingWindowResults(series, params);
    ASSERT_EQ(windows.GetSize(), 4);
    CBootstrapRequest request = BandRequestFor(params, Motion(), Options(60));
    const CBootstrapGrid grid = ComputeBootstrapGrid(request, kBootstrapGridDepth, false);
    std::vector<double> observed;
    for (const CHPoint& w : windows)
        observed.push_back(w.m_dY);
    observed.push_back(grid.points.front().quantiles[2] - 1e-3); // low at or below the lowest h
    observed.push_back(grid.points.back().quantiles[1] + 1e-3);  // corrected at or above the highest
    observed.push_back(grid.lowestLeast - 0.01);                 // beyond reach
    for (const double h : observed) {
        request.observedH = h;
        const CBootstrapResult own = RunBootstrap(request);
        const CBandWindow read = ReadBootstrapGrid(grid, h);
        ASSERT_EQ(read.Reached(), own.Reached()) << h;
        if (!own.Reached())
            continue;
        EXPECT_NEAR(read.corrected, *own.corrected, 0.005) << h;
        EXPECT_NEAR(read.low, *own.low, 0.005) << h;
        EXPECT_NEAR(read.high, *own.high, 0.005) << h;
        EXPECT_EQ(read.correctedBound, AsBand(own.correctedBound)) << h;
        EXPECT_EQ(read.lowBound, AsBand(own.lowBound)) << h;
        EXPECT_EQ(read.highBound, AsBand(own.highBound)) << h;
    }
}

TEST(IntervalBand, BinomialTailAtWorkedValues)
{
    EXPECT_EQ(BinomialUpperTail(20, 0, 0.05), 1.0);
    EXPECT_NEAR(BinomialUpperTail(1, 1, 0.05), 0.05, 1e-15);
    EXPECT_NEAR(BinomialUpperTail(2, 1, 0.05), 1.0 - 0.95 * 0.95, 1e-15);
    EXPECT_NEAR(BinomialUpperTail(2, 2, 0.05), 0.0025, 1e-15);
    EXPECT_EQ(BinomialUpperTail(2, 3, 0.05), 0.0);
}

// The band of fBm passes its check; of fBm buried in white noise, it fails,
// and says so.
TEST(IntervalBand, CheckTellsTheModelFromWhatIsNot)
{
    std::vector<double> y = SimulateFbm(6000, 0.7, 5);
    const SlidingWindowParams params = Params(256, 64);
    CSeriesArray series = Series(y);
    CHPointArray windows = ComputeSlidingWindowResults(series, params);
    const std::optional<CIntervalBand> band = ComputeIntervalBand(series, windows, params, Options(40));
    ASSERT_TRUE(band);
    EXPECT_EQ(band->windows.size(), static_cast<std::size_t>(windows.GetSize()));
    EXPECT_EQ(BandModel(*band), EBootstrapModel::Motion);
    EXPECT_EQ(band->check.windows, 23);
    EXPECT_TRUE(band->check.passed) << BandStatement(*band);
    // The share expected is the replicates' own, a little over the single
    // check's 5 %, and the statement gives it.
    EXPECT_GT(band->check.expectedShare, 0.04);
    EXPECT_LT(band->check.expectedShare, 0.12);
    EXPECT_NE(BandStatement(*band).find(" % expected), passed"), std::string::npos) << BandStatement(*band);

    std::vector<double> z(y.size());
    CNormalStream(11, 0).Fill(z.data(), z.size());
    for (std::size_t i = 0; i < y.size(); ++i)
        y[i] += 2.0 * z[i];
    series = Series(y);
    windows = ComputeSlidingWindowResults(series, params);
    const std::optional<CIntervalBand> noisy = ComputeIntervalBand(series, windows, params, Options(40));
    ASSERT_TRUE(noisy);
    EXPECT_FALSE(noisy->check.passed);
    EXPECT_NE(BandStatement(*noisy).find("failed: the series is not like the model"), std::string::npos)
        << BandStatement(*noisy);
}

TEST(IntervalBand, RefusesWhatTheBootstrapCannotTake)
{
    SlidingWindowParams params = Params(256, 1);
    params.nD = 0;
    EXPECT_EQ(CheckIntervalBand(params, Options(40)), "A bootstrap needs D and M of at least 1.");
    EXPECT_FALSE(CheckIntervalBand(Params(256, 1), Options(40)));
    int calls = 0;
    const CSeriesArray series = Series(SimulateFbm(600, 0.5, 1));
    const CHPointArray windows = ComputeSlidingWindowResults(series, Params(256, 1));
    EXPECT_FALSE(ComputeIntervalBand(series, windows, Params(256, 1), Options(40), [&](double) { return ++calls < 3; }));
}

// The document keeps the band with its windows: moving the plot points keeps
// it, computing or clearing the windows clears it.
TEST(IntervalBand, DocumentKeepsTheBandWithItsWindows)
{
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    doc.OnNewDocument();
    doc.m_points = Series(SimulateFbm(900, 0.5, 2));
    const SlidingWindowParams params = Params(256, 128);
    ASSERT_TRUE(ComputeSlidingWindows(doc, params));
    doc.SetModifiedFlag(false);
    ASSERT_TRUE(ComputeDocumentBand(doc, params, Options(20)));
    ASSERT_TRUE(doc.m_band);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.m_band->windows.size(), 6u);
    EXPECT_EQ(ui.statusTexts.back(), "Ready");
    ResetPlotPoints(doc, 0.0);
    EXPECT_TRUE(doc.m_band);
    ASSERT_TRUE(ComputeSlidingWindows(doc, params));
    EXPECT_FALSE(doc.m_band);
    ASSERT_TRUE(ComputeDocumentBand(doc, params, Options(20)));
    ClearSlidingWindows(doc);
    EXPECT_FALSE(doc.m_band);
    std::string why;
    EXPECT_FALSE(ComputeDocumentBand(doc, params, Options(20), {}, &why));
    EXPECT_EQ(why, "There are no sliding-window results to give an interval band.");
}

// "Text File" with a band: three more columns, empty for a window that
// cannot be reached, and a header that says when the check failed.
TEST(IntervalBand, TextFileAppendsTheThreeColumns)
{
    CHPointArray windows;
    for (int i = 0; i < 2; ++i) {
        CHPoint w;
        w.m_dX = 5.0 + i;
        w.m_dY = 0.5;
        windows.Add(w);
    }
    const CSeriesArray series = Series({1.0, 2.0});
    CIntervalBand band;
    band.windows = {CBandWindow{0.25, 0.125, 0.5}, CBandWindow{}};
    EXPECT_EQ(FormatSlidingResultsText(windows, series, 10.0, &band),
              "X\tY\tH\tr\tb\tH corrected\tlow\thigh\r\n"
              "15.0000,1.0000,0.5000,0.0000,0.0000,0.2500,0.1250,0.5000\r\n"
              "16.0000,2.0000,0.5000,0.0000,0.0000,,,\r\n");
    band.check.passed = false;
    EXPECT_TRUE(FormatSlidingResultsText(windows, series, 10.0, &band)
                    .starts_with("X\tY\tH\tr\tb\tH corrected\tlow\thigh\t(the band's model check failed)\r\n"));
}

} // namespace interval_band_test
