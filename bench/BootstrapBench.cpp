// Time of the bootstrap of an H estimate: 200 replicates of fBm, D 4, M 3,
// the bisection over H sharing both cores.
//
// Targets on the two-core machine: 4096 points within 1 s, 65,536 points
// within 10 s.
#include <benchmark/benchmark.h>

#include "Bootstrap.h"
#include "FbmSimulation.h"
#include "HDataSet.h"

namespace {

void BM_Bootstrap200Replicates(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    CHDataSet observed(4, 3);
    observed.m_bAutoCompute = 0;
    observed.Values().Storage() = SimulateFbm(n, 0.7, 1);
    observed.Compute();
    const CBootstrapRequest request = BootstrapRequestFor(observed);
    for (auto _ : state) {
        const CBootstrapResult result = RunBootstrap(request);
        benchmark::DoNotOptimize(result.corrected);
    }
}

} // namespace

BENCHMARK(BM_Bootstrap200Replicates)->Arg(4096)->Arg(65536)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
