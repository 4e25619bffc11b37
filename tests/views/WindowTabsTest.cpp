// Where the tabs live: a user's change on a window's ruler goes into that
// window's state and, with the calculation that follows it, into the
// document's intervals; a second window on the document keeps its own tabs.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include <QTest>
#include <gtest/gtest.h>

#include "document/KestrinDoc.h"
#include "platform/HeadlessUi.h"
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
                doc.m_points.Add(CHPoint{.m_dY = static_cast<double>(i % 7), .m_dX = 10.0 * i});
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

} // namespace window_tabs_test
