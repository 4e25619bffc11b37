// The main view: where its child windows sit, how it follows a resize, and
// the plot extents it keeps for them.
#include <limits>
#include <string>
#include <vector>

#include <QTest>
#include <gtest/gtest.h>

#include "platform/HeadlessUi.h"
#include "document/KestrinDoc.h"
#include "views/KestrinView.h"

namespace view_layout_test {

namespace {

void AddPoint(CKestrinDoc& doc, double x, double y)
{
    CSeriesPoint p{};
    p.m_dX = x;
    p.m_dY = y;
    doc.m_points.Add(p);
}

} // namespace

TEST(ViewLayout, ChildWindowsKeepTheMarginsAndFollowAResize)
{
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    CKestrinView view(doc);
    view.resize(640, 480);
    view.show();
    view.OnInitialUpdate();

    EXPECT_EQ(view.SeriesGraph().objectName(), "CSeriesGraph");
    EXPECT_EQ(view.SeriesGraph().ChildId(), 104);
    EXPECT_EQ(view.Ruler().objectName(), "CHRuler");
    EXPECT_EQ(view.Ruler().ChildId(), 101);
    EXPECT_EQ(view.HGraph().objectName(), "CHGraph");
    EXPECT_EQ(view.HGraph().ChildId(), 103);
    EXPECT_EQ(view.Legend().objectName(), "CLegend");
    EXPECT_EQ(view.Legend().ChildId(), 105);

    // Plot rectangle: left 40, top 25, right cx - 10, bottom cy - 40.
    const QRect plot(40, 25, 590, 415);
    EXPECT_EQ(view.SeriesGraph().geometry(), plot);
    EXPECT_EQ(view.HGraph().geometry(), plot);
    EXPECT_EQ(view.Ruler().geometry(), QRect(40, 5, 590, 15));
    EXPECT_EQ(view.Legend().geometry(), QRect(0, 0, 640, 480));
    for (QWidget* w : {static_cast<QWidget*>(&view.SeriesGraph()), static_cast<QWidget*>(&view.Ruler()),
                       static_cast<QWidget*>(&view.HGraph()), static_cast<QWidget*>(&view.Legend())}) {
        EXPECT_TRUE(w->isVisible());
        EXPECT_FALSE(w->autoFillBackground());
    }

    view.SeriesGraph().m_bRegenerate = 0;
    view.resize(900, 300);
    EXPECT_EQ(view.SeriesGraph().geometry(), QRect(40, 25, 850, 235));
    EXPECT_EQ(view.HGraph().geometry(), QRect(40, 25, 850, 235));
    EXPECT_EQ(view.Ruler().geometry(), QRect(40, 5, 850, 15));
    EXPECT_EQ(view.Legend().geometry(), QRect(0, 0, 900, 300));
    EXPECT_EQ(view.SeriesGraph().m_bRegenerate, 1); // a new size draws afresh
}

TEST(ViewLayout, ExtentsCoverUnsortedPointsAndFixHSeriesToZeroOne)
{
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    CKestrinView view(doc);
    view.resize(400, 300);
    view.OnInitialUpdate();
    EXPECT_FALSE(view.Ruler().GetEnabledFlag());

    AddPoint(doc, 5, 12.6);
    AddPoint(doc, -3, 57.2);
    AddPoint(doc, std::numeric_limits<double>::quiet_NaN(), 20);
    AddPoint(doc, 1000, 30);
    AddPoint(doc, 2, std::numeric_limits<double>::quiet_NaN());
    doc.m_bHasData = 1;
    doc.m_strXField = "Year";
    doc.m_strYField = "Level";
    view.OnUpdate(nullptr, 0, nullptr);
    const CPlotExtents& e = view.GetPlotExtents();
    EXPECT_EQ(e.m_dXMin, -3.0);
    EXPECT_EQ(e.m_dXMax, 1000.0);
    EXPECT_EQ(e.m_dYMin, 12.6);
    EXPECT_EQ(e.m_dYMax, 57.2);
    EXPECT_TRUE(view.Ruler().GetEnabledFlag());
    // The legend gets the Y field as its bottom title, the X field on the left.
    EXPECT_EQ(view.LegendData().bottomTitle, "Level");
    EXPECT_EQ(view.LegendData().leftTitle, "Year");
    EXPECT_EQ(view.LegendData().extents.m_dXMax, 1000.0);
    EXPECT_EQ(view.LegendData().extents.m_dYMin, 12.6);

    doc.m_bHSeries = 1;
    view.OnUpdate(nullptr, 0, nullptr);
    EXPECT_EQ(view.GetPlotExtents().m_dYMin, 0.0);
    EXPECT_EQ(view.GetPlotExtents().m_dYMax, 1.0);

    // Without points the extents keep their values.
    doc.m_points.RemoveAll();
    view.OnUpdate(nullptr, 0, nullptr);
    EXPECT_EQ(view.GetPlotExtents().m_dXMax, 1000.0);

    // The mappings of the view use its extents within the given rectangle.
    const QRect r(0, 0, 500, 100);
    EXPECT_EQ(view.ValueToPixel(r, 1000, 1).x, 500);
    EXPECT_EQ(view.ValueToPixel(r, -3, 0).y, 100);
    EXPECT_DOUBLE_EQ(view.PixelToValue(r, 0), -3.0);
    EXPECT_EQ(view.HToPixel(r, 0.5), 50);
}

} // namespace view_layout_test

namespace view_layout_test {

// The whole series' warnings reach the status bar, apart from the texts of
// the operations, once for each estimate; a series without warnings says
// nothing, and no message box opens.
TEST(ViewLayout, WarningsOfTheGlobalEstimateGoToTheStatusBarOncePerEstimate)
{
    const std::string kShort =
        "Estimates from fewer than 128 values vary by 0.1 or more; use the bootstrap to see how far.";
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    for (int i = 0; i < 50; ++i)
        AddPoint(doc, i, (i * 37) % 11);
    doc.m_bHasData = 1;
    doc.RecalculateH();
    CKestrinView view(doc);
    view.resize(640, 480);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.OnInitialUpdate();
    EXPECT_EQ(ui.statusWarnings, std::vector<std::string>{kShort});

    // The same estimate shown again: said once only.
    view.OnUpdate(nullptr, 0, nullptr);
    EXPECT_EQ(ui.statusWarnings.size(), 1u);

    // A new estimate of the series (D 1, M 2) says it again.
    doc.SetHParameters({.nD = 1, .nM = 2});
    EXPECT_EQ(ui.statusWarnings, (std::vector<std::string>{kShort, kShort}));

    // A long series says nothing.
    for (int i = 50; i < 400; ++i)
        AddPoint(doc, i, (i * 37) % 11);
    doc.RecalculateH();
    view.OnUpdate(nullptr, 0, nullptr);
    EXPECT_EQ(ui.statusWarnings.size(), 2u);
    EXPECT_TRUE(ui.messages.empty());
}

} // namespace view_layout_test
