// The bootstrap of an estimate: kestrin.BootstrapResult and
// EstimateResult.bootstrap, with the series decided noise or motion first and
// the model check, as the command line runs it.
#include <limits>
#include <tuple>

#include <pybind11/stl.h>

#include "python/src/BatchRun.h"
#include "python/src/Bindings.h"
#include "analysis/Bootstrap.h"
#include "python/src/BootstrapCall.h"
#include "analysis/BootstrapLimits.h"
#include "analysis/BootstrapText.h"
#include "analysis/EstimateWarnings.h"
#include "python/src/EstimateResult.h"
#include "core/Format.h"
#include "python/src/Parameters.h"

BootstrapSettings ReadBootstrapSettings(py::handle replicates, py::handle seed, py::handle level, py::handle threads,
                                        py::handle input)
{
    BootstrapSettings settings;
    settings.replicates = static_cast<int>(WholeNumber(replicates, "replicates", 1, kMaxBootstrapReplicates));
    settings.seed = static_cast<std::uint64_t>(
        WholeNumber(seed, "seed", 0, std::numeric_limits<std::int64_t>::max()));
    settings.level = RealNumber(level, "level");
    if (!(settings.level > 0.0 && settings.level < 1.0))
        throw py::value_error("level: " + FormatRoundTrip(settings.level) + " is out of range (allowed: above 0, below 1)");
    settings.threads = static_cast<unsigned>(WholeNumber(threads, "threads", 0, 4096));
    if (!py::isinstance<py::str>(input))
        throw py::type_error("input: must be \"auto\", \"noise\" or \"motion\"");
    const std::string kind = input.cast<std::string>();
    if (kind == "noise")
        settings.input = ESeriesInput::Noise;
    else if (kind == "motion")
        settings.input = ESeriesInput::Motion;
    else if (kind != "auto")
        throw py::value_error("input: must be \"auto\", \"noise\" or \"motion\", not \"" + kind + "\"");
    return settings;
}

CSeriesBootstrapOptions SeriesOptionsOf(const EstimateResult& estimate, const BootstrapSettings& settings,
                                        const char* what)
{
    if (estimate.set->GetValueCount() != estimate.set->GetCount())
        throw py::value_error(std::string(what) + ": this estimate keeps no values (it was pickled by an earlier "
                                                  "kestrin); estimate the series again");
    CSeriesBootstrapOptions options;
    options.replicates = settings.replicates;
    options.seed = settings.seed;
    options.input = settings.input;
    options.threads = settings.threads;
    options.isProfile = estimate.ofProfile;
    return options;
}

void SayReadingWarnings(const EstimateResult& estimate, CBootstrapResult& result)
{
    if (!result.cancelled)
        result.warnings = BootstrapReadingWarnings(*estimate.set, result, "input=\"noise\" or \"motion\"");
}

CBootstrapRequest BootstrapRequestOf(const EstimateResult& estimate, const BootstrapSettings& settings)
{
    CBootstrapRequest request = SeriesBootstrapRequest(*estimate.set, SeriesOptionsOf(estimate, settings, "bootstrap"));
    request.level = settings.level;
    if (const auto refusal = CheckBootstrapRequest(request))
        throw py::value_error("bootstrap: " + *refusal);
    return request;
}

