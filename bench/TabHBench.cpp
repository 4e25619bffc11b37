// Time of CKestrinDoc::CalculateTabH: one pass over the series placing each
// point in its interval, then every interval's estimator computed once.
//
// Target: 10,000,000 points and 1,000 tabs within 2 s.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "bench/BenchData.h"
#include "platform/HeadlessUi.h"
#include "document/KestrinDoc.h"

namespace {

void BM_CalculateTabH(benchmark::State& state)
{
    const auto n = static_cast<std::size_t>(state.range(0));
    const auto tabCount = static_cast<std::int32_t>(state.range(1));
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    doc.OnNewDocument();
    const std::vector<double> walk = bench::RandomWalk(n);
    doc.m_points.Reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        CSeriesPoint p;
        p.m_dX = static_cast<double>(i);
        p.m_dY = walk[i];
        doc.m_points.Add(p);
    }
    doc.m_bHasData = 1;

    // Tabs evenly spread over the series, as Auto-Tab places them.
    std::vector<std::int32_t> tabs;
    const auto step = static_cast<std::int32_t>(n / static_cast<std::size_t>(tabCount + 1));
    for (std::int32_t t = 1; t <= tabCount; ++t)
        tabs.push_back(t * step);

    for (auto _ : state) {
        doc.CalculateTabH(tabs);
        benchmark::DoNotOptimize(doc.m_tabSets.back()->GetH());
    }
    state.counters["intervals"] = static_cast<double>(doc.m_tabSets.size());
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(n));
}
BENCHMARK(BM_CalculateTabH)
    ->ArgNames({"points", "tabs"})
    ->Args({10000000, 1000})
    ->Args({1000000, 10})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
