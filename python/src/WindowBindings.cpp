// The window analyses: kestrin.tabs, sliding, meta_h, slopes, correlate,
// h_data, each as the kestrin-cli command of the same name computes it.
#include <algorithm>
#include <climits>

#include <pybind11/stl.h>

#include "document/AutoTabs.h"
#include "python/src/BatchRun.h"
#include "python/src/Bindings.h"
#include "python/src/BootstrapCall.h"
#include "python/src/Estimate.h"
#include "analysis/EstimateWarnings.h"
#include "analysis/IntervalBand.h"
#include "analysis/MatchPairs.h"
#include "analysis/MetaH.h"
#include "analysis/NewDocuments.h"
#include "python/src/Parameters.h"
#include "core/PlotExtents.h"
#include "core/Regression.h"
#include "python/src/SeriesDocument.h"
#include "analysis/SlidingWindows.h"
#include "analysis/SlopeWindows.h"
#include "python/src/WindowResults.h"

namespace {

// Thrown from a progress callback to leave a computation that Ctrl+C or the
// caller's callback stopped.
struct Stopped
{
};

// Reports percent as the fraction share * percent / 100.
PercentCallback PercentLink(CPythonProgress& link, double share)
{
    return [&link, share](int percent) {
        if (!link.Report(share * percent / 100.0))
            throw Stopped{};
    };
}

// The share of sliding's progress that computing the windows takes when the
// interval band follows (with 200 replicates, from a tenth of the time for
// sparse windows to near half for windows one point apart); the band takes
// the rest.
constexpr double kWindowsShareBeforeBand = 0.2;

// What the window options ask for, as the command line's: windows to
// compute (width given), or a document's own results, moved to a new plot
// point when plot_point is given (as the workbench's Set Plot Point does).
struct WindowRequest
{
    std::optional<SlidingWindowParams> compute;
    std::optional<double> plotPoint;
};

// The window options of the command line: width and spacing (required
// together), window_D (None: 6), window_M ("best" or None for the integer
// square root of the width), plot_point in 0..1 (None: 0.5 for computed
// windows, a document's results where they are). Without a width only a
// document's own results can be used, and only plot_point is taken (a
// window_r_min other than 1 needs a width). window_r_min is the first lag of
// every window's fit (1..M - 1).
WindowRequest ReadWindowRequest(py::handle width, py::handle spacing, py::handle windowD, py::handle windowM,
                                py::handle plotPoint, bool isDocument, py::handle windowRMin)
{
    const int firstLag = static_cast<int>(WholeNumber(windowRMin, "window_r_min", kMinFirstLag, kMaxLagCount - 1));
    WindowRequest request;
    if (!plotPoint.is_none()) {
        request.plotPoint = RealNumber(plotPoint, "plot_point");
        if (*request.plotPoint < 0.0 || *request.plotPoint > 1.0)
            throw py::value_error("plot_point: " + py::repr(plotPoint).cast<std::string>() +
                                  " is out of range (allowed: 0 to 1)");
    }
    if (width.is_none()) {
        for (const auto& [given, name] : {std::pair{spacing, "spacing"}, std::pair{windowD, "window_D"},
                                          std::pair{windowM, "window_M"}})
            if (!given.is_none())
                throw py::value_error(std::string(name) + " needs width (the windows to compute)");
        if (firstLag != 1)
            throw py::value_error("window_r_min needs width (the windows to compute)");
        if (!isDocument)
            throw py::value_error("missing width and spacing (only a kestrin.Document holds sliding-window results "
                                  "to use as they are)");
        return request;
    }
    if (spacing.is_none())
        throw py::value_error("missing spacing (the distance in points between window starts)");
    SlidingWindowParams params;
    params.width = static_cast<std::int32_t>(WholeNumber(width, "width", INT_MIN, INT_MAX));
    params.spacing = static_cast<std::int32_t>(WholeNumber(spacing, "spacing", INT_MIN, INT_MAX));
    params.nD = static_cast<std::int32_t>(
        WholeNumber(windowD.is_none() ? py::int_(params.nD) : windowD, "window_D", 1, kMaxEmbeddingD));
    const std::optional<int> m = LagCountArgument(windowM, "window_M");
    params.useBestM = !m;
    params.nM = m.value_or(0);
    params.plotPoint = request.plotPoint.value_or(0.5);
    params.nRMin = firstLag;
    // As the command line says it (the dialog's own words are misspelt).
    if (params.spacing <= 0)
        throw py::value_error("Spacing must be greater than 0.");
    if (const auto refusal = CheckSlidingWindowParams(params))
        throw py::value_error(*refusal);
    request.compute = params;
    return request;
}

// The document's sliding results as the options ask: computed afresh (as
// ComputeSlidingWindows does, with progress and Ctrl+C), or its own (moved
// to the plot point asked for). Computing them reports up to share on link.
SlidingResult ObtainWindows(DocumentHolder& holder, const WindowRequest& request, CPythonProgress& link,
                            std::vector<std::string>& warnings, double share = 1.0)
{
    CKestrinDoc& doc = holder.doc;
    const std::optional<SlidingWindowParams>& params = request.compute;
    if (!params) {
        if (request.plotPoint) {
            py::gil_scoped_release release;
            ResetPlotPoints(doc, *request.plotPoint);
        }
        return DocumentWindows(doc);
    }
    if (auto w = WindowMTooLargeWarning(*params))
        warnings.push_back(std::move(*w));
    {
        py::gil_scoped_release release;
        try {
            doc.TakeSlidingWindows(ComputeSlidingWindowResults(doc.m_points, *params, PercentLink(link, share)),
                                   params->spacing);
        } catch (const Stopped&) {
        }
    }
    link.RaiseIfStopped();
    SlidingResult result = DocumentWindows(doc);
    result.computed = true;
    result.width = params->width;
    result.nD = params->nD;
    result.nM = WindowM(*params);
    result.plotPoint = params->plotPoint;
    return result;
}

// The interval band of the windows the document just computed with params,
// as kestrin-cli sliding --bootstrap computes it, reported on link from
// `from` to 1; its warning (a failed model check) goes to warnings.
// ValueError "bootstrap: ..." when it cannot be computed.
CIntervalBand ComputeBand(DocumentHolder& holder, const SlidingWindowParams& params,
                          const BootstrapSettings& settings, CPythonProgress& link, double from,
                          std::vector<std::string>& warnings)
{
    CKestrinDoc& doc = holder.doc;
    const CIntervalBandOptions options = DocumentBandOptions(doc, settings.replicates, settings.seed, settings.input);
    std::string why;
    bool done = false;
    {
        py::gil_scoped_release release;
        done = ComputeDocumentBand(
            doc, params, options, [&](double fraction) { return link.Report(from + (1.0 - from) * fraction); },
            &why);
    }
    link.RaiseIfStopped();
    if (!done)
        throw py::value_error("bootstrap: " + why);
    if (auto warning = BandWarning(*doc.m_band))
        warnings.push_back(std::move(*warning));
    return *doc.m_band;
}

// The refusal of an analysis that found no sliding-window results to
// `purpose` (computed: the windows were asked for, not a document's own).
[[noreturn]] void RaiseNoWindows(const char* purpose, bool computed)
{
    throw py::value_error(std::string("no sliding-window results to ") + purpose + " (" +
                          (computed ? "the series is not longer than the window width"
                                    : "the document holds none; compute them with width and spacing") +
                          ")");
}

template <class Result>
Result Finish(Result result, std::vector<std::string> warnings)
{
    result.warnings = std::move(warnings);
    IssueWarnings(result.warnings);
    return result;
}

TabsResult Tabs(py::handle y, py::handle x, py::handle at, py::handle every, py::handle D, py::handle M,
                py::handle rMin)
{
    const bool isDocument = py::isinstance<DocumentHolder>(y);
    if (!at.is_none() && !every.is_none())
        throw py::value_error("at and every cannot be given together");
    std::optional<int> nD, nM;
    if (!D.is_none() || !isDocument)
        nD = static_cast<int>(WholeNumber(D.is_none() ? py::int_(4) : D, "D", 1, kMaxEmbeddingD));
    if (!M.is_none() || !isDocument)
        nM = static_cast<int>(WholeNumber(M.is_none() ? py::int_(3) : M, "M", 2, kMaxLagCount));
    const std::optional<int> nRMin = rMin.is_none() ? std::nullopt : std::optional<int>(FirstLagArgument(rMin, nM));
    std::vector<double> values;
    if (!at.is_none()) {
        if (py::isinstance<py::str>(at) || !py::isinstance<py::sequence>(at))
            throw py::type_error("at must be a list of whole numbers (the tab positions)");
        for (const py::handle t : py::reinterpret_borrow<py::sequence>(at))
            values.push_back(static_cast<double>(WholeNumber(t, "at", INT_MIN, INT_MAX)));
    }
    const double interval = every.is_none() ? 0.0 : RealNumber(every, "every");

    std::vector<std::string> warnings;
    auto holder = DocumentArgument(y, x, warnings);
    CKestrinDoc& doc = holder->doc;
    // The first lag as the command line takes it: one not given stays the
    // document's while it leaves two lags to fit.
    const auto firstLag = [&](int own, int m) {
        const int r = nRMin.value_or(IsUsableFirstLag(own, m) ? own : 1);
        if (r != 1 && !IsUsableFirstLag(r, m))
            throw py::value_error("r_min: " + FirstLagRangeMessage(m));
        return r;
    };
    if (nD || nM || nRMin) {
        const int m = nM.value_or(doc.m_nM);
        doc.SetHParameters({.nD = nD.value_or(doc.m_nD), .nM = m, .nRMin = firstLag(doc.m_nRMin, m)});
    }
    if (!every.is_none()) {
        const CPlotExtents extents = doc.GetPlotExtents();
        const AutoTabPlan plan = PlanAutoTabs(extents.m_dXMin, extents.m_dXMax, interval);
        if (!plan.ok)
            throw py::value_error(plan.message);
        values = plan.values;
    }
    const bool given = !at.is_none() || !every.is_none();
    // Without at or every, a document's own tabs with their saved D and M
    // (unless D or M says otherwise for every interval).
    std::optional<CSavedTabs> saved;
    if (!given && isDocument && !doc.m_tabValues.empty()) {
        saved = CSavedTabs{doc.m_tabValues, {}};
        for (const auto& set : doc.m_tabSets)
            saved->intervals.push_back({nD.value_or(set->GetD()), nM.value_or(set->GetM()),
                                        firstLag(set->GetRMin(), nM.value_or(set->GetM()))});
    }
    TabsResult result;
    {
        py::gil_scoped_release release;
        result.tabs = doc.SetTabs(saved ? saved->values : values, saved ? &saved->intervals : nullptr);
    }
    result.nD = doc.m_nD;
    result.nM = doc.m_nM;
    const double highest = doc.GetPlotExtents().m_dXMax;
    int shortOnes = 0;
    for (std::size_t i = 0; i < doc.m_tabSets.size(); ++i) {
        const CHDataSet& set = *doc.m_tabSets[i];
        shortOnes += static_cast<long long>(set.GetCount()) - set.GetD() < set.GetM() ? 1 : 0;
        CHDataSet copy = set;
        EstimateResult interval = ResultOf(std::move(copy));
        interval.label = set.m_strLabel;
        interval.upperBound = i < result.tabs.size() ? result.tabs[i] : highest;
        interval.ofProfile = doc.IsProfile();
        result.intervals.push_back(std::move(interval));
    }
    const std::string sum = saved ? std::string() : " = " + std::to_string(doc.m_nD + doc.m_nM);
    if (shortOnes > 0)
        warnings.push_back(std::to_string(shortOnes) + " of " + std::to_string(doc.m_tabSets.size()) +
                           " intervals hold fewer than D + M" + sum + " values; L(r) is 0 for their longest lags");
    for (const auto& set : doc.m_tabSets)
        for (std::string& w : HReadingWarnings(*set, nullptr, set->m_strLabel + ": "))
            warnings.push_back(std::move(w));
    TakeUiWarnings(*holder, warnings);
    return Finish(std::move(result), std::move(warnings));
}

} // namespace