namespace {

std::string OrNone(const std::optional<double>& value)
{
    return value ? FormatFixed(*value, 6) : std::string("None");
}

std::string BootstrapRepr(const CBootstrapResult& r)
{
    std::string text = "BootstrapResult(";
    if (r.cancelled)
        text += "cancelled, ";
    else if (!r.corrected)
        text += "not reached: the observed H " + FormatFixed(r.observedH, 6) + " cannot be reached by any H in (0, 1), ";
    else
        text += "H_corrected=" + FormatFixed(*r.corrected, 6) + ", low=" + OrNone(r.low) + ", high=" + OrNone(r.high) +
                ", level=" + FormatRoundTrip(r.level) + ", ";
    return text + "replicates=" + std::to_string(r.replicates) + ", seed=" + std::to_string(r.seed) + ")";
}

template <class Enum>
Enum EnumOf(py::handle value, int count)
{
    const int v = value.cast<int>();
    if (v < 0 || v >= count)
        throw std::runtime_error("not the state of a kestrin.BootstrapResult");
    return static_cast<Enum>(v);
}

py::object CheckState(const std::optional<CModelCheck>& check)
{
    if (!check)
        return py::none();
    py::list settings;
    for (const CEstimatorSetting& s : check->settings)
        settings.append(py::make_tuple(s.nD, s.nM));
    return py::make_tuple(settings, std::vector<double>(check->corrected.begin(), check->corrected.end()),
                          check->statistic, check->threshold, check->pValue, check->passed);
}

std::optional<CModelCheck> CheckFromState(py::handle state)
{
    if (state.is_none())
        return std::nullopt;
    const auto t = state.cast<py::tuple>();
    const auto settings = t[0].cast<std::vector<std::pair<int, int>>>();
    const auto corrected = t[1].cast<std::vector<double>>();
    CModelCheck check;
    if (settings.size() != check.settings.size() || corrected.size() != check.corrected.size())
        throw std::runtime_error("not the state of a kestrin.BootstrapResult");
    for (std::size_t i = 0; i < settings.size(); ++i) {
        check.settings[i] = {.nD = settings[i].first, .nM = settings[i].second};
        check.corrected[i] = corrected[i];
    }
    check.statistic = t[2].cast<double>();
    check.threshold = t[3].cast<double>();
    check.pValue = t[4].cast<double>();
    check.passed = t[5].cast<bool>();
    return check;
}

py::object DecisionState(const std::optional<CSeriesDecision>& d)
{
    if (!d)
        return py::none();
    return py::make_tuple(static_cast<int>(d->input), d->isProfile, d->alpha, static_cast<int>(d->measured),
                          static_cast<int>(d->estimatedAs));
}

std::optional<CSeriesDecision> DecisionFromState(py::handle state)
{
    if (state.is_none())
        return std::nullopt;
    const auto t = state.cast<py::tuple>();
    CSeriesDecision d;
    d.input = EnumOf<ESeriesInput>(t[0], 3);
    d.isProfile = t[1].cast<bool>();
    d.alpha = t[2].cast<double>();
    d.measured = EnumOf<ESeriesKind>(t[3], 3);
    d.estimatedAs = EnumOf<ESeriesKind>(t[4], 3);
    return d;
}

// The whole result: the model simulated, the bounds and Monte-Carlo errors,
// the model check and the noise-or-motion decision come along, so that an
// unpickled result reads (model, summary, notes) as the original. The
// first state, which held only the numbers, is still read.
py::tuple BootstrapState(const CBootstrapResult& r)
{
    return py::make_tuple(3, r.replicates, r.seed, r.level, r.observedH, r.corrected, r.low, r.high, r.cancelled,
                          static_cast<int>(r.model),
                          py::make_tuple(static_cast<int>(r.correctedBound), static_cast<int>(r.lowBound),
                                         static_cast<int>(r.highBound)),
                          py::make_tuple(r.correctedError, r.lowError, r.highError), CheckState(r.check),
                          DecisionState(r.decision), r.warnings);
}

CBootstrapResult BootstrapFromState(const py::tuple& t)
{
    const int version = t.size() > 0 ? t[0].cast<int>() : 0;
    if (!(version == 1 && t.size() == 9) && !(version == 2 && t.size() == 14) && !(version == 3 && t.size() == 15))
        throw std::runtime_error("not the state of a kestrin.BootstrapResult");
    CBootstrapResult r;
    r.replicates = t[1].cast<int>();
    r.seed = t[2].cast<std::uint64_t>();
    r.level = t[3].cast<double>();
    r.observedH = t[4].cast<double>();
    r.corrected = t[5].cast<std::optional<double>>();
    r.low = t[6].cast<std::optional<double>>();
    r.high = t[7].cast<std::optional<double>>();
    r.cancelled = t[8].cast<bool>();
    if (version == 1)
        return r;
    r.model = EnumOf<EBootstrapModel>(t[9], 3);
    const auto bounds = t[10].cast<py::tuple>();
    r.correctedBound = EnumOf<EBootstrapBound>(bounds[0], 3);
    r.lowBound = EnumOf<EBootstrapBound>(bounds[1], 3);
    r.highBound = EnumOf<EBootstrapBound>(bounds[2], 3);
    const auto errors = t[11].cast<std::tuple<double, double, double>>();
    std::tie(r.correctedError, r.lowError, r.highError) = errors;
    r.check = CheckFromState(t[12]);
    r.decision = DecisionFromState(t[13]);
    if (version >= 3)
        r.warnings = t[14].cast<std::vector<std::string>>();
    return r;
}

} // namespace

