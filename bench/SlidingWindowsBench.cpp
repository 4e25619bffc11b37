// Time of the sliding-window H: one estimate per window along the series.
//
// Target: 1,000,000 points, width 1000, spacing 1, D 6, "Use Best" (M 31)
// within 1.0 s; and on 100,000 points at least 10 times faster than filling
// and computing an estimator afresh for every window (the two 100,000-point
// cases below, compared in the same run).
#include <benchmark/benchmark.h>

#include <cstddef>
#include <vector>

#include "BenchData.h"
#include "SlidingWindows.h"

namespace {

CHPointArray WalkSeries(std::size_t n)
{
    const std::vector<double> walk = bench::RandomWalk(n);
    CHPointArray points;
    points.Reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        CHPoint p;
        p.m_dX = static_cast<double>(i);
        p.m_dY = walk[i];
        points.Add(p);
    }
    return points;
}

SlidingWindowParams Width1000()
{
    SlidingWindowParams params;
    params.width = 1000;
    params.spacing = 1;
    params.nD = 6;
    params.useBestM = true;
    return params;
}

void BM_SlidingWindows(benchmark::State& state)
{
    const CHPointArray series = WalkSeries(static_cast<std::size_t>(state.range(0)));
    const auto threads = static_cast<unsigned>(state.range(1));
    for (auto _ : state) {
        CHPointArray results = ComputeSlidingWindowResults(series, Width1000(), {}, threads);
        benchmark::DoNotOptimize(results.GetData());
    }
    state.counters["windows"] = static_cast<double>(CountSlidingWindows(series.GetSize(), 1000, 1));
}
BENCHMARK(BM_SlidingWindows)
    ->Args({1000000, 0})
    ->Args({1000000, 1})
    ->Args({100000, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The plain way: every window's estimator filled and computed on its own.
void BM_SlidingWindowsEachAfresh(benchmark::State& state)
{
    const CHPointArray series = WalkSeries(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        CHPointArray results = ComputeSlidingWindowResultsDirect(series, Width1000());
        benchmark::DoNotOptimize(results.GetData());
    }
}
BENCHMARK(BM_SlidingWindowsEachAfresh)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace
