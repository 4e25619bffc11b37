// Documents: kestrin.Document, read_document, write_document, read_text,
// read_table, and the commands that make new documents (profile, extract;
// h_data with the window analyses), through the loaders and builders the
// workbench uses.
#include <cmath>

#include <pybind11/stl.h>

#include "python/src/Bindings.h"
#include "python/src/Estimate.h"
#include "core/Format.h"
#include "platform/Archive.h"
#include "analysis/NewDocuments.h"
#include "core/OptimumM.h"
#include "python/src/Parameters.h"
#include "python/src/SeriesDocument.h"
#include "python/src/WindowResults.h"

namespace {

using Holder = std::shared_ptr<DocumentHolder>;

// A result of one of doc's estimators (a profile's when Profile made doc).
EstimateResult Copy(const CHDataSet& set, const CKestrinDoc& doc)
{
    CHDataSet copy = set;
    EstimateResult result = ResultOf(std::move(copy));
    result.ofProfile = doc.IsProfile();
    return result;
}

std::vector<EstimateResult> Intervals(const CKestrinDoc& doc)
{
    const std::vector<std::int32_t> positions = CKestrinDoc::TabPositions(doc.m_tabValues);
    const double highest = doc.GetPlotExtents().m_dXMax;
    std::vector<EstimateResult> out;
    for (std::size_t i = 0; i < doc.m_tabSets.size(); ++i) {
        EstimateResult r = Copy(*doc.m_tabSets[i], doc);
        r.label = doc.m_tabSets[i]->m_strLabel;
        r.upperBound = i < positions.size() ? positions[i] : highest;
        out.push_back(std::move(r));
    }
    return out;
}

py::array_t<double> PointColumn(const CKestrinDoc& doc, double CSeriesPoint::*field)
{
    py::array_t<double> a(doc.m_points.GetSize());
    for (int i = 0; i < doc.m_points.GetSize(); ++i)
        a.mutable_data()[i] = doc.m_points[i].*field;
    return a;
}

// What a load told the user, and the command line's warnings of the series.
Holder Loaded(Holder holder, const std::string& source, bool filtered)
{
    std::vector<std::string> warnings;
    TakeUiWarnings(*holder, warnings);
    if (!source.empty() && holder->doc.m_points.IsEmpty())
        warnings.push_back("no values were imported from " + source + (filtered ? " (none passed the filter)" : ""));
    std::vector<std::string> more;
    DocumentArgument(py::cast(holder), py::none(), more);
    warnings.insert(warnings.end(), more.begin(), more.end());
    IssueWarnings(warnings);
    return holder;
}

Holder ReadDocument(const std::string& path)
{
    auto holder = std::make_shared<DocumentHolder>();
    bool ok = false;
    {
        py::gil_scoped_release release;
        ok = holder->doc.OnOpenDocument(path);
        if (ok)
            holder->doc.CalculateSavedTabH();
    }
    if (!ok)
        RaiseFileFailure(path, holder->ui, false);
    holder->path = path;
    return Loaded(holder, std::string(), false);
}

void WriteDocument(const Holder& holder, const std::string& path)
{
    bool ok = false;
    {
        py::gil_scoped_release release;
        ok = holder->doc.OnSaveDocument(path);
    }
    if (!ok) {
        CModuleUi told;
        told.failures = std::move(holder->ui.failures);
        holder->ui.failures.clear();
        holder->ui.warnings.clear();
        RaiseFileFailure(path, told, true);
    }
    holder->path = path;
}

Holder ReadText(const std::string& path, py::handle filter)
{
    int under = 0, over = 0;
    const bool filtered = !filter.is_none();
    if (filtered) {
        const auto bounds = filter.cast<std::vector<py::object>>();
        if (bounds.size() != 2)
            throw py::value_error("filter must be (UNDER, OVER)");
        under = static_cast<int>(WholeNumber(bounds[0], "filter UNDER", 0, INT_MAX));
        over = static_cast<int>(WholeNumber(bounds[1], "filter OVER", 0, INT_MAX));
        if (under >= over)
            throw py::value_error("filter " + std::to_string(under) + " " + std::to_string(over) +
                                  ": UNDER must be less than OVER, or no value can pass");
    }
    auto holder = std::make_shared<DocumentHolder>();
    bool ok = false;
    {
        py::gil_scoped_release release;
        holder->doc.OnNewDocument();
        ok = holder->doc.ImportTextFile(path, under, over, filtered);
    }
    if (!ok)
        RaiseFileFailure(path, holder->ui, false);
    return Loaded(holder, "\"" + path + "\"", filtered);
}

Holder ReadTable(const std::string& db, const std::string& table, const std::string& x, const std::string& y)
{
    if (db.empty())
        throw py::value_error("db: the file name is empty");
    if (table.empty())
        throw py::value_error("table: the table name is empty");
    if (x.empty() || y.empty())
        throw py::value_error(std::string(x.empty() ? "x" : "y") + ": the field name is empty");
    auto holder = std::make_shared<DocumentHolder>();
    bool ok = false;
    {
        py::gil_scoped_release release;
        holder->doc.OnNewDocument();
        ok = holder->doc.ImportDatabase(db, table, x, y);
    }
    if (!ok)
        RaiseFileFailure(db, holder->ui, false);
    return Loaded(holder, "the table \"" + table + "\" of \"" + db + "\"", false);
}

// The pickled state of a document: its file's bytes, written and read by
// the same Serialize a save and an open run (so a saved copy is byte for byte
// the original's), its tabs' intervals computed again with their saved D and
// M as read_document computes them; then its path, title and modified flag.
py::tuple DocumentState(DocumentHolder& holder)
{
    std::vector<std::uint8_t> bytes;
    {
        py::gil_scoped_release release;
        CMemorySink sink(bytes);
        CArchive ar(sink);
        holder.doc.Serialize(ar);
        ar.Flush();
    }
    return py::make_tuple(1, py::bytes(reinterpret_cast<const char*>(bytes.data()), bytes.size()), holder.path,
                          holder.doc.GetTitle(), holder.doc.IsModified());
}

Holder DocumentFromState(const py::tuple& t)
{
    if (t.size() != 5 || t[0].cast<int>() != 1)
        throw std::runtime_error("not the state of a kestrin.Document");
    const std::string bytes = t[1].cast<std::string>();
    auto holder = std::make_shared<DocumentHolder>();
    std::string error;
    {
        py::gil_scoped_release release;
        try {
            CMemorySource source(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
            CArchive ar(source);
            holder->doc.Serialize(ar);
            holder->doc.CalculateSavedTabH();
        } catch (const std::exception& e) {
            error = e.what();
        }
    }
    if (!error.empty())
        throw py::value_error("not the state of a kestrin.Document: " + error);
    holder->path = t[2].cast<std::string>();
    holder->doc.SetTitle(t[3].cast<std::string>());
    holder->doc.SetModifiedFlag(t[4].cast<bool>());
    holder->ui.warnings.clear();
    holder->ui.failures.clear();
    return holder;
}

std::string RangeText(py::handle x0, py::handle x1, const CPlotExtents& e)
{
    std::string text = x0.is_none() ? "no x0" : "x0 " + py::repr(x0).cast<std::string>();
    text += x1.is_none() ? ", no x1" : ", x1 " + py::repr(x1).cast<std::string>();
    if (std::isnan(e.m_dXMin) || std::isnan(e.m_dXMax))
        return text + "; the series has no X range: its first X is not a number";
    return text + "; the series' X runs from " + FormatRoundTrip(e.m_dXMin) + " to " + FormatRoundTrip(e.m_dXMax);
}

} // namespace

void RegisterDocuments(py::module_& m)
{
    py::class_<DocumentHolder, Holder>(m, "Document", R"(A Kestrin document: one series with everything computed from it,
as the workbench holds it and a .kst file stores it.

Document(y, x=None, D=4, M=3) makes one from a series (X the positions 0, 1,
... unless x is given), its global estimator computed with D and M.
x, y        the series' points.
D, M        the global estimator's parameters; estimate its result.
tabs        the tab X values; intervals their EstimateResults.
windows     the sliding-window results it holds (SlidingResult).
database, table, x_field, y_field: where a database import came from.
profile_of  for a document Profile made, {"source": the title of the
            document it is the profile of, "mean": the mean removed}, as
            kestrin-cli info shows it; None otherwise.
save(path) writes it as a .kst file (write_document). It pickles as the
bytes save writes, with its path and title (so it travels to dask workers):
the copy saves the same bytes and holds the same series, estimator, tabs
with their intervals, sliding-window results and profile record. The
analyses (tabs, sliding, meta_h, slopes, correlate, h_data) take a Document
as y and replace its results, as the workbench does.)")
        .def(py::init([](py::handle y, py::handle x, py::handle D, py::handle M) {
                 const int nD = static_cast<int>(WholeNumber(D, "D", 1, kMaxEmbeddingD));
                 const int nM = static_cast<int>(WholeNumber(M, "M", 2, kMaxLagCount));
                 std::vector<std::string> warnings;
                 Holder holder = DocumentArgument(y, x, warnings);
                 holder->doc.SetHParameters({.nD = nD, .nM = nM});
                 holder->doc.SetModifiedFlag(false);
                 IssueWarnings(warnings);
                 return holder;
             }),
             py::arg("y"), py::arg("x") = py::none(), py::arg("D") = 4, py::arg("M") = 3)
        .def_property_readonly("x", [](const DocumentHolder& h) { return PointColumn(h.doc, &CSeriesPoint::m_dX); })
        .def_property_readonly("y", [](const DocumentHolder& h) { return PointColumn(h.doc, &CSeriesPoint::m_dY); })
        .def_property_readonly("D", [](const DocumentHolder& h) { return h.doc.m_nD; })
        .def_property_readonly("M", [](const DocumentHolder& h) { return h.doc.m_nM; })
        .def_property_readonly("estimate", [](const DocumentHolder& h) { return Copy(h.doc.m_globalSet, h.doc); })
        .def_property_readonly("tabs", [](const DocumentHolder& h) { return h.doc.m_tabValues; })
        .def_property_readonly("intervals", [](const DocumentHolder& h) { return Intervals(h.doc); })
        .def_property_readonly("windows", [](const DocumentHolder& h) { return DocumentWindows(h.doc); })
        .def_property_readonly("spacing", [](const DocumentHolder& h) { return h.doc.m_nSpacing; })
        .def_property_readonly("h_series", [](const DocumentHolder& h) { return h.doc.m_bHSeries; })
        .def_property_readonly("has_data", [](const DocumentHolder& h) { return h.doc.m_bHasData; })
        .def_property_readonly("database", [](const DocumentHolder& h) { return py::bytes(h.doc.m_strDatabase).attr("decode")("utf-8", "replace"); })
        .def_property_readonly("table", [](const DocumentHolder& h) { return py::bytes(h.doc.m_strTable).attr("decode")("utf-8", "replace"); })
        .def_property_readonly("x_field", [](const DocumentHolder& h) { return py::bytes(h.doc.m_strXField).attr("decode")("utf-8", "replace"); })
        .def_property_readonly("y_field", [](const DocumentHolder& h) { return py::bytes(h.doc.m_strYField).attr("decode")("utf-8", "replace"); })
        .def_property_readonly("profile_of",
                               [](const DocumentHolder& h) -> py::object {
                                   const auto& record = h.doc.ProfileRecord();
                                   if (!record)
                                       return py::none();
                                   py::dict d;
                                   d["source"] = py::bytes(record->source).attr("decode")("utf-8", "replace");
                                   d["mean"] = record->mean;
                                   return d;
                               })
        .def_readonly("path", &DocumentHolder::path)
        .def("save", &WriteDocument, py::arg("path"), "Writes the document as a .kst file (see write_document).")
        .def("__len__", [](const DocumentHolder& h) { return h.doc.m_points.GetSize(); })
        .def(py::pickle(&DocumentState, &DocumentFromState))
        .def("__repr__", [](const DocumentHolder& h) {
            return "Document(" + std::to_string(h.doc.m_points.GetSize()) + " points, D=" + std::to_string(h.doc.m_nD) +
                   ", M=" + std::to_string(h.doc.m_nM) + ", H=" + FormatFixed(h.doc.m_globalSet.GetH(), 6) + ", " +
                   std::to_string(h.doc.m_tabValues.size()) + " tabs, " + std::to_string(h.doc.m_windows.GetSize()) +
                   " windows" + (h.path.empty() ? "" : ", path='" + h.path + "'") + ")";
        });

    m.def("read_document", &ReadDocument, py::arg("path"), R"(read_document(path) -> Document

Opens a Kestrin document (.kst) as the workbench opens it: its series,
global estimator, tabs with their intervals (each with its saved D and M)
and sliding-window results. OSError when the file cannot be opened,
kestrin.FormatError when it is not a Kestrin document or is damaged (the
workbench's message).

    >>> doc = kestrin.read_document("series.kst"); doc.estimate.H
)");
    m.def("write_document", [](const Holder& doc, const std::string& path) { WriteDocument(doc, path); },
          py::arg("document"), py::arg("path"), R"(write_document(document, path)

Saves a Document as a .kst file, byte for byte what the workbench saves: the
series, the global estimator, the tabs with their intervals' D and M, the
sliding-window results. The file is replaced only once fully written.
OSError when it cannot be written.

    >>> doc = kestrin.Document(y); kestrin.tabs(doc, at=[100]); kestrin.write_document(doc, "y.kst")
)");
    m.def("read_text", &ReadText, py::arg("path"), py::arg("filter") = py::none(), R"(read_text(path, filter=None) -> Document

Imports a text file, one number per line, as the workbench's text import
(and kestrin-cli with a text FILE): a byte-order mark is honoured, lines
that are not numbers are skipped, values beyond the range of a double are
kept as infinities (with a KestrinWarning). filter=(UNDER, OVER) keeps only
values strictly between. OSError / kestrin.FormatError on failure.

    >>> kestrin.read_text("samples/nile-minima.txt").estimate.H
)");
    m.def("read_table", &ReadTable, py::arg("db"), py::arg("table"), py::arg("x"), py::arg("y"),
          R"(read_table(db, table, x, y) -> Document

Reads a database table (Access .mdb/.accdb, SQLite, or a CSV file) as the
workbench's database import: X from field x, Y from field y, records whose X
or Y is not a number skipped and counted in a KestrinWarning.

    >>> kestrin.read_table("series.mdb", "Series", "Year", "Level")
)");
    m.def(
        "profile",
        [](py::handle y, py::handle x) {
            std::vector<std::string> warnings;
            Holder source = DocumentArgument(y, x, warnings);
            IssueWarnings(warnings);
            return NewDocument(*source, [](const CKestrinDoc& s, CKestrinDoc& t) { BuildProfileDocument(s, t); });
        },
        py::arg("y"), py::arg("x") = py::none(), R"(profile(y, x=None) -> Document

The profile of the series, as kestrin-cli profile: each Y becomes the running
sum of the departures of the Y values from their mean; X is kept. The new
document's global estimator is computed (its estimate.H).

    >>> kestrin.profile(y).estimate.H
)");
    m.def(
        "extract",
        [](py::handle y, py::handle x0, py::handle x1, py::handle x) {
            std::optional<double> from, to;
            if (!x0.is_none())
                from = RealNumber(x0, "x0");
            if (!x1.is_none())
                to = RealNumber(x1, "x1");
            std::vector<std::string> warnings;
            Holder source = DocumentArgument(y, x, warnings);
            IssueWarnings(warnings);
            const CPlotExtents extents = source->doc.GetPlotExtents();
            const double first = from.value_or(extents.m_dXMin);
            const double last = to.value_or(extents.m_dXMax);
            if (const auto refusal = CheckExtractRange(first, last, extents.m_dXMin, extents.m_dXMax))
                throw py::value_error(*refusal + " (" + RangeText(x0, x1, extents) + ")");
            return NewDocument(*source, [first, last](const CKestrinDoc& s, CKestrinDoc& t) {
                BuildExtractedDocument(s, first, last, t);
            });
        },
        py::arg("y"), py::arg("x0") = py::none(), py::arg("x1") = py::none(), py::arg("x") = py::none(),
        R"(extract(y, x0=None, x1=None, x=None) -> Document

The points whose X (truncated toward zero) lies in [x0, x1], as kestrin-cli
extract --from x0 --to x1 and the Select Range dialog (a bound not given is
the series' own end). ValueError with the dialog's refusal otherwise.

    >>> kestrin.extract(y, 100, 199).estimate.n
)");
}