void RegisterBootstrap(py::module_& m, py::class_<EstimateResult>& cls)
{
    py::class_<CBootstrapResult>(m, "BootstrapResult", R"(How far to trust an H estimate: a parametric bootstrap on
fractional Brownian motion, as `kestrin-cli estimate --bootstrap`.

H_corrected  the trial H whose replicates' median equals the observed H;
             None when no H in (0, 1) reaches it (see reached).
low, high    the interval at the given level: the H whose (1 + level)/2 and
             (1 - level)/2 quantiles equal the observed H; each None when
             not reached.
observed_H, replicates, seed, level: what was asked.
reached      whether the corrected H exists.
warnings     what H must be read with, in the command line's words (empty
             when nothing).

The interval assumes the series is fractional Brownian motion (a
self-affine random walk).)")
        .def_readonly("replicates", &CBootstrapResult::replicates)
        .def_readonly("seed", &CBootstrapResult::seed)
        .def_readonly("level", &CBootstrapResult::level)
        .def_readonly("observed_H", &CBootstrapResult::observedH)
        .def_readonly("H_corrected", &CBootstrapResult::corrected)
        .def_readonly("low", &CBootstrapResult::low)
        .def_readonly("high", &CBootstrapResult::high)
        .def_property_readonly("reached", &CBootstrapResult::Reached)
        .def_property_readonly("model", [](const CBootstrapResult& r) { return std::string(BootstrapModelName(r.model)); })
        .def_property_readonly("summary", [](const CBootstrapResult& r) { return BootstrapSummaryText(r); })
        .def_property_readonly("notes", [](const CBootstrapResult& r) { return BootstrapNotes(r); })
        .def_readonly("warnings", &CBootstrapResult::warnings)
        .def_property_readonly("model_check_passed", [](const CBootstrapResult& r) -> std::optional<bool> {
            if (!r.check)
                return std::nullopt;
            return r.check->passed;
        })
        .def("__repr__", &BootstrapRepr)
        .def(py::pickle(&BootstrapState, &BootstrapFromState));

    cls.def(
        "bootstrap",
        [](const EstimateResult& estimate, py::handle replicates, py::handle seed, py::handle level,
           py::object progress, py::handle threads, py::handle input) {
            const BootstrapSettings settings = ReadBootstrapSettings(replicates, seed, level, threads, input);
            const CBootstrapRequest request = BootstrapRequestOf(estimate, settings);
            CPythonProgress link(std::move(progress));
            CBootstrapResult result;
            {
                py::gil_scoped_release release;
                result = RunBootstrap(request, [&link](double fraction) { return link.Report(fraction); });
            }
            LeaveOutUngivenInterval(request, result);
            link.RaiseIfStopped();
            SayReadingWarnings(estimate, result);
            return result;
        },
        py::arg("replicates") = kDefaultBootstrapReplicates, py::arg("seed") = kDefaultBootstrapSeed,
        py::arg("level") = 0.95, py::arg("progress") = py::none(), py::arg("threads") = 0,
        py::arg("input") = "auto",
        R"(bootstrap(replicates=200, seed=20240615, level=0.95, progress=None, threads=0) -> BootstrapResult

The parametric bootstrap of this estimate, exactly as
`kestrin-cli estimate FILE --bootstrap --replicates K --seed S` (level 0.95).

replicates  fBm replicates per trial H, 1..100000.
seed        the random numbers' seed, 0..2**63-1; the same seed, the same
            result on every machine and with any number of threads.
level       the interval's coverage, between 0 and 1.
progress    None, or a callable taking the fraction done (0..1), called
            from this thread; an exception it raises stops the run.
threads     worker threads, 0 for one per core; the result does not
            depend on it.
input       "auto" (decide noise or motion by DFA-1's alpha), "noise" or
            "motion": what the series is, which sets the model simulated.
            The estimates of a document Profile made (its estimate and
            intervals, kestrin.profile's) read a noise as the profile of
            fractional Gaussian noise, as kestrin-cli does for that document.

The result names the model simulated (model), gives the command line's
summary (summary) and notes (notes), whether the model check passed
(model_check_passed), and what H must be read with (warnings, the command
line's words): a noise estimated as it is, the profile of a motion, a
series smoother than any fractional Brownian motion (H at or above 0.98, or
no h from above reaching it), fewer than 128 values.

Ctrl+C stops the run (KeyboardInterrupt). ValueError for fewer than 4 or
more than 2**20 values, with the command line's words.

    >>> b = kestrin.estimate(y).bootstrap(replicates=200)
    >>> b.H_corrected, b.low, b.high
)");
}
