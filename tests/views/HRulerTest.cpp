// The H ruler and its tabs: placing, dragging, removing and generating tabs,
// the tab positions handed to the document, and the pixels of the strip and
// of the tab markers.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>

#include "tests/support/gui/GuiTestSupport.h"
#include "views/HRuler.h"
#include "platform/HeadlessUi.h"
#include "document/KestrinDoc.h"
#include "views/KestrinView.h"
#include "views/RuleTab.h"
#include "tests/support/TestSupport.h"

namespace h_ruler_test {

namespace {

using Positions = std::vector<std::int32_t>;

const QColor kRed(255, 0, 0);
const QColor kGrey(180, 180, 180);
const QColor kWhite(255, 255, 255);

// A view whose ruler is `rulerWidth` pixels wide over a series whose X runs
// from 0 to xMax (Y a ramp), shown and initially updated.
struct RulerFixture
{
    CHeadlessUi ui;
    CKestrinDoc doc{ui};
    std::unique_ptr<CKestrinView> view;

    explicit RulerFixture(double xMax = 1000.0, int rulerWidth = 500, bool withData = true)
    {
        if (withData)
            Load(xMax);
        view = std::make_unique<CKestrinView>(doc);
        view->resize(rulerWidth + 50, 300);
        view->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        view->OnInitialUpdate();
        ui.statusTexts.clear();
        ui.m_waitBegins = 0;
    }

    void Load(double xMax)
    {
        doc.m_points.RemoveAll();
        for (int i = 0; i <= 100; ++i) {
            CSeriesPoint p{};
            p.m_dX = xMax * i / 100.0;
            p.m_dY = i % 7;
            doc.m_points.Add(p);
        }
        doc.m_bHasData = 1;
        doc.RecalculateH();
    }

    CHRuler& Ruler() { return view->Ruler(); }
    CRuleTab* Tab(int i) { return Ruler().GetTab(i); }
    // A tab's value and kind live in the window's state.
    double Value(int i) const { return view->WindowState().m_tabs[static_cast<std::size_t>(i)].value; }
    bool Fixed(int i) const { return view->WindowState().m_tabs[static_cast<std::size_t>(i)].fixed; }

    void DoubleClickRuler(int x) { QTest::mouseDClick(&Ruler(), Qt::LeftButton, {}, QPoint(x, 7)); }

    // Mouse events straight to a tab, at x relative to its left edge.
    static void Send(CRuleTab* tab, QEvent::Type type, Qt::MouseButton button, int x)
    {
        const QPointF local(x, 3);
        // A move holds the left button: Qt drops moves without one unless the
        // widget tracks the mouse.
        Qt::MouseButtons held = Qt::MouseButtons(button);
        if (type == QEvent::MouseButtonRelease)
            held = Qt::NoButton;
        else if (type == QEvent::MouseMove)
            held = Qt::LeftButton;
        QMouseEvent event(type, local, tab->mapToGlobal(local), button, held, Qt::NoModifier);
        QApplication::sendEvent(tab, &event);
    }
    static void Drag(CRuleTab* tab, int pressX, int moveX, int releaseX)
    {
        Send(tab, QEvent::MouseButtonPress, Qt::LeftButton, pressX);
        Send(tab, QEvent::MouseMove, Qt::NoButton, moveX);
        Send(tab, QEvent::MouseButtonRelease, Qt::LeftButton, releaseX);
    }

    bool Said(const std::string& text) const
    {
        return std::find(ui.statusTexts.begin(), ui.statusTexts.end(), text) != ui.statusTexts.end();
    }
    // The ruler's pixels as the view shows them.
    QImage RulerPicture()
    {
        const QImage all = RenderWidget(*view);
        return all.copy(Ruler().geometry());
    }
};

// Lets deferred deletions happen, as the event loop would.
void Settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}

} // namespace

