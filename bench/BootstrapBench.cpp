// Time of the bootstrap of an H estimate: 200 replicates of fBm, D 4, M 3,
// the bisection over H sharing both cores.
//
// Targets on the two-core machine: 4096 points within 1 s, 65,536 points
// within 10 s. The whole series bootstrap (noise or motion decided, the
// model check's three more settings on every path) within twice the plain
// bootstrap's time at 4096 points.
#include <benchmark/benchmark.h>

#include "analysis/Bootstrap.h"
#include "analysis/FbmSimulation.h"
#include "core/HDataSet.h"

namespace {

void BM_Bootstrap200Replicates(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    CHDataSet observed({.nD = 4, .nM = 3});
    observed.m_bAutoCompute = 0;
    observed.Values().Storage() = SimulateFbm(n, 0.7, 1);
    observed.Compute();
    const CBootstrapRequest request = BootstrapRequestFor(observed);
    for (auto _ : state) {
        const CBootstrapResult result = RunBootstrap(request);
        benchmark::DoNotOptimize(result.corrected);
    }
}

void BM_SeriesBootstrapWithModelCheck(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    CHDataSet observed({.nD = 4, .nM = 3});
    observed.m_bAutoCompute = 0;
    observed.Values().Storage() = SimulateFbm(n, 0.7, 1);
    observed.Compute();
    for (auto _ : state) {
        const CBootstrapResult result = RunBootstrap(SeriesBootstrapRequest(observed, CSeriesBootstrapOptions{}));
        benchmark::DoNotOptimize(result.check);
    }
}

} // namespace

BENCHMARK(BM_SeriesBootstrapWithModelCheck)->Arg(4096)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_Bootstrap200Replicates)->Arg(4096)->Arg(65536)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
