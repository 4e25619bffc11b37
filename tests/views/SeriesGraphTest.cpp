#include <clocale>
#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

#include "tests/support/gui/GuiTestSupport.h"
#include "platform/HeadlessUi.h"
#include "document/KestrinDoc.h"
#include "views/KestrinView.h"
#include "core/PlotMapping.h"
#include "views/SeriesGraphRender.h"
#include "tests/support/SeriesBuilders.h"

namespace series_graph_test {

namespace {

const QColor kWhite(255, 255, 255);
const std::string kGenerating = "Generating Series Graph...";

// A random walk with X = 0..n-1.
CSeriesArray RandomWalk(int n, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> step(-1.0, 1.0);
    CSeriesArray points;
    points.Reserve(static_cast<std::size_t>(n));
    double y = 0.0;
    for (int i = 0; i < n; ++i) {
        CSeriesPoint p;
        p.m_dX = i;
        p.m_dY = y;
        points.Add(p);
        y += step(rng);
    }
    return points;
}

CSeriesGraphData DataFor(const CSeriesArray& points, double h = 0.5)
{
    CSeriesGraphData data;
    data.points = &points;
    UpdatePlotExtents(points, false, data.extents);
    data.dH = h;
    data.dR = 0.9;
    data.nCount = points.GetSize();
    return data;
}

// A fresh drawing on white, as the window makes it.
QImage Draw(int w, int h, const CSeriesGraphData& data, bool reduce = true)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    DrawSeriesGraph(painter, w, h, data, reduce);
    painter.end();
    return image;
}

bool IsBlueText(const QColor& c)
{
    // Text may be smoothed against the white: any pure-blue hue.
    return c.blue() == 255 && c.red() == c.green() && c.red() < 200;
}

// Rows [top, bottom) holding label pixels (blue-ish, right of the label's
// left edge) in an image; -1, -1 when none.
std::pair<int, int> LabelRows(const QImage& image, int skipRow)
{
    int first = -1;
    int last = -1;
    for (int y = 0; y < image.height(); ++y) {
        if (y == skipRow)
            continue;
        for (int x = 0; x < image.width(); ++x) {
            if (IsBlueText(PixelAt(image, x, y))) {
                if (first < 0)
                    first = y;
                last = y;
                break;
            }
        }
    }
    return {first, last + 1};
}

int LeftmostLabelColumn(const QImage& image, int skipRow)
{
    int left = image.width();
    for (int y = 0; y < image.height(); ++y) {
        if (y == skipRow)
            continue;
        for (int x = 0; x < left; ++x) {
            if (IsBlueText(PixelAt(image, x, y)))
                left = x;
        }
    }
    return left;
}

int CountDifferent(const QImage& a, const QImage& b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    }
    return n;
}

bool HasColor(const QImage& image, const QColor& color)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (PixelAt(image, x, y) == color)
                return true;
        }
    }
    return false;
}

// A document window's view over a document, shown and initially updated.
struct ShownView
{
    CHeadlessUi ui;
    CKestrinDoc doc{ui};
    std::unique_ptr<CKestrinView> view;

    void Load(const CSeriesArray& points)
    {
        doc.m_points = points;
        doc.m_bHasData = 1;
        doc.RecalculateH();
    }

    CSeriesGraph& Graph() { return view->SeriesGraph(); }

    void Show(int cx = 640, int cy = 480)
    {
        view = std::make_unique<CKestrinView>(doc);
        view->resize(cx, cy);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        ui.statusTexts.clear();
        ui.m_waitBegins = 0;
        view->OnInitialUpdate();
    }
};

} // namespace

TEST(SeriesGraph, LabelTextIgnoresTheLocale)
{
    // A German user's locale, for Qt and (where installed) for C.
    const QLocale qtBefore;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const std::string cBefore = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    EXPECT_EQ(SeriesGraphLabel(0.5, -0.987, 1000), "H: 0.50, r: -0.99, n: 1000");
    EXPECT_EQ(SeriesGraphLabel(1.005, 1.0, 1234567), "H: 1.00, r: 1.00, n: 1234567");
    EXPECT_EQ(SeriesGraphLabel(std::nan(""), 0.0, 3), "H: nan, r: 0.00, n: 3");
    std::setlocale(LC_ALL, cBefore.c_str());
    QLocale::setDefault(qtBefore);
}

