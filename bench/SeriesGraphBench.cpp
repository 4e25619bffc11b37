// Time of the series graph's paints over a series of 10,000,000 points in a
// 1200 by 800 plot. Targets: a fresh drawing within 150 ms, a repaint from
// the snapshot within 5 ms, a fresh drawing of the whole picture zoomed to a
// part of the series within 50 ms per wheel step. And the whole picture of that series exported
// at 1600 by 1000: as an SVG drawing within 1 s and 1 MB, as a PNG image
// within 0.5 s.
//
// Measured twice: the drawing itself into an off-screen bitmap, and the
// window's whole paint as the view triggers it (document, view and the
// layers over the series included), on the offscreen platform.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include "bench/BenchData.h"
#include "platform/HeadlessUi.h"
#include "document/KestrinDoc.h"
#include "views/KestrinView.h"
#include "views/PictureExport.h"
#include "views/SeriesGraphRender.h"
#include "views/SeriesSummary.h"

namespace {

constexpr std::size_t kPoints = 10000000;
constexpr int kWidth = 1200;
constexpr int kHeight = 800;

// The benchmarks share the program's main with the others, so the
// application object is made on first use. It is never destroyed: at exit
// Qt's own globals may already be gone.
void EnsureApplication()
{
    if (QApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "kestrin-bench";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

// The random walk as a series, X = 0..n-1.
const CSeriesArray& Series()
{
    static const CSeriesArray points = [] {
        const std::vector<double> walk = bench::RandomWalk(kPoints);
        CSeriesArray out;
        out.SetSize(static_cast<int>(walk.size()));
        for (std::size_t i = 0; i < walk.size(); ++i) {
            out.Set(static_cast<int>(i), CSeriesPoint{.m_dY = walk[i], .m_dX = static_cast<double>(i)});
        }
        return out;
    }();
    return points;
}

CSeriesGraphData SeriesData()
{
    CSeriesGraphData data;
    data.points = &Series();
    UpdatePlotExtents(Series(), false, data.extents);
    data.dH = 0.5;
    data.dR = 0.99;
    data.nCount = static_cast<int>(kPoints);
    return data;
}

void BM_SeriesGraphDrawFresh(benchmark::State& state)
{
    EnsureApplication();
    const CSeriesGraphData data = SeriesData();
    QPixmap pixmap(kWidth, kHeight);
    for (auto _ : state) {
        pixmap.fill(Qt::white);
        QPainter painter(&pixmap);
        DrawSeriesGraph(painter, kWidth, kHeight, data);
    }
    state.counters["points/s"] = benchmark::Counter(static_cast<double>(state.iterations()) * kPoints,
                                                    benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SeriesGraphDrawFresh)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SeriesGraphDrawSnapshot(benchmark::State& state)
{
    EnsureApplication();
    const CSeriesGraphData data = SeriesData();
    QPixmap snapshot(kWidth, kHeight);
    snapshot.fill(Qt::white);
    {
        QPainter painter(&snapshot);
        DrawSeriesGraph(painter, kWidth, kHeight, data);
    }
    // The window's backing store on the raster platforms is an image.
    QImage target(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&target);
        painter.drawPixmap(0, 0, snapshot);
    }
}
BENCHMARK(BM_SeriesGraphDrawSnapshot)->Unit(benchmark::kMillisecond)->UseRealTime();

// The summary a zoomed drawing reads the points' extremes from, made once
// per series (at the first zoomed drawing).
void BM_SeriesSummaryBuild(benchmark::State& state)
{
    for (auto _ : state) {
        CSeriesSummary summary(Series());
        benchmark::DoNotOptimize(summary.XAscending());
    }
}
BENCHMARK(BM_SeriesSummaryBuild)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole picture drawn afresh into an image at each step of a run of wheel
// steps (0.8 of the range each) from the whole series down to 12 points per
// column, around a point a third of the way along.
void BM_PictureDrawZoomedStep(benchmark::State& state)
{
    EnsureApplication();
    CPictureData data;
    data.hasData = true;
    data.series = SeriesData();
    data.series.summary = std::make_shared<const CSeriesSummary>(Series());
    data.font = QApplication::font();
    data.font.setPixelSize(12);
    std::vector<CPlotExtents> steps;
    const CPlotExtents whole = data.series.extents;
    const double centre = whole.m_dXMin + (whole.m_dXMax - whole.m_dXMin) / 3.0;
    for (double span = (whole.m_dXMax - whole.m_dXMin) * 0.8; span > 12.0 * kWidth; span *= 0.8) {
        CPlotExtents e = whole;
        e.m_dXMin = centre - span / 3.0;
        e.m_dXMax = e.m_dXMin + span;
        steps.push_back(e);
    }
    QImage image(kWidth + 50, kHeight + 65, QImage::Format_RGB32);
    std::size_t step = 0;
    for (auto _ : state) {
        data.series.shown = steps[step];
        data.legend.extents = steps[step];
        step = (step + 1) % steps.size();
        QPainter painter(&image);
        DrawPicture(painter, image.width(), image.height(), data, CPictureOptions{});
    }
    state.counters["steps"] = static_cast<double>(steps.size());
}
BENCHMARK(BM_PictureDrawZoomedStep)->Unit(benchmark::kMillisecond)->UseRealTime();

// A shown view whose plot rectangle is kWidth by kHeight, over a document
// holding the series.
struct CShownSeries
{
    CHeadlessUi ui;
    CKestrinDoc doc{ui};
    std::unique_ptr<CKestrinView> view;

    CShownSeries()
    {
        doc.m_points = Series();
        doc.m_bHasData = 1;
        doc.m_globalSet.Reset({.nD = doc.m_nD, .nM = doc.m_nM});
        view = std::make_unique<CKestrinView>(doc);
        view->resize(kWidth + 50, kHeight + 65);
        view->show();
        QApplication::processEvents();
        view->OnInitialUpdate();
    }
};

void BM_SeriesGraphWindowFresh(benchmark::State& state)
{
    EnsureApplication();
    CShownSeries shown;
    CSeriesGraph& graph = shown.view->SeriesGraph();
    if (graph.size() != QSize(kWidth, kHeight))
        state.SkipWithError("unexpected plot size");
    for (auto _ : state) {
        graph.m_bRegenerate = 1;
        graph.repaint();
    }
    if (graph.m_bRegenerate != 0)
        state.SkipWithError("the window did not paint");
}
BENCHMARK(BM_SeriesGraphWindowFresh)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SeriesGraphWindowSnapshot(benchmark::State& state)
{
    EnsureApplication();
    CShownSeries shown;
    CSeriesGraph& graph = shown.view->SeriesGraph();
    if (graph.size() != QSize(kWidth, kHeight) || graph.m_bRegenerate != 0)
        state.SkipWithError("no snapshot to repaint from");
    const std::size_t before = shown.ui.statusTexts.size();
    for (auto _ : state)
        graph.repaint();
    if (shown.ui.statusTexts.size() == before)
        state.SkipWithError("the window did not paint");
}
BENCHMARK(BM_SeriesGraphWindowSnapshot)->Unit(benchmark::kMillisecond)->UseRealTime();

// The picture of the series written to a file of the given format, as File >
// Export Picture and kestrin --export-picture write it.
void ExportSeriesPicture(benchmark::State& state, const char* suffix)
{
    EnsureApplication();
    CPictureData data;
    data.hasData = true;
    data.series = SeriesData();
    data.legend.extents = data.series.extents;
    data.font = QApplication::font();
    data.font.setPixelSize(12);
    CPictureExportSettings settings;
    settings.size = QSize(1600, 1000);
    const QString path = QDir::temp().filePath(QStringLiteral("kestrin-bench-picture.") + QLatin1String(suffix));
    QString error;
    for (auto _ : state) {
        if (!ExportPicture(path, data, settings, error)) {
            state.SkipWithError(qPrintable(error));
            break;
        }
    }
    state.counters["bytes"] = static_cast<double>(QFileInfo(path).size());
    QFile::remove(path);
}

void BM_PictureExportSvg(benchmark::State& state)
{
    ExportSeriesPicture(state, "svg");
}
BENCHMARK(BM_PictureExportSvg)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PictureExportPng(benchmark::State& state)
{
    ExportSeriesPicture(state, "png");
}
BENCHMARK(BM_PictureExportPng)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PictureExportPdf(benchmark::State& state)
{
    ExportSeriesPicture(state, "pdf");
}
BENCHMARK(BM_PictureExportPdf)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
