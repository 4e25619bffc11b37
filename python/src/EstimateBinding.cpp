// kestrin.estimate and its result.
#include <climits>
#include <cstring>

#include <pybind11/stl.h>

#include "python/src/Bindings.h"
#include "python/src/Estimate.h"
#include "analysis/FitPlotData.h"
#include "core/Format.h"
#include "python/src/ModuleErrors.h"
#include "core/OptimumM.h"
#include "python/src/Parameters.h"

void CheckSeriesLength(const SeriesArgument& y, const char* name)
{
    if (y.size > static_cast<std::size_t>(INT_MAX))
        throw py::value_error(std::string(name) + " holds " + std::to_string(y.size) +
                              " values; an estimator takes at most " + std::to_string(INT_MAX));
}

int FirstLagArgument(py::handle value, std::optional<int> nM)
{
    const int nRMin = static_cast<int>(WholeNumber(value, "r_min", kMinFirstLag, kMaxLagCount - 1));
    if (nM && nRMin != 1 && !IsUsableFirstLag(nRMin, *nM))
        throw py::value_error("r_min: " + FirstLagRangeMessage(*nM));
    return nRMin;
}

EstimateResult EstimateSeries(const SeriesArgument& y, const std::string& name, int nD, std::optional<int> nM,
                              int nRMin)
{
    const SeriesScan scan = ScanSeries(y.data, y.size);
    CHDataSet set({.nD = nD, .nM = 0});
    set.m_bAutoCompute = 0;
    std::vector<double>& values = set.Values().Storage();
    if (scan.notANumber > 0)
        CopyNumbers(y.data, y.size, values);
    else
        values.assign(y.data, y.data + y.size);
    set.SetM(nM ? *nM : OptimumM(static_cast<int>(values.size())));
    // The best M is known only now: a first lag it leaves no two lags
    // after is refused here.
    if (nRMin != 1 && !IsUsableFirstLag(nRMin, set.GetM()))
        throw std::invalid_argument("r_min: " + FirstLagRangeMessage(set.GetM()));
    set.SetRMin(nRMin);
    set.Compute();
    std::vector<std::string> warnings = SeriesWarnings(name, scan, values.size());
    for (std::string& w : LagWarnings("the series", set))
        warnings.push_back(std::move(w));
    EstimateResult result = ResultOf(std::move(set));
    result.warnings = std::move(warnings);
    return result;
}

py::array_t<double> ToNumpy(const double* values, std::size_t count)
{
    py::array_t<double> array(static_cast<py::ssize_t>(count));
    if (count > 0)
        std::memcpy(array.mutable_data(), values, count * sizeof(double));
    return array;
}

