#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "core/Format.h"
#include "platform/HeadlessUi.h"
#include "document/KestrinDoc.h"
#include "tests/support/TestSupport.h"

namespace tab_h_test {

namespace {

void Load(CKestrinDoc& doc, const std::vector<double>& xs)
{
    doc.OnNewDocument();
    for (double x : xs) {
        CSeriesPoint p;
        p.m_dX = x;
        p.m_dY = std::sin(x) * 10 + x;
        doc.m_points.Add(p);
    }
    doc.RecalculateH();
    doc.m_bHasData = 1;
}

std::vector<double> Range(int n)
{
    std::vector<double> xs;
    for (int i = 0; i < n; ++i)
        xs.push_back(i);
    return xs;
}

std::vector<double> ValuesOf(const CHDataSet& set)
{
    std::vector<double> v;
    for (int i = 0; i < set.GetValueCount(); ++i)
        v.push_back(set.GetValue(i));
    return v;
}

} // namespace

TEST(TabH, TwoTabsMakeThreeHalfOpenIntervals)
{
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    Load(doc, Range(10));
    ui.statusTexts.clear();
    doc.CalculateTabH({3, 6});
    ASSERT_EQ(doc.m_tabSets.size(), 3u);
    const char* labels[] = {"3.000000", "6.000000", "9.000000"};
    for (int i = 0; i < 3; ++i) {
        const CHDataSet& set = *doc.m_tabSets[static_cast<std::size_t>(i)];
        EXPECT_EQ(set.m_strLabel, labels[i]);
        EXPECT_EQ(set.GetCount(), 3);
        EXPECT_EQ(set.GetD(), 4);
        EXPECT_EQ(set.GetM(), 3);
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(set.GetValue(k), doc.m_points[3 * i + k].m_dY);
    }
    EXPECT_EQ(ui.statusTexts.front(), "Calculating H...");
    EXPECT_EQ(ui.LastStatus(), "Ready");
    EXPECT_EQ(ui.m_waitDepth, 0);
    EXPECT_FALSE(doc.IsModified());
}

TEST(TabH, NoTabsOrNoPointsGiveNoIntervals)
{
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    Load(doc, Range(10));
    doc.CalculateTabH({3});
    ASSERT_EQ(doc.m_tabSets.size(), 2u);
    doc.CalculateTabH({});
    EXPECT_TRUE(doc.m_tabSets.empty());
    Load(doc, {});
    doc.CalculateTabH({3, 6});
    EXPECT_TRUE(doc.m_tabSets.empty());
}

TEST(TabH, TabsOutsideAndEqualTabs)
{
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    Load(doc, Range(10));
    doc.CalculateTabH({0});
    ASSERT_EQ(doc.m_tabSets.size(), 2u);
    EXPECT_EQ(doc.m_tabSets[0]->GetCount(), 0);
    EXPECT_EQ(doc.m_tabSets[0]->GetH(), 2.0);
    EXPECT_EQ(doc.m_tabSets[1]->GetCount(), 9);

    doc.CalculateTabH({4, 4});
    ASSERT_EQ(doc.m_tabSets.size(), 3u);
    EXPECT_EQ(doc.m_tabSets[0]->GetCount(), 4);
    EXPECT_EQ(doc.m_tabSets[1]->GetCount(), 0);
    EXPECT_EQ(doc.m_tabSets[2]->GetCount(), 5);

    // A tab beyond the largest X: the point at the largest X now lies in a
    // bounded interval, and the last interval is empty.
    doc.CalculateTabH({20});
    ASSERT_EQ(doc.m_tabSets.size(), 2u);
    EXPECT_EQ(doc.m_tabSets[0]->GetCount(), 10);
    EXPECT_EQ(doc.m_tabSets[1]->GetCount(), 0);
    EXPECT_EQ(doc.m_tabSets[1]->m_strLabel, "9.000000");
}

// Whatever the series and the tabs, each interval gets exactly the values
// that a scan of the whole series for that interval would give, in order.
TEST(TabH, SameAsScanningEveryInterval)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> xDist(-50, 150);
    std::uniform_int_distribution<int> tabDist(-60, 160);
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    for (int round = 0; round < 30; ++round) {
        std::vector<double> xs;
        for (int i = 0; i < 200; ++i)
            xs.push_back(round % 3 == 0 ? std::floor(xDist(rng)) : xDist(rng));
        if (round % 5 == 0)
            xs[static_cast<std::size_t>(round)] = std::numeric_limits<double>::quiet_NaN();
        Load(doc, xs);
        std::vector<std::int32_t> tabs;
        for (int t = 0; t < 1 + round % 6; ++t)
            tabs.push_back(tabDist(rng));
        std::sort(tabs.begin(), tabs.end());
        doc.CalculateTabH(tabs);

        const CPlotExtents e = doc.GetPlotExtents();
        ASSERT_EQ(doc.m_tabSets.size(), tabs.size() + 1);
        double lower = e.m_dXMin;
        for (std::size_t i = 0; i <= tabs.size(); ++i) {
            const double upper = i < tabs.size() ? tabs[i] : e.m_dXMax;
            std::vector<double> expected;
            for (const CSeriesPoint& p : doc.m_points)
                if (lower <= p.m_dX && p.m_dX < upper)
                    expected.push_back(p.m_dY);
            EXPECT_EQ(ValuesOf(*doc.m_tabSets[i]), expected) << "round " << round << " interval " << i;
            EXPECT_EQ(doc.m_tabSets[i]->m_strLabel, FormatFixed(upper, 6));
            lower = upper;
        }
    }
}

