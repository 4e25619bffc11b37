// Where the tabs live: a user's change on a window's ruler goes into that
// window's state and, with the calculation that follows it, into the
// document's intervals; a second window on the document keeps its own tabs.
// And an import updates the document's windows by itself.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "document/KestrinDoc.h"
#include "platform/HeadlessUi.h"
#include "tests/support/FakeDatabase.h"
#include "tests/support/TestSupport.h"
#include "views/KestrinView.h"
#include "views/RuleTab.h"

namespace window_tabs_test {

namespace {

using Positions = std::vector<std::int32_t>;

// Two windows on one document whose series runs from X 0 to 1000 under
// rulers 500 pixels wide: 2 per pixel.
struct TwoWindows
{
    CHeadlessUi ui;
    CKestrinDoc doc{ui};
    std::unique_ptr<CKestrinView> first;
    std::unique_ptr<CKestrinView> second;

    explicit TwoWindows(bool withData = true)
    {
        if (withData) {
            for (int i = 0; i <= 100; ++i)
                doc.m_points.Add(CSeriesPoint{.m_dY = static_cast<double>(i % 7), .m_dX = 10.0 * i});
            doc.m_bHasData = 1;
            doc.RecalculateH();
        }
        first = Show();
        second = Show();
    }

    std::unique_ptr<CKestrinView> Show()
    {
        auto view = std::make_unique<CKestrinView>(doc);
        view->resize(550, 300);
        view->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        view->OnInitialUpdate();
        return view;
    }
};

std::vector<double> Values(const CKestrinView& view)
{
    std::vector<double> values;
    for (const CWindowTab& tab : view.WindowState().m_tabs)
        values.push_back(tab.value);
    return values;
}

} // namespace

TEST(WindowTabs, ARulerChangeReachesItsWindowAndTheDocumentOnly)
{
    struct Case
    {
        const char* name;
        std::function<void(CKestrinView&)> act;
        std::vector<double> values;
        bool fixed;
        Positions positions;
    };
    const std::vector<Case> cases = {
        {"double-click adds", [](CKestrinView& v) { QTest::mouseDClick(&v.Ruler(), Qt::LeftButton, {}, QPoint(100, 7)); },
         {200.0}, false, {200}},
        {"drag moves",
         [](CKestrinView& v) {
             v.AddTabAt(400.0, true); // column 200
             QTest::mousePress(v.Ruler().GetTab(0), Qt::LeftButton, {}, QPoint(2, 3));
             QTest::mouseRelease(v.Ruler().GetTab(0), Qt::LeftButton, {}, QPoint(52, 3));
         },
         {504.0}, false, {504}},
        {"right-click deletes",
         [](CKestrinView& v) {
             v.AddTabAt(400.0, true);
             v.AddTabAt(800.5, true);
             QTest::mouseClick(v.Ruler().GetTab(0), Qt::RightButton, {}, QPoint(2, 2));
         },
         {800.5}, true, {800}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TwoWindows w;
        w.second->AddTabAt(600.0, true);
        c.act(*w.first);

        EXPECT_EQ(Values(*w.first), c.values);
        EXPECT_EQ(w.first->WindowState().m_tabs.back().fixed, c.fixed);
        EXPECT_EQ(w.first->Ruler().GetTabCount(), static_cast<int>(c.values.size()));
        EXPECT_EQ(w.first->TabPositions(), c.positions);
        // The calculation hands the window's tabs to the document.
        EXPECT_EQ(w.doc.m_tabValues, c.values);
        EXPECT_EQ(w.doc.m_tabSets.size(), c.values.size() + 1);
        // The other window keeps its own ruler, ahead of the document now.
        EXPECT_EQ(Values(*w.second), std::vector<double>{600.0});
        EXPECT_EQ(w.second->Ruler().GetTabCount(), 1);
        EXPECT_EQ(w.second->TabPositions(), Positions{600});
    }
}

TEST(WindowTabs, AnImportUpdatesEveryWindowByItself)
{
    TempDir dir;
    WriteFile(dir.File("series.txt"), "5\n1\n4\n2\n3\n");
    CFakeDatabases databases;
    databases.files["/data/series.mdb"].tables.push_back(
        RealTable("Walk", "Seq", "Level", {{10, 1}, {20, 3}, {30, 2}, {40, 5}}));

    struct Case
    {
        const char* name;
        std::function<bool(CKestrinDoc&)> import;
        double xMax;
        std::string yTitle;
    };
    const std::vector<Case> cases = {
        {"text file", [&](CKestrinDoc& d) { return d.ImportTextFile(dir.File("series.txt"), 0, 0, false); }, 4.0, ""},
        {"database",
         [&](CKestrinDoc& d) {
             d.m_openDatabase = databases.Opener();
             return d.ImportDatabase("/data/series.mdb", "Walk", "Seq", "Level");
         },
         40.0, "Level"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TwoWindows w(false);
        ASSERT_FALSE(w.first->Ruler().GetEnabledFlag());
        QSignalSpy told(w.second.get(), &CKestrinView::commandStateChanged);
        ASSERT_TRUE(c.import(w.doc));
        EXPECT_EQ(told.count(), 1);
        for (CKestrinView* view : {w.first.get(), w.second.get()}) {
            EXPECT_TRUE(view->Ruler().GetEnabledFlag());
            EXPECT_EQ(view->GetPlotExtents().m_dXMax, c.xMax);
            EXPECT_EQ(view->LegendData().bottomTitle, c.yTitle);
        }
    }
}

} // namespace window_tabs_test
