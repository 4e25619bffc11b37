// The legend: titles and the series' extents written around the plot
// rectangle, on an opaque white text background, and nothing without data.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPaintEngine>
#include <QPaintDevice>
#include <QPainterPath>
#include <gtest/gtest.h>

#include "views/CommandIds.h"
#include "tests/support/gui/GuiTestSupport.h"
#include "platform/HeadlessUi.h"
#include "document/KestrinDoc.h"
#include "views/KestrinView.h"
#include "tests/support/gui/LegendReference.h"

namespace legend_test {

namespace {

// What shows through where the legend writes nothing; not white, so that
// the labels' white text background can be told apart from it.
const QRgb kUnder = qRgb(0xC0, 0xD0, 0xE0);

using Label = LegendLabel;

// The legend alone, painted over a plain coloured image of its size.
QImage RenderLegend(CLegend& legend)
{
    return RenderLegend(legend, kUnder);
}

QImage Expected(const CLegend& legend, const std::vector<Label>& labels, QRgb under = kUnder)
{
    return ExpectedLegend(legend, labels, under);
}

bool IsDark(QRgb c)
{
    return qGray(c) < 128;
}

// The smallest rectangle holding every dark pixel inside area (empty when
// there is none).
QRect DarkBox(const QImage& image, const QRect& area)
{
    QRect box;
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (IsDark(image.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}

int CountNot(const QImage& image, QRgb color)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) != color;
    return n;
}

class LegendTest : public ::testing::Test
{
protected:
    // Points spanning X 0..1000 and Y 12.6..57.2.
    void FillOrdinary()
    {
        doc.m_points.RemoveAll();
        for (auto [x, y] : std::vector<std::pair<double, double>>{{0, 30}, {250, 12.6}, {600, 57.2}, {1000, 40}}) {
            CSeriesPoint p;
            p.m_dX = x;
            p.m_dY = y;
            doc.m_points.Add(p);
        }
        doc.m_bHasData = 1;
    }

    void Open(int cx, int cy)
    {
        view = std::make_unique<CKestrinView>(doc);
        view->resize(cx, cy);
        view->show();
        view->OnInitialUpdate();
    }

    // The four extents' labels of a legend of cx by cy pixels.
    std::vector<Label> Extents(const QString& xMin, const QString& xMax, const QString& yMin, const QString& yMax,
                               int cx, int cy) const
    {
        return LegendExtentLabels(view->Legend(), xMin, xMax, yMin, yMax, cx, cy);
    }

