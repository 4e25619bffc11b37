// Many series at once: kestrin.estimate_many and bootstrap_many, on every
// core with the GIL released, each result identical to one call per series.
#include <thread>

#include <pybind11/stl.h>

#include "analysis/BootstrapLimits.h"
#include "python/src/BatchRun.h"
#include "python/src/Bindings.h"
#include "python/src/BootstrapCall.h"
#include "python/src/Estimate.h"
#include "python/src/ModuleErrors.h"
#include "core/OptimumM.h"
#include "python/src/Parameters.h"

namespace {

std::vector<EstimateResult> EstimateMany(py::handle series, py::handle D, py::handle M, py::handle threads,
                                         py::object progress, py::handle rMin)
{
    const int nD = static_cast<int>(WholeNumber(D, "D", 1, kMaxEmbeddingD));
    const std::optional<int> nM = LagCountArgument(M, "M");
    const int nRMin = FirstLagArgument(rMin, nM);
    const unsigned count = static_cast<unsigned>(WholeNumber(threads, "threads", 0, 4096));
    const std::vector<SeriesArgument> list = ReadSeriesList(series, "series");
    for (const SeriesArgument& y : list)
        CheckSeriesLength(y, "series");
    std::vector<EstimateResult> results(list.size());
    CPythonProgress link(std::move(progress));
    RunBatch(
        list.size(), count,
        [&](std::size_t i) {
            results[i] = EstimateSeries(list[i], "series[" + std::to_string(i) + "]", nD, nM, nRMin);
        },
        link);
    std::vector<std::string> warnings;
    for (std::size_t i = 0; i < results.size(); ++i)
        for (const std::string& w : results[i].warnings)
            warnings.push_back("series[" + std::to_string(i) + "]: " + w);
    IssueWarnings(warnings);
    return results;
}

std::vector<CBootstrapResult> BootstrapMany(py::handle estimates, py::handle replicates, py::handle seed,
                                            py::handle level, py::handle threads, py::object progress)
{
    const BootstrapSettings settings = ReadBootstrapSettings(replicates, seed, level, threads);
    const auto list = estimates.cast<std::vector<EstimateResult>>();
    std::vector<CBootstrapRequest> requests;
    for (const EstimateResult& e : list) {
        CBootstrapRequest request = BootstrapRequestOf(e, settings);
        // The series share the cores: each bootstrap runs on one.
        request.threads = 1;
        requests.push_back(request);
    }
    std::vector<CBootstrapResult> results(list.size());
    CPythonProgress link(std::move(progress));
    const std::atomic<bool>& stop = link.StopFlag();
    const std::thread::id caller = std::this_thread::get_id();
    const double count = static_cast<double>(list.size());
    // A bootstrap is long: the calling thread answers Ctrl+C from inside its
    // own, the others stop theirs when it has.
    RunBatch(
        list.size(), settings.threads,
        [&](std::size_t i) {
            results[i] = RunBootstrap(requests[i], [&, i](double fraction) {
                if (std::this_thread::get_id() == caller)
                    return link.Report((static_cast<double>(i) + fraction) / count);
                return !stop.load();
            });
            LeaveOutUngivenInterval(requests[i], results[i]);
        },
        link);
    for (std::size_t i = 0; i < results.size(); ++i)
        SayReadingWarnings(list[i], results[i]);
    return results;
}

} // namespace

void RegisterBatches(py::module_& m)
{
    m.def("estimate_many", &EstimateMany, py::arg("series"), py::arg("D") = 4, py::arg("M") = 3,
          py::arg("threads") = 0, py::arg("progress") = py::none(), py::arg("r_min") = 1,
          R"(estimate_many(series, D=4, M=3, threads=0, progress=None, r_min=1) -> list[EstimateResult]

estimate() of every series, on all cores (threads=0) with the GIL released,
the results in input order and each identical, bit for bit, to
estimate(series[i], D, M, r_min).

series    a list of series (each any array-like) or a 2-D array, one series
          per row.
progress  None or a callable taking the fraction done, called from this
          thread about every 20 ms. Ctrl+C stops the batch.
Warnings name the series: "series[3]: the series is constant ...".

    >>> rs = kestrin.estimate_many(np.cumsum(rng.standard_normal((100, 1000)), axis=1))
)");
    m.def("bootstrap_many", &BootstrapMany, py::arg("estimates"), py::arg("replicates") = kDefaultBootstrapReplicates,
          py::arg("seed") = kDefaultBootstrapSeed, py::arg("level") = 0.95, py::arg("threads") = 0,
          py::arg("progress") = py::none(),
          R"(bootstrap_many(estimates, replicates=200, seed=20240615, level=0.95, threads=0, progress=None) -> list[BootstrapResult]

The bootstrap of every estimate (a list of EstimateResult), one series per
core, the results in input order and each identical to
estimates[i].bootstrap(replicates, seed, level). Ctrl+C stops it.

    >>> bs = kestrin.bootstrap_many(kestrin.estimate_many(batch), replicates=100)
)");
}
