// Zoom and pan of a document window's display, the readout under the
// pointer, and the H curve of more windows than columns: driven with the
// mouse, the wheel, the menu and the keyboard; the numbers the analyses give
// stay the same at any zoom, and the whole series is drawn as ever.
#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include "app/MainFrame.h"
#include "core/PlotMapping.h"
#include "document/KestrinDoc.h"
#include "tests/support/TestSupport.h"
#include "tests/support/gui/GuiTestSupport.h"
#include "tests/support/gui/WorkbenchTest.h"
#include "views/CommandIds.h"
#include "views/HCurveRender.h"
#include "views/KestrinView.h"
#include "views/PictureExport.h"
#include "views/Readout.h"
#include "views/RuleTab.h"
#include "views/SeriesGraphRender.h"
#include "views/SeriesSummary.h"

namespace zoom_test {

namespace {

constexpr int kPoints = 20000;

QImage DrawSeries(const CSeriesGraphData& data, int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    DrawSeriesGraph(painter, w, h, data);
    return image;
}

// The workbench with one window over a random walk of kPoints points,
// X 0..kPoints-1, shown and painted.
class Zoom : public CWorkbenchTest
{
protected:
    void SetUp() override
    {
        CWorkbenchTest::SetUp();
        StartWithRandomWalk(kPoints, 0.0, 11);
        if (HasFatalFailure())
            return;
        m_doc->UpdateAllViews(nullptr);
        QApplication::processEvents();
    }

    QRect Plot() const { return m_view->SeriesGraph().geometry(); }
    CPlotExtents Shown() const { return m_view->ShownExtents(); }

