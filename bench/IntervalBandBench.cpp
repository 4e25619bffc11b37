// Time of the interval band against the sliding run it belongs to.
//
// Target: for 1,000,000 points, width 1000, spacing 1, D 6, "Use Best" (M 31),
// the band (the whole series' decision, the bootstrap grid of 200 replicates
// with the model check's estimates, every window read, the check) costs at
// most 1.5 times the sliding run itself. Both are measured here, in the same
// run, on the same random walk: compare BM_BandSlidingRun with BM_IntervalBand.
#include <benchmark/benchmark.h>

#include <cstddef>

#include "analysis/IntervalBand.h"
#include "analysis/SlidingWindows.h"
#include "bench/BenchData.h"

namespace {

SlidingWindowParams BandParams(int width)
{
    SlidingWindowParams params;
    params.width = width;
    params.spacing = 1;
    params.nD = 6;
    params.useBestM = true;
    return params;
}

// Arguments: points, width.
void BM_BandSlidingRun(benchmark::State& state)
{
    const CSeriesArray series = bench::RandomWalkSeries(static_cast<std::size_t>(state.range(0)));
    const SlidingWindowParams params = BandParams(static_cast<int>(state.range(1)));
    for (auto _ : state) {
        CHPointArray results = ComputeSlidingWindowResults(series, params);
        benchmark::DoNotOptimize(results.GetData());
    }
}
BENCHMARK(BM_BandSlidingRun)
    ->ArgNames({"points", "width"})
    ->Args({1000000, 1000})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Arguments: points, width.
void BM_IntervalBand(benchmark::State& state)
{
    const CSeriesArray series = bench::RandomWalkSeries(static_cast<std::size_t>(state.range(0)));
    const SlidingWindowParams params = BandParams(static_cast<int>(state.range(1)));
    const CHPointArray windows = ComputeSlidingWindowResults(series, params);
    for (auto _ : state) {
        std::optional<CIntervalBand> band = ComputeIntervalBand(series, windows, params, CIntervalBandOptions{});
        if (!band)
            bench::Die("the interval band could not be computed");
        benchmark::DoNotOptimize(band->windows.data());
    }
}
BENCHMARK(BM_IntervalBand)
    ->ArgNames({"points", "width"})
    ->Args({1000000, 1000})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