TEST(SeriesGraph, AxesSeriesAndHLineHaveTheirPensAndPlaces)
{
    // Up to the middle, a plateau, back down to the bottom: px 0, 100, 200,
    // 300 and py 200, 100, 100, 200 in a 300 by 200 area with Y 0..1.
    const int w = 300;
    const int h = 200;
    const CSeriesArray points = MakeSeries({0, 1, 2, 3}, {0, 0.5, 0.5, 0});
    CSeriesGraphData data = DataFor(points, 0.3);
    data.extents.m_dYMax = 1;
    const QImage image = Draw(w, h, data);

    // Y axis on the left edge, X axis on the bottom edge, 2 pixels wide and
    // centred on the edges, so one pixel of each shows.
    for (int y = 0; y < 190; ++y) {
        if (y != 140) {
            EXPECT_EQ(PixelAt(image, 0, y), kAxisBlack) << y;
        }
    }
    EXPECT_EQ(PixelAt(image, 1, 50), kWhite);
    for (int x = 10; x < 90; ++x)
        EXPECT_EQ(PixelAt(image, x, h - 1), kAxisBlack) << x;
    EXPECT_EQ(PixelAt(image, 150, h - 2), kWhite);

    // The plateau at row 100 is drawn 2 pixels thick in grey.
    for (int x = 110; x < 190; ++x) {
        EXPECT_EQ(PixelAt(image, x, 99), kSeriesGrey) << x;
        EXPECT_EQ(PixelAt(image, x, 100), kSeriesGrey) << x;
        EXPECT_EQ(PixelAt(image, x, 98), kWhite) << x;
        EXPECT_EQ(PixelAt(image, x, 101), kWhite) << x;
    }
    // The rising and falling flanks.
    EXPECT_EQ(PixelAt(image, 50, 150), kSeriesGrey);
    EXPECT_EQ(PixelAt(image, 250, 150), kSeriesGrey);

    // H 0.3: row 200 - 0.3 * 200 = 140, one pixel, all across, over the
    // series.
    const int yH = HToPixel(CPlotRect{0, 0, w, h}, 0.3);
    ASSERT_EQ(yH, 140);
    for (int x = 0; x < w; ++x)
        EXPECT_EQ(PixelAt(image, x, yH), kHLineBlue) << x;
    EXPECT_NE(PixelAt(image, 150, yH - 1), kHLineBlue);
    EXPECT_NE(PixelAt(image, 150, yH + 1), kHLineBlue);
}

TEST(SeriesGraph, LabelSitsBelowTheLineFromHOneTenthUpAndAboveItUnder)
{
    const int w = 400;
    const int h = 300;
    const CSeriesArray points = MakeSeries({0, 1}, {0, 0});
    QImage probe(1, 1, QImage::Format_RGB32);
    QPainter probePainter(&probe);
    const int textHeight = probePainter.fontMetrics().height();
    probePainter.end();

    struct Case
    {
        double h;
        bool above;
    };
    for (const Case c : {Case{0.05, true}, Case{0.0999, true}, Case{0.1, false}, Case{0.5, false}}) {
        const QImage image = Draw(w, h, DataFor(points, c.h));
        const int yH = HToPixel(CPlotRect{0, 0, w, h}, c.h);
        const int top = c.above ? yH - 20 : yH + 20;
        const auto [first, end] = LabelRows(image, yH);
        ASSERT_GE(first, 0) << c.h;
        // The text lies within its line box whose top edge is 20 pixels
        // from the H line.
        EXPECT_GE(first, top) << c.h;
        EXPECT_LE(end, top + textHeight) << c.h;
        EXPECT_LT(first, top + textHeight / 2) << c.h;
        const int left = LeftmostLabelColumn(image, yH);
        EXPECT_GE(left, 20) << c.h;
        EXPECT_LE(left, 24) << c.h;
        // The text background is left alone: white around the glyphs.
        EXPECT_EQ(PixelAt(image, 21, top), kWhite) << c.h;
    }
}