    void Mouse(QEvent::Type type, QPoint pos, Qt::MouseButton button = Qt::LeftButton)
    {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent event(type, pos, m_view->mapToGlobal(pos), button, held, Qt::NoModifier);
        QApplication::sendEvent(m_view, &event);
    }
    void Drag(QPoint from, QPoint to)
    {
        Mouse(QEvent::MouseButtonPress, from);
        Mouse(QEvent::MouseMove, (from + to) / 2);
        Mouse(QEvent::MouseMove, to);
        Mouse(QEvent::MouseButtonRelease, to);
    }
    void Wheel(QPoint pos, int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWheelEvent event(pos, m_view->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(m_view, &event);
    }
    int FreshDrawings() const
    {
        return static_cast<int>(std::count(m_ui->statusTexts.begin(), m_ui->statusTexts.end(),
                                           std::string("Generating Series Graph...")));
    }
    // Everything a number is made of: the tabs Auto-Tab places and their
    // intervals' H, the sliding windows, and the sliding windows' text export.
    std::vector<double> Numbers(const std::string& exportPath)
    {
        EXPECT_TRUE(m_view->GenerateTabs(2500.0));
        std::vector<double> numbers;
        for (const std::int32_t p : m_view->TabPositions())
            numbers.push_back(p);
        for (const auto& set : m_doc->m_tabSets)
            numbers.push_back(set->GetH());
        EXPECT_TRUE(m_view->ComputeSlidingWindows(1000, 250, {m_doc->m_nD, m_doc->m_nM}, false));
        for (const CHPoint& w : m_doc->m_windows) {
            numbers.push_back(w.m_dX);
            numbers.push_back(w.m_dY);
        }
        m_ui->saveChoices.push_back(exportPath);
        Frame().OnCommand(cmd::ExtractHDataText);
        return numbers;
    }

    TempDir m_dir;
};

} // namespace

// A zoomed range drawn column by column from the summary is the drawing
// through every point, NaN and all, whether the range starts at the
// series' start, lies inside it, ends at its end or holds fewer points than
// columns, with or without a Y range.
TEST(ZoomedSeries, ColumnDrawingIsTheDrawingThroughEveryPoint)
{
    std::mt19937 rng(3);
    std::normal_distribution<double> step;
    CSeriesArray points;
    double y = 0.0;
    for (int i = 0; i < 50000; ++i) {
        CSeriesPoint p;
        p.m_dX = 3.0 + 0.5 * i;
        p.m_dY = (y += step(rng));
        points.Add(p);
    }
    points.SetY(777, std::numeric_limits<double>::quiet_NaN());
    CSeriesGraphData data;
    data.points = &points;
    UpdatePlotExtents(points, false, data.extents);
    data.dH = 0.6;
    const auto summary = std::make_shared<const CSeriesSummary>(points);
    EXPECT_TRUE(summary->XAscending());

    struct Range
    {
        double xMin, xMax, yMin, yMax;
    };
    const CPlotExtents& e = data.extents;
    const std::vector<Range> ranges = {
        {e.m_dXMin, e.m_dXMax, e.m_dYMin, e.m_dYMax},
        {e.m_dXMin, 700.0, e.m_dYMin, e.m_dYMax},
        {1000.3, 1800.7, e.m_dYMin, e.m_dYMax},
        {20000.5, 20100.2, e.m_dYMin, e.m_dYMax},
        {24000.0, e.m_dXMax, e.m_dYMin, e.m_dYMax},
        {5000.0, 9000.0, e.m_dYMin / 2, e.m_dYMax / 3},
    };
    for (const Range& r : ranges) {
        data.shown = CPlotExtents{r.yMax, r.yMin, r.xMax, r.xMin};
        data.summary.reset();
        const QImage everyPoint = DrawSeries(data, 300, 200);
        data.summary = summary;
        EXPECT_EQ(DrawSeries(data, 300, 200), everyPoint) << r.xMin << ".." << r.xMax;
    }
    // A series whose X goes back is drawn through every point.
    const double x10 = points[10].m_dX;
    points.SetX(10, points[11].m_dX);
    points.SetX(11, x10);
    EXPECT_FALSE(CSeriesSummary(points).XAscending());
}

TEST_F(Zoom, DragWheelShiftWheelZoomOutAndHomeShowTheRangesAndFullViewIsAsEver)
{
    const QImage whole = RenderWidget(*m_view);
    const CPlotExtents full = m_view->GetPlotExtents();
    const QRect plot = Plot();
    const int w = plot.width();
    const int h = plot.height();
    Frame().UpdateCommandUi();
    EXPECT_FALSE(Frame().ActionsFor(cmd::ViewFullView).value(0)->isEnabled());

    // A rectangle over the plot: its X and Y range.
    const QRect r(w / 4, h / 4, w / 4, h / 2);
    Drag(plot.topLeft() + r.topLeft(), plot.topLeft() + r.topLeft() + QPoint(r.width(), r.height()));
    ASSERT_TRUE(m_view->IsZoomed());
    const double ySpan = full.m_dYMax - full.m_dYMin;
    CPlotExtents rect = Shown();
    EXPECT_EQ(rect.m_dXMin, full.m_dXMin + static_cast<double>(r.left()) / w * (full.m_dXMax - full.m_dXMin));
    EXPECT_EQ(rect.m_dXMax, full.m_dXMin + static_cast<double>(r.left() + r.width()) / w * (full.m_dXMax - full.m_dXMin));
    EXPECT_EQ(rect.m_dYMax, full.m_dYMin + (h - r.top()) * (ySpan / h));
    EXPECT_EQ(rect.m_dYMin, full.m_dYMin + (h - r.top() - r.height()) * (ySpan / h));
    EXPECT_EQ(m_view->GetPlotExtents().m_dXMax, full.m_dXMax);
    Frame().UpdateCommandUi();
    EXPECT_TRUE(Frame().ActionsFor(cmd::ViewZoomOut).value(0)->isEnabled());

    // The picture outside the window is the window's.
    QApplication::processEvents();
    CPictureExportSettings settings;
    settings.size = m_view->size();
    settings.ruler = true;
    const std::string png = m_dir.File("zoomed.png");
    QString error;
    ASSERT_TRUE(ExportPicture(QString::fromStdString(png), m_view->PictureData(), settings, error));
    EXPECT_EQ(QImage(QString::fromStdString(png)).convertToFormat(QImage::Format_RGB32), RenderWidget(*m_view));

    // Three wheel steps in, around a column: the X there stays put, the span
    // shrinks to 0.8^3, and one drawing follows them.
    const int column = w / 3;
    const double x = PixelToValue(CPlotRect{0, 0, w, h}, rect, column);
    const int drawn = FreshDrawings();
    for (int i = 0; i < 3; ++i)
        Wheel(plot.topLeft() + QPoint(column, h / 2), 120);
    EXPECT_EQ(FreshDrawings(), drawn);
    QApplication::processEvents();
    EXPECT_EQ(FreshDrawings(), drawn + 1);
    const CPlotExtents wheeled = Shown();
    const double span = rect.m_dXMax - rect.m_dXMin;
    EXPECT_NEAR(wheeled.m_dXMax - wheeled.m_dXMin, span * 0.512, span * 1e-12);
    EXPECT_NEAR(PixelToValue(CPlotRect{0, 0, w, h}, wheeled, column), x, span / w);
    EXPECT_EQ(wheeled.m_dYMax, rect.m_dYMax);

    // Shift+wheel pans by a tenth of the range toward smaller X.
    Wheel(plot.topLeft() + QPoint(column, h / 2), 120, Qt::ShiftModifier);
    const CPlotExtents panned = Shown();
    EXPECT_NEAR(panned.m_dXMin, wheeled.m_dXMin - 0.1 * (wheeled.m_dXMax - wheeled.m_dXMin), 1e-9);

    // The wheel's run was one step: Zoom Out goes back to the rectangle.
    Frame().OnCommand(cmd::ViewZoomOut);
    EXPECT_EQ(Shown().m_dXMin, rect.m_dXMin);
    EXPECT_EQ(Shown().m_dXMax, rect.m_dXMax);

    // Home shows the whole series, every pixel as before the zoom.
    QAction* fullView = Frame().ActionsFor(cmd::ViewFullView).value(0);
    ASSERT_NE(fullView, nullptr);
    EXPECT_EQ(fullView->shortcut(), QKeySequence(Qt::Key_Home));
    Frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Frame()));
    QTest::keyClick(&Frame(), Qt::Key_Home);
    EXPECT_FALSE(m_view->IsZoomed());
    QApplication::processEvents();
    EXPECT_EQ(RenderWidget(*m_view), whole);