TEST(HRuler, DoubleClickAddsADerivedTabAtTheColumnsValue)
{
    RulerFixture f;
    ASSERT_EQ(f.Ruler().width(), 500);
    f.DoubleClickRuler(100);

    ASSERT_EQ(f.Ruler().GetTabCount(), 1);
    CRuleTab* tab = f.Tab(0);
    EXPECT_EQ(tab->objectName(), "CRuleTab");
    EXPECT_EQ(tab->property("childId").toInt(), 102);
    EXPECT_EQ(tab->geometry(), QRect(100, 8, 6, 6));
    EXPECT_FALSE(f.Fixed(0));
    EXPECT_EQ(tab->Left(), 100);
    EXPECT_DOUBLE_EQ(f.Value(0), 200.0);
    EXPECT_EQ(f.view->TabLabels()[0], "200.00");
    EXPECT_EQ(f.view->TabPositions(), Positions({200}));
    // The recalculation built one estimator per interval.
    ASSERT_EQ(f.doc.m_tabSets.size(), 2u);
    EXPECT_EQ(f.doc.m_tabSets[0]->m_strLabel, "200.000000");
    EXPECT_TRUE(f.view->GetCommandState(32784).enabled); // Delete All Tabs
}

TEST(HRuler, RecalculationRunsInItsOrderAndEndsReady)
{
    RulerFixture f;
    f.view->AddTabAt(300.0, true);
    ASSERT_GE(f.ui.statusTexts.size(), 4u);
    EXPECT_EQ(f.ui.statusTexts[0], "Recalculating Windows...");
    EXPECT_EQ(f.ui.statusTexts[1], "Ready");
    EXPECT_EQ(f.ui.statusTexts[2], "Calculating H...");
    EXPECT_EQ(f.ui.statusTexts[3], "Ready");
    EXPECT_EQ(f.ui.LastStatus(), "Ready");
    EXPECT_EQ(f.ui.m_waitDepth, 0);
    EXPECT_GE(f.ui.m_waitBegins, 2);
}

TEST(HRuler, NoTabIsPlacedWithoutData)
{
    RulerFixture f(1000.0, 500, false);
    EXPECT_FALSE(f.Ruler().GetEnabledFlag());
    f.DoubleClickRuler(100);
    f.view->AddTabAt(300.0, true);
    EXPECT_EQ(f.Ruler().GetTabCount(), 0);
    EXPECT_TRUE(f.ui.statusTexts.empty());
}

TEST(HRuler, DroppingBeyondEitherEndClampsTheLeftEdgeAndValue)
{
    RulerFixture f;
    f.DoubleClickRuler(100);
    CRuleTab* tab = f.Tab(0);

    // Dragged to x = -50 on the ruler: the status follows, the tab stays put
    // until the button goes up.
    f.Send(tab, QEvent::MouseButtonPress, Qt::LeftButton, 2);
    EXPECT_TRUE(tab->IsCapturing());
    f.Send(tab, QEvent::MouseMove, Qt::NoButton, -150);
    EXPECT_EQ(f.ui.LastStatus(), "Move to: 0.00");
    EXPECT_EQ(tab->geometry().left(), 100);
    f.Send(tab, QEvent::MouseMove, Qt::NoButton, 25);
    EXPECT_EQ(f.ui.LastStatus(), "Move to: 250.00");
    f.Send(tab, QEvent::MouseButtonRelease, Qt::LeftButton, -150);
    EXPECT_FALSE(tab->IsCapturing());
    EXPECT_EQ(tab->Left(), -2);
    EXPECT_EQ(tab->geometry(), QRect(-2, 8, 6, 6));
    EXPECT_DOUBLE_EQ(f.Value(0), 0.0);
    EXPECT_EQ(f.view->TabPositions(), Positions({0}));
    EXPECT_EQ(f.ui.LastStatus(), "Ready");

    // Beyond the right end: w - 4 and the value of that column.
    f.Drag(tab, 2, 700, 700);
    EXPECT_EQ(tab->Left(), 496);
    EXPECT_DOUBLE_EQ(f.Value(0), 992.0);
    EXPECT_EQ(f.view->TabLabels()[0], "992.00");
    EXPECT_EQ(f.view->TabPositions(), Positions({992}));
}