void RegisterWindows(py::module_& m)
{
    RegisterWindowResults(m);

    m.def("tabs", &Tabs, py::arg("y"), py::arg("x") = py::none(), py::arg("at") = py::none(),
          py::arg("every") = py::none(), py::arg("D") = py::none(), py::arg("M") = py::none(), py::arg("r_min") = py::none(),
          R"(tabs(y, x=None, at=None, every=None, D=4, M=3, r_min=None) -> TabsResult

H estimates of the intervals between tabs, as kestrin-cli tabs: interval i
is [t(i-1), t(i)) of X, the first from the smallest X, the last to the
largest X.

y      the series (array-like), or a kestrin.Document: without at and every
       its saved tabs are used, each interval with its saved D and M.
x      the X of each value (default: the positions 0, 1, ... as the text
       import numbers them).
at     tab positions: whole numbers (--at T1,T2,...).
every  Auto-Tab: one tab every `every` units of X from the smallest X
       (--every INTERVAL); refused as the ruler refuses it.
D, M   the intervals' embedding dimension and number of lags (4 and 3; for a
       document its own unless given).

    >>> t = kestrin.tabs(y, at=[250, 500, 750])
    >>> [i.H for i in t.intervals]
)");

    m.def(
        "sliding",
        [](py::handle y, py::handle width, py::handle spacing, py::handle x, py::handle windowD, py::handle windowM,
           py::handle plotPoint, bool asFrame, py::object progress, py::handle windowRMin, bool bootstrap,
           py::handle replicates, py::handle seed, py::handle input) -> py::object {
            const WindowRequest request =
                ReadWindowRequest(width, spacing, windowD, windowM, plotPoint, py::isinstance<DocumentHolder>(y),
                                  windowRMin);
            const BootstrapSettings settings =
                ReadBootstrapSettings(replicates, seed, py::float_(0.95), py::int_(0), input);
            if (bootstrap && !request.compute)
                throw py::value_error("bootstrap needs width: the interval band is computed with the windows");
            std::vector<std::string> warnings;
            auto holder = DocumentArgument(y, x, warnings);
            CPythonProgress link(std::move(progress));
            const double share = bootstrap ? kWindowsShareBeforeBand : 1.0;
            SlidingResult result = ObtainWindows(*holder, request, link, warnings, share);
            TakeUiWarnings(*holder, warnings);
            if (bootstrap && !holder->doc.m_windows.IsEmpty())
                result.band = ComputeBand(*holder, *request.compute, settings, link, share, warnings);
            result = Finish(std::move(result), std::move(warnings));
            py::object out = py::cast(std::move(result));
            return asFrame ? out.attr("as_frame")() : out;
        },
        py::arg("y"), py::arg("width") = py::none(), py::arg("spacing") = py::none(), py::arg("x") = py::none(),
        py::arg("window_D") = py::none(), py::arg("window_M") = py::none(), py::arg("plot_point") = py::none(),
        py::arg("as_frame") = false, py::arg("progress") = py::none(), py::arg("window_r_min") = 1,
        py::arg("bootstrap") = false, py::arg("replicates") = kDefaultBootstrapReplicates,
        py::arg("seed") = kDefaultBootstrapSeed, py::arg("input") = "auto",
        R"(sliding(y, width, spacing, x=None, window_D=None, window_M=None, plot_point=None, as_frame=False, progress=None, window_r_min=1, bootstrap=False, replicates=200, seed=20240615, input="auto") -> SlidingResult

The H curve of sliding windows along the series, as kestrin-cli sliding:
windows of `width` values starting every `spacing` values (while start +
width < n), each estimated with window_D (None: 6) and window_M (an integer
in 2..100000, or "best" or None: the integer square root of the width), its
result plotted at width * plot_point + start (plot_point None: 0.5). Bit for
bit what a CHDataSet over each window's values computes.

With a kestrin.Document and no width, its stored results; a plot_point
moves them there first, as kestrin-cli sliding DOC.kst --plot-point P and
the workbench's Set Plot Point do (the document keeps them moved).
as_frame=True gives a pandas DataFrame (X, H, r, b, n; with the band also
H_corrected, low, high).
progress: None or a callable taking the fraction done; Ctrl+C stops it.

bootstrap=True adds the interval band, bit for bit as kestrin-cli sliding
--width W --spacing S --bootstrap --replicates K --seed S --input KIND: for
every window a corrected H and a 95 % interval read from one bootstrap grid
at the window width (replicates per grid point, 1..100000; seed 0..2**63-1;
input "auto", "noise" or "motion" says what the whole series is; a document
Profile made is read as the profile of a noise), the model checked on a
sample of windows. H_corrected, low, high, their *_bound words and band
(the command line's "band") hold it; a failed model check is a warning.
It needs width: a document's stored windows are refused (ValueError), as
the command line refuses them.

    >>> s = kestrin.sliding(y, width=100, spacing=10)
    >>> s.X, s.H
    >>> b = kestrin.sliding(y, width=200, spacing=50, bootstrap=True, replicates=100)
    >>> b.H_corrected, b.low, b.high, b.band["model_check"]["passed"]
)");

    m.def(
        "h_data",
        [](py::handle y, py::handle width, py::handle spacing, py::handle x, py::handle windowD, py::handle windowM,
           py::handle plotPoint, bool asFrame, py::object progress, py::handle windowRMin) -> py::object {
            const WindowRequest request =
                ReadWindowRequest(width, spacing, windowD, windowM, plotPoint, py::isinstance<DocumentHolder>(y),
                                  windowRMin);
            std::vector<std::string> warnings;
            auto source = DocumentArgument(y, x, warnings);
            CPythonProgress link(std::move(progress));
            ObtainWindows(*source, request, link, warnings);
            if (source->doc.m_windows.IsEmpty())
                RaiseNoWindows("make a document of", request.compute.has_value());
            TakeUiWarnings(*source, warnings);
            IssueWarnings(warnings);
            const double xMin = source->doc.GetPlotExtents().m_dXMin;
            py::object made = py::cast(NewDocument(*source, [xMin](const CKestrinDoc& s, CKestrinDoc& t) {
                BuildHDataDocument(s, xMin, t);
            }));
            if (!asFrame)
                return made;
            py::dict columns;
            columns["X"] = made.attr("x");
            columns["H"] = made.attr("y");
            return Frame(columns);
        },
        py::arg("y"), py::arg("width") = py::none(), py::arg("spacing") = py::none(), py::arg("x") = py::none(),
        py::arg("window_D") = py::none(), py::arg("window_M") = py::none(), py::arg("plot_point") = py::none(),
        py::arg("as_frame") = false, py::arg("progress") = py::none(), py::arg("window_r_min") = 1,
        R"(h_data(y, width, spacing, x=None, window_D=None, window_M=None, plot_point=None, as_frame=False, progress=None, window_r_min=1) -> Document

The sliding-window H curve as a new Document, as kestrin-cli h-data saves it
(the workbench's "Extract H Data" > "Kestrin Data"): one point per window,
X its plot position on the series' axis (offset + x_min, as sliding's X),
Y its H. The new document's field names are "H" and "Series", its database
name and D the source's, its M the integer square root of the number of
windows, and its global estimator is computed (estimate.H: the H of the H
curve with that D and M). save(path) writes kestrin-cli h-data -o's bytes.

y          the series (array-like), or a kestrin.Document: without width
           its stored sliding-window results are used.
width, spacing, window_D, window_M, plot_point: the windows, as for
           sliding (window_M "best": the integer square root of the width).
x          the X of each value (default: the positions 0, 1, ...).
as_frame   True gives a pandas DataFrame with columns X and H instead.
progress   None or a callable taking the fraction done; Ctrl+C stops it.

ValueError when there are no windows (the series is not longer than the
width, or a document holds none). The H curve's points are not
independent: its estimate.H describes the curve, not the series.

    >>> h = kestrin.h_data(y, width=100, spacing=10)
    >>> h.x, h.y, h.estimate.H
    >>> h.save("h-curve.kst")
)");

    m.def(
        "meta_h",
        [](py::handle y, py::handle width, py::handle spacing, py::handle x, py::handle D, py::handle M,
           py::handle windowD, py::handle windowM, py::handle plotPoint, py::object progress, py::handle windowRMin,
           py::handle rMin) {
            const WindowRequest request =
                ReadWindowRequest(width, spacing, windowD, windowM, plotPoint, py::isinstance<DocumentHolder>(y),
                                  windowRMin);
            const int nD = static_cast<int>(WholeNumber(D, "D", 1, kMaxEmbeddingD));
            std::optional<int> nM = LagCountArgument(M, "M");
            const int nRMin = FirstLagArgument(rMin, nM);
            std::vector<std::string> warnings;
            auto holder = DocumentArgument(y, x, warnings);
            CPythonProgress link(std::move(progress));
            ObtainWindows(*holder, request, link, warnings);
            const CHPointArray& windows = holder->doc.m_windows;
            if (!nM && windows.GetSize() > kMaxLagCount) {
                nM = kMaxLagCount;
                warnings.push_back("M is held to " + std::to_string(kMaxLagCount) +
                                   ", the largest M takes; the best M would be the " +
                                   std::to_string(windows.GetSize()) + " sliding-window results");
            }
            CHDataSet set;
            bool computed = false;
            {
                py::gil_scoped_release release;
                computed = ComputeMetaH(holder->ui, windows, {.nD = nD, .nM = nM.value_or(0), .nRMin = nRMin}, !nM, set);
            }
            if (!computed)
                RaiseNoWindows("compute Meta H over", request.compute.has_value());
            std::vector<double> hs;
            for (const CHPoint& w : windows)
                hs.push_back(w.m_dY);
            if (auto w = ConstantWarning(ScanSeries(hs.data(), hs.size()), "the sliding-window H curve"))
                warnings.push_back(std::move(*w));
            TakeUiWarnings(*holder, warnings);
            EstimateResult result = ResultOf(std::move(set));
            result.label = "Meta H";
            return Finish(std::move(result), std::move(warnings));
        },
        py::arg("y"), py::arg("width") = py::none(), py::arg("spacing") = py::none(), py::arg("x") = py::none(),
        py::arg("D") = 6, py::arg("M") = "best", py::arg("window_D") = py::none(), py::arg("window_M") = py::none(),
        py::arg("plot_point") = py::none(), py::arg("progress") = py::none(), py::arg("window_r_min") = 1,
        py::arg("r_min") = 1,
        R"(meta_h(y, width, spacing, x=None, D=6, M="best", window_D=None, window_M=None, plot_point=None, progress=None, window_r_min=1, r_min=1) -> EstimateResult

Meta H, as kestrin-cli meta-h: the estimator (D, M; "best" M is the number
of windows, held to 100000) run over the H values of the sliding windows
(width, spacing, window_D, window_M, plot_point as for sliding). ValueError
when there are no windows.

    >>> kestrin.meta_h(y, width=100, spacing=10).H
)");

    m.def(
        "slopes",
        [](py::handle y, py::handle size, py::handle x) {
            const auto n = static_cast<std::int32_t>(WholeNumber(size, "size", kMinSlopeWindow, kMaxSlopeWindow));
            std::vector<std::string> warnings;
            auto holder = DocumentArgument(y, x, warnings);
            SlopesResult result;
            result.size = n;
            {
                py::gil_scoped_release release;
                CalculateSlopeWindows(holder->doc, n);
            }
            result.slopes = holder->doc.m_slopes;
            result.xMin = holder->doc.GetPlotExtents().m_dXMin;
            TakeUiWarnings(*holder, warnings);
            return Finish(std::move(result), std::move(warnings));
        },
        py::arg("y"), py::arg("size"), py::arg("x") = py::none(),
        R"(slopes(y, size, x=None) -> SlopesResult

The least-squares slope of the series in windows of `size` points (1..5000)
sliding one point at a time, as kestrin-cli slopes.

    >>> kestrin.slopes(y, size=20).slope
)");

    m.def(
        "correlate",
        [](py::handle y, py::handle size, py::handle offset, py::handle width, py::handle spacing, py::handle x,
           py::handle windowD, py::handle windowM, py::handle plotPoint, py::object progress, py::handle windowRMin) {
            const WindowRequest request =
                ReadWindowRequest(width, spacing, windowD, windowM, plotPoint, py::isinstance<DocumentHolder>(y),
                                  windowRMin);
            CorrelationResult c;
            c.size = static_cast<std::int32_t>(WholeNumber(size, "size", kMinSlopeWindow, kMaxSlopeWindow));
            c.offset = static_cast<std::int32_t>(WholeNumber(offset, "offset", 0, 5000));
            std::vector<std::string> warnings;
            auto holder = DocumentArgument(y, x, warnings);
            CKestrinDoc& doc = holder->doc;
            CPythonProgress link(std::move(progress));
            ObtainWindows(*holder, request, link, warnings);
            {
                py::gil_scoped_release release;
                CalculateSlopeWindows(doc, c.size);
            }
            if (doc.m_windows.IsEmpty())
                warnings.push_back("there are no sliding-window results to pair");
            if (doc.m_slopes.IsEmpty())
                warnings.push_back("there are no slope-window results to pair (the series has " +
                                   std::to_string(doc.m_points.GetSize()) + " points, the size is " +
                                   std::to_string(c.size) + ")");
            c.origin = doc.GetPlotExtents().m_dXMin;
            c.pairs = MatchPairs(doc.m_windows, doc.m_slopes, c.origin, c.offset);
            c.correlation = PearsonCorrelation(c.pairs);
            c.windowCount = doc.m_windows.GetSize();
            c.slopeCount = doc.m_slopes.GetSize();
            TakeUiWarnings(*holder, warnings);
            return Finish(std::move(c), std::move(warnings));
        },
        py::arg("y"), py::arg("size"), py::arg("offset") = 0, py::arg("width") = py::none(),
        py::arg("spacing") = py::none(), py::arg("x") = py::none(), py::arg("window_D") = 6,
        py::arg("window_M") = "best", py::arg("plot_point") = py::none(), py::arg("progress") = py::none(),
        py::arg("window_r_min") = 1,
        R"(correlate(y, size, offset=0, width, spacing, x=None, window_D=None, window_M=None, plot_point=None, progress=None, window_r_min=1) -> CorrelationResult

The Pearson correlation of the sliding-window H (width, spacing, ... as for
sliding) with the slope windows of `size` points `offset` points (0..5000)
to their left, as kestrin-cli correlate.

    >>> kestrin.correlate(y, size=20, width=100, spacing=10).correlation
)");
}