    CHeadlessUi ui;
    CKestrinDoc doc{ui};
    std::unique_ptr<CKestrinView> view;
};

} // namespace

TEST_F(LegendTest, CoversTheViewAndCarriesItsExtents)
{
    FillOrdinary();
    Open(500, 300);
    CLegend& legend = view->Legend();
    EXPECT_EQ(legend.objectName(), "CLegend");
    EXPECT_EQ(legend.ChildId(), 105);
    EXPECT_EQ(legend.geometry(), QRect(0, 0, 500, 300));
    const CLegendData shown = view->LegendData();
    EXPECT_EQ(shown.extents.m_dXMin, 0.0);
    EXPECT_EQ(shown.extents.m_dXMax, 1000.0);
    EXPECT_EQ(shown.extents.m_dYMin, 12.6);
    EXPECT_EQ(shown.extents.m_dYMax, 57.2);
}

TEST_F(LegendTest, ExtentsAtTheEndsOfTheAxes)
{
    FillOrdinary();
    const int cx = 500, cy = 300;
    Open(cx, cy);
    CLegend& legend = view->Legend();
    const QImage image = RenderLegend(legend);
    EXPECT_EQ(image, Expected(legend, Extents("0", "1000", "13", "57", cx, cy)));

    // The same places, seen without a reference drawing.
    const QFontMetrics fm(legend.font());
    const int h = fm.height();
    // X minimum: starts at the left end of the X axis, just below it.
    const QRect xMin = DarkBox(image, QRect(0, cy - 40, cx / 2, h));
    ASSERT_FALSE(xMin.isEmpty());
    EXPECT_GE(xMin.left(), 40);
    EXPECT_LE(xMin.left(), 43);
    EXPECT_GE(xMin.top(), cy - 40);
    // X maximum: ends at the right end of the X axis.
    const QRect xMax = DarkBox(image, QRect(cx / 2, cy - 40, cx / 2, h));
    ASSERT_FALSE(xMax.isEmpty());
    EXPECT_LE(xMax.right(), cx - 11);
    EXPECT_GE(xMax.right(), cx - 14);
    EXPECT_GT(xMax.width(), 3 * fm.horizontalAdvance("0"));
    // Y maximum level with the top of the plot, Y minimum 25 pixels above
    // its bottom, both from the left edge.
    const QRect yMax = DarkBox(image, QRect(0, 0, 40, cy / 2));
    ASSERT_FALSE(yMax.isEmpty());
    EXPECT_GE(yMax.top(), 25);
    EXPECT_LT(yMax.bottom(), 25 + h);
    EXPECT_LE(yMax.left(), 2);
    const QRect yMin = DarkBox(image, QRect(0, cy / 2, 40, cy / 2 - 40));
    ASSERT_FALSE(yMin.isEmpty());
    EXPECT_GE(yMin.top(), cy - 65);
    EXPECT_LT(yMin.bottom(), cy - 65 + h);

    // Each label stands on an opaque white cell exactly as wide as its text;
    // everywhere else whatever lies underneath shows.
    EXPECT_EQ(image.pixel(40, cy - 40), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(39, cy - 40), kUnder);
    EXPECT_EQ(image.pixel(40 + fm.horizontalAdvance("0"), cy - 40), kUnder);
    EXPECT_EQ(image.pixel(cx - 10 - fm.horizontalAdvance("1000"), cy - 40), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(cx - 11, cy - 40), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(cx - 10, cy - 40), kUnder);
    EXPECT_EQ(image.pixel(0, 25 + h - 1), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(0, 25 + h), kUnder);
    EXPECT_EQ(image.pixel(0, 24), kUnder);
    EXPECT_EQ(image.pixel(cx / 2, cy / 2), kUnder);
}

TEST_F(LegendTest, HDocumentShowsOneDecimalOnY)
{
    FillOrdinary();
    doc.m_bHSeries = 1;
    const int cx = 420, cy = 260;
    Open(cx, cy);
    CLegend& legend = view->Legend();
    EXPECT_EQ(view->LegendData().extents.m_dYMin, 0.0);
    EXPECT_EQ(view->LegendData().extents.m_dYMax, 1.0);
    EXPECT_EQ(RenderLegend(legend), Expected(legend, Extents("0", "1000", "0.0", "1.0", cx, cy)));

    // Only a value of exactly 1 counts as an H document.
    doc.m_bHSeries = 2;
    doc.UpdateAllViews(nullptr);
    EXPECT_EQ(RenderLegend(legend), Expected(legend, Extents("0", "1000", "13", "57", cx, cy)));
}

TEST_F(LegendTest, NothingWithoutData)
{
    Open(400, 250);
    CLegend& legend = view->Legend();
    EXPECT_EQ(CountNot(RenderLegend(legend), kUnder), 0);

    // Extents and titles are kept, but a document without data shows none.
    FillOrdinary();
    doc.m_strXField = "Date";
    doc.m_strYField = "Level";
    doc.UpdateAllViews(nullptr);
    EXPECT_GT(CountNot(RenderLegend(legend), kUnder), 0);
    doc.m_bHasData = 0;
    EXPECT_EQ(CountNot(RenderLegend(legend), kUnder), 0);
}

TEST_F(LegendTest, TitlesBesideThePlot)
{
    FillOrdinary();
    // What a document of H values made from sliding windows holds; odd sizes
    // check that the halves are truncated.
    doc.m_strXField = "H";
    doc.m_strYField = "Series";
    const int cx = 501, cy = 301;
    Open(cx, cy);
    CLegend& legend = view->Legend();
    EXPECT_EQ(view->LegendData().leftTitle, "H");
    EXPECT_EQ(view->LegendData().bottomTitle, "Series");
    std::vector<Label> labels = Extents("0", "1000", "13", "57", cx, cy);
    labels.push_back({"Series", {250, cy - 40}});
    labels.push_back({"H", {0, 150}});
    EXPECT_EQ(RenderLegend(legend), Expected(legend, labels));

    // A title read from an old file need not be UTF-8: it shows in the code
    // page it was written in (0xB5 is the micro sign).
    doc.m_strXField = "Depth \xB5m";
    doc.m_strYField = "Caf\xC3\xA9";
    doc.UpdateAllViews(nullptr);
    labels.pop_back();
    labels.pop_back();
    labels.push_back({QString::fromUtf8("Caf\xC3\xA9"), {250, cy - 40}});
    labels.push_back({QString::fromUtf8("Depth \xC2\xB5m"), {0, 150}});
    EXPECT_EQ(RenderLegend(legend), Expected(legend, labels));
}

// A device that keeps only the texts drawn on it and where.
class TextRecorder : public QPaintDevice
{
public:
    struct Text
    {
        QString text;
        QPoint at;
    };