    // Wheeling out of the whole series changes nothing; a wheel step in and
    // one out come back to it.
    Wheel(plot.topLeft() + QPoint(column, h / 2), -120);
    EXPECT_FALSE(m_view->IsZoomed());
    Wheel(plot.topLeft() + QPoint(column, h / 2), 120);
    EXPECT_TRUE(m_view->IsZoomed());
    Wheel(plot.topLeft() + QPoint(column, h / 2), -240);
    EXPECT_FALSE(m_view->IsZoomed());
}

TEST_F(Zoom, TheNumbersAndTheirExportsAreTheSameAtAnyZoom)
{
    const std::string fullPath = m_dir.File("full.txt");
    const std::vector<double> full = Numbers(fullPath);
    ASSERT_TRUE(m_view->ZoomToRect(QRect(Plot().width() / 3, 10, 40, 30)));
    const std::string zoomedPath = m_dir.File("zoomed.txt");
    EXPECT_EQ(Numbers(zoomedPath), full);
    QFile a(QString::fromStdString(fullPath));
    QFile b(QString::fromStdString(zoomedPath));
    ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    EXPECT_FALSE(a.size() == 0);
    EXPECT_EQ(a.readAll(), b.readAll());
    // The document's file holds nothing of the zoom.
    EXPECT_EQ(m_doc->GetPlotExtents().m_dXMax, kPoints - 1.0);
}

