// Time of the Whittle (fGn) estimate of H over 100,000 values, and over a
// prime count (the chirp transform instead of the mixed-radix one).
//
// Target: within 0.5 s.
#include <benchmark/benchmark.h>

#include "analysis/FbmSimulation.h"
#include "analysis/SeriesProfile.h"
#include "analysis/Whittle.h"

namespace {

void BM_WhittleFgn(benchmark::State& state)
{
    const std::vector<double> walk = SimulateFbm(static_cast<int>(state.range(0)) + 1, 0.7, 1);
    const std::vector<double> noise = Increments(walk.data(), walk.size());
    for (auto _ : state)
        benchmark::DoNotOptimize(WhittleFgn(noise.data(), noise.size()).h);
}

} // namespace

BENCHMARK(BM_WhittleFgn)->Arg(100000)->Arg(99991)->Unit(benchmark::kMillisecond);
