#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/HeadlessUi.h"
#include "document/KestrinDoc.h"
#include "core/Regression.h"
#include "core/simd/SimdLevel.h"
#include "analysis/SlopeWindows.h"
#include "tests/support/TestSupport.h"
#include "tests/support/SeriesBuilders.h"

namespace slope_windows_test {

namespace {

// X = 0, 1, 2, ... and Y = f(X).
template <class F>
CSeriesArray IndexSeries(int n, F f)
{
    CSeriesArray a;
    for (int i = 0; i < n; ++i) {
        CSeriesPoint p;
        p.m_dX = i;
        p.m_dY = f(i);
        a.Add(p);
    }
    return a;
}

// Uneven X (positive and negative, far from 0) and a random walk for Y: sums
// that round differently in every order.
CSeriesArray RandomSeries(int n, std::uint32_t seed)
{
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> step(0.01, 3.0), walk(-1.0, 1.0);
    std::vector<double> xs, ys;
    double x = -1234.567, y = 1000.0;
    for (int i = 0; i < n; ++i) {
        x += step(rng);
        y += walk(rng) * 1e3;
        xs.push_back(x);
        ys.push_back(y);
    }
    return MakeSeries(xs, ys);
}

// The plain computation: every window copied and handed to
// LeastSquaresSlope.
CHPointArray CopiedWindows(const CSeriesArray& series, int size)
{
    CHPointArray results;
    CSeriesArray window;
    for (int i = 0; size + i < series.GetSize(); ++i) {
        window.RemoveAll();
        for (int j = i; j < i + size; ++j)
            window.Add(series[j]);
        CHPoint r;
        r.m_dY = LeastSquaresSlope(window);
        r.m_dX = i + size / 2;
        results.Add(r);
    }
    return results;
}

void ExpectSameBits(const CHPointArray& expected, const CHPointArray& actual, const std::string& what)
{
    ASSERT_EQ(expected.GetSize(), actual.GetSize()) << what;
    for (int i = 0; i < expected.GetSize(); ++i) {
        const CHPoint& e = expected[i];
        const CHPoint& a = actual[i];
        if (std::isnan(e.m_dY) && std::isnan(a.m_dY)) {
            // Which NaN comes out is the processor's choice, not ours.
        } else {
            ASSERT_EQ(Bits(e.m_dY), Bits(a.m_dY)) << what << ", window " << i << ": " << e.m_dY << " vs " << a.m_dY;
        }
        ASSERT_EQ(Bits(e.m_dX), Bits(a.m_dX)) << what << ", window " << i;
        ASSERT_EQ(a.m_nCount, 0);
        ASSERT_EQ(a.m_dB, 0.0);
        ASSERT_EQ(a.m_dR, 0.0);
    }
}

// The slopes with the vector instructions switched off.
CHPointArray PlainSlopes(const CSeriesArray& series, int size, unsigned threads)
{
    SetSimdLimit(SimdLevel::Plain);
    CHPointArray results = ComputeSlopeWindowResults(series, size, {}, threads);
    SetSimdLimit(SimdLevel::Automatic);
    return results;
}

std::vector<int> Percents(const CSeriesArray& series, int size, unsigned threads)
{
    std::vector<int> seen;
    ComputeSlopeWindowResults(series, size, [&](int p) { seen.push_back(p); }, threads);
    return seen;
}

} // namespace

TEST(SlopeWindows, WindowCountsAndMiddlePositions)
{
    const CSeriesArray series = IndexSeries(1000, [](int i) { return std::sin(i * 0.1); });
    for (int size : {10, 11}) {
        const CHPointArray r = ComputeSlopeWindowResults(series, size);
        ASSERT_EQ(r.GetSize(), 1000 - size) << size;
        for (int i = 0; i < r.GetSize(); ++i)
            ASSERT_EQ(r[i].m_dX, i + 5.0) << "size " << size << ", window " << i;
    }
    EXPECT_EQ(ComputeSlopeWindowResults(series, 10).GetSize(), 990);
    // The last point falls in no window: size N - 1 leaves exactly one.
    EXPECT_EQ(ComputeSlopeWindowResults(series, 999).GetSize(), 1);
    EXPECT_EQ(ComputeSlopeWindowResults(series, 999)[0].m_dX, 499.0);
    EXPECT_EQ(ComputeSlopeWindowResults(series, 1000).GetSize(), 0);
    EXPECT_EQ(ComputeSlopeWindowResults(series, 5000).GetSize(), 0);
    EXPECT_EQ(ComputeSlopeWindowResults(series, 0).GetSize(), 0);
    EXPECT_EQ(ComputeSlopeWindowResults(series, -3).GetSize(), 0);
    EXPECT_EQ(ComputeSlopeWindowResults(CSeriesArray(), 1).GetSize(), 0);
}

TEST(SlopeWindows, StraightLineHasItsSlopeInEveryWindow)
{
    const CSeriesArray line = IndexSeries(1000, [](int i) { return 2.0 * i + 1.0; });
    for (int size : {2, 10, 11, 100}) {
        const CHPointArray r = ComputeSlopeWindowResults(line, size);
        ASSERT_EQ(r.GetSize(), 1000 - size);
        for (int i = 0; i < r.GetSize(); ++i)
            ASSERT_EQ(r[i].m_dY, 2.0) << "size " << size << ", window " << i;
    }
    // One point has no slope; nor has a flat stretch, nor one X repeated.
    for (const CHPoint& p : ComputeSlopeWindowResults(line, 1))
        ASSERT_EQ(p.m_dY, 0.0);
    const CSeriesArray flat = IndexSeries(50, [](int) { return 7.0; });
    for (const CHPoint& p : ComputeSlopeWindowResults(flat, 10))
        ASSERT_EQ(p.m_dY, 0.0);
    const CSeriesArray sameX = MakeSeries(std::vector<double>(30, 4.0), std::vector<double>(30, 1.0));
    for (const CHPoint& p : ComputeSlopeWindowResults(sameX, 9))
        ASSERT_EQ(p.m_dY, 0.0);
}

TEST(SlopeWindows, BitIdenticalToLeastSquaresOnCopiedWindows)
{
    // Sizes around the block widths, counts of windows that leave every
    // remainder after the last whole block.
    const CSeriesArray series = RandomSeries(237, 7);
    for (int size : {1, 2, 3, 4, 5, 7, 8, 9, 15, 16, 17, 64, 100, 228, 229, 230, 236}) {
        const CHPointArray expected = CopiedWindows(series, size);
        for (unsigned threads : {0u, 1u, 2u, 4u})
            ExpectSameBits(expected, ComputeSlopeWindowResults(series, size, {}, threads),
                           "size " + std::to_string(size) + ", threads " + std::to_string(threads));
        ExpectSameBits(expected, ComputeSlopeWindowResultsBaseline(series, size, 1),
                       "size " + std::to_string(size) + ", baseline instructions");
        ExpectSameBits(expected, PlainSlopes(series, size, 1), "size " + std::to_string(size) + ", plain C++");
    }
}

TEST(SlopeWindows, ThreadsDoNotChangeResults)
{
    // Enough work for the second thread to take chunks of its own.
    const CSeriesArray series = RandomSeries(12011, 11);
    const int size = 500;
    const CHPointArray one = ComputeSlopeWindowResults(series, size, {}, 1);
    ExpectSameBits(one, ComputeSlopeWindowResults(series, size, {}, 2), "2 threads");
    ExpectSameBits(one, ComputeSlopeWindowResults(series, size, {}, 0), "default threads");
    ExpectSameBits(one, ComputeSlopeWindowResults(series, size, {}, 4), "4 threads");
    ExpectSameBits(one, ComputeSlopeWindowResultsBaseline(series, size, 2), "baseline instructions");
    ExpectSameBits(one, PlainSlopes(series, size, 2), "plain C++");
    // And both against the plain computation.
    const CHPointArray expected = CopiedWindows(series, size);
    ExpectSameBits(expected, one, "copied windows");
}

TEST(SlopeWindows, NonFiniteValuesGiveWhatLeastSquaresGives)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    CSeriesArray series = RandomSeries(60, 3);
    series.SetY(20, nan);
    series.SetX(35, nan);
    series.SetY(47, inf);
    series.SetX(52, -inf);
    for (int size : {1, 5, 12}) {
        ExpectSameBits(CopiedWindows(series, size), ComputeSlopeWindowResults(series, size, {}, 1),
                       "size " + std::to_string(size));
        ExpectSameBits(CopiedWindows(series, size), ComputeSlopeWindowResultsBaseline(series, size, 1),
                       "size " + std::to_string(size) + ", baseline instructions");
        ExpectSameBits(CopiedWindows(series, size), PlainSlopes(series, size, 1),
                       "size " + std::to_string(size) + ", plain C++");
    }
}

