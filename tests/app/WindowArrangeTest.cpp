// The Window menu's Tile and Cascade, and the area's scroll bars, on the
// document windows of a running workbench.
#include <memory>

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QSettings>
#include <gtest/gtest.h>

#include "views/CommandIds.h"
#include "app/KestrinApp.h"
#include "app/MainFrame.h"
#include "app/MdiArrange.h"
#include "tests/support/gui/ScriptedQtUi.h"

namespace window_arrange_test {

namespace {

class WindowArrange : public ::testing::TestWithParam<int>
{
protected:
    void SetUp() override
    {
        QSettings().clear();
        m_app = std::make_unique<CKestrinApp>(std::make_unique<CScriptedQtUi>());
        ASSERT_TRUE(m_app->InitInstance({}));
        for (int i = 1; i < GetParam(); ++i)
            m_app->OnFileNew();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        m_app.reset();
        QSettings().clear();
    }

    QMdiArea& Area() { return *m_app->MainFrame()->MdiArea(); }
    // Bottom of the stack first.
    QList<QMdiSubWindow*> Stack() { return Area().subWindowList(QMdiArea::StackingOrder); }
    bool ScrollBarsShown()
    {
        QApplication::processEvents();
        return Area().horizontalScrollBar()->isVisible() || Area().verticalScrollBar()->isVisible();
    }
    // Moves the windows about, one of them maximised, so that an arrangement
    // has something to undo.
    void Disarrange()
    {
        const QList<QMdiSubWindow*> windows = Stack();
        for (int i = 0; i < windows.size(); ++i)
            windows[i]->setGeometry(37 * i, 11 * i, 150 + 20 * i, 120);
        windows.front()->showMaximized();
        m_app->MainFrame()->MdiArea()->setActiveSubWindow(windows.back());
    }

    std::unique_ptr<CKestrinApp> m_app;
};

} // namespace

TEST_P(WindowArrange, TileStacksTheWindowsEachTheAreasFullWidth)
{
    Disarrange();
    QMdiSubWindow* active = Area().activeSubWindow();
    m_app->MainFrame()->OnCommand(cmd::WindowTile);
    const QSize room = Area().viewport()->size();
    EXPECT_EQ(room, ArrangeRoom(Area()));

    // The topmost first; the rows fill the area from top to bottom.
    QList<QMdiSubWindow*> rows = Stack();
    std::reverse(rows.begin(), rows.end());
    EXPECT_EQ(rows.front(), active);
    int top = 0;
    for (QMdiSubWindow* w : rows) {
        EXPECT_FALSE(w->isMaximized());
        EXPECT_EQ(w->geometry(), QRect(0, top, room.width(), room.height() * (rows.indexOf(w) + 1) / rows.size() - top));
        top = w->geometry().bottom() + 1;
    }
    EXPECT_EQ(top, room.height());
    EXPECT_FALSE(ScrollBarsShown());
    EXPECT_EQ(Area().activeSubWindow(), active);
}

TEST_P(WindowArrange, CascadeKeepsUsableWindowsOneTitleBarApart)
{
    Disarrange();
    const QList<QMdiSubWindow*> before = Stack();
    m_app->MainFrame()->OnCommand(cmd::WindowCascade);
    const QSize room = Area().viewport()->size();
    const int step = CascadeStep(Area());
    EXPECT_GE(step, 15);
    EXPECT_LE(step, 40);

    const QList<QMdiSubWindow*> windows = Stack();
    EXPECT_EQ(windows, before);
    const QSize size(room.width() * 2 / 3, room.height() * 2 / 3);
    QPoint expected(0, 0);
    for (QMdiSubWindow* w : windows) {
        EXPECT_EQ(w->size(), size);
        if (!Area().viewport()->rect().contains(QRect(expected, size)))
            expected = QPoint(0, 0);
        EXPECT_EQ(w->pos(), expected);
        EXPECT_TRUE(Area().viewport()->rect().contains(w->geometry()));
        expected += QPoint(step, step);
    }
    EXPECT_FALSE(ScrollBarsShown());
}

// 1, 2 and 3 windows; 12 start the cascade over from the corner.
INSTANTIATE_TEST_SUITE_P(Windows, WindowArrange, ::testing::Values(1, 2, 3, 12));

TEST(WindowArea, ScrollBarsShowWhileAWindowLiesPartlyOutside)
{
    QSettings().clear();
    CKestrinApp app(std::make_unique<CScriptedQtUi>());
    ASSERT_TRUE(app.InitInstance({}));
    QMdiArea& area = *app.MainFrame()->MdiArea();
    QMdiSubWindow* w = area.subWindowList().front();
    QApplication::processEvents();
    EXPECT_FALSE(area.horizontalScrollBar()->isVisible());
    EXPECT_FALSE(area.verticalScrollBar()->isVisible());

    struct Case
    {
        QPoint pos;
        bool horizontal, vertical;
    };
    const QSize room = area.viewport()->size();
    const Case cases[] = {
        {QPoint(room.width() - 50, 0), true, false},
        {QPoint(0, room.height() - 50), false, true},
        {QPoint(-100, -100), true, true},
        {QPoint(0, 0), false, false},
    };
    for (const Case& c : cases) {
        area.horizontalScrollBar()->setValue(0);
        area.verticalScrollBar()->setValue(0);
        w->resize(area.viewport()->width() / 2, area.viewport()->height() / 2);
        w->move(c.pos);
        QApplication::processEvents();
        EXPECT_EQ(area.horizontalScrollBar()->isVisible(), c.horizontal) << c.pos.x() << "," << c.pos.y();
        EXPECT_EQ(area.verticalScrollBar()->isVisible(), c.vertical) << c.pos.x() << "," << c.pos.y();
    }
    // Scrolled to the far corner, Cascade brings the window back whole.
    w->move(room.width() - 50, room.height() - 50);
    QApplication::processEvents();
    area.horizontalScrollBar()->setValue(area.horizontalScrollBar()->maximum());
    area.verticalScrollBar()->setValue(area.verticalScrollBar()->maximum());
    app.MainFrame()->OnCommand(cmd::WindowCascade);
    QApplication::processEvents();
    EXPECT_EQ(w->pos(), QPoint(0, 0));
    EXPECT_FALSE(area.horizontalScrollBar()->isVisible());
    QSettings().clear();
}

} // namespace window_arrange_test