TEST(SeriesGraph, HOutsideZeroToOneDrawsNoBlueInTheWindow)
{
    const int w = 300;
    const int h = 200;
    const CSeriesArray points = MakeSeries({0, 1}, {0, 1});
    // Above the top edge (label 20 below the line, still above the top) and
    // below the bottom edge (label 20 above the line, still below).
    for (const double hValue : {1.5, -0.5}) {
        const QImage image = Draw(w, h, DataFor(points, hValue));
        EXPECT_FALSE(HasColor(image, kHLineBlue)) << hValue;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x)
                ASSERT_FALSE(IsBlueText(PixelAt(image, x, y))) << hValue << " " << x << "," << y;
        }
    }
    // H 1 is the top row.
    const QImage top = Draw(w, h, DataFor(points, 1.0));
    EXPECT_EQ(PixelAt(top, w / 2, 0), kHLineBlue);
}

TEST(SeriesGraph, LineStartsOnTheLeftEdge)
{
    const int w = 300;
    const int h = 200;
    // The first point away from the left edge: the line starts at the left
    // edge at its height, not at the bottom-left corner.
    CSeriesArray points = MakeSeries({1, 2, 3}, {0.5, 0, 1});
    CSeriesGraphData data = DataFor(points, 2.0);
    data.extents.m_dXMin = 0;
    const std::vector<QPoint> path = SeriesGraphPath(points, data.extents, w, h, false);
    ASSERT_EQ(path.size(), 4u);
    EXPECT_EQ(path[0], QPoint(0, 100));
    EXPECT_EQ(path[1], QPoint(100, 100));
    const QImage image = Draw(w, h, data);
    for (int x = 2; x < 98; ++x)
        EXPECT_EQ(PixelAt(image, x, 100), kSeriesGrey) << x;

    // The first point on the left edge: from the bottom-left corner.
    points = MakeSeries({0, 1}, {1, 0});
    data = DataFor(points, 2.0);
    const std::vector<QPoint> fromCorner = SeriesGraphPath(points, data.extents, w, h, false);
    ASSERT_EQ(fromCorner.size(), 3u);
    EXPECT_EQ(fromCorner[0], QPoint(0, h));
    EXPECT_EQ(fromCorner[1], QPoint(0, 0));
    const QImage corner = Draw(w, h, data);
    // The vertical start covers the left axis in grey.
    EXPECT_EQ(PixelAt(corner, 0, 100), kSeriesGrey);
}

TEST(SeriesGraph, PointsAreJoinedInTheDocumentsOrder)
{
    const int w = 400;
    const int h = 200;
    // X goes 0, 10, then back to 5: along the bottom to the right edge, then
    // back up to the middle of the top.
    const CSeriesArray points = MakeSeries({0, 10, 5}, {0, 0, 1});
    const QImage image = Draw(w, h, DataFor(points, 2.0));
    // On the way back: from (400, 200) to (200, 0), through (300, 100).
    EXPECT_EQ(PixelAt(image, 300, 100), kSeriesGrey);
    // Sorted by X the line would pass (100, 100) instead.
    EXPECT_EQ(PixelAt(image, 100, 100), kWhite);
    const std::vector<QPoint> path = SeriesGraphPath(points, DataFor(points).extents, w, h, true);
    EXPECT_EQ(path, (std::vector<QPoint>{{0, 200}, {0, 200}, {400, 200}, {200, 0}}));
}