TEST(SlopeWindows, ProgressShowsEachPercentTheLoopWouldShowOnce)
{
    // 990 windows: 0 to 99, each once, in order.
    const CSeriesArray series = IndexSeries(1000, [](int i) { return i % 7; });
    std::vector<int> expected;
    for (int p = 0; p <= 99; ++p)
        expected.push_back(p);
    EXPECT_EQ(Percents(series, 10, 1), expected);
    // Three windows: the loop shows 0, 33 and 66 only.
    EXPECT_EQ(Percents(IndexSeries(13, [](int i) { return i; }), 10, 1), (std::vector<int>{0, 33, 66}));
    // No window: nothing at all.
    EXPECT_TRUE(Percents(series, 1000, 1).empty());
    // Two threads: the same sequence, still on this thread.
    const CSeriesArray longSeries = RandomSeries(40000, 5);
    EXPECT_EQ(Percents(longSeries, 500, 2), expected);
}

TEST(SlopeWindows, DocumentCommandReplacesSlopesWithItsStatusTexts)
{
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    doc.m_points = IndexSeries(1000, [](int i) { return 2.0 * i + 1.0; });
    CHPoint stale;
    stale.m_dX = 123;
    doc.m_slopes.Add(stale);

    CalculateSlopeWindows(doc, 10);

    ASSERT_EQ(doc.m_slopes.GetSize(), 990);
    EXPECT_EQ(doc.m_slopes[0].m_dX, 5.0);
    EXPECT_DOUBLE_EQ(doc.m_slopes[989].m_dY, 2.0);
    EXPECT_FALSE(doc.IsModified()); // slope results are never saved
    ASSERT_EQ(ui.statusTexts.size(), 102u);
    EXPECT_EQ(ui.statusTexts.front(), "Preparing...");
    for (int p = 0; p <= 99; ++p)
        EXPECT_EQ(ui.statusTexts[static_cast<std::size_t>(p) + 1],
                  "Calculating Slope Windows (" + std::to_string(p) + " %)");
    EXPECT_EQ(ui.statusTexts.back(), "Ready");
    EXPECT_EQ(ui.m_waitBegins, 1);
    EXPECT_EQ(ui.m_waitDepth, 0);

    // A size the series cannot hold leaves no results, and no progress; a
    // modified document stays modified.
    doc.SetModifiedFlag(true);
    ui.statusTexts.clear();
    CalculateSlopeWindows(doc, 1000);
    EXPECT_TRUE(doc.m_slopes.IsEmpty());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(ui.statusTexts, (std::vector<std::string>{"Preparing...", "Ready"}));
}

} // namespace slope_windows_test