TEST(HRuler, ClickWithoutMovingShiftsTheTabWithinItsWidth)
{
    RulerFixture f;
    f.view->AddTabAt(400.0, true); // column 200
    CRuleTab* tab = f.Tab(0);
    ASSERT_TRUE(f.Fixed(0));
    ASSERT_EQ(tab->Left(), 200);

    f.Send(tab, QEvent::MouseButtonPress, Qt::LeftButton, 3);
    f.Send(tab, QEvent::MouseButtonRelease, Qt::LeftButton, 3);
    EXPECT_EQ(tab->Left(), 203);
    EXPECT_FALSE(f.Fixed(0)); // dragged tabs are derived for good
    EXPECT_DOUBLE_EQ(f.Value(0), 406.0);
    EXPECT_EQ(f.view->TabPositions(), Positions({406}));
}

TEST(HRuler, PositionsAreSortedTruncatedAndKeepTies)
{
    RulerFixture f;
    f.view->AddTabAt(700.9, true);
    f.view->AddTabAt(250.9, true);
    f.DoubleClickRuler(50); // 100
    f.view->AddTabAt(250.2, true);
    EXPECT_EQ(f.view->TabPositions(), Positions({100, 250, 250, 700}));
    // Tabs stay in creation order.
    EXPECT_DOUBLE_EQ(f.Value(0), 700.9);
    EXPECT_DOUBLE_EQ(f.Value(2), 100.0);

    // Equal positions: an empty interval between them.
    ASSERT_EQ(f.doc.m_tabSets.size(), 5u);
    EXPECT_GT(f.doc.m_tabSets[1]->GetCount(), 0);
    EXPECT_EQ(f.doc.m_tabSets[2]->GetCount(), 0);
    EXPECT_EQ(f.doc.m_tabSets[2]->m_strLabel, "250.000000");
}

TEST(HRuler, TabsBeyondThe32BitRangeHoldAtItsEnds)
{
    const auto kMax = std::numeric_limits<std::int32_t>::max();
    const auto kMin = std::numeric_limits<std::int32_t>::min();
    // A fixed tab far beyond the series lands at the end of the range.
    RulerFixture f;
    f.view->AddTabAt(5e12, false);
    f.view->AddTabAt(-5e12, true);
    EXPECT_EQ(f.view->TabPositions(), Positions({kMin, kMax}));
}

TEST(HRuler, GenerateTabsPlacesExactValuesBelowTheMaximum)
{
    RulerFixture f;
    f.DoubleClickRuler(30);
    f.ui.statusTexts.clear();
    ASSERT_TRUE(f.view->GenerateTabs(100.0));
    ASSERT_EQ(f.Ruler().GetTabCount(), 9); // the earlier tab is gone
    for (int i = 0; i < 9; ++i) {
        EXPECT_TRUE(f.Fixed(i));
        EXPECT_DOUBLE_EQ(f.Value(i), 100.0 * (i + 1));
        EXPECT_EQ(f.Tab(i)->Left(), 50 * (i + 1));
    }
    EXPECT_EQ(f.view->TabPositions(), Positions({100, 200, 300, 400, 500, 600, 700, 800, 900}));
    EXPECT_EQ(f.doc.m_tabSets.size(), 10u);
    EXPECT_EQ(f.ui.statusTexts.front(), "Generating Tabs...");
    EXPECT_EQ(f.ui.LastStatus(), "Ready");
    EXPECT_EQ(f.ui.m_waitDepth, 0);
    EXPECT_TRUE(f.ui.messages.empty());

    RulerFixture g(1000.5);
    ASSERT_TRUE(g.view->GenerateTabs(100.0));
    EXPECT_EQ(g.Ruler().GetTabCount(), 10);
    EXPECT_DOUBLE_EQ(g.Value(9), 1000.0);
}

