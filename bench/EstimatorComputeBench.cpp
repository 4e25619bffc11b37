// Time of CHDataSet::Compute (the curve lengths of every lag and the fit).
//
// Targets on 1,000,000 values: D 4, M 3 within 15 ms; D 1, M 10 within 5 ms.
// D 6, M 31 has no target. The large cases may use a second thread, so they
// are timed by the wall clock.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <vector>

#include "bench/BenchData.h"
#include "core/HDataSet.h"

namespace {

constexpr std::size_t kLongSeries = 1000000;

const std::vector<double>& LongWalk()
{
    static const std::vector<double> walk = bench::RandomWalk(kLongSeries);
    return walk;
}

void BM_ComputeLongSeries(benchmark::State& state)
{
    const int nD = static_cast<int>(state.range(0));
    const int nM = static_cast<int>(state.range(1));
    CHDataSet set({.nD = nD, .nM = nM});
    set.m_bAutoCompute = 0;
    set.Values().Storage() = LongWalk();
    for (auto _ : state) {
        set.Compute();
        benchmark::DoNotOptimize(set.GetH());
    }
    state.counters["H"] = set.GetH();
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kLongSeries));
}
BENCHMARK(BM_ComputeLongSeries)
    ->ArgNames({"D", "M"})
    ->Args({4, 3})
    ->Args({1, 10})
    ->Args({6, 31})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// One sliding window: many thousands of such calls make up a window
// analysis, so the per-call overhead counts here, not the arithmetic.
void BM_ComputeWindow(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const int nD = static_cast<int>(state.range(1));
    const int nM = static_cast<int>(state.range(2));
    const std::vector<double>& walk = LongWalk();
    CHDataSet set({.nD = nD, .nM = nM});
    set.m_bAutoCompute = 0;
    set.Values().Storage().assign(walk.begin(), walk.begin() + n);
    for (auto _ : state) {
        set.Compute();
        benchmark::DoNotOptimize(set.GetH());
    }
}
BENCHMARK(BM_ComputeWindow)
    ->ArgNames({"n", "D", "M"})
    ->Args({100, 4, 3})
    ->Args({1000, 4, 3})
    ->Args({10000, 4, 3})
    ->Args({10000, 1, 10})
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

} // namespace
