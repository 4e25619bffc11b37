#include <benchmark/benchmark.h>

#include <cstdint>

#include "bench/BenchData.h"
#include "core/GrowArray.h"
#include "analysis/MatchPairs.h"
#include "core/Regression.h"
#include "analysis/SlopeWindows.h"

namespace {

// Slope windows over a million points, size 1000 (target: 1 s). Arguments:
// points, size, workers (0: the default, every core).
void BM_SlopeWindows(benchmark::State& state)
{
    const CSeriesArray series = bench::RandomWalkSeries(static_cast<std::size_t>(state.range(0)));
    const auto size = static_cast<std::int32_t>(state.range(1));
    const auto threads = static_cast<unsigned>(state.range(2));
    int percentCalls = 0;
    for (auto _ : state) {
        CHPointArray results = ComputeSlopeWindowResults(series, size, [&](int) { ++percentCalls; }, threads);
        benchmark::DoNotOptimize(results.GetData());
    }
    state.counters["windows"] = static_cast<double>(series.GetSize() - size);
}
BENCHMARK(BM_SlopeWindows)->Args({1000000, 1000, 0})->Args({1000000, 1000, 1})->Unit(benchmark::kMillisecond);

// The plain way the windows were once computed, each window copied and
// passed to LeastSquaresSlope, on a tenth of the points for comparison.
void BM_SlopeWindowsCopied(benchmark::State& state)
{
    const CSeriesArray series = bench::RandomWalkSeries(static_cast<std::size_t>(state.range(0)));
    const auto size = static_cast<int>(state.range(1));
    for (auto _ : state) {
        CHPointArray results;
        CSeriesArray window;
        for (int i = 0; size + i < series.GetSize(); ++i) {
            window.RemoveAll();
            for (int j = i; j < i + size; ++j)
                window.Add(series[j]);
            CHPoint r;
            r.m_dY = LeastSquaresSlope(window);
            r.m_dX = i + size / 2;
            results.Add(r);
        }
        benchmark::DoNotOptimize(results.GetData());
    }
}
BENCHMARK(BM_SlopeWindowsCopied)->Args({100000, 1000})->Unit(benchmark::kMillisecond);

// A million sliding results against a million slope results, with offsets
// that make almost every H result miss: the step-by-step scan would restart
// from the first slope result each time (target: 1 s). Argument: the offset.
void BM_MatchPairs(benchmark::State& state)
{
    constexpr int kCount = 1000000;
    const auto offset = static_cast<std::int32_t>(state.range(0));
    CHPointArray hResults, slopes;
    hResults.SetSize(kCount);
    slopes.SetSize(kCount);
    for (int i = 0; i < kCount; ++i) {
        // Slope windows of size 1000 sit at positions 500, 501, ...; sliding
        // results of width 1000 and spacing 10 at 500.5, 510.5, ...
        slopes[i].m_dX = 500 + i;
        slopes[i].m_dY = (i % 7) * 0.25;
        hResults[i].m_dX = 500.5 + 10.0 * i;
        hResults[i].m_dY = 0.5 + (i % 5) * 0.1;
    }
    std::size_t matches = 0;
    for (auto _ : state) {
        const CHPointArray pairs = MatchPairs(hResults, slopes, 1900.0, offset);
        matches = static_cast<std::size_t>(pairs.GetSize());
        benchmark::DoNotOptimize(pairs.GetData());
    }
    state.counters["matches"] = static_cast<double>(matches);
}
// Offset 0: a tenth of the H results fall inside the slope results and pair;
// offset 5000: likewise, shifted; a negative shift is not offered, so the
// misses come from H results beyond the last slope result (nine in ten).
BENCHMARK(BM_MatchPairs)->Arg(0)->Arg(5000)->Unit(benchmark::kMillisecond);

} // namespace