    TextRecorder(int w, int h) : m_w(w), m_h(h) {}
    QPaintEngine* paintEngine() const override { return &m_engine; }
    const std::vector<Text>& Texts() const { return m_engine.texts; }
    QPoint At(const QString& text) const
    {
        for (const Text& t : Texts())
            if (t.text == text)
                return t.at;
        return QPoint(-1, -1);
    }

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth:
            return m_w;
        case PdmHeight:
            return m_h;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        default:
            return QPaintDevice::metric(m);
        }
    }

private:
    struct Engine : QPaintEngine
    {
        Engine() : QPaintEngine(QPaintEngine::AllFeatures) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawPath(const QPainterPath&) override {}
        void drawRects(const QRectF*, int) override {}
        void drawLines(const QLineF*, int) override {}
        void drawTextItem(const QPointF& p, const QTextItem& item) override
        {
            texts.push_back({item.text(), p.toPoint()});
        }
        Type type() const override { return QPaintEngine::User; }
        std::vector<Text> texts;
    };
    int m_w;
    int m_h;
    mutable Engine m_engine;
};

// The plain picture writes the X field's name in the left margin and the Y
// field's under the plot; with the axes' scales each stands beside its axis.
TEST(LegendTitles, BesideTheirAxesOnlyWithAxisScales)
{
    const int cx = 501, cy = 301;
    CLegendData data;
    data.leftTitle = "Depth";   // the X field
    data.bottomTitle = "Flow";  // the Y field
    data.extents.m_dXMin = 0;
    data.extents.m_dXMax = 1000;
    data.extents.m_dYMin = 12.6;
    data.extents.m_dYMax = 57.2;
    struct Case
    {
        bool scales;
        QPoint depth, flow; // top-left corners
    };
    const Case cases[] = {
        {false, {0, cy / 2}, {cx / 2, cy - 40}},
        {true, {cx / 2, cy - 40}, {0, cy / 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scales);
        data.axisScales = c.scales;
        TextRecorder device(cx, cy);
        QPainter painter(&device);
        const int ascent = painter.fontMetrics().ascent();
        DrawLegend(painter, cx, cy, data);
        painter.end();
        EXPECT_EQ(device.At("Depth"), c.depth + QPoint(0, ascent));
        EXPECT_EQ(device.At("Flow"), c.flow + QPoint(0, ascent));
    }
}

TEST_F(LegendTest, LabelsFollowAResize)
{
    FillOrdinary();
    Open(500, 300);
    view->resize(360, 420);
    CLegend& legend = view->Legend();
    EXPECT_EQ(legend.geometry(), QRect(0, 0, 360, 420));
    EXPECT_EQ(RenderLegend(legend), Expected(legend, Extents("0", "1000", "13", "57", 360, 420)));
}

TEST_F(LegendTest, OnTopOfTheViewAndHiddenByItsCommand)
{
    FillOrdinary();
    const int cx = 480, cy = 320;
    Open(cx, cy);
    // With the other layers hidden the view shows its white background and
    // the legend's labels.
    view->OnCommand(cmd::ShowSeriesGraph);
    view->OnCommand(cmd::ShowHGraph);
    const QImage expected = Expected(view->Legend(), Extents("0", "1000", "13", "57", cx, cy), qRgb(255, 255, 255));
    EXPECT_EQ(RenderWidget(*view), expected);

    view->OnCommand(cmd::ShowLegend);
    EXPECT_FALSE(view->GetCommandState(cmd::ShowLegend).checked);
    EXPECT_EQ(CountNot(RenderWidget(*view), qRgb(255, 255, 255)), 0);
    view->OnCommand(cmd::ShowLegend);
    EXPECT_EQ(RenderWidget(*view), expected);
}

} // namespace legend_test
