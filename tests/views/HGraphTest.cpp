// The H graph: the interval lines with their labels, the sliding-window
// curve, the status texts of a paint, and a window closing on a document
// that another window still shows.
#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <QFontMetrics>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

#include "tests/support/gui/GuiTestSupport.h"
#include "views/HGraph.h"
#include "views/HRuler.h"
#include "platform/HeadlessUi.h"
#include "document/IntervalBand.h"
#include "document/KestrinDoc.h"
#include "views/KestrinView.h"

namespace h_graph_test {

namespace {

const QColor kMagenta(255, 0, 255);
const QColor kGreen(0, 255, 0);
const std::string kGenerating = "Generating H Graph...";

// X runs 0..1000. Up to X = 600 the series is a straight line: over the 601
// points of [0, 601), with D 1 and M 3, L(r) is 600 for every lag, so H is 1.
// Past it a random walk.
void LoadSeries(CKestrinDoc& doc)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> step(-1.0, 1.0);
    double walk = 0.0;
    for (int i = 0; i <= 1000; ++i) {
        CSeriesPoint p{};
        p.m_dX = i;
        if (i <= 600) {
            p.m_dY = i;
        } else {
            walk += step(rng);
            p.m_dY = walk;
        }
        doc.m_points.Add(p);
    }
    doc.m_nD = 1;
    doc.m_nM = 3;
    doc.m_bHasData = 1;
    doc.RecalculateH();
}

CHPoint Result(double plotPosition, double h)
{
    CHPoint p{};
    p.m_dX = plotPosition;
    p.m_dY = h;
    return p;
}

// A shown view whose plot rectangle is 500 by 300 pixels.
std::unique_ptr<CKestrinView> ShowView(CKestrinDoc& doc)
{
    auto view = std::make_unique<CKestrinView>(doc);
    view->resize(550, 365);
    view->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    view->OnInitialUpdate();
    return view;
}

// The H graph's own marks alone, over white.
QImage Marks(CHGraph& graph)
{
    QImage image(graph.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    graph.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    return image;
}

bool IsMagenta(const QColor& c)
{
    // Text may be smoothed against the white.
    return c.red() == 255 && c.blue() == 255 && c.green() < 128;
}

// Columns [first, last] of row y in the given colour; -1, -1 when none.
std::pair<int, int> ColourRun(const QImage& image, int y, const QColor& colour)
{
    int first = -1;
    int last = -1;
    for (int x = 0; x < image.width(); ++x) {
        if (PixelAt(image, x, y) == colour) {
            if (first < 0)
                first = x;
            last = x;
        }
    }
    return {first, last};
}

int Count(const QImage& image, const QColor& colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            n += PixelAt(image, x, y) == colour;
    }
    return n;
}

// The leftmost column of label pixels in rows [top, bottom) and columns
// [from, to), leaving out the rows of the level lines.
int LabelLeft(const QImage& image, int top, int bottom, int from, int to, const std::vector<int>& lineRows)
{
    for (int x = from; x < to; ++x) {
        for (int y = top; y < bottom; ++y) {
            if (std::find(lineRows.begin(), lineRows.end(), y) != lineRows.end())
                continue;
            if (IsMagenta(PixelAt(image, x, y)))
                return x;
        }
    }
    return -1;
}

} // namespace

TEST(HGraph, NothingIsDrawnAndTheStatusIsLeftAloneWithoutTabsOrResults)
{
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    LoadSeries(doc);
    auto view = ShowView(doc);
    CHGraph& graph = view->HGraph();
    EXPECT_DOUBLE_EQ(view->WindowState().m_dPlotPoint, 0.5);

    ui.statusTexts.clear();
    ui.m_waitBegins = 0;
    QImage image = Marks(graph);
    EXPECT_EQ(Count(image, Qt::white), image.width() * image.height());
    EXPECT_TRUE(ui.statusTexts.empty());
    EXPECT_EQ(ui.m_waitBegins, 0);

    // Results and tabs without data draw nothing either.
    doc.m_windows.Add(Result(10, 0.5));
    doc.m_windows.Add(Result(900, 0.5));
    doc.m_bHasData = 0;
    image = Marks(graph);
    EXPECT_EQ(Count(image, Qt::white), image.width() * image.height());
    EXPECT_TRUE(ui.statusTexts.empty());
}