TEST(SeriesGraph, EveryPointUsesTheViewsMapping)
{
    // Values that exercise the edges of the mapping: NaN, infinities, values
    // far outside the extents, negative fractions.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const CSeriesArray points =
        MakeSeries({0, 0.3, nan, 5, -1e300, 1e300, 7.77, -0.001, 9.999, inf, 3},
                   {1, nan, 2, -inf, 1e300, -1e300, -0.5, 3.3, 0.0001, 2, 1.5});
    CPlotExtents e;
    e.m_dXMin = 0;
    e.m_dXMax = 10;
    e.m_dYMin = 0;
    e.m_dYMax = 3;
    const CPlotRect rect{0, 0, 587, 413};
    const std::vector<QPoint> path = SeriesGraphPath(points, e, 587, 413, false);
    ASSERT_EQ(path.size(), static_cast<std::size_t>(points.GetSize()) + 1);
    for (int i = 0; i < points.GetSize(); ++i) {
        const CPixel p = ValueToPixel(rect, e, points[i].m_dX, points[i].m_dY);
        EXPECT_EQ(path[static_cast<std::size_t>(i) + 1], QPoint(p.x, p.y)) << i;
    }

    // A zero span puts everything on the left or bottom edge.
    CPlotExtents flat = e;
    flat.m_dXMax = flat.m_dXMin;
    flat.m_dYMax = flat.m_dYMin;
    for (const QPoint& p : SeriesGraphPath(points, flat, 587, 413, false))
        EXPECT_EQ(p, QPoint(0, 413));
}

TEST(SeriesGraph, ReducedDrawingShowsTheSamePictureAsEverySegment)
{
    struct Case
    {
        const char* name;
        CSeriesArray points;
        int w;
        int h;
    };
    std::vector<Case> cases;
    cases.push_back({"random walk", RandomWalk(100000, 1), 590, 415});
    cases.push_back({"random walk, small window", RandomWalk(100000, 2), 97, 61});
    cases.push_back({"few points per column", RandomWalk(3000, 3), 1200, 800});

    // X back and forth, and values that map to no number.
    CSeriesArray mixed = RandomWalk(100000, 4);
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> pick(0, mixed.GetSize() - 1);
    for (int i = 0; i < 2000; ++i)
        mixed.SetX(pick(rng), pick(rng));
    for (int i = 0; i < 50; ++i)
        mixed.SetY(pick(rng), std::numeric_limits<double>::quiet_NaN());
    cases.push_back({"x back and forth, NaN", std::move(mixed), 590, 415});

    // Flat stretches: several points on one pixel, runs of one point.
    CSeriesArray steps = RandomWalk(20000, 6);
    for (int i = 0; i < steps.GetSize(); ++i)
        steps.SetY(i, std::floor(steps[i].m_dY / 4));
    cases.push_back({"steps", std::move(steps), 590, 415});

    for (const Case& c : cases) {
        const CSeriesGraphData data = DataFor(c.points);
        const QImage reduced = Draw(c.w, c.h, data, true);
        const QImage every = Draw(c.w, c.h, data, false);
        const int differ = CountDifferent(reduced, every);
        EXPECT_EQ(differ, 0) << c.name;
        EXPECT_LE(differ, c.w * c.h / 200) << c.name;
        EXPECT_LT(SeriesGraphPath(c.points, data.extents, c.w, c.h, true).size(),
                  SeriesGraphPath(c.points, data.extents, c.w, c.h, false).size())
            << c.name;
    }
}

TEST(SeriesGraph, LongSeriesReducedInBlocksKeepsThePicture)
{
    // Long enough to be reduced in several blocks, each block's last column
    // continuing in the next block.
    const CSeriesArray points = RandomWalk(2600000, 7);
    const CSeriesGraphData data = DataFor(points);
    const QImage reduced = Draw(300, 200, data, true);
    const QImage every = Draw(300, 200, data, false);
    EXPECT_EQ(CountDifferent(reduced, every), 0);
    // One run of at most four vertices per column, plus the start.
    EXPECT_LE(SeriesGraphPath(points, data.extents, 300, 200, true).size(), 1u + 4u * 301u);
}