TEST(HRuler, GenerateTabsRefusesBadIntervalsAndKeepsTheTabs)
{
    RulerFixture f;
    f.view->AddTabAt(123.0, false);
    f.view->AddTabAt(456.0, true);
    f.ui.statusTexts.clear();

    for (double interval : {0.0, -100.0, std::nan(""), -std::numeric_limits<double>::infinity()}) {
        f.ui.messages.clear();
        EXPECT_FALSE(f.view->GenerateTabs(interval)) << interval;
        ASSERT_EQ(f.ui.messages.size(), 1u);
        EXPECT_EQ(f.ui.messages[0].text, "The tab interval must be a number greater than 0.");
    }

    // 1000 / 0.05 would be 19,999 tabs, past the limit of 10,000.
    f.ui.messages.clear();
    EXPECT_FALSE(f.view->GenerateTabs(0.05));
    ASSERT_EQ(f.ui.messages.size(), 1u);
    EXPECT_NE(f.ui.messages[0].text.find("19999 tabs"), std::string::npos) << f.ui.messages[0].text;
    EXPECT_NE(f.ui.messages[0].text.find("at most 10000"), std::string::npos) << f.ui.messages[0].text;

    // Far too small: the count is only estimated, never walked.
    f.ui.messages.clear();
    EXPECT_FALSE(f.view->GenerateTabs(1e-300));
    ASSERT_EQ(f.ui.messages.size(), 1u);
    EXPECT_NE(f.ui.messages[0].text.find("1e+303 tabs"), std::string::npos) << f.ui.messages[0].text;

    EXPECT_EQ(f.Ruler().GetTabCount(), 2);
    EXPECT_EQ(f.view->TabPositions(), Positions({123, 456}));
    EXPECT_TRUE(f.ui.statusTexts.empty()); // nothing was started
}

TEST(HRuler, GenerateTabsRefusesAnIntervalThatCannotMoveOn)
{
    RulerFixture f;
    f.doc.m_points.SetX(0, 1e20);
    f.doc.m_points.SetX(100, 1e20 + 1e6);
    for (int i = 1; i < 100; ++i)
        f.doc.m_points.SetX(i, 1e20);
    f.view->OnUpdate(nullptr, 0, nullptr);
    f.view->AddTabAt(1e20, true);
    f.ui.messages.clear();
    EXPECT_FALSE(f.view->GenerateTabs(1.0)); // would never end
    ASSERT_EQ(f.ui.messages.size(), 1u);
    EXPECT_NE(f.ui.messages[0].text.find("too small"), std::string::npos);
    EXPECT_EQ(f.Ruler().GetTabCount(), 1);
}

TEST(HRuler, DeletingByLabelOrPointerAlwaysRecalculates)
{
    RulerFixture f;
    f.view->AddTabAt(200.0, false);
    f.view->AddTabAt(600.0, false);
    f.view->AddTabAt(200.004, true); // same label as the first
    ASSERT_EQ(f.view->TabLabels()[2], "200.00");

    f.ui.statusTexts.clear();
    f.view->DeleteTabByLabel("999.00");
    EXPECT_EQ(f.Ruler().GetTabCount(), 3);
    EXPECT_TRUE(f.Said("Recalculating Windows..."));
    EXPECT_EQ(f.view->TabPositions(), Positions({200, 200, 600}));

    // Only the first of the two matching tabs goes.
    f.view->DeleteTabByLabel("200.00");
    ASSERT_EQ(f.Ruler().GetTabCount(), 2);
    EXPECT_DOUBLE_EQ(f.Value(0), 600.0);
    EXPECT_TRUE(f.Fixed(1));
    EXPECT_EQ(f.view->TabPositions(), Positions({200, 600}));

    f.ui.statusTexts.clear();
    f.Ruler().RemoveTab(nullptr);
    EXPECT_EQ(f.Ruler().GetTabCount(), 2);
    EXPECT_TRUE(f.Said("Recalculating Windows..."));

    f.view->DeleteAllTabs();
    EXPECT_EQ(f.Ruler().GetTabCount(), 0);
    EXPECT_TRUE(f.view->TabPositions().empty());
    EXPECT_TRUE(f.doc.m_tabSets.empty());
    EXPECT_FALSE(f.view->GetCommandState(32784).enabled);
}