TEST(HGraph, OneTabGivesTwoLevelLinesWithLabelsAtTheTop)
{
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    LoadSeries(doc);
    auto view = ShowView(doc);
    view->AddTabAt(601.0, true);
    ASSERT_EQ(doc.m_tabSets.size(), 2u);
    const double h0 = doc.m_tabSets[0]->GetH();
    const double h1 = doc.m_tabSets[1]->GetH();
    // The straight line's interval has an H of 1: its line is the top row.
    ASSERT_NEAR(h0, 1.0, 1e-9);
    ASSERT_GT(h1, 0.1);
    ASSERT_LT(h1, 0.9);

    CHGraph& graph = view->HGraph();
    ASSERT_EQ(graph.size(), QSize(500, 300));
    ui.statusTexts.clear();
    ui.m_waitBegins = 0;
    const QImage image = Marks(graph);

    const int tabPixel = 300; // 601 of 0..1000 over 500 pixels
    const int y1 = static_cast<int>(300 - h1 * 300);
    // First line from x = 0 to the tab's pixel on row 0.
    const auto first = ColourRun(image, 0, kMagenta);
    EXPECT_EQ(first.first, 0);
    EXPECT_EQ(first.second, tabPixel);
    // Second line from the tab's pixel + 1 to the right edge.
    const auto second = ColourRun(image, y1, kMagenta);
    EXPECT_EQ(second.first, tabPixel + 1);
    EXPECT_EQ(second.second, 499);
    EXPECT_NE(PixelAt(image, tabPixel, y1), kMagenta);

    // Labels with their top-left corners at (0, 0) and (tab + 1, 0).
    const int textHeight = QFontMetrics(graph.font()).height();
    const int label0 = LabelLeft(image, 1, textHeight, 0, tabPixel, {0, y1});
    EXPECT_GE(label0, 0);
    EXPECT_LE(label0, 3);
    const int label1 = LabelLeft(image, 1, textHeight, tabPixel, 500, {0, y1});
    EXPECT_GE(label1, tabPixel + 1);
    EXPECT_LE(label1, tabPixel + 4);
    // Nothing magenta below the labels but the second line.
    for (int y = textHeight; y < 300; ++y) {
        if (y == y1)
            continue;
        EXPECT_EQ(ColourRun(image, y, kMagenta).first, -1) << y;
    }

    EXPECT_EQ(ui.statusTexts, std::vector<std::string>({kGenerating, "Ready"}));
    EXPECT_EQ(ui.m_waitBegins, 1);
    EXPECT_EQ(ui.m_waitDepth, 0);
}

TEST(HGraph, SlidingResultsMakeAGreenCurveButOneResultDrawsNone)
{
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    LoadSeries(doc);
    auto view = ShowView(doc);
    CHGraph& graph = view->HGraph();

    doc.m_windows.Add(Result(500.0, 0.5));
    ui.statusTexts.clear();
    QImage image = Marks(graph);
    EXPECT_EQ(Count(image, kGreen), 0);
    EXPECT_EQ(Count(image, kMagenta), 0);
    EXPECT_EQ(ui.statusTexts, std::vector<std::string>({kGenerating, "Ready"}));

    // Plot positions 100 and 300 (columns 50 and 150) at H 0.5: row 150.
    doc.m_windows.RemoveAll();
    doc.m_windows.Add(Result(100.0, 0.5));
    doc.m_windows.Add(Result(300.0, 0.5));
    // Then down to H 0 at plot position 1000 (column 500, row 300).
    doc.m_windows.Add(Result(1000.0, 0.0));
    image = Marks(graph);
    const auto run = ColourRun(image, 150, kGreen);
    EXPECT_EQ(run.first, 50);
    EXPECT_GE(run.second, 150);
    EXPECT_EQ(PixelAt(image, 49, 150), Qt::white);
    EXPECT_EQ(PixelAt(image, 400, 150 + 75), Qt::white); // below the descent
    EXPECT_EQ(PixelAt(image, 325, 150 + 75), kGreen);     // on it
}