TEST_F(Zoom, OnAZoomedRulerADoubleClickAndADragPlaceTheTabAtTheXUnderThePointer)
{
    ASSERT_TRUE(m_view->ZoomToRect(QRect(Plot().width() / 2, 0, Plot().width() / 10, Plot().height())));
    const CPlotExtents shown = Shown();
    CHRuler& ruler = m_view->Ruler();
    const int rw = ruler.width();
    const auto xAt = [&](int px) { return shown.m_dXMin + static_cast<double>(px) / rw * (shown.m_dXMax - shown.m_dXMin); };

    QTest::mouseDClick(&ruler, Qt::LeftButton, {}, QPoint(100, 7));
    ASSERT_EQ(m_view->WindowState().m_tabs.size(), 1u);
    EXPECT_EQ(m_view->WindowState().m_tabs[0].value, xAt(100));
    EXPECT_EQ(m_view->TabPositions(), std::vector<std::int32_t>{static_cast<std::int32_t>(xAt(100))});
    EXPECT_EQ(ruler.GetTab(0)->Left(), 100);

    // Dragged 50 columns to the right.
    CRuleTab* tab = ruler.GetTab(0);
    const auto send = [tab](QEvent::Type type, int x) {
        const QPointF local(x, 3);
        QMouseEvent event(type, local, tab->mapToGlobal(local), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(tab, &event);
    };
    send(QEvent::MouseButtonPress, 0);
    send(QEvent::MouseMove, 50);
    send(QEvent::MouseButtonRelease, 50);
    EXPECT_EQ(m_view->WindowState().m_tabs[0].value, xAt(150));
    EXPECT_EQ(m_view->TabPositions(), std::vector<std::int32_t>{static_cast<std::int32_t>(xAt(150))});

    // At full view it stands at its value's column and keeps its value.
    Frame().OnCommand(cmd::ViewFullView);
    EXPECT_EQ(ruler.GetTab(0)->Left(), ValueToPixelX(CPlotRect{0, 0, rw, 0}, m_view->GetPlotExtents(), xAt(150)));
    m_view->RecalculateWindows();
    EXPECT_EQ(m_view->WindowState().m_tabs[0].value, xAt(150));
}

TEST_F(Zoom, TheReadoutShowsXYAndTheNearestWindowsHWhileThePointerIsOverThePlot)
{
    EXPECT_EQ(ReadoutDecimals(1000.0, 500), 0);
    EXPECT_EQ(ReadoutDecimals(10.0, 500), 2);
    EXPECT_EQ(ReadoutText(12.5, 1, -3.25, 2, std::nullopt), "X: 12.5, Y: -3.25");
    EXPECT_EQ(ReadoutText(12.5, 0, 3.0, 0, 0.625), "X: 12, Y: 3, H: 0.62");
    CHPointArray windows;
    for (const double at : {10.0, 20.0, 40.0}) {
        CHPoint p;
        p.m_dX = at;
        p.m_dY = at / 100.0;
        windows.Add(p);
    }
    EXPECT_EQ(NearestWindowH(windows, 100.0, 128.0), 0.2);
    EXPECT_EQ(NearestWindowH(windows, 100.0, 130.0), 0.2);
    EXPECT_EQ(NearestWindowH(windows, 100.0, 500.0), 0.4);
    EXPECT_EQ(NearestWindowH(CHPointArray(), 0.0, 1.0), std::nullopt);

    QLabel* readout = Frame().Readout();
    ASSERT_NE(readout, nullptr);
    EXPECT_TRUE(readout->isHidden());
    const QRect plot = Plot();
    const QPoint at = plot.topLeft() + QPoint(plot.width() / 2, plot.height() / 4);
    Mouse(QEvent::MouseMove, at, Qt::NoButton);
    const CPlotExtents e = Shown();
    const double x = e.m_dXMin + static_cast<double>(plot.width() / 2) / plot.width() * (e.m_dXMax - e.m_dXMin);
    const double y = e.m_dYMin + (plot.height() - plot.height() / 4) * ((e.m_dYMax - e.m_dYMin) / plot.height());
    const int xd = ReadoutDecimals(e.m_dXMax - e.m_dXMin, plot.width());
    const int yd = ReadoutDecimals(e.m_dYMax - e.m_dYMin, plot.height());
    EXPECT_EQ(readout->text().toStdString(), ReadoutText(x, xd, y, yd, std::nullopt));
    EXPECT_FALSE(readout->isHidden());

    ASSERT_TRUE(m_view->ComputeSlidingWindows(1000, 500, {m_doc->m_nD, m_doc->m_nM}, false));
    Mouse(QEvent::MouseMove, at + QPoint(1, 0), Qt::NoButton);
    EXPECT_NE(readout->text().indexOf(QStringLiteral(", H: ")), -1);

    // Outside the plot: empty and hidden.
    Mouse(QEvent::MouseMove, QPoint(5, 5), Qt::NoButton);
    EXPECT_TRUE(readout->text().isEmpty());
    EXPECT_TRUE(readout->isHidden());
}

// More windows than columns: each column shows the extent of its windows'
// H in a lighter green, and the curve joins the columns' medians.
TEST(HCurve, MoreWindowsThanColumnsDrawTheColumnsExtentAndMedian)
{
    constexpr int w = 50;
    constexpr int h = 100;
    CHPointArray windows;
    // Three windows per column: H 0.2, 0.9 and 0.4 (median 0.4).
    for (int i = 0; i < 3 * w; ++i) {
        CHPoint p;
        p.m_dX = i / 3 + 0.5;
        p.m_dY = i % 3 == 0 ? 0.2 : (i % 3 == 1 ? 0.9 : 0.4);
        windows.Add(p);
    }
    CHGraphData data;
    data.extents = CPlotExtents{1.0, 0.0, static_cast<double>(w), 0.0};
    data.windows = &windows;
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    DrawHGraph(painter, w, h, data);
    painter.end();
    const CPlotRect area{0, 0, w, h};
    for (const int x : {3, 25, 40}) {
        EXPECT_EQ(PixelAt(image, x, HToPixel(area, 0.4)), hcurve::kCurveColour) << x;
        EXPECT_EQ(PixelAt(image, x, HToPixel(area, 0.9)), hcurve::kExtentColour) << x;
        EXPECT_EQ(PixelAt(image, x, HToPixel(area, 0.2)), hcurve::kExtentColour) << x;
        EXPECT_EQ(PixelAt(image, x, HToPixel(area, 0.95)), QColor(Qt::white)) << x;
    }
}

} // namespace zoom_test
