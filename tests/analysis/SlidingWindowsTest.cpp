#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "platform/HeadlessUi.h"
#include "document/KestrinDoc.h"
#include "analysis/SlidingWindows.h"
#include "tests/support/SeriesBuilders.h"

namespace sliding_windows_test {

namespace {

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

} // namespace

TEST(SlidingWindowGeometry, WindowsStopBeforeTheLastPoint)
{
    const CSeriesArray s200 = MakeSeriesFrom(0.0, RandomWalk(200, 1));
    const CHPointArray results = ComputeSlidingWindowResults(s200, Params(100, 1));
    ASSERT_EQ(results.GetSize(), 100);
    EXPECT_EQ(results[0].m_dX, 50.0);
    EXPECT_EQ(results[99].m_dX, 149.0);
    EXPECT_EQ(results[0].m_nCount, 100);

    const CSeriesArray s100 = MakeSeriesFrom(0.0, RandomWalk(100, 2));
    EXPECT_EQ(ComputeSlidingWindowResults(s100, Params(99, 10)).GetSize(), 1);
    EXPECT_EQ(ComputeSlidingWindowResults(s100, Params(100, 1)).GetSize(), 0);
    EXPECT_EQ(CountSlidingWindows(200, 100, 1), 100);
    EXPECT_EQ(CountSlidingWindows(100, 99, 10), 1);
    EXPECT_EQ(CountSlidingWindows(100, 100, 1), 0);
}

TEST(SlidingWindowGeometry, PlotPointPlacesTheResultInItsWindow)
{
    const CSeriesArray s = MakeSeriesFrom(0.0, RandomWalk(300, 3));
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
    const CSeriesArray s = MakeSeriesFrom(0.0, RandomWalk(50, 4));
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

TEST(SlidingWindowResults, AFlatWindowKeepsItsZeroLengths)
{
    std::vector<double> values = RandomWalk(400, 8);
    std::fill(values.begin() + 150, values.begin() + 300, -2.0);
    const CHPointArray results = ComputeSlidingWindowResults(MakeSeriesFrom(0.0, values), Params(100, 1));
    // Window 160 covers points 160..259, all equal: every L(r) is 0, the fit
    // reads every log as 0, and b, r are 0 with H = 2.
    EXPECT_EQ(results[160].m_dB, 0.0);
    EXPECT_EQ(results[160].m_dY, 2.0);
    EXPECT_EQ(results[160].m_dR, 0.0);
}

TEST(SlidingWindowResults, ProgressShowsEveryPercentageOnceInOrder)
{
    const CSeriesArray s = MakeSeriesFrom(0.0, RandomWalk(1300, 10));
    std::vector<int> shown;
    const CHPointArray results =
        ComputeSlidingWindowResults(s, Params(100, 1), [&shown](int percent) { shown.push_back(percent); });
    ASSERT_EQ(results.GetSize(), 1200);
    // The last window shows (1199 / 1200 * 100) truncated: 99.
    ASSERT_EQ(shown.size(), 100u);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(shown[static_cast<std::size_t>(i)], i);

    shown.clear();
    ComputeSlidingWindowResults(MakeSeriesFrom(0.0, RandomWalk(102, 11)), Params(100, 1),
                                [&shown](int percent) { shown.push_back(percent); });
    // Two windows show 0 % and 50 %, and nothing between.
    EXPECT_EQ(shown, (std::vector<int>{0, 50}));
}

TEST(SlidingWindowDocument, ComputeReplacesTheResultsWithItsStatusTexts)
{
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    doc.m_points = MakeSeriesFrom(0.0, RandomWalk(203, 12));
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
    doc.m_points = MakeSeriesFrom(0.0, RandomWalk(300, 13));
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
    doc.m_points = MakeSeriesFrom(0.0, RandomWalk(100, 14));
    ASSERT_TRUE(ComputeSlidingWindows(doc, Params(100, 1)));
    EXPECT_TRUE(doc.m_windows.IsEmpty());
    EXPECT_TRUE(ui.messages.empty());
}

TEST(SlidingWindowDocument, ResetPlotPointsUsesTheStoredSpacing)
{
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    doc.m_points = MakeSeriesFrom(0.0, RandomWalk(400, 15));
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

namespace {

// The series the exact comparison runs on.
enum class Shape
{
    Walk,     // a Gaussian random walk
    Noise,    // uniform noise whose magnitude spans twelve decades
    Periodic, // period 7: the lag-7 lengths are all exactly zero
    Flat,     // a random walk with long constant stretches
    Constant, // one value throughout
};

std::vector<double> MakeShape(Shape shape, int n)
{
    std::mt19937_64 rng(static_cast<unsigned>(shape) + 100);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    std::vector<double> v = RandomWalk(n, static_cast<unsigned>(shape) + 200);
    switch (shape) {
    case Shape::Walk:
        break;
    case Shape::Noise:
        for (double& x : v)
            x = u(rng) * std::pow(10.0, 6.0 * u(rng));
        break;
    case Shape::Periodic:
        for (int i = 0; i < n; ++i)
            v[static_cast<std::size_t>(i)] = static_cast<double>(i % 7) * 0.1 - 0.3;
        break;
    case Shape::Flat:
        std::fill(v.begin() + n / 8, v.begin() + n / 2, 3.25);
        std::fill(v.begin() + 5 * n / 8, v.begin() + 3 * n / 4, -1e-3);
        break;
    case Shape::Constant:
        std::fill(v.begin(), v.end(), 1.0);
        break;
    }
    return v;
}

constexpr int kBestM = -1;

struct ExactCase
{
    Shape shape;
    int points;
    int width;
    int spacing;
    int nD;
    int nM; // kBestM: "Use Best"
};

std::ostream& operator<<(std::ostream& os, const ExactCase& c)
{
    return os << "shape " << static_cast<int>(c.shape) << ", " << c.points << " points, width " << c.width
              << ", spacing " << c.spacing << ", D " << c.nD << ", M " << c.nM;
}

std::vector<ExactCase> ExactCases()
{
    std::vector<ExactCase> cases;
    for (Shape shape : {Shape::Walk, Shape::Noise, Shape::Periodic, Shape::Flat, Shape::Constant}) {
        for (int nD = 0; nD <= 10; ++nD)
            cases.push_back({shape, 700, 60, 1, nD, kBestM});
        for (int nM : {0, 1, 2, 400})
            cases.push_back({shape, 700, 60, 2, 3, nM});
        for (int spacing : {1, 2, 7, 150})
            cases.push_back({shape, 900, 100, spacing, 6, kBestM});
        // Widths no larger than D, and one segment more.
        for (int width : {1, 5, 6, 7})
            cases.push_back({shape, 300, width, 1, 6, kBestM});
        cases.push_back({shape, 1200, 500, 3, 1, 400});
    }
    // Enough windows for several chunks of several SIMD groups each.
    cases.push_back({Shape::Walk, 3000, 1000, 1, 6, kBestM});
    cases.push_back({Shape::Noise, 3000, 257, 7, 4, 31});
    return cases;
}

bool Same(double a, double b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}

class SlidingWindowExact : public ::testing::TestWithParam<ExactCase>
{
};

// Every window's X, n, H, b, r and L(r) are those of a CHDataSet filled with
// the window's values, bit for bit, on every instruction set and with one,
// two or four workers.
TEST_P(SlidingWindowExact, EveryResultIsTheEstimatorsOverItsWindow)
{
    const ExactCase& c = GetParam();
    const CSeriesArray series = MakeSeriesFrom(0.0, MakeShape(c.shape, c.points));
    const SlidingWindowParams params = Params(c.width, c.spacing, c.nM == kBestM, std::max(c.nM, 0), c.nD);
    std::vector<double> expectedL;
    const CHPointArray expected = ComputeSlidingWindowResultsDirect(series, params, &expectedL);
    ASSERT_EQ(expected.GetSize(), CountSlidingWindows(c.points, c.width, c.spacing));
    const int nM = WindowM(params);
    for (SimdLevel lanes : {SimdLevel::Plain, SimdLevel::Sse2, SimdLevel::Avx2}) {
        for (unsigned threads : {1u, 2u, 4u}) {
            SCOPED_TRACE(std::string(SimdLevelName(ResolveSimdLevel(lanes))) + ", workers " + std::to_string(threads));
            std::vector<double> lengths;
            const CHPointArray results = ComputeSlidingWindowResults(series, params, {}, {threads, lanes, &lengths});
            ASSERT_EQ(results.GetSize(), expected.GetSize());
            ASSERT_EQ(lengths.size(), expectedL.size());
            for (int k = 0; k < results.GetSize(); ++k) {
                const CHPoint& got = results[k];
                const CHPoint& want = expected[k];
                ASSERT_TRUE(got.m_nCount == want.m_nCount && Same(got.m_dX, want.m_dX) && Same(got.m_dY, want.m_dY) &&
                            Same(got.m_dB, want.m_dB) && Same(got.m_dR, want.m_dR))
                    << "window " << k << ": H " << got.m_dY << " / " << want.m_dY << ", b " << got.m_dB << " / "
                    << want.m_dB << ", r " << got.m_dR << " / " << want.m_dR;
                for (int i = 0; i < nM; ++i) {
                    const std::size_t at = static_cast<std::size_t>(k) * static_cast<std::size_t>(nM) +
                                           static_cast<std::size_t>(i);
                    ASSERT_TRUE(Same(lengths[at], expectedL[at]))
                        << "window " << k << ", L(" << i + 1 << ") " << lengths[at] << " / " << expectedL[at];
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, SlidingWindowExact, ::testing::ValuesIn(ExactCases()));

} // namespace

} // namespace sliding_windows_test