TEST(HRuler, RightClickRemovesTheTabFromInsideItsOwnHandler)
{
    RulerFixture f;
    f.DoubleClickRuler(100);
    f.DoubleClickRuler(300);
    ASSERT_EQ(f.Ruler().GetTabCount(), 2);
    QPointer<CRuleTab> tab = f.Tab(0);

    // A real click through the window: press, then release to a tab that is
    // already off the list.
    QTest::mouseClick(tab.data(), Qt::RightButton, {}, QPoint(2, 2));
    ASSERT_EQ(f.Ruler().GetTabCount(), 1);
    EXPECT_EQ(f.view->TabPositions(), Positions({600}));
    EXPECT_EQ(f.doc.m_tabSets.size(), 2u);
    Settle();
    EXPECT_TRUE(tab.isNull());

    // The last tab by a right press sent straight to it.
    QPointer<CRuleTab> last = f.Tab(0);
    RulerFixture::Send(last.data(), QEvent::MouseButtonPress, Qt::RightButton, 1);
    EXPECT_EQ(f.Ruler().GetTabCount(), 0);
    EXPECT_TRUE(f.doc.m_tabSets.empty());
    // The view closes before the deferred deletion: nothing is freed twice.
    f.view.reset();
    EXPECT_TRUE(last.isNull());
    Settle();
}

TEST(HRuler, ResizeMovesTabsToTheirStoredValues)
{
    RulerFixture f;
    f.view->AddTabAt(333.3, true);
    f.DoubleClickRuler(101); // 202
    f.view->resize(350, 300); // ruler 300 wide
    ASSERT_EQ(f.Ruler().width(), 300);
    EXPECT_EQ(f.Tab(0)->Left(), 99);
    EXPECT_EQ(f.Tab(0)->geometry(), QRect(99, 8, 6, 6));
    EXPECT_EQ(f.Tab(1)->Left(), 60);
    EXPECT_DOUBLE_EQ(f.Value(1), 202.0);

    // At the next recalculation the derived tab takes its new column's value.
    f.view->RecalculateWindows();
    EXPECT_DOUBLE_EQ(f.Value(0), 333.3);
    EXPECT_DOUBLE_EQ(f.Value(1), 200.0);
    EXPECT_EQ(f.view->TabPositions(), Positions({200, 333}));
}

TEST(HRuler, NewSeriesKeepsColumnsUntilTheNextRecalculation)
{
    RulerFixture f;
    f.view->AddTabAt(333.3, true);
    f.DoubleClickRuler(101); // 202
    f.Load(2000.0);
    f.doc.UpdateAllViews(nullptr);
    EXPECT_EQ(f.Tab(0)->Left(), 166);
    EXPECT_EQ(f.Tab(1)->Left(), 101);
    EXPECT_EQ(f.view->TabPositions(), Positions({202, 333}));

    f.view->RecalculateWindows();
    EXPECT_EQ(f.view->TabPositions(), Positions({333, 404}));
}