namespace {

using LagGetter = double (CHDataSet::*)(int) const;

py::array_t<double> LagColumn(const EstimateResult& r, LagGetter get)
{
    const int m = std::max(r.set->GetM(), 0);
    py::array_t<double> array(m);
    double* out = array.mutable_data();
    for (int i = 0; i < m; ++i)
        out[i] = ((*r.set).*get)(i);
    return array;
}

std::string Repr(const EstimateResult& r)
{
    const CHDataSet& s = *r.set;
    std::string text = "EstimateResult(";
    if (!r.label.empty())
        text += "label='" + r.label + "', ";
    text += "H=" + FormatFixed(s.GetH(), 6) + ", b=" + FormatFixed(s.GetB(), 6) + ", r=" + FormatFixed(s.GetR(), 6) +
            ", n=" + std::to_string(s.GetCount()) + ", D=" + std::to_string(s.GetD()) +
            ", M=" + std::to_string(s.GetM());
    if (!r.warnings.empty())
        text += ", warnings=" + std::to_string(r.warnings.size());
    return text + ")";
}

py::object PlotFit(const EstimateResult& r, py::object ax)
{
    const CFitPlotData data = FitPlotDataOf(*r.set, r.label);
    if (ax.is_none())
        ax = py::module_::import("matplotlib.pyplot").attr("gca")();
    ax.attr("plot")(ToNumpy(data.x), ToNumpy(data.y), "o", py::arg("label") = "log10(L(r)/r)");
    if (!data.x.empty()) {
        const double x0 = data.x.front();
        const double x1 = data.x.back();
        ax.attr("plot")(py::make_tuple(x0, x1),
                        py::make_tuple(data.intercept + data.b * x0, data.intercept + data.b * x1), "-",
                        py::arg("label") = "fit: H " + FormatFixed(data.h, 6) + ", r " + FormatFixed(data.r, 6));
    }
    ax.attr("set_xlabel")("log10 r");
    ax.attr("set_ylabel")("log10(L(r)/r)");
    ax.attr("set_title")(data.label.empty() ? "n " + std::to_string(data.n) + ", D " + std::to_string(r.set->GetD()) +
                                                  ", M " + std::to_string(r.set->GetM())
                                            : data.label);
    ax.attr("legend")();
    return ax;
}

// The state: the set as the document file stores it (values included, so
// that an unpickled result bootstraps as the original does), whether it kept
// its values, whether they are a profile, the label, upper bound and warnings. The first state, of
// results that kept no values, is still read.
py::tuple GetState(const EstimateResult& r)
{
    const bool kept = r.set->GetValueCount() == r.set->GetCount();
    // A first lag other than 1 follows as an eighth item, so that a result
    // fitted from lag 1 keeps the state it always had.
    if (r.set->GetRMin() != 1)
        return py::make_tuple(2, py::bytes(SetBytes(*r.set)), kept, r.ofProfile, r.label, r.upperBound, r.warnings,
                              r.set->GetRMin());
    return py::make_tuple(2, py::bytes(SetBytes(*r.set)), kept, r.ofProfile, r.label, r.upperBound, r.warnings);
}

EstimateResult SetState(const py::tuple& t)
{
    const int version = t.size() > 0 ? t[0].cast<int>() : 0;
    if (!(version == 2 && (t.size() == 7 || t.size() == 8)) && !(version == 1 && t.size() == 13))
        throw std::runtime_error("not the state of a kestrin.EstimateResult");
    EstimateResult r;
    if (version == 1) {
        r.set = SetFromFields(t[1].cast<int>(), t[2].cast<int>(), t[3].cast<int>(), t[4].cast<double>(),
                              t[5].cast<double>(), t[6].cast<double>(), t[7].cast<std::vector<double>>(),
                              t[8].cast<std::vector<double>>(), t[9].cast<std::vector<double>>());
    } else {
        std::shared_ptr<const CHDataSet> set = SetFromBytes(t[1].cast<std::string>(), t[2].cast<bool>());
        if (t.size() == 8) {
            // The values were fitted from this lag: it is taken as the state
            // says, without computing anything again.
            const int nRMin = t[7].cast<int>();
            if (!IsUsableFirstLag(nRMin, set->GetM()))
                throw std::invalid_argument("an estimate's state holds a first lag no fit takes");
            auto withLag = std::make_shared<CHDataSet>(*set);
            withLag->m_bAutoCompute = 0;
            withLag->SetRMin(nRMin);
            set = std::move(withLag);
        }
        r.set = std::move(set);
        r.ofProfile = t[3].cast<bool>();
    }
    const std::size_t rest = version == 1 ? 10 : 4;
    r.label = t[rest].cast<std::string>();
    r.upperBound = t[rest + 1].cast<std::optional<double>>();
    r.warnings = t[rest + 2].cast<std::vector<std::string>>();
    return r;
}

constexpr const char* kEstimateDoc = R"(estimate(y, D=4, M=3, r_min=1) -> EstimateResult

The curve-length estimate of H over one series, exactly as
`kestrin-cli estimate FILE --D D --M M` computes it for a text file holding
the same values (bit for bit).

y  the series: any array-like of real numbers (list, numpy array of any real
   dtype, strided or reversed view, pandas Series). A contiguous float64
   array is read where it lies. Values that are not a number (NaN) are
   left out, as the database import leaves such records out, with a
   KestrinWarning; infinities are kept, as the text import keeps them, with
   a KestrinWarning.
D  the embedding dimension: the length of the delay vectors, 1..1000.
M  the number of lags r = 1..M fitted, 2..100000, or "best" for the integer
   square root of the number of values.
r_min  the first lag fitted, 1..M - 1 (as --r-min): the line runs through
   r = r_min..M, leaving out the smallest lags, which discreteness and noise
   distort; L(r) of every lag is still computed and returned.

For each lag r the distances between D-dimensional vectors r values apart
are summed into L(r); the least-squares line through (log10 r,
log10(L(r)/r)) has slope b, H = b + 2, and r is its correlation. H assumes a
self-affine series (such as fractional Brownian motion): check the fit with
plot_fit, and how far to trust H with bootstrap().

Warnings (kestrin.KestrinWarning, the command line's words): a constant
series, fewer values than D + M, infinities, no values.

    >>> r = kestrin.estimate([0.0, 1.0, 0.5, 2.0, 1.5, 3.0, 2.0, 4.0], D=2, M=3)
    >>> r.H, r.n, r.log_L_over_r
)";

} // namespace

