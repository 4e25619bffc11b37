#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "HeadlessUi.h"
#include "KestrinDoc.h"
#include "SlidingWindows.h"

namespace sliding_windows_test {

namespace {

CHPointArray Series(const std::vector<double>& values)
{
    CHPointArray points;
    for (std::size_t i = 0; i < values.size(); ++i) {
        CHPoint p;
        p.m_dX = static_cast<double>(i);
        p.m_dY = values[i];
        points.Add(p);
    }
    return points;
}

std::vector<double> RandomWalk(int n, unsigned seed)
{
    std::mt19937_64 rng(seed);
    std::normal_distribution<double> step;
    std::vector<double> v(static_cast<std::size_t>(n));
    double y = 0.0;
    for (double& x : v)
        x = (y += step(rng));
    return v;
}

SlidingWindowParams Params(int width, int spacing, bool best = true, int nM = 0, int nD = 6, double plot = 0.5)
{
    SlidingWindowParams p;
    p.width = width;
    p.spacing = spacing;
    p.useBestM = best;
    p.nM = nM;
    p.nD = nD;
    p.plotPoint = plot;
    return p;
}

// Differences relative to the larger magnitude, or absolute below 1.
double Relative(double a, double b)
{
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && std::isnan(b) ? 0.0 : 1.0;
    return std::fabs(a - b) / std::max({1.0, std::fabs(a), std::fabs(b)});
}

void ExpectSameAsEstimator(const CHPointArray& series, const SlidingWindowParams& params)
{
    const CHPointArray fast = ComputeSlidingWindowResults(series, params);
    const CHPointArray plain = ComputeSlidingWindowResultsDirect(series, params);
    ASSERT_EQ(fast.GetSize(), plain.GetSize());
    for (int i = 0; i < fast.GetSize(); ++i) {
        SCOPED_TRACE("window " + std::to_string(i) + " of width " + std::to_string(params.width) + ", spacing " +
                     std::to_string(params.spacing) + ", M " + std::to_string(WindowM(params)));
        EXPECT_EQ(fast[i].m_nCount, plain[i].m_nCount);
        EXPECT_EQ(fast[i].m_dX, plain[i].m_dX);
        EXPECT_LE(Relative(fast[i].m_dY, plain[i].m_dY), 1e-12);
        EXPECT_LE(Relative(fast[i].m_dB, plain[i].m_dB), 1e-12);
        EXPECT_LE(Relative(fast[i].m_dR, plain[i].m_dR), 1e-12);
    }
}

} // namespace

TEST(SlidingWindowGeometry, WindowsStopBeforeTheLastPoint)
{
    const CHPointArray s200 = Series(RandomWalk(200, 1));
    const CHPointArray results = ComputeSlidingWindowResults(s200, Params(100, 1));
    ASSERT_EQ(results.GetSize(), 100);
    EXPECT_EQ(results[0].m_dX, 50.0);
    EXPECT_EQ(results[99].m_dX, 149.0);
    EXPECT_EQ(results[0].m_nCount, 100);

    const CHPointArray s100 = Series(RandomWalk(100, 2));
    EXPECT_EQ(ComputeSlidingWindowResults(s100, Params(99, 10)).GetSize(), 1);
    EXPECT_EQ(ComputeSlidingWindowResults(s100, Params(100, 1)).GetSize(), 0);
    EXPECT_EQ(CountSlidingWindows(200, 100, 1), 100);
    EXPECT_EQ(CountSlidingWindows(100, 99, 10), 1);
    EXPECT_EQ(CountSlidingWindows(100, 100, 1), 0);
}

TEST(SlidingWindowGeometry, PlotPointPlacesTheResultInItsWindow)
{
    const CHPointArray s = Series(RandomWalk(300, 3));
    const CHPointArray first = ComputeSlidingWindowResults(s, Params(100, 7, true, 0, 6, 0.0));
    const CHPointArray past = ComputeSlidingWindowResults(s, Params(100, 7, true, 0, 6, 1.0));
    ASSERT_EQ(first.GetSize(), past.GetSize());
    for (int i = 0; i < first.GetSize(); ++i) {
        EXPECT_EQ(first[i].m_dX, 7.0 * i);
        EXPECT_EQ(past[i].m_dX, 7.0 * i + 100.0);
    }
}

TEST(SlidingWindowGeometry, UseBestTakesTheSquareRootOfTheWidth)
{
    EXPECT_EQ(WindowM(Params(100, 1)), 10);
    EXPECT_EQ(WindowM(Params(99, 1)), 9);
    EXPECT_EQ(WindowM(Params(120, 1)), 10);
    EXPECT_EQ(WindowM(Params(120, 1, false, 4)), 4);
}

TEST(SlidingWindowGeometry, HugeWidthsAndSpacingsEndWithoutOverflow)
{
    const CHPointArray s = Series(RandomWalk(50, 4));
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(ComputeSlidingWindowResults(s, Params(kMax, kMax)).GetSize(), 0);
    EXPECT_EQ(ComputeSlidingWindowResults(s, Params(10, kMax)).GetSize(), 1);
    EXPECT_EQ(CountSlidingWindows(std::numeric_limits<int>::max(), 1, 1), std::numeric_limits<int>::max() - 1);
}

TEST(SlidingWindowParamsCheck, RefusalsComeInTheDialogsOrder)
{
    EXPECT_EQ(CheckSlidingWindowParams(Params(0, 0)).value_or(""), "Spacing must be geater than 0.");
    EXPECT_EQ(CheckSlidingWindowParams(Params(100, -3)).value_or(""), "Spacing must be geater than 0.");
    EXPECT_EQ(CheckSlidingWindowParams(Params(-5, 1)).value_or(""), "Width must be greater than 0.");
    EXPECT_EQ(CheckSlidingWindowParams(Params(100, 1, false, kMaxWindowM + 1)).value_or(""),
              "M must be between 0 and 100000.");
    EXPECT_FALSE(CheckSlidingWindowParams(Params(100, 1, true, kMaxWindowM + 1)));
    EXPECT_FALSE(CheckSlidingWindowParams(Params(50, 1, false, 0)));
}

// Every shared-segment result against an estimator filled with the window's
// values: random walks, noise, flat stretches (whose zero lengths must stay
// exactly zero), a periodic series, windows no wider than D, and M of 0, 1
// and beyond what the window allows.
TEST(SlidingWindowResults, AgreeWithTheEstimatorOverEachWindow)
{
    const CHPointArray walk = Series(RandomWalk(1500, 5));
    std::vector<double> noise(1200);
    std::mt19937_64 rng(6);
    std::uniform_real_distribution<double> u(-1e6, 1e6);
    for (double& x : noise)
        x = u(rng);
    std::vector<double> flat = RandomWalk(900, 7);
    std::fill(flat.begin() + 100, flat.begin() + 500, 3.25);
    std::vector<double> periodic(800);
    for (std::size_t i = 0; i < periodic.size(); ++i)
        periodic[i] = static_cast<double>(i % 7) - 3.0;
    const std::vector<CHPointArray> series = {walk, Series(noise), Series(flat), Series(periodic),
                                              Series(std::vector<double>(600, 1.0))};
    for (const CHPointArray& s : series) {
        for (int width : {100, 257, 6, 4})
            for (int spacing : {1, 3, 50})
                ExpectSameAsEstimator(s, Params(width, spacing));
        for (int nM : {0, 1, 2, 31, 400})
            ExpectSameAsEstimator(s, Params(120, 2, false, nM));
        ExpectSameAsEstimator(s, Params(100, 1, true, 0, 1));
        ExpectSameAsEstimator(s, Params(100, 1, true, 0, 0));
    }
}

TEST(SlidingWindowResults, AFlatWindowKeepsItsZeroLengths)
{
    std::vector<double> values = RandomWalk(400, 8);
    std::fill(values.begin() + 150, values.begin() + 300, -2.0);
    const CHPointArray results = ComputeSlidingWindowResults(Series(values), Params(100, 1));
    // Window 160 covers points 160..259, all equal: every L(r) is 0, the fit
    // reads every log as 0, and b, r are 0 with H = 2.
    EXPECT_EQ(results[160].m_dB, 0.0);
    EXPECT_EQ(results[160].m_dY, 2.0);
    EXPECT_EQ(results[160].m_dR, 0.0);
}

TEST(SlidingWindowResults, DoNotDependOnTheNumberOfThreads)
{
    const CHPointArray s = Series(RandomWalk(60000, 9));
    for (const SlidingWindowParams& p : {Params(1000, 1), Params(50, 13), Params(5000, 1000)}) {
        const CHPointArray one = ComputeSlidingWindowResults(s, p, {}, 1);
        const CHPointArray two = ComputeSlidingWindowResults(s, p, {}, 2);
        ASSERT_EQ(one.GetSize(), two.GetSize());
        EXPECT_TRUE(std::equal(one.begin(), one.end(), two.begin(), [](const CHPoint& a, const CHPoint& b) {
            return a.m_dY == b.m_dY && a.m_dB == b.m_dB && a.m_dR == b.m_dR && a.m_dX == b.m_dX;
        }));
    }
}

TEST(SlidingWindowResults, ProgressShowsEveryPercentageOnceInOrder)
{
    const CHPointArray s = Series(RandomWalk(1300, 10));
    std::vector<int> shown;
    const CHPointArray results =
        ComputeSlidingWindowResults(s, Params(100, 1), [&shown](int percent) { shown.push_back(percent); });
    ASSERT_EQ(results.GetSize(), 1200);
    // The last window shows (1199 / 1200 * 100) truncated: 99.
    ASSERT_EQ(shown.size(), 100u);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(shown[static_cast<std::size_t>(i)], i);

    shown.clear();
    ComputeSlidingWindowResults(Series(RandomWalk(102, 11)), Params(100, 1),
                                [&shown](int percent) { shown.push_back(percent); });
    // Two windows show 0 % and 50 %, and nothing between.
    EXPECT_EQ(shown, (std::vector<int>{0, 50}));
}

TEST(SlidingWindowDocument, ComputeReplacesTheResultsWithItsStatusTexts)
{
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    doc.m_points = Series(RandomWalk(203, 12));
    doc.m_bHasData = 1;
    doc.m_windows.SetSize(7);
    doc.SetModifiedFlag(false);
    ASSERT_TRUE(ComputeSlidingWindows(doc, Params(100, 2)));
    EXPECT_EQ(doc.m_windows.GetSize(), 52);
    EXPECT_EQ(doc.m_nSpacing, 2);
    EXPECT_TRUE(doc.IsModified());
    ASSERT_GE(ui.statusTexts.size(), 5u);
    EXPECT_EQ(ui.statusTexts[0], "Clearing Sliding Window Array...");
    EXPECT_EQ(ui.statusTexts[1], "Ready");
    EXPECT_EQ(ui.statusTexts[2], "Preparing...");
    EXPECT_EQ(ui.statusTexts[3], "Calculating Sliding Windows (0 %)");
    EXPECT_EQ(ui.statusTexts[ui.statusTexts.size() - 2], "Calculating Sliding Windows (98 %)");
    EXPECT_EQ(ui.statusTexts.back(), "Ready");
    EXPECT_EQ(ui.m_waitDepth, 0);
}

TEST(SlidingWindowDocument, RefusedParametersChangeNothing)
{
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    doc.m_points = Series(RandomWalk(300, 13));
    doc.m_windows.SetSize(3);
    doc.m_nSpacing = 4;
    doc.SetModifiedFlag(false);
    EXPECT_FALSE(ComputeSlidingWindows(doc, Params(-100, 1)));
    EXPECT_FALSE(ComputeSlidingWindows(doc, Params(100, -1)));
    EXPECT_EQ(doc.m_windows.GetSize(), 3);
    EXPECT_EQ(doc.m_nSpacing, 4);
    EXPECT_FALSE(doc.IsModified());
}

TEST(SlidingWindowDocument, ClearingMarksModifiedEvenWhenEmpty)
{
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    doc.SetModifiedFlag(false);
    ClearSlidingWindows(doc);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(ui.statusTexts, (std::vector<std::string>{"Clearing Sliding Window Array...", "Ready"}));

    // A width of the whole series leaves no results and no message.
    doc.m_points = Series(RandomWalk(100, 14));
    ASSERT_TRUE(ComputeSlidingWindows(doc, Params(100, 1)));
    EXPECT_TRUE(doc.m_windows.IsEmpty());
    EXPECT_TRUE(ui.messages.empty());
}

TEST(SlidingWindowDocument, ResetPlotPointsUsesTheStoredSpacing)
{
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    doc.m_points = Series(RandomWalk(400, 15));
    ASSERT_TRUE(ComputeSlidingWindows(doc, Params(100, 5)));
    const CHPointArray before = doc.m_windows;
    doc.SetModifiedFlag(false);
    ui.statusTexts.clear();
    ResetPlotPoints(doc, 0.25);
    ASSERT_EQ(doc.m_windows.GetSize(), 60);
    for (int i = 0; i < doc.m_windows.GetSize(); ++i) {
        EXPECT_EQ(doc.m_windows[i].m_dX, 25.0 + 5.0 * i);
        EXPECT_EQ(doc.m_windows[i].m_dY, before[i].m_dY);
    }
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(ui.statusTexts.front(), "Resetting plot points...");
    EXPECT_EQ(ui.statusTexts[1], "Resetting plot points (0 %)");
    EXPECT_EQ(ui.statusTexts.back(), "Ready");

    // Without results only the caller's plot point changes: nothing is said
    // and the document is not marked.
    CKestrinDoc empty(ui);
    empty.SetModifiedFlag(false);
    ui.statusTexts.clear();
    ResetPlotPoints(empty, 0.75);
    EXPECT_FALSE(empty.IsModified());
    EXPECT_TRUE(ui.statusTexts.empty());
}

TEST(SlidingWindowDocument, ResetPlotPointsOnHugeSpacingsStaysDefined)
{
    CHPointArray windows;
    windows.SetSize(3);
    for (CHPoint& p : windows)
        p.m_nCount = 100;
    ResetPlotPositions(windows, 0.5, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(windows[2].m_dX, 50.0 + 2.0 * std::numeric_limits<std::int32_t>::max());
}

} // namespace sliding_windows_test