TEST(HRuler, StripIsRedWhenEnabledAndGreyOtherwise)
{
    RulerFixture f;
    QImage image = f.RulerPicture();
    ASSERT_EQ(image.size(), QSize(500, 15));
    // The line across at h / 2 = 7, two pixels wide; the two ends down.
    for (int x : {5, 250, 494}) {
        EXPECT_EQ(PixelAt(image, x, 7), kRed) << x;
        EXPECT_EQ(PixelAt(image, x, 6), kRed) << x;
        EXPECT_EQ(PixelAt(image, x, 3), kWhite) << x;
        EXPECT_EQ(PixelAt(image, x, 9), kWhite) << x;
    }
    for (int y : {0, 3, 12, 14}) {
        EXPECT_EQ(PixelAt(image, 0, y), kRed) << y;
        EXPECT_EQ(PixelAt(image, 499, y), kRed) << y;
    }
    EXPECT_EQ(PixelAt(image, 1, 3), kWhite);
    EXPECT_EQ(PixelAt(image, 498, 3), kWhite);

    f.doc.m_bHasData = 0;
    f.view->OnUpdate(nullptr, 0, nullptr);
    image = f.RulerPicture();
    EXPECT_EQ(PixelAt(image, 250, 7), kGrey);
    EXPECT_EQ(PixelAt(image, 0, 3), kGrey);
    EXPECT_EQ(PixelAt(image, 499, 3), kGrey);
}

TEST(HRuler, TabsShowTheirMarkersPixelForPixel)
{
    // W white, K black, D dark grey (128), L light grey (192).
    const char* const normal[6] = {"WWKWW", "WKDDW", "KDLLD", "KDLLD", "KDLLD", "KKKKD"};
    const char* const drag[6] = {"WWLWW", "WLLLW", "LLLLL", "LLLLL", "LLLLL", "LLLLL"};
    auto colour = [](char c) {
        switch (c) {
        case 'K': return QColor(0, 0, 0);
        case 'D': return QColor(128, 128, 128);
        case 'L': return QColor(192, 192, 192);
        default: return QColor(255, 255, 255);
        }
    };

    RulerFixture f;
    f.DoubleClickRuler(100);
    CRuleTab* tab = f.Tab(0);
    auto check = [&](const char* const rows[6]) {
        const QImage image = f.RulerPicture();
        for (int y = 0; y < 6; ++y) {
            for (int x = 0; x < 5; ++x)
                EXPECT_EQ(PixelAt(image, 100 + x, 8 + y), colour(rows[y][x])) << x << "," << y;
        }
    };
    check(normal);
    f.Send(tab, QEvent::MouseButtonPress, Qt::LeftButton, 2);
    check(drag);
    f.Send(tab, QEvent::MouseButtonRelease, Qt::LeftButton, 0);
    check(normal);
}

// An import leaves the ruler's tabs where they are; a save then keeps them,
// so that the document reopens with the tabs its window showed.
TEST(HRulerImport, ASaveAfterAnImportReopensWithTheTabsShown)
{
    RulerFixture f;
    f.view->AddTabAt(300.0, true);
    f.view->AddTabAt(700.0, true);
    const Positions shown = f.view->TabPositions();
    ASSERT_EQ(shown, (Positions{300, 700}));

    TempDir dir;
    std::string text;
    for (int i = 0; i < 1000; ++i)
        text += std::to_string(i * 37 % 101) + "\n";
    WriteFile(dir.File("other.txt"), text);
    ASSERT_TRUE(f.doc.ImportTextFile(dir.File("other.txt"), 0, 0, false));
    f.doc.UpdateAllViews(nullptr);
    EXPECT_EQ(f.view->TabPositions(), shown);
    EXPECT_TRUE(f.doc.m_tabSets.empty());
    ASSERT_TRUE(f.doc.OnSaveDocument(dir.File("other.kst")));

    CHeadlessUi ui;
    CKestrinDoc back(ui);
    ASSERT_TRUE(back.OnOpenDocument(dir.File("other.kst")));
    CKestrinView view(back);
    view.resize(550, 300);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.OnInitialUpdate();
    EXPECT_EQ(view.TabPositions(), shown);
}

} // namespace h_ruler_test
