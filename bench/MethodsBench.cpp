// Time of the second-opinion estimates of H: DFA-1 of 1,000,000 values and
// Whittle (fGn) of 100,000 values.
//
// Targets on the two-core machine: DFA-1 within 0.2 s, Whittle within 0.5 s.
#include <benchmark/benchmark.h>

#include "Dfa.h"
#include "FbmSimulation.h"
#include "Whittle.h"

namespace {

std::vector<double> Noise(int n)
{
    std::vector<double> path = SimulateFbm(n, 0.7, 1);
    for (std::size_t i = path.size(); i-- > 1;)
        path[i] -= path[i - 1];
    return path;
}

void BM_Dfa1(benchmark::State& state)
{
    const std::vector<double> x = Noise(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(Dfa1(x.data(), x.size()).alpha);
}

void BM_WhittleFgn(benchmark::State& state)
{
    const std::vector<double> x = Noise(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(WhittleFgn(x.data(), x.size()).h);
}

} // namespace

BENCHMARK(BM_Dfa1)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WhittleFgn)->Arg(100000)->Arg(99991)->Unit(benchmark::kMillisecond);