// The interval band: a light green area between each window's low and high
// ends behind the curve, its corrected H dashed, a key in the lower left;
// a window without an interval leaves a gap; no band, no change.
TEST(HGraph, IntervalBandIsALightGreenAreaBehindTheCurve)
{
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    LoadSeries(doc);
    auto view = ShowView(doc);
    CHGraph& graph = view->HGraph();
    // Plot positions 100 .. 900 (columns 50 .. 450) at H 0.5 (row 150).
    for (int i = 0; i < 5; ++i)
        doc.m_windows.Add(Result(100.0 + 200.0 * i, 0.5));
    const QImage plain = Marks(graph);
    CIntervalBand band;
    band.level = 0.95;
    band.windows.assign(5, CBandWindow{0.55, 0.3, 0.7});
    band.windows[4] = CBandWindow{};
    doc.m_band = band;
    const QImage image = Marks(graph);

    const auto isBand = [](const QColor& c) { return c.green() > c.red() + 20 && c.red() == c.blue() && c.red() > 150; };
    EXPECT_TRUE(isBand(PixelAt(image, 100, 180))) << PixelAt(image, 100, 180).name().toStdString(); // H 0.4
    EXPECT_TRUE(isBand(PixelAt(image, 300, 90)));                                                     // H 0.7
    EXPECT_EQ(PixelAt(image, 100, 60), Qt::white);                                                    // H 0.8
    EXPECT_EQ(PixelAt(image, 400, 180), Qt::white); // past the last window with an interval
    EXPECT_EQ(PixelAt(image, 30, 180), Qt::white);  // before the first
    EXPECT_EQ(PixelAt(image, 200, 150), kGreen);    // the curve lies over the band
    // The corrected H at row 135, dashed: some of its columns, not all.
    const QColor dark(0, 140, 0);
    int dashes = 0;
    for (int x = 60; x < 340; ++x)
        dashes += PixelAt(image, x, 135) == dark;
    EXPECT_GT(dashes, 60);
    EXPECT_LT(dashes, 250);
    // The key's text in the lower left corner.
    int darkText = 0;
    for (int y = 240; y < 300; ++y)
        for (int x = 0; x < 200; ++x)
            darkText += qGray(PixelAt(image, x, y).rgb()) < 80;
    EXPECT_GT(darkText, 20);

    // Zoomed, the band stays under the curve: both begin at the first
    // window's column of the range shown.
    const QRect plot = view->SeriesGraph().geometry();
    ASSERT_TRUE(view->ZoomToRect(QRect(plot.width() / 8, 0, plot.width() / 2, plot.height())));
    const QImage zoomed = Marks(graph);
    const auto firstColumn = [&](const auto& isWanted, int y) {
        for (int x = 0; x < zoomed.width(); ++x)
            if (isWanted(PixelAt(zoomed, x, y)))
                return x;
        return -1;
    };
    const int curveStart = firstColumn([](const QColor& c) { return c == kGreen; }, 150);
    const int bandStart = firstColumn(isBand, 180);
    ASSERT_GE(curveStart, 0);
    EXPECT_NE(curveStart, 50); // the zoom moved the first window
    EXPECT_NEAR(bandStart, curveStart, 2);
    view->ZoomOut();

    doc.m_band.reset();
    EXPECT_EQ(Marks(graph), plain);
}

TEST(HGraph, ARulerAheadOfTheDocumentDrawsOnlyIntervalsWithEstimators)
{
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    LoadSeries(doc);
    auto left = ShowView(doc);
    auto right = ShowView(doc);
    right->AddTabAt(200.0, true);
    right->AddTabAt(400.0, true);
    right->AddTabAt(800.0, true);
    // The other window recalculates last: the document has two intervals.
    left->AddTabAt(600.0, true);
    ASSERT_EQ(doc.m_tabSets.size(), 2u);
    ASSERT_EQ(right->TabPositions().size(), 3u);

    const QImage image = Marks(right->HGraph());
    // Two lines: [0, 100] and [101, 200]; nothing right of column 200.
    const int y1 = static_cast<int>(300 - doc.m_tabSets[1]->GetH() * 300);
    EXPECT_EQ(ColourRun(image, 0, kMagenta), std::make_pair(0, 100));
    EXPECT_EQ(ColourRun(image, y1, kMagenta), std::make_pair(101, 200));
    for (int y = 0; y < 300; ++y) {
        for (int x = 260; x < 500; ++x)
            ASSERT_FALSE(IsMagenta(PixelAt(image, x, y))) << x << "," << y;
    }
}

TEST(HGraph, ClosingOneOfTwoWindowsKeepsTheDocumentsResults)
{
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    LoadSeries(doc);
    auto first = ShowView(doc);
    auto second = ShowView(doc);
    doc.m_windows.Add(Result(100.0, 0.5));
    doc.m_windows.Add(Result(300.0, 0.5));
    doc.m_windows.Add(Result(700.0, 0.25));
    first->AddTabAt(500.0, true);
    doc.SetModifiedFlag(false);
    ASSERT_GT(Count(Marks(second->HGraph()), kGreen), 0);

    first.reset();
    EXPECT_EQ(doc.m_windows.GetSize(), 3);
    EXPECT_DOUBLE_EQ(doc.m_windows[2].m_dY, 0.25);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.m_tabSets.size(), 2u);

    // The other window still draws the curve, as the screen shows it.
    second->repaint();
    const QImage shown = RenderWidget(*second);
    const QImage plot = shown.copy(second->HGraph().geometry());
    EXPECT_EQ(ColourRun(plot, 150, kGreen).first, 50);
    EXPECT_GT(Count(plot, kGreen), 200);
}

} // namespace h_graph_test
