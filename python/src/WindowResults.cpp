#include "python/src/WindowResults.h"

#include <cstring>

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include "analysis/IntervalBand.h"
#include "python/src/Estimate.h"
#include "core/Format.h"
#include "document/BandSection.h"
#include "document/KestrinDoc.h"
#include "platform/Archive.h"

namespace {

using Field = double CHPoint::*;

py::array_t<double> Column(const CHPointArray& points, Field field, double add = 0.0)
{
    py::array_t<double> array(points.GetSize());
    double* out = array.mutable_data();
    for (int i = 0; i < points.GetSize(); ++i)
        out[i] = points[i].*field + add;
    return array;
}

py::array_t<std::int32_t> Counts(const CHPointArray& points)
{
    py::array_t<std::int32_t> array(points.GetSize());
    for (int i = 0; i < points.GetSize(); ++i)
        array.mutable_data()[i] = points[i].m_nCount;
    return array;
}

py::bytes PointBytes(const CHPointArray& points)
{
    return py::bytes(reinterpret_cast<const char*>(points.GetData()),
                     static_cast<std::size_t>(points.GetSize()) * sizeof(CHPoint));
}

CHPointArray PointsFromBytes(const py::bytes& bytes)
{
    const std::string raw = bytes;
    if (raw.size() % sizeof(CHPoint) != 0)
        throw std::runtime_error("not the state of a kestrin result");
    CHPointArray points;
    points.SetSize(static_cast<int>(raw.size() / sizeof(CHPoint)));
    if (!raw.empty())
        std::memcpy(points.GetData(), raw.data(), raw.size());
    return points;
}

// A column of the band (NaN where the window's H is not reached), None
// without a band.
py::object BandColumn(const SlidingResult& s, double CBandWindow::*field)
{
    if (!s.band)
        return py::none();
    const std::vector<CBandWindow>& windows = s.band->windows;
    py::array_t<double> array(static_cast<py::ssize_t>(windows.size()));
    double* out = array.mutable_data();
    for (std::size_t i = 0; i < windows.size(); ++i)
        out[i] = windows[i].*field;
    return array;
}

// The bounds of a band column in the command line's words.
py::object BoundColumn(const SlidingResult& s, EBandBound CBandWindow::*field)
{
    if (!s.band)
        return py::none();
    py::list words;
    for (const CBandWindow& w : s.band->windows)
        words.append(BoundWord(w.*field));
    return words;
}

// The band's member of the command line's JSON, with its names and order.
py::object BandSummary(const SlidingResult& s)
{
    if (!s.band)
        return py::none();
    const CIntervalBand& band = *s.band;
    const CSeriesDecision decision = BandDecision(band);
    py::dict check;
    check["windows"] = band.check.windows;
    check["failing"] = band.check.failing;
    check["expected_share"] = band.check.expectedShare;
    check["p_value"] = band.check.pValue;
    check["passed"] = band.check.passed;
    py::dict d;
    d["replicates"] = band.replicates;
    d["seed"] = band.seed;
    d["level"] = band.level;
    d["width"] = band.width;
    d["D"] = band.nD;
    d["M"] = band.nM;
    d["model"] = BootstrapModelName(BandModel(band));
    d["input"] = SeriesInputWord(decision.input);
    d["series_kind"] = SeriesKindWord(decision.measured);
    d["alpha"] = band.alpha;
    d["model_check"] = check;
    d["statement"] = BandStatement(band);
    return d;
}

// The band as its document section stores it.
py::bytes BandBytes(const CIntervalBand& band)
{
    std::vector<std::uint8_t> bytes;
    {
        CMemorySink sink(bytes);
        CArchive ar(sink);
        StoreBandSection(ar, band);
        ar.Flush();
    }
    return py::bytes(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// The band of BandBytes, checked as a document's is on reading, and against
// the windows it belongs to.
CIntervalBand BandFromBytes(const py::bytes& state, int windowCount)
{
    const std::string raw = state;
    CMemorySource source(reinterpret_cast<const std::uint8_t*>(raw.data()), raw.size());
    try {
        CArchive ar(source);
        char tag[4] = {};
        std::int32_t version = 0;
        std::int32_t length = 0;
        ar.ReadBytes(tag, sizeof tag);
        ar >> version >> length;
        if (std::memcmp(tag, kBandSectionTag, sizeof tag) == 0 && version == kBandSectionVersion &&
            static_cast<std::uint64_t>(length) == ar.BytesLeft()) {
            CIntervalBand band = ReadBandSectionBody(ar);
            if (ar.BytesLeft() == 0 && band.windows.size() == static_cast<std::size_t>(windowCount))
                return band;
        }
    } catch (const CArchiveException&) {
    }
    throw std::runtime_error("not the state of a kestrin.SlidingResult");
}

py::dict SlidingColumns(const SlidingResult& s)
{
    py::dict d;
    d["X"] = Column(s.windows, &CHPoint::m_dX, s.xMin);
    d["H"] = Column(s.windows, &CHPoint::m_dY);
    d["r"] = Column(s.windows, &CHPoint::m_dR);
    d["b"] = Column(s.windows, &CHPoint::m_dB);
    d["n"] = Counts(s.windows);
    if (s.band) {
        d["H_corrected"] = BandColumn(s, &CBandWindow::corrected);
        d["low"] = BandColumn(s, &CBandWindow::low);
        d["high"] = BandColumn(s, &CBandWindow::high);
    }
    return d;
}

} // namespace

py::object Frame(py::dict columns)
{
    py::module_ pandas;
    try {
        pandas = py::module_::import("pandas");
    } catch (py::error_already_set&) {
        throw py::import_error("as_frame=True needs pandas (Debian: python3-pandas)");
    }
    return pandas.attr("DataFrame")(columns);
}

SlidingResult DocumentWindows(const CKestrinDoc& doc)
{
    SlidingResult result;
    result.windows = doc.m_windows;
    result.xMin = doc.GetPlotExtents().m_dXMin;
    result.computed = false;
    result.spacing = doc.m_nSpacing;
    return result;
}

void RegisterWindowResults(py::module_& m)
{
    py::class_<SlidingResult>(m, "SlidingResult", R"(Sliding-window results, one per window, in window order.

X         where the result is plotted: offset + x_min, as kestrin-cli shows it.
offset    the position within the series: width * plot_point + start.
H, r, b   each window's estimate, bit for bit a CHDataSet over its values.
n         the values per window (the width).
width, spacing, D, M, plot_point: the parameters (for the results a
document held, only spacing is known: the others are None).

With the interval band (sliding(..., bootstrap=True)), as kestrin-cli
sliding --bootstrap --json gives it (None without):
H_corrected, low, high  each window's corrected H and 95 % interval
          (NaN where the command line writes null: not reached).
H_corrected_bound, low_bound, high_bound  how each was found: "value",
          "at_or_below" or "at_or_above" an edge of the searched range.
band      the command line's "band": replicates, seed, level, width, D, M,
          model, input, series_kind, alpha, model_check {windows, failing,
          expected_share, p_value, passed}, statement.
as_frame() gives a pandas DataFrame with columns X, H, r, b, n (and
H_corrected, low, high with a band).)")
        .def_property_readonly("X", [](const SlidingResult& s) { return Column(s.windows, &CHPoint::m_dX, s.xMin); })
        .def_property_readonly("offset", [](const SlidingResult& s) { return Column(s.windows, &CHPoint::m_dX); })
        .def_property_readonly("H", [](const SlidingResult& s) { return Column(s.windows, &CHPoint::m_dY); })
        .def_property_readonly("r", [](const SlidingResult& s) { return Column(s.windows, &CHPoint::m_dR); })
        .def_property_readonly("b", [](const SlidingResult& s) { return Column(s.windows, &CHPoint::m_dB); })
        .def_property_readonly("n", [](const SlidingResult& s) { return Counts(s.windows); })
        .def_readonly("x_min", &SlidingResult::xMin)
        .def_readonly("spacing", &SlidingResult::spacing)
        .def_readonly("warnings", &SlidingResult::warnings)
        .def_property_readonly("width", [](const SlidingResult& s) { return s.computed ? py::object(py::int_(s.width)) : py::object(py::none()); })
        .def_property_readonly("D", [](const SlidingResult& s) { return s.computed ? py::object(py::int_(s.nD)) : py::object(py::none()); })
        .def_property_readonly("M", [](const SlidingResult& s) { return s.computed ? py::object(py::int_(s.nM)) : py::object(py::none()); })
        .def_property_readonly("plot_point",
                               [](const SlidingResult& s) { return s.computed ? py::object(py::float_(s.plotPoint)) : py::object(py::none()); })
        .def_property_readonly("H_corrected", [](const SlidingResult& s) { return BandColumn(s, &CBandWindow::corrected); })
        .def_property_readonly("low", [](const SlidingResult& s) { return BandColumn(s, &CBandWindow::low); })
        .def_property_readonly("high", [](const SlidingResult& s) { return BandColumn(s, &CBandWindow::high); })
        .def_property_readonly("H_corrected_bound",
                               [](const SlidingResult& s) { return BoundColumn(s, &CBandWindow::correctedBound); })
        .def_property_readonly("low_bound", [](const SlidingResult& s) { return BoundColumn(s, &CBandWindow::lowBound); })
        .def_property_readonly("high_bound", [](const SlidingResult& s) { return BoundColumn(s, &CBandWindow::highBound); })
        .def_property_readonly("band", &BandSummary)
        .def("__len__", [](const SlidingResult& s) { return s.windows.GetSize(); })
        .def("as_frame", [](const SlidingResult& s) { return Frame(SlidingColumns(s)); },
             "The results as a pandas DataFrame with columns X, H, r, b, n (and H_corrected, low, high with a band).")
        .def("__repr__",
             [](const SlidingResult& s) {
                 std::string text = "SlidingResult(" + std::to_string(s.windows.GetSize()) + " windows";
                 if (s.computed)
                     text += ", width=" + std::to_string(s.width) + ", spacing=" + std::to_string(s.spacing) +
                             ", D=" + std::to_string(s.nD) + ", M=" + std::to_string(s.nM) +
                             ", plot_point=" + FormatRoundTrip(s.plotPoint);
                 else
                     text += " stored in the document, spacing=" + std::to_string(s.spacing);
                 if (s.band)
                     text += ", band of " + std::to_string(s.band->replicates) + " replicates, seed " +
                             std::to_string(s.band->seed) +
                             (s.band->check.passed ? ", model check passed" : ", model check failed");
                 return text + ")";
             })
        // A result without a band keeps the first state; one with a band
        // appends the band as a document stores it.
        .def(py::pickle(
            [](const SlidingResult& s) {
                if (s.band)
                    return py::make_tuple(2, PointBytes(s.windows), s.xMin, s.computed, s.width, s.spacing, s.nD,
                                          s.nM, s.plotPoint, s.warnings, BandBytes(*s.band));
                return py::make_tuple(1, PointBytes(s.windows), s.xMin, s.computed, s.width, s.spacing, s.nD, s.nM,
                                      s.plotPoint, s.warnings);
            },
            [](const py::tuple& t) {
                const int version = t.size() > 0 ? t[0].cast<int>() : 0;
                if (!(version == 1 && t.size() == 10) && !(version == 2 && t.size() == 11))
                    throw std::runtime_error("not the state of a kestrin.SlidingResult");
                SlidingResult s;
                s.windows = PointsFromBytes(t[1]);
                s.xMin = t[2].cast<double>();
                s.computed = t[3].cast<bool>();
                s.width = t[4].cast<std::int32_t>();
                s.spacing = t[5].cast<std::int32_t>();
                s.nD = t[6].cast<std::int32_t>();
                s.nM = t[7].cast<std::int32_t>();
                s.plotPoint = t[8].cast<double>();
                s.warnings = t[9].cast<std::vector<std::string>>();
                if (version == 2)
                    s.band = BandFromBytes(t[10], s.windows.GetSize());
                return s;
            }));

    py::class_<SlopesResult>(m, "SlopesResult", R"(Slope-window results: the least-squares slope of the series in
windows of `size` points sliding one point at a time.

X = offset + x_min; offset = i + size // 2 for window i; slope.)")
        .def_property_readonly("X", [](const SlopesResult& s) { return Column(s.slopes, &CHPoint::m_dX, s.xMin); })
        .def_property_readonly("offset", [](const SlopesResult& s) { return Column(s.slopes, &CHPoint::m_dX); })
        .def_property_readonly("slope", [](const SlopesResult& s) { return Column(s.slopes, &CHPoint::m_dY); })
        .def_readonly("size", &SlopesResult::size)
        .def_readonly("x_min", &SlopesResult::xMin)
        .def_readonly("warnings", &SlopesResult::warnings)
        .def("__len__", [](const SlopesResult& s) { return s.slopes.GetSize(); })
        .def("__repr__",
             [](const SlopesResult& s) {
                 return "SlopesResult(" + std::to_string(s.slopes.GetSize()) + " windows, size=" +
                        std::to_string(s.size) + ")";
             })
        .def(py::pickle(
            [](const SlopesResult& s) { return py::make_tuple(1, PointBytes(s.slopes), s.xMin, s.size, s.warnings); },
            [](const py::tuple& t) {
                if (t.size() != 5 || t[0].cast<int>() != 1)
                    throw std::runtime_error("not the state of a kestrin.SlopesResult");
                SlopesResult s;
                s.slopes = PointsFromBytes(t[1]);
                s.xMin = t[2].cast<double>();
                s.size = t[3].cast<std::int32_t>();
                s.warnings = t[4].cast<std::vector<std::string>>();
                return s;
            }));

    py::class_<CorrelationResult>(m, "CorrelationResult", R"(The Pearson correlation of the sliding-window H with the slope
windows `offset` points to their left, as kestrin-cli correlate.

correlation, matches (the number of pairs), offset, size, origin (the
series' smallest X), window_count, slope_count; H and slope: the pairs.)")
        .def_readonly("correlation", &CorrelationResult::correlation)
        .def_property_readonly("matches", [](const CorrelationResult& c) { return c.pairs.GetSize(); })
        .def_readonly("offset", &CorrelationResult::offset)
        .def_readonly("size", &CorrelationResult::size)
        .def_readonly("origin", &CorrelationResult::origin)
        .def_readonly("window_count", &CorrelationResult::windowCount)
        .def_readonly("slope_count", &CorrelationResult::slopeCount)
        .def_readonly("warnings", &CorrelationResult::warnings)
        .def_property_readonly("H", [](const CorrelationResult& c) { return Column(c.pairs, &CHPoint::m_dX); })
        .def_property_readonly("slope", [](const CorrelationResult& c) { return Column(c.pairs, &CHPoint::m_dY); })
        .def("__repr__",
             [](const CorrelationResult& c) {
                 return "CorrelationResult(correlation=" + FormatFixed(c.correlation, 6) +
                        ", matches=" + std::to_string(c.pairs.GetSize()) + ", offset=" + std::to_string(c.offset) +
                        ", size=" + std::to_string(c.size) + ")";
             })
        .def(py::pickle(
            [](const CorrelationResult& c) {
                return py::make_tuple(1, c.size, c.offset, c.origin, c.correlation, PointBytes(c.pairs),
                                      c.windowCount, c.slopeCount, c.warnings);
            },
            [](const py::tuple& t) {
                if (t.size() != 9 || t[0].cast<int>() != 1)
                    throw std::runtime_error("not the state of a kestrin.CorrelationResult");
                CorrelationResult c;
                c.size = t[1].cast<std::int32_t>();
                c.offset = t[2].cast<std::int32_t>();
                c.origin = t[3].cast<double>();
                c.correlation = t[4].cast<double>();
                c.pairs = PointsFromBytes(t[5]);
                c.windowCount = t[6].cast<int>();
                c.slopeCount = t[7].cast<int>();
                c.warnings = t[8].cast<std::vector<std::string>>();
                return c;
            }));

    py::class_<TabsResult>(m, "TabsResult", R"(The H estimates of the intervals between tabs, as kestrin-cli tabs.

D, M       the parameters (of the document, for its saved intervals).
tabs       the tab positions, ascending whole numbers.
intervals  one EstimateResult per interval [smallest X, t1), [t1, t2), ...,
           [tT, largest X], each with its label and upper_bound.)")
        .def_readonly("D", &TabsResult::nD)
        .def_readonly("M", &TabsResult::nM)
        .def_readonly("tabs", &TabsResult::tabs)
        .def_readonly("intervals", &TabsResult::intervals)
        .def_readonly("warnings", &TabsResult::warnings)
        .def("__len__", [](const TabsResult& t) { return t.intervals.size(); })
        .def("__getitem__", [](const TabsResult& t, std::size_t i) {
            if (i >= t.intervals.size())
                throw py::index_error("interval index out of range");
            return t.intervals[i];
        })
        .def("__repr__",
             [](const TabsResult& t) {
                 return "TabsResult(" + std::to_string(t.intervals.size()) + " intervals, tabs=" +
                        std::to_string(t.tabs.size()) + ", D=" + std::to_string(t.nD) + ", M=" + std::to_string(t.nM) +
                        ")";
             })
        .def(py::pickle(
            [](const TabsResult& t) { return py::make_tuple(1, t.nD, t.nM, t.tabs, t.intervals, t.warnings); },
            [](const py::tuple& t) {
                if (t.size() != 6 || t[0].cast<int>() != 1)
                    throw std::runtime_error("not the state of a kestrin.TabsResult");
                TabsResult r;
                r.nD = t[1].cast<int>();
                r.nM = t[2].cast<int>();
                r.tabs = t[3].cast<std::vector<std::int32_t>>();
                r.intervals = t[4].cast<std::vector<EstimateResult>>();
                r.warnings = t[5].cast<std::vector<std::string>>();
                return r;
            }));
}
