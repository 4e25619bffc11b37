#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/HeadlessUi.h"
#include "document/KestrinDoc.h"
#include "analysis/NewDocuments.h"
#include "tests/support/SeriesBuilders.h"

namespace new_documents_test {

namespace {

class CCountingView : public CView
{
public:
    void OnUpdate(CView* sender, long hint, void* hintObject) override
    {
        ++updates;
        plain = plain && sender == nullptr && hint == 0 && hintObject == nullptr;
    }
    int updates = 0;
    bool plain = true;
};

// A source document with names, parameters and flags that differ from a new
// document's.
void FillSource(CKestrinDoc& doc)
{
    doc.m_strDatabase = "walks.mdb";
    doc.m_strTable = "Daily";
    doc.m_strXField = "Day";
    doc.m_strYField = "Level";
    doc.m_bHasData = 1;
    doc.m_nD = 6;
    doc.m_nM = 17;
    doc.m_nSpacing = 3;
    doc.m_bHSeries = 1;
}

} // namespace

TEST(NewDocuments, HDataDocumentHoldsTheHCurve)
{
    CHeadlessUi ui;
    CKestrinDoc source(ui);
    FillSource(source);
    for (int i = 0; i < 100; ++i) {
        CHPoint w;
        w.m_nCount = 200;
        w.m_dX = 100.0 + i * 3;
        w.m_dY = 0.5 + 0.003 * i;
        w.m_dB = -1.5 + 0.003 * i;
        w.m_dR = 0.9;
        source.m_windows.Add(w);
    }
    source.m_points.Add(MakeSeriesPoint(1900, 1));

    CKestrinDoc target(ui);
    CCountingView view;
    target.AddView(&view);
    BuildHDataDocument(source, 1900.0, target);

    ASSERT_EQ(target.m_points.GetSize(), 100);
    for (int i = 0; i < 100; ++i) {
        const CSeriesPoint& p = target.m_points[i];
        EXPECT_EQ(p.m_dX, 2000.0 + i * 3) << i;
        EXPECT_EQ(p.m_dY, source.m_windows[i].m_dY) << i;
    }
    EXPECT_EQ(target.m_bHSeries, 1);
    EXPECT_EQ(target.m_strXField, "H");
    EXPECT_EQ(target.m_strYField, "Series");
    EXPECT_EQ(target.m_strDatabase, "walks.mdb");
    EXPECT_EQ(target.m_strTable, "");
    EXPECT_EQ(target.m_bHasData, 1);
    EXPECT_EQ(target.m_nD, 6);
    EXPECT_EQ(target.m_nM, 10);
    EXPECT_EQ(target.m_nSpacing, 1);
    EXPECT_TRUE(target.m_windows.IsEmpty());
    // Modified, its global H computed over the H values, its views told.
    EXPECT_TRUE(target.IsModified());
    EXPECT_EQ(target.m_globalSet.GetCount(), 100);
    EXPECT_EQ(target.m_globalSet.GetD(), 6);
    EXPECT_EQ(target.m_globalSet.GetM(), 10);
    EXPECT_EQ(target.m_globalSet.GetValue(99), source.m_windows[99].m_dY);
    EXPECT_EQ(ui.statusTexts, (std::vector<std::string>{"Recalculating H...", "Ready"}));
    EXPECT_EQ(view.updates, 1);
    EXPECT_TRUE(view.plain);
    // The source is not changed.
    EXPECT_FALSE(source.IsModified());
    EXPECT_EQ(source.m_windows[0].m_dX, 100.0);
}

// At least 2: a short H series gives no interval made later an M of 0 or 1,
// which a saved document would lose.
TEST(NewDocuments, HDataDocumentMIsTheWholeSquareRootOfTheCount)
{
    CHeadlessUi ui;
    for (const auto& [count, m] :
         std::vector<std::pair<int, int>>{{0, 2}, {1, 2}, {2, 2}, {3, 2}, {4, 2}, {99, 9}, {10000, 100}}) {
        CKestrinDoc source(ui);
        source.m_windows.SetSize(count);
        CKestrinDoc target(ui);
        BuildHDataDocument(source, 0.0, target);
        EXPECT_EQ(target.m_nM, m) << count << " results";
        EXPECT_EQ(target.m_points.GetSize(), count);
        EXPECT_EQ(target.m_bHasData, 1);
        if (count >= 1 && count <= 4) {
            // Too few H values for two lags: no estimate, as for any short
            // series; an interval made later takes M 2.
            EXPECT_TRUE(TooFewForLags(target.m_globalSet.GetCount(), target.m_globalSet.GetSetting())) << count;
            target.SetTabs({0.0});
            ASSERT_FALSE(target.m_tabSets.empty()) << count;
            EXPECT_EQ(target.m_tabSets.back()->GetM(), 2) << count;
        }
    }
}

TEST(NewDocuments, ExtractTakesPointsWhoseWholeXLiesInTheRange)
{
    CHeadlessUi ui;
    CKestrinDoc source(ui);
    FillSource(source);
    for (double x : {9.5, 10.0, 10.9, 20.0, 20.5})
        source.m_points.Add(MakeSeriesPoint(x, x * 2));
    source.m_windows.Add(MakePoint(3, 0.5));
    source.m_slopes.Add(MakePoint(3, 1.5));

    CKestrinDoc target(ui);
    CCountingView view;
    target.AddView(&view);
    BuildExtractedDocument(source, 10.0, 20.0, target);

    ASSERT_EQ(target.m_points.GetSize(), 4);
    EXPECT_EQ(target.m_points[0].m_dX, 10.0);
    EXPECT_EQ(target.m_points[1].m_dX, 10.9);
    EXPECT_EQ(target.m_points[2].m_dX, 20.0);
    EXPECT_EQ(target.m_points[3].m_dX, 20.5);
    EXPECT_EQ(target.m_points[3].m_dY, 41.0);

    EXPECT_EQ(target.m_strDatabase, "walks.mdb");
    EXPECT_EQ(target.m_strTable, "Daily");
    EXPECT_EQ(target.m_strXField, "Day");
    EXPECT_EQ(target.m_strYField, "Level");
    EXPECT_EQ(target.m_bHasData, 1);
    EXPECT_EQ(target.m_nD, 6);
    EXPECT_EQ(target.m_nM, 17);
    // Not copied: the H series flag, the spacing and the results.
    EXPECT_EQ(target.m_bHSeries, 0);
    EXPECT_EQ(target.m_nSpacing, 1);
    EXPECT_TRUE(target.m_windows.IsEmpty());
    EXPECT_TRUE(target.m_slopes.IsEmpty());

    EXPECT_TRUE(target.IsModified());
    EXPECT_EQ(target.m_globalSet.GetCount(), 4);
    EXPECT_EQ(target.m_globalSet.GetM(), 17);
    EXPECT_EQ(view.updates, 1);
    EXPECT_TRUE(view.plain);
    EXPECT_EQ(source.m_points.GetSize(), 5);
    EXPECT_FALSE(source.IsModified());
}

TEST(NewDocuments, ExtractEdges)
{
    CHeadlessUi ui;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const auto extract = [&](std::initializer_list<double> xs, double from, double to) {
        CKestrinDoc source(ui);
        source.m_bHasData = 1;
        for (double x : xs)
            source.m_points.Add(MakeSeriesPoint(x, 1.0));
        CKestrinDoc target(ui);
        BuildExtractedDocument(source, from, to, target);
        std::vector<double> taken;
        for (const CSeriesPoint& p : target.m_points)
            taken.push_back(p.m_dX);
        EXPECT_EQ(target.m_bHasData, 1);
        return taken;
    };
    // The default range of a series starting at 0.5: its first point
    // (whole part 0) is left out.
    EXPECT_EQ(extract({0.5, 1.5, 2.5}, 0.5, 2.5), (std::vector<double>{1.5, 2.5}));
    // Truncation toward zero: -1.7 is -1, -0.5 is 0.
    EXPECT_EQ(extract({-2.0, -1.7, -0.5, 0.9, 1.0}, -1.0, 0.0), (std::vector<double>{-1.7, -0.5, 0.9}));
    // From equal to To.
    EXPECT_EQ(extract({4.0, 5.0, 5.99, 6.0}, 5.0, 5.0), (std::vector<double>{5.0, 5.99}));
    // A range no point falls in: an empty document that still says it has
    // data, as its source does.
    EXPECT_TRUE(extract({1.0, 2.0}, 10.0, 20.0).empty());
    // X beyond any whole number, or not a number, has a defined whole part
    // (the nearest limit, or 0).
    EXPECT_EQ(extract({1e300, -1e300, nan, 7.0}, 5.0, 10.0), (std::vector<double>{7.0}));
    EXPECT_EQ(extract({1e300, 7.0}, 5.0, std::numeric_limits<double>::infinity()), (std::vector<double>{1e300, 7.0}));
}

TEST(NewDocuments, RangeRefusalsInTheirOrder)
{
    // Series from 1900 to 2000.
    EXPECT_EQ(CheckExtractRange(30, 20, 0, 100), "The From value must not be greater than the To value.");
    // From above To is told first, even when From is also below the minimum.
    EXPECT_EQ(CheckExtractRange(1800, 1700, 1900, 2000), "The From value must not be greater than the To value.");
    EXPECT_EQ(CheckExtractRange(1899.5, 1950, 1900, 2000), "The From value must be greater than the Min value.");
    EXPECT_EQ(CheckExtractRange(1899, 2001, 1900, 2000), "The From value must be greater than the Min value.");
    EXPECT_EQ(CheckExtractRange(1900, 2000.5, 1900, 2000), "The To value must be less than the Max value.");
    // The bounds themselves, and From equal to To, are accepted.
    EXPECT_EQ(CheckExtractRange(1900, 2000, 1900, 2000), std::nullopt);
    EXPECT_EQ(CheckExtractRange(1950, 1950, 1900, 2000), std::nullopt);
    EXPECT_EQ(CheckExtractRange(2000, 2000, 1900, 2000), std::nullopt);
    // Not a number is never a range.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_NE(CheckExtractRange(nan, 1950, 1900, 2000), std::nullopt);
    EXPECT_NE(CheckExtractRange(1950, nan, 1900, 2000), std::nullopt);
}

TEST(NewDocuments, ProfileIsTheRunningSumOfDeparturesFromTheMean)
{
    struct Case
    {
        std::vector<double> y;
        std::vector<double> profile;
    };
    const Case cases[] = {
        {{1, 2, 3, 6}, {-2, -3, -3, 0}},     // mean 3
        {{5, 5, 5}, {0, 0, 0}},              // a constant has a flat profile
        {{-1, 1, -1, 1}, {-1, 0, -1, 0}},    // mean 0: the plain running sum
        {{}, {}},
    };
    for (const Case& c : cases) {
        CHeadlessUi ui;
        CKestrinDoc source(ui);
        FillSource(source);
        for (std::size_t i = 0; i < c.y.size(); ++i)
            source.m_points.Add(MakeSeriesPoint(100.0 + 2.0 * i, c.y[i]));
        source.SetTitle("levels.txt");
        CKestrinDoc target(ui);
        BuildProfileDocument(source, target);
        ASSERT_TRUE(target.IsProfile()); // what it is the profile of is recorded
        EXPECT_EQ(target.ProfileRecord()->source, "levels.txt");
        EXPECT_EQ(target.ProfileRecord()->mean, c.y.empty() ? 0.0 : c.y[0] - c.profile[0]);
        ASSERT_EQ(target.m_points.GetSize(), static_cast<int>(c.profile.size()));
        for (std::size_t i = 0; i < c.profile.size(); ++i) {
            EXPECT_EQ(target.m_points[static_cast<int>(i)].m_dY, c.profile[i]) << i;
            EXPECT_EQ(target.m_points[static_cast<int>(i)].m_dX, 100.0 + 2.0 * i) << i;
        }
        EXPECT_EQ(target.m_strTable, "Daily");
        EXPECT_EQ(target.m_nD, 6);
        EXPECT_EQ(target.m_nM, 17);
        EXPECT_TRUE(target.IsModified());
        EXPECT_EQ(target.m_globalSet.GetCount(), static_cast<int>(c.profile.size()));
        EXPECT_EQ(source.m_points.GetSize(), static_cast<int>(c.y.size()));
    }
}

} // namespace new_documents_test