TEST(SeriesGraphWindow, DocumentWithoutDataPaintsNothingAndLeavesTheStatus)
{
    ShownView shown;
    shown.Show();
    EXPECT_TRUE(shown.ui.statusTexts.empty());
    for (const int flag : {1, 0}) {
        shown.Graph().m_bRegenerate = flag;
        const QImage image = RenderWidget(shown.Graph());
        EXPECT_FALSE(HasColor(image, kAxisBlack)) << flag;
        EXPECT_FALSE(HasColor(image, kHLineBlue)) << flag;
        EXPECT_EQ(PixelAt(image, 0, image.height() - 1), kWhite) << flag;
        EXPECT_EQ(PixelAt(image, image.width() / 2, image.height() / 2), kWhite) << flag;
    }
    EXPECT_TRUE(shown.ui.statusTexts.empty());
    EXPECT_EQ(shown.ui.m_waitBegins, 0);
    EXPECT_TRUE(shown.Graph().Snapshot().isNull());
}

TEST(SeriesGraphWindow, FreshDrawingOnlyWhenToldAndSnapshotOtherwise)
{
    ShownView shown;
    shown.Load(RandomWalk(5000, 11));
    shown.Show();
    CSeriesGraph& graph = shown.Graph();
    ASSERT_EQ(graph.size(), QSize(590, 415));
    // The initial update draws afresh once, with the wait cursor.
    EXPECT_EQ(shown.ui.statusTexts, (std::vector<std::string>{kGenerating, "Ready"}));
    EXPECT_EQ(shown.ui.m_waitBegins, 1);
    EXPECT_EQ(shown.ui.m_waitDepth, 0);
    EXPECT_EQ(graph.m_bRegenerate, 0);
    ASSERT_EQ(graph.Snapshot().size(), QSize(590, 415));
    EXPECT_FALSE(graph.Snapshot().hasAlphaChannel());

    // Repaints, such as uncovering the window, use the snapshot: "Ready"
    // only, and the same picture.
    shown.ui.statusTexts.clear();
    graph.repaint();
    shown.view->repaint();
    EXPECT_EQ(shown.ui.statusTexts, (std::vector<std::string>{"Ready", "Ready"}));
    shown.ui.statusTexts.clear();
    const QImage first = RenderWidget(graph);
    const QImage second = RenderWidget(graph);
    EXPECT_EQ(shown.ui.statusTexts, (std::vector<std::string>{"Ready", "Ready"}));
    EXPECT_EQ(shown.ui.m_waitBegins, 1);
    EXPECT_EQ(CountDifferent(first, graph.Snapshot().toImage().convertToFormat(QImage::Format_RGB32)), 0);
    EXPECT_EQ(CountDifferent(first, second), 0);

    // The flag set again: a fresh drawing.
    shown.ui.statusTexts.clear();
    graph.m_bRegenerate = 1;
    RenderWidget(graph);
    EXPECT_EQ(shown.ui.statusTexts, (std::vector<std::string>{kGenerating, "Ready"}));
    EXPECT_EQ(graph.m_bRegenerate, 0);

    // The view's update redraws the series at once, under the H graph and
    // the legend that lie over it.
    shown.ui.statusTexts.clear();
    shown.view->OnUpdate(nullptr, 0, nullptr);
    EXPECT_EQ(shown.ui.statusTexts, (std::vector<std::string>{kGenerating, "Ready"}));
    EXPECT_EQ(graph.m_bRegenerate, 0);

    // Resizing the view moves the window and draws afresh at the new size.
    shown.ui.statusTexts.clear();
    shown.view->resize(500, 300);
    EXPECT_EQ(graph.m_bRegenerate, 1);
    EXPECT_EQ(graph.size(), QSize(450, 235));
    const QImage resized = RenderWidget(graph);
    ASSERT_FALSE(shown.ui.statusTexts.empty());
    EXPECT_EQ(shown.ui.statusTexts.front(), kGenerating);
    EXPECT_EQ(shown.ui.statusTexts.back(), "Ready");
    EXPECT_EQ(graph.Snapshot().size(), QSize(450, 235));
    const int yH = HToPixel(CPlotRect{0, 0, 450, 235}, shown.doc.m_globalSet.GetH());
    ASSERT_GE(yH, 0);
    ASSERT_LT(yH, 235);
    EXPECT_EQ(PixelAt(resized, 225, yH), kHLineBlue);
    EXPECT_EQ(PixelAt(resized, 449, yH), kHLineBlue);
}