void RegisterEstimate(py::module_& m)
{
    auto cls = py::class_<EstimateResult>(m, "EstimateResult", R"(The result of one H estimator.

H, b, r      the fitted H = b + 2, the slope b and the correlation r of the
             line through (log10 r, log10(L(r)/r)).
n, D, M      the values used, the embedding dimension, the number of lags.
lags         r = 1..M; L the summed curve lengths L(r); log_r = log10 r;
             log_L_over_r = log10(L(r)/r) (0 where L(r) is 0).
label        an interval's label (its upper bound as the workbench shows it),
             '' for a series' own estimate; upper_bound the interval's bound.
warnings     the KestrinWarning texts issued when it was computed.

bootstrap() says how far to trust H; plot_fit() draws the fit. Results
pickle with the values they were computed from, so they travel to dask
workers and back and an unpickled result bootstraps bit for bit as the
original does.)");
    cls.def_property_readonly("H", [](const EstimateResult& r) { return r.set->GetH(); })
        .def_property_readonly("b", [](const EstimateResult& r) { return r.set->GetB(); })
        .def_property_readonly("r", [](const EstimateResult& r) { return r.set->GetR(); })
        .def_property_readonly("n", [](const EstimateResult& r) { return r.set->GetCount(); })
        .def_property_readonly("D", [](const EstimateResult& r) { return r.set->GetD(); })
        .def_property_readonly("M", [](const EstimateResult& r) { return r.set->GetM(); })
        .def_property_readonly("r_min", [](const EstimateResult& r) { return r.set->GetRMin(); })
        .def_property_readonly("lags",
                               [](const EstimateResult& r) {
                                   const int m = std::max(r.set->GetM(), 0);
                                   py::array_t<std::int64_t> lags(m);
                                   for (int i = 0; i < m; ++i)
                                       lags.mutable_data()[i] = i + 1;
                                   return lags;
                               })
        .def_property_readonly("L", [](const EstimateResult& r) { return LagColumn(r, &CHDataSet::GetL); })
        .def_property_readonly("log_r", [](const EstimateResult& r) { return LagColumn(r, &CHDataSet::GetLogR); })
        .def_property_readonly("log_L_over_r",
                               [](const EstimateResult& r) { return LagColumn(r, &CHDataSet::GetLogL); })
        .def_readonly("label", &EstimateResult::label)
        .def_readonly("upper_bound", &EstimateResult::upperBound)
        .def_readonly("warnings", &EstimateResult::warnings)
        .def("__repr__", &Repr)
        .def("plot_fit", &PlotFit, py::arg("ax") = py::none(),
             R"(plot_fit(ax=None) -> matplotlib Axes

Draws the fit as the workbench's fit plot shows it: the M points (log10 r,
log10(L(r)/r)) and the least-squares line through them, on ax (the current
Axes when None). matplotlib is imported only here.

    >>> kestrin.estimate(y).plot_fit()
)")
        .def(py::pickle(&GetState, &SetState));
    RegisterBootstrap(m, cls);
    RegisterMethods(cls);

    m.def(
        "estimate",
        [](py::handle y, py::handle D, py::handle M, py::handle rMin) {
            const int nD = static_cast<int>(WholeNumber(D, "D", 1, kMaxEmbeddingD));
            const std::optional<int> nM = LagCountArgument(M, "M");
            const int nRMin = FirstLagArgument(rMin, nM);
            const SeriesArgument values = ReadSeriesArgument(y, "y");
            CheckSeriesLength(values, "y");
            EstimateResult result;
            {
                py::gil_scoped_release release;
                result = EstimateSeries(values, "y", nD, nM, nRMin);
            }
            IssueWarnings(result.warnings);
            return result;
        },
        py::arg("y"), py::arg("D") = 4, py::arg("M") = 3, py::arg("r_min") = 1, kEstimateDoc);
}
