// Time of DFA-1 (profile, about 64 scales, both window sets) over a million
// values: the noise-or-motion decision on the longest series.
//
// Target: within 0.2 s.
#include <benchmark/benchmark.h>

#include "bench/BenchData.h"
#include "analysis/Dfa.h"

namespace {

void BM_Dfa1(benchmark::State& state)
{
    const std::vector<double> walk = bench::RandomWalk(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        const CDfaResult result = Dfa1(walk.data(), walk.size());
        benchmark::DoNotOptimize(result.alpha);
    }
}

} // namespace

BENCHMARK(BM_Dfa1)->Arg(1000000)->Unit(benchmark::kMillisecond);
