// The optimum M and the change of M and D of every interval estimator at once.
#include <climits>
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "platform/HeadlessUi.h"
#include "document/KestrinDoc.h"
#include "core/OptimumM.h"
#include "document/TabParameters.h"

namespace tab_parameters_test {

namespace {

// A series with X = 0..n-1 and an irregular Y, loaded as an import would.
void Load(CKestrinDoc& doc, int n)
{
    doc.OnNewDocument();
    for (int i = 0; i < n; ++i) {
        CSeriesPoint p;
        p.m_dX = i;
        p.m_dY = std::sin(i * 0.7) * 10 + std::cos(i * 0.13) * 3 + (i % 7);
        doc.m_points.Add(p);
    }
    doc.RecalculateH();
    doc.m_bHasData = 1;
}

// The estimate a fresh estimator gives over the same values.
CHDataSet Fresh(const CHDataSet& set, int nD, int nM)
{
    CHDataSet fresh({.nD = nD, .nM = nM});
    fresh.m_bAutoCompute = 0;
    for (int i = 0; i < set.GetValueCount(); ++i)
        fresh.AddValue(set.GetValue(i));
    fresh.Compute();
    return fresh;
}

struct Snapshot
{
    int d, m, count;
    double h, b, r;
    bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const CHDataSet& s)
{
    return {s.GetD(), s.GetM(), s.GetCount(), s.GetH(), s.GetB(), s.GetR()};
}

std::vector<Snapshot> TakeAll(const CKestrinDoc& doc)
{
    std::vector<Snapshot> v;
    for (const auto& set : doc.m_tabSets)
        v.push_back(Take(*set));
    return v;
}

class TabParametersTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Load(doc, 1000);
        // Intervals of 100, 250 and 649 values (the largest X is in none).
        doc.CalculateTabH({100, 350});
        doc.SetModifiedFlag(false);
        ASSERT_EQ(doc.m_tabSets.size(), 3u);
        global = Take(doc.m_globalSet);
    }

    void ExpectDocumentUntouched()
    {
        EXPECT_EQ(Take(doc.m_globalSet), global);
        EXPECT_EQ(doc.m_nM, 3);
        EXPECT_EQ(doc.m_nD, 4);
        EXPECT_FALSE(doc.IsModified());
    }

    CHeadlessUi ui;
    CKestrinDoc doc{ui};
    Snapshot global{};
};

} // namespace

TEST(OptimumM, IntegerPartOfTheRootOfTheCount)
{
    EXPECT_EQ(OptimumM(300), 17);
    EXPECT_EQ(OptimumM(3), 1);
    EXPECT_EQ(OptimumM(1), 1);
    EXPECT_EQ(OptimumM(0), 0);
    EXPECT_EQ(OptimumM(-7), 0);
    EXPECT_EQ(OptimumM(INT_MIN), 0);
    // Just below and at a square.
    EXPECT_EQ(OptimumM(288), 16);
    EXPECT_EQ(OptimumM(289), 17);
    EXPECT_EQ(OptimumM(46340 * 46340 - 1), 46339);
    EXPECT_EQ(OptimumM(46340 * 46340), 46340);
    EXPECT_EQ(OptimumM(INT_MAX), 46340);
}

TEST_F(TabParametersTest, OptimumMIsEachIntervalsOwn)
{
    EXPECT_TRUE(SetAllTabParameters(doc, true, true, {.nD = 2, .nM = 99}, true));
    const int counts[] = {100, 250, 649};
    const int optimum[] = {10, 15, 25};
    for (std::size_t i = 0; i < 3; ++i) {
        const CHDataSet& set = *doc.m_tabSets[i];
        EXPECT_EQ(set.GetCount(), counts[i]);
        EXPECT_EQ(set.GetM(), optimum[i]) << i;
        EXPECT_EQ(set.GetD(), 2);
        EXPECT_EQ(set.m_bAutoCompute, 0);
        const CHDataSet fresh = Fresh(set, 2, optimum[i]);
        EXPECT_EQ(set.GetH(), fresh.GetH()) << i;
        EXPECT_EQ(set.GetR(), fresh.GetR()) << i;
        EXPECT_EQ(set.GetL(optimum[i] - 1), fresh.GetL(optimum[i] - 1)) << i;
    }
    ExpectDocumentUntouched();
}