TEST(TabH, GlobalParameters)
{
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    doc.OnNewDocument();
    EXPECT_EQ(doc.m_nD, 4);
    EXPECT_EQ(doc.m_nM, 3);
    EXPECT_EQ(doc.m_globalSet.GetD(), 4);
    EXPECT_EQ(doc.m_globalSet.GetM(), 5);

    struct CountingView : CView
    {
        int updates = 0;
        void OnUpdate(CView*, long, void*) override { ++updates; }
    } view;
    doc.AddView(&view);
    Load(doc, Range(100));
    doc.SetHParameters({.nD = 3, .nM = 10});
    EXPECT_EQ(doc.m_nM, 10);
    EXPECT_EQ(doc.m_nD, 3);
    EXPECT_EQ(doc.m_globalSet.GetM(), 10);
    EXPECT_EQ(doc.m_globalSet.GetD(), 3);
    EXPECT_EQ(doc.m_globalSet.GetCount(), 100);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(view.updates, 1);
    CHDataSet check({.nD = 3, .nM = 10});
    check.m_bAutoCompute = 0;
    for (const CSeriesPoint& p : doc.m_points)
        check.AddValue(p.m_dY);
    check.Compute();
    EXPECT_EQ(doc.m_globalSet.GetH(), check.GetH());
    doc.RemoveView(&view);
}

TEST(TabH, DeleteContentsKeepsSpacingAndSeriesKind)
{
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    Load(doc, Range(20));
    doc.m_nSpacing = 7;
    doc.m_bHSeries = 1;
    doc.m_globalSet.m_strLabel = "Global";
    doc.m_strTable = "T";
    doc.CalculateTabH({5});
    doc.DeleteContents();
    EXPECT_EQ(doc.m_nSpacing, 7);
    EXPECT_EQ(doc.m_bHSeries, 1);
    EXPECT_EQ(doc.m_globalSet.m_strLabel, "Global");
    EXPECT_TRUE(doc.m_tabSets.empty());
    EXPECT_TRUE(doc.m_points.IsEmpty());
    EXPECT_TRUE(doc.m_strTable.empty());
    EXPECT_EQ(doc.m_bHasData, 0);
    EXPECT_EQ(doc.m_globalSet.GetM(), 5);
}

TEST(PlotExtents, RangeOfTheSeries)
{
    CSeriesArray points;
    CPlotExtents e;
    e.m_dXMax = 42;
    UpdatePlotExtents(points, false, e);
    EXPECT_EQ(e.m_dXMax, 42.0); // no points: unchanged
    for (auto [x, y] : std::vector<std::pair<double, double>>{{3, -1}, {1, 5}, {std::nan(""), std::nan("")}, {7, 2}}) {
        CSeriesPoint p;
        p.m_dX = x;
        p.m_dY = y;
        points.Add(p);
    }
    UpdatePlotExtents(points, false, e);
    EXPECT_EQ(e.m_dXMin, 1.0);
    EXPECT_EQ(e.m_dXMax, 7.0);
    EXPECT_EQ(e.m_dYMin, -1.0);
    EXPECT_EQ(e.m_dYMax, 5.0);
    UpdatePlotExtents(points, true, e);
    EXPECT_EQ(e.m_dYMin, 0.0);
    EXPECT_EQ(e.m_dYMax, 1.0);
}

} // namespace tab_h_test
