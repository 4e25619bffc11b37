// Throughput of saving and opening a document of 10,000,000 points through
// OnSaveDocument / OnOpenDocument, in bytes of the file per second. Target:
// at least 500 MB/s each way.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/BenchData.h"
#include "platform/HeadlessUi.h"
#include "document/KestrinDoc.h"

namespace {

constexpr std::size_t kPoints = 10000000;

// A document as an import of the series would leave it: the points, the
// global estimator's values and its results. Built once; the save benchmark
// writes it, and its file is what the open benchmark reads.
CKestrinDoc& FilledDocument()
{
    static CHeadlessUi ui;
    static CKestrinDoc doc(ui);
    static bool filled = false;
    if (filled)
        return doc;
    filled = true;
    const std::vector<double> walk = bench::RandomWalk(kPoints);
    doc.OnNewDocument();
    CSeriesArray& points = doc.m_points;
    points.SetSize(static_cast<int>(kPoints));
    for (std::size_t i = 0; i < kPoints; ++i)
        points.Set(static_cast<int>(i), CSeriesPoint{.m_dY = walk[i], .m_dX = static_cast<double>(i)});
    doc.m_globalSet.Reset({.nD = doc.m_nD, .nM = doc.m_nM});
    doc.m_globalSet.m_bAutoCompute = 0;
    doc.m_globalSet.Values().Storage() = walk;
    doc.m_globalSet.Compute();
    doc.m_bHasData = 1;
    doc.m_strDatabase = "bench";
    doc.m_strYField = "value";
    return doc;
}

const std::string& DocumentFile()
{
    static std::string path;
    if (path.empty()) {
        path = bench::ScratchDir() + "/open.kst";
        if (!FilledDocument().OnSaveDocument(path)) {
            std::fprintf(stderr, "kestrin-bench: cannot write %s\n", path.c_str());
            std::exit(1);
        }
    }
    return path;
}

void BM_SaveDocument(benchmark::State& state)
{
    CKestrinDoc& doc = FilledDocument();
    const std::string path = bench::ScratchDir() + "/save.kst";
    for (auto _ : state) {
        if (!doc.OnSaveDocument(path)) {
            state.SkipWithError("the save failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bench::FileSize(path)));
}
BENCHMARK(BM_SaveDocument)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenDocument(benchmark::State& state)
{
    const std::string& path = DocumentFile();
    const std::int64_t bytes = static_cast<std::int64_t>(bench::FileSize(path));
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    for (auto _ : state) {
        if (!doc.OnOpenDocument(path)) {
            state.SkipWithError("the open failed");
            break;
        }
        benchmark::DoNotOptimize(doc.m_points.Ys());
    }
    state.counters["points"] = static_cast<double>(doc.m_points.GetSize());
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_OpenDocument)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