TEST_F(TabParametersTest, GivenMAndD)
{
    EXPECT_TRUE(SetAllTabParameters(doc, true, true, {.nD = 1, .nM = 7}, false));
    for (const auto& set : doc.m_tabSets) {
        EXPECT_EQ(set->GetM(), 7);
        EXPECT_EQ(set->GetD(), 1);
        EXPECT_EQ(set->GetH(), Fresh(*set, 1, 7).GetH());
    }
    ExpectDocumentUntouched();
}

TEST_F(TabParametersTest, OnlyDKeepsEveryM)
{
    // Give the intervals different Ms first, so that keeping them shows.
    doc.m_tabSets[0]->SetM(6);
    doc.m_tabSets[2]->SetM(9);
    const std::vector<Snapshot> before = TakeAll(doc);
    EXPECT_TRUE(SetAllTabParameters(doc, false, true, {.nD = 2, .nM = 40}, true));
    for (std::size_t i = 0; i < 3; ++i) {
        const CHDataSet& set = *doc.m_tabSets[i];
        EXPECT_EQ(set.GetM(), before[i].m);
        EXPECT_EQ(set.GetD(), 2);
        EXPECT_NE(set.GetH(), before[i].h) << i;
        EXPECT_EQ(set.GetH(), Fresh(set, 2, before[i].m).GetH()) << i;
    }
    ExpectDocumentUntouched();
}

TEST_F(TabParametersTest, OnlyMKeepsEveryD)
{
    doc.m_tabSets[1]->SetD(2);
    EXPECT_TRUE(SetAllTabParameters(doc, true, false, {.nD = 9, .nM = 5}, false));
    const int ds[] = {4, 2, 4};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(doc.m_tabSets[i]->GetD(), ds[i]);
        EXPECT_EQ(doc.m_tabSets[i]->GetM(), 5);
        EXPECT_EQ(doc.m_tabSets[i]->GetH(), Fresh(*doc.m_tabSets[i], ds[i], 5).GetH());
    }
}

TEST_F(TabParametersTest, NeitherChangesNothing)
{
    doc.m_tabSets[1]->m_bAutoCompute = 1;
    const std::vector<Snapshot> before = TakeAll(doc);
    EXPECT_FALSE(SetAllTabParameters(doc, false, false, {.nD = 2, .nM = 20}, true));
    EXPECT_EQ(TakeAll(doc), before);
    // Not even the automatic switch is touched.
    EXPECT_EQ(doc.m_tabSets[1]->m_bAutoCompute, 1);
    ExpectDocumentUntouched();
}

TEST_F(TabParametersTest, EmptyIntervalGetsNoLagsAndNoIntervalsIsFine)
{
    // A tab at the smallest X leaves the first interval empty: its best M is
    // the smallest M a saved interval keeps, 2, with too few values for its
    // lags (no estimate).
    doc.CalculateTabH({0, 500});
    EXPECT_TRUE(SetAllTabParameters(doc, true, true, {.nD = 3, .nM = 0}, true));
    const CHDataSet& empty = *doc.m_tabSets[0];
    EXPECT_EQ(empty.GetCount(), 0);
    EXPECT_EQ(empty.GetM(), 2);
    EXPECT_TRUE(TooFewForLags(empty.GetCount(), empty.GetSetting()));
    EXPECT_EQ(empty.GetH(), 2.0);
    EXPECT_EQ(empty.GetR(), 0.0);
    EXPECT_EQ(doc.m_tabSets[1]->GetM(), 22); // 500 values

    doc.CalculateTabH({});
    EXPECT_TRUE(doc.m_tabSets.empty());
    EXPECT_TRUE(SetAllTabParameters(doc, true, true, {.nD = 4, .nM = 4}, false));
    EXPECT_TRUE(doc.m_tabSets.empty());
    ExpectDocumentUntouched();
}

} // namespace tab_parameters_test
