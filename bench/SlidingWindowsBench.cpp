// Time of the sliding-window H: one estimate per window along the series,
// every result bit for bit the estimator's over its window.
//
// Targets: 1,000,000 points, width 1000, spacing 1, D 6, "Use Best" (M 31)
// within 1.0 s on two cores; on 100,000 points at least 10 times faster than
// filling and computing an estimator afresh for every window (the two
// 100,000-point cases below, compared in the same run). The sparse (spacing
// 10) and narrow (width 100) cases show the costs the shared lengths save
// least on.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <vector>

#include "bench/BenchData.h"
#include "analysis/SlidingWindows.h"

namespace {

SlidingWindowParams BestM(int width, int spacing)
{
    SlidingWindowParams params;
    params.width = width;
    params.spacing = spacing;
    params.nD = 6;
    params.useBestM = true;
    return params;
}

// Arguments: points, width, spacing, workers (0: the default, every core),
// instruction set (SimdLevel).
void BM_SlidingWindows(benchmark::State& state)
{
    const CSeriesArray series = bench::RandomWalkSeries(static_cast<std::size_t>(state.range(0)));
    const SlidingWindowParams params = BestM(static_cast<int>(state.range(1)), static_cast<int>(state.range(2)));
    SlidingWindowRun run;
    run.threads = static_cast<unsigned>(state.range(3));
    run.lanes = static_cast<SimdLevel>(state.range(4));
    for (auto _ : state) {
        CHPointArray results = ComputeSlidingWindowResults(series, params, {}, run);
        benchmark::DoNotOptimize(results.GetData());
    }
    state.counters["windows"] =
        static_cast<double>(CountSlidingWindows(series.GetSize(), params.width, params.spacing));
}
constexpr int kAuto = static_cast<int>(SimdLevel::Automatic);
constexpr int kSse2 = static_cast<int>(SimdLevel::Sse2);
constexpr int kPlain = static_cast<int>(SimdLevel::Plain);
BENCHMARK(BM_SlidingWindows)
    ->ArgNames({"points", "width", "spacing", "threads", "lanes"})
    ->Args({1000000, 1000, 1, 0, kAuto})
    ->Args({1000000, 1000, 1, 1, kAuto})
    ->Args({1000000, 1000, 1, 0, kSse2})
    ->Args({1000000, 1000, 1, 0, kPlain})
    ->Args({1000000, 1000, 10, 0, kAuto})
    ->Args({1000000, 100, 1, 0, kAuto})
    ->Args({100000, 1000, 1, 0, kAuto})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The plain way: every window's estimator filled and computed on its own.
// Afterwards, untimed, the fast results are checked against these bit for
// bit, as the optimised build computes them.
void BM_SlidingWindowsEachAfresh(benchmark::State& state)
{
    const CSeriesArray series = bench::RandomWalkSeries(static_cast<std::size_t>(state.range(0)));
    CHPointArray direct;
    for (auto _ : state) {
        direct = ComputeSlidingWindowResultsDirect(series, BestM(1000, 1));
        benchmark::DoNotOptimize(direct.GetData());
    }
    const CHPointArray fast = ComputeSlidingWindowResults(series, BestM(1000, 1));
    bool same = fast.GetSize() == direct.GetSize();
    for (int i = 0; same && i < fast.GetSize(); ++i)
        same = fast[i].m_dY == direct[i].m_dY && fast[i].m_dB == direct[i].m_dB && fast[i].m_dR == direct[i].m_dR &&
               fast[i].m_dX == direct[i].m_dX && fast[i].m_nCount == direct[i].m_nCount;
    if (!same)
        state.SkipWithError("the sliding windows differ from each window's estimator");
    state.counters["identical"] = same ? 1.0 : 0.0;
}
BENCHMARK(BM_SlidingWindowsEachAfresh)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace
