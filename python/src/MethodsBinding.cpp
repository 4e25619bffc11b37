// EstimateResult.compare_methods: H by the curve length, DFA-1 and Whittle,
// as kestrin-cli estimate --method (and tabs --method) computes them.
#include <cmath>

#include <pybind11/stl.h>

#include "analysis/HMethods.h"
#include "analysis/MethodComparison.h"
#include "python/src/BatchRun.h"
#include "python/src/Bindings.h"
#include "python/src/BootstrapCall.h"
#include "python/src/EstimateResult.h"

namespace {

std::vector<EHMethod> MethodsOf(py::handle method)
{
    if (!py::isinstance<py::str>(method))
        throw py::type_error("method: must be \"curve\", \"dfa\", \"whittle\" or \"all\"");
    const std::string word = method.cast<std::string>();
    if (word == "all")
        return {std::begin(kAllHMethods), std::end(kAllHMethods)};
    if (const auto one = HMethodOfWord(word))
        return {*one};
    throw py::value_error("method must be curve, dfa, whittle or all, not \"" + word + "\"");
}

// One method's row as the command line's JSON writes it: members that do
// not apply left out.
py::dict RowOf(const CMethodRow& row)
{
    const CMethodEstimate& e = row.estimate;
    py::dict d;
    d["method"] = HMethodWord(e.method);
    d["H"] = e.h;
    if (e.method == EHMethod::Whittle) {
        d["standard_error"] = e.standardError;
        d["frequencies"] = e.scales;
    }
    if (e.method == EHMethod::Dfa) {
        d["alpha"] = e.alpha;
        d["scales"] = e.scales;
    }
    if (row.bootstrap)
        d["bootstrap"] = py::cast(*row.bootstrap);
    return d;
}

} // namespace

void RegisterMethods(py::class_<EstimateResult>& cls)
{
    cls.def(
        "compare_methods",
        [](const EstimateResult& estimate, py::handle method, bool bootstrap, py::handle replicates, py::handle seed,
           py::handle input, py::handle threads, py::object progress) {
            const std::vector<EHMethod> methods = MethodsOf(method);
            const BootstrapSettings settings = ReadBootstrapSettings(replicates, seed, py::float_(0.95), threads, input);
            const CSeriesBootstrapOptions options = SeriesOptionsOf(estimate, settings, "compare_methods");
            CPythonProgress link(std::move(progress));
            CMethodComparison comparison;
            std::string failure;
            {
                py::gil_scoped_release release;
                try {
                    comparison = CompareMethods(*estimate.set, methods, options.input, options.isProfile,
                                                bootstrap ? &options : nullptr,
                                                [&link](double fraction) { return link.Report(fraction); });
                } catch (const std::runtime_error& e) {
                    failure = e.what();
                }
            }
            if (!failure.empty())
                throw py::value_error("bootstrap: " + failure);
            link.RaiseIfStopped();
            py::dict result;
            result["series"] = SeriesKindLabel(comparison.decision);
            py::list rows;
            for (const CMethodRow& row : comparison.rows)
                rows.append(RowOf(row));
            result["methods"] = rows;
            const auto overlap = IntervalsOverlap(comparison);
            result["intervals_overlap"] = overlap ? py::object(py::bool_(*overlap)) : py::object(py::none());
            return result;
        },
        py::arg("method") = "all", py::arg("bootstrap") = false, py::arg("replicates") = kDefaultBootstrapReplicates,
        py::arg("seed") = kDefaultBootstrapSeed, py::arg("input") = "auto", py::arg("threads") = 0,
        py::arg("progress") = py::none(),
        R"(compare_methods(method="all", bootstrap=False, replicates=200, seed=20240615, input="auto", threads=0, progress=None) -> dict

H of the same series by other methods, as kestrin-cli estimate --method
WHICH [--bootstrap --replicates K --seed S --input KIND] (and tabs --method
for an interval): "curve" (this estimate's H), "dfa" (DFA-1), "whittle"
(Whittle, fractional Gaussian noise) or "all". Each reads the series as the
noise-or-motion decision does (input chooses, as for bootstrap): DFA-1 gives
alpha for a noise and alpha - 1 for a motion; Whittle fits the fractional
Gaussian noise spectrum to the series (a noise) or to its increments (a
motion). With bootstrap=True every method is bootstrapped from the same
replicates (the same seed; 95 % intervals) and intervals_overlap says
whether their intervals share a point (None with fewer than two).

Returns the command line's JSON members: {"series": the reading the methods
follow, "methods": [{"method", "H", ("whittle":) "standard_error",
"frequencies", ("dfa":) "alpha", "scales", (bootstrap:) "bootstrap": a
BootstrapResult}, ...], "intervals_overlap"}. H is NaN for a series too
short for the method.

    >>> c = kestrin.estimate(y).compare_methods()
    >>> [(m["method"], m["H"]) for m in c["methods"]]
)");
}