TEST(SeriesGraphWindow, DrawsTheDocumentsSeriesAndWholeSeriesH)
{
    ShownView shown;
    // Rising from the bottom-left corner, so that the axes stay clear near
    // the top-left and bottom-right.
    CSeriesArray points = RandomWalk(20000, 12);
    for (int i = 0; i < points.GetSize(); ++i)
        points.SetY(i, std::abs(points[i].m_dY) + i * 0.01);
    points.SetY(0, 0);
    points.SetY(points.GetSize() - 1, 1000);
    shown.Load(points);
    const double hValue = shown.doc.m_globalSet.GetH();
    ASSERT_GT(hValue, 0.0);
    ASSERT_LT(hValue, 1.0);
    shown.Show();
    CSeriesGraph& graph = shown.Graph();
    const QImage image = RenderWidget(graph);
    const int w = graph.width();
    const int h = graph.height();

    const int yH = HToPixel(CPlotRect{0, 0, w, h}, hValue);
    for (int y = 0; y < h / 4; ++y) {
        if (y != yH) {
            EXPECT_EQ(PixelAt(image, 0, y), kAxisBlack) << y;
        }
    }
    for (int x = w * 3 / 4; x < w; ++x)
        EXPECT_EQ(PixelAt(image, x, h - 1), kAxisBlack) << x;
    for (int x = 0; x < w; ++x)
        EXPECT_EQ(PixelAt(image, x, yH), kHLineBlue) << x;
    // The last point is in the top-right corner.
    EXPECT_EQ(PixelAt(image, w - 1, 0), kSeriesGrey);
    int grey = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            grey += PixelAt(image, x, y) == kSeriesGrey;
    }
    EXPECT_GT(grey, w);

    // Within the view the window sits in the plot rectangle.
    const QImage whole = RenderWidget(*shown.view);
    EXPECT_EQ(PixelAt(whole, 40, 25 + 5), kAxisBlack);
    EXPECT_EQ(PixelAt(whole, 40 + w / 2, 25 + yH), kHLineBlue);
}

namespace {

// A status bar in the same top-level window that, like the workbench's,
// repaints at once when its text changes.
class CRepaintingStatusUi : public CHeadlessUi
{
public:
    QLabel* bar = nullptr;
    void SetStatusText(const std::string& text) override
    {
        CHeadlessUi::SetStatusText(text);
        if (bar) {
            bar->setText(QString::fromStdString(text));
            if (bar->isVisible())
                bar->repaint();
        }
    }
};

} // namespace

TEST(SeriesGraphWindow, StatusBarRepaintingDuringThePaintKeepsThePicture)
{
    CRepaintingStatusUi ui;
    CKestrinDoc doc(ui);
    doc.m_points = RandomWalk(3000, 13);
    doc.m_bHasData = 1;
    doc.RecalculateH();
    QWidget frame;
    frame.resize(640, 500);
    auto* view = new CKestrinView(doc, &frame);
    view->setGeometry(0, 0, 640, 480);
    ui.bar = new QLabel(&frame);
    ui.bar->setGeometry(0, 480, 640, 20);
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    ui.statusTexts.clear();
    view->OnInitialUpdate();
    EXPECT_EQ(ui.statusTexts, (std::vector<std::string>{kGenerating, "Ready"}));
    view->repaint();
    EXPECT_EQ(ui.statusTexts.back(), "Ready");

    // The paints finished with the picture in place: the grab reads the
    // window as painted, through the snapshot.
    const QImage image = RenderWidget(frame);
    const int yH = HToPixel(CPlotRect{0, 0, 590, 415}, doc.m_globalSet.GetH());
    EXPECT_EQ(PixelAt(image, 40 + 295, 25 + yH), kHLineBlue);
    EXPECT_EQ(ui.bar->text(), QString("Ready"));
}

} // namespace series_graph_test
