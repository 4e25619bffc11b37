#include "cli/BatchSeriesRuns.h"

#include <algorithm>
#include <optional>

#include "cli/AnalysisInput.h"
#include "document/AutoTabs.h"
#include "cli/BootstrapReport.h"
#include "cli/CliUi.h"
#include "platform/db/Database.h"
#include "analysis/EstimateWarnings.h"
#include "cli/EdgeWarnings.h"
#include "cli/EstimatorReport.h"
#include "core/HDataSet.h"
#include "document/KestrinDoc.h"
#include "analysis/MetaH.h"
#include "cli/MetaHParams.h"
#include "cli/MethodReport.h"
#include "platform/TextEncoding.h"
#include "cli/WindowOptions.h"

namespace {

using Rows = std::vector<std::vector<TidyValue>>;

// A database file opened once per worker thread and lent to each series
// of a --db run, so that a table of many fields is read and checked once
// per thread, not once per field.
class CLentDatabase : public IDatabase
{
public:
    explicit CLentDatabase(IDatabase& db) : m_db(db) {}
    std::vector<std::string> TableNames() override { return m_db.TableNames(); }
    std::vector<std::string> FieldNames(const std::string& table) override { return m_db.FieldNames(table); }
    std::unique_ptr<IRecordset> OpenRecordset(const std::string& table) override
    {
        return m_db.OpenRecordset(table);
    }
    void CheckIntegrity() override { m_db.CheckIntegrity(); }

private:
    IDatabase& m_db;
};

std::unique_ptr<IDatabase> OpenOncePerThread(const std::string& path)
{
    thread_local std::string openPath;
    thread_local std::unique_ptr<IDatabase> db;
    if (!db || openPath != path) {
        db.reset();
        db = OpenDatabase(path);
        openPath = path;
    }
    return std::make_unique<CLentDatabase>(*db);
}

// The document of one series; a --db series borrows its thread's database.
void LendDatabase(CKestrinDoc& doc, const SeriesOptions& options)
{
    if (options.database)
        doc.m_openDatabase = OpenOncePerThread;
}

// Several lines of a message on one line of a row.
std::string OneLine(const std::vector<std::string>& texts, const char* separator)
{
    std::string line;
    for (const std::string& text : texts) {
        for (const char c : text) {
            if (c == '\n') {
                line += ' ';
            } else {
                line += c;
            }
        }
        line += separator;
    }
    if (!line.empty())
        line.resize(line.size() - std::string_view(separator).size());
    return line;
}

// "ok", or the warnings of a series (and extra ones of one of its rows).
std::string StatusOf(const CCliUi& ui, const std::vector<std::string>& extra = {})
{
    std::vector<std::string> warnings = ui.Warnings();
    warnings.insert(warnings.end(), extra.begin(), extra.end());
    return warnings.empty() ? std::string("ok") : "warning: " + OneLine(warnings, "; ");
}

std::string FailureOf(const CCliUi& ui)
{
    return ui.Failures().empty() ? std::string("the input could not be read") : OneLine(ui.Failures(), " ");
}

// The cells naming the series: source, table and field (empty for a text
// file).
std::vector<TidyValue> NameCells(const SeriesOptions& options, const BatchSeries& series)
{
    std::vector<TidyValue> cells{DisplayText(series.path)};
    if (options.database) {
        cells.emplace_back(DisplayText(options.database->table));
        cells.emplace_back(DisplayText(series.yField));
    } else {
        cells.emplace_back();
        cells.emplace_back();
    }
    return cells;
}

// n, D, M, H, b, r as the single run's report holds them.
void AppendFit(std::vector<TidyValue>& row, const CHDataSet& set)
{
    const EstimatorFigures figures = FiguresOf(set);
    row.emplace_back(std::int64_t{figures.n});
    row.emplace_back(std::int64_t{figures.d});
    row.emplace_back(std::int64_t{figures.m});
    row.emplace_back(figures.h);
    row.emplace_back(figures.b);
    row.emplace_back(figures.r);
}

std::vector<std::string> FitColumns()
{
    return {"n", "D", "M", "H", "b", "r"};
}

std::vector<std::string> BootstrapColumns()
{
    return {"H_corrected", "low", "high", "level", "replicates", "seed"};
}

TidyValue Optional(const std::optional<double>& value)
{
    return value ? TidyValue(*value) : TidyValue();
}

void AppendBootstrap(std::vector<TidyValue>& row, const CBootstrapResult& result)
{
    row.push_back(Optional(result.corrected));
    row.push_back(Optional(result.low));
    row.push_back(Optional(result.high));
    row.emplace_back(result.level);
    row.emplace_back(std::int64_t{result.replicates});
    row.emplace_back(static_cast<std::int64_t>(result.seed));
}

std::vector<std::string> Columns(bool interval, bool bootstrap, bool method = false)
{
    std::vector<std::string> columns{"source", "table", "field"};
    if (interval)
        columns.emplace_back("interval");
    if (method)
        columns.emplace_back("method");
    for (std::string& name : FitColumns())
        columns.push_back(std::move(name));
    if (bootstrap)
        for (std::string& name : BootstrapColumns())
            columns.push_back(std::move(name));
    columns.emplace_back("status");
    return columns;
}

// With --method, one row per method of an estimator (names are the cells
// before the method's): the curve length's fit, or n and the method's H
// with D, M, b and r empty; with a bootstrap, that method's. The numbers
// are those of the single run's "methods" (MethodsOf); the curve length's
// bootstrap warns as the single run's does. The status is added by the
// caller, once every row is known.
Rows MethodRows(CCliUi& ui, const std::vector<TidyValue>& names, const CHDataSet& set,
                const std::vector<EHMethod>& methods, const BootstrapOptions& bootstrap)
{
    const CMethodComparison comparison = MethodsOf(set, methods, bootstrap);
    if (bootstrap.run && std::find(methods.begin(), methods.end(), EHMethod::Curve) != methods.end())
        CurveBootstrapOf(ui, comparison, set, bootstrap);
    Rows rows;
    for (const CMethodRow& method : comparison.rows) {
        std::vector<TidyValue> row = names;
        row.emplace_back(std::string(HMethodWord(method.estimate.method)));
        if (method.estimate.method == EHMethod::Curve) {
            AppendFit(row, set);
        } else {
            row.emplace_back(std::int64_t{FiguresOf(set).n});
            row.resize(row.size() + 2);
            row.emplace_back(method.estimate.h);
            row.resize(row.size() + 2);
        }
        if (method.bootstrap)
            AppendBootstrap(row, *method.bootstrap);
        rows.push_back(std::move(row));
    }
    return rows;
}

// The row of a series that gave no result: its names, then empty cells.
std::vector<TidyValue> EmptyRow(const std::vector<std::string>& columns, std::vector<TidyValue> names,
                                std::string status)
{
    names.resize(columns.size() - 1);
    names.emplace_back(std::move(status));
    return names;
}

BatchSeriesRun EstimateRun(const ParsedArgs& parsed, const SeriesOptions& options)
{
    const BootstrapOptions bootstrap = ReadBootstrapOptions(parsed);
    const std::vector<EHMethod> methods = ReadMethods(parsed);
    BatchSeriesRun run;
    run.columns = Columns(false, bootstrap.run, !methods.empty());
    run.rowsOf = [options, bootstrap, methods, columns = run.columns](const BatchSeries& series) {
        CCliUi ui("estimate", true);
        CKestrinDoc doc(ui);
        LendDatabase(doc, options);
        std::vector<TidyValue> row = NameCells(options, series);
        const bool isDocument = !options.database && IsDocumentPath(series.path);
        if (isDocument && options.filter)
            return Rows{
                EmptyRow(columns, row, "error: --filter applies to text files only, not to a Kestrin document")};
        if (!LoadSeriesOrDocument(ui, doc, series.path, SeriesOptionsFor(options, series)))
            return Rows{EmptyRow(columns, row, "error: " + FailureOf(ui))};
        if (isDocument)
            WarnIfConstant(ui, doc.m_points, "the series");
        const CHDataSet& set = doc.m_globalSet;
        WarnIfTooShortForLags(ui, set, "the series");
        if (!methods.empty()) {
            Rows rows = MethodRows(ui, row, set, methods, BootstrapOptionsFor(bootstrap, isDocument, doc));
            WarnOfHReading(ui, set, nullptr);
            for (std::vector<TidyValue>& methodRow : rows)
                methodRow.emplace_back(StatusOf(ui));
            return rows;
        }
        AppendFit(row, set);
        std::optional<CBootstrapResult> result;
        if (bootstrap.run) {
            result = BootstrapOf(ui, set, BootstrapOptionsFor(bootstrap, isDocument, doc));
            AppendBootstrap(row, *result);
        }
        WarnOfHReading(ui, set, result ? &*result : nullptr);
        row.emplace_back(StatusOf(ui));
        return Rows{row};
    };
    return run;
}

BatchSeriesRun TabsRun(const ParsedArgs& parsed, const SeriesOptions& options)
{
    if (parsed.Has("--at") == parsed.Has("--every"))
        throw UsageError(parsed.Has("--at") ? "--at and --every cannot be given together"
                                            : "a run over several series takes its tabs from --at or --every");
    const BootstrapOptions bootstrap = ReadBootstrapOptions(parsed);
    const std::vector<EHMethod> methods = ReadMethods(parsed);
    std::vector<double> at;
    if (parsed.Has("--at"))
        for (const std::int32_t t : ParseWholeNumberList(parsed.Values("--at")[0], "--at"))
            at.push_back(t);
    const std::optional<double> every =
        parsed.Has("--every") ? std::optional(ParseRealNumber(parsed.Values("--every")[0], "--every")) : std::nullopt;
    BatchSeriesRun run;
    run.columns = Columns(true, bootstrap.run, !methods.empty());
    run.rowsOf = [options, bootstrap, methods, at, every, columns = run.columns](const BatchSeries& series) {
        CCliUi ui("tabs", true);
        CKestrinDoc doc(ui);
        LendDatabase(doc, options);
        const std::vector<TidyValue> names = NameCells(options, series);
        const bool isDocument = !options.database && IsDocumentPath(series.path);
        if (isDocument && options.filter)
            return Rows{
                EmptyRow(columns, names, "error: --filter applies to text files only, not to a Kestrin document")};
        if (!LoadSeriesOrDocument(ui, doc, series.path, SeriesOptionsFor(options, series)))
            return Rows{EmptyRow(columns, names, "error: " + FailureOf(ui))};
        std::vector<double> values = at;
        if (every) {
            const CPlotExtents extents = doc.GetPlotExtents();
            const AutoTabPlan plan = PlanAutoTabs(extents.m_dXMin, extents.m_dXMax, *every);
            if (!plan.ok)
                return Rows{EmptyRow(columns, names, "error: " + plan.message)};
            values = plan.values;
        }
        doc.SetTabs(values);
        Rows rows;
        for (const auto& set : doc.m_tabSets) {
            std::vector<TidyValue> row = names;
            row.emplace_back(DisplayText(set->m_strLabel));
            Rows setRows;
            std::optional<CBootstrapResult> result;
            if (methods.empty()) {
                AppendFit(row, *set);
                if (bootstrap.run) {
                    result = BootstrapOf(ui, *set, BootstrapOptionsFor(bootstrap, isDocument, doc));
                    AppendBootstrap(row, *result);
                }
                setRows.push_back(std::move(row));
            } else {
                setRows = MethodRows(ui, row, *set, methods, BootstrapOptionsFor(bootstrap, isDocument, doc));
            }
            std::vector<std::string> extra;
            if (TooFewForLags(set->GetCount(), set->GetSetting()))
                extra.push_back("the interval holds fewer than D + M = " + std::to_string(set->GetD() + set->GetM()) +
                                " values; L(r) is 0 for its longest lags");
            for (std::string& warning : HReadingWarnings(*set, result ? &*result : nullptr))
                extra.push_back(std::move(warning));
            for (std::vector<TidyValue>& setRow : setRows) {
                setRow.emplace_back(StatusOf(ui, extra));
                rows.push_back(std::move(setRow));
            }
        }
        if (rows.empty())
            rows.push_back(EmptyRow(columns, names,
                                    StatusOf(ui, {values.empty() ? "no intervals: no tab falls inside the series"
                                                                 : "no intervals: the series is empty"})));
        return rows;
    };
    return run;
}

// Meta H: --D and --M are Meta H's own; the window options are checked for
// each input, since a document needs fewer of them.
BatchSeriesRun MetaHRun(const ParsedArgs& parsed, SeriesOptions options)
{
    options.d.reset();
    options.m.reset();
    options.rMin.reset();
    const MetaHParams params = ReadMetaHParams(parsed);
    // Every value is checked before any file is read; without --width,
    // only documents can be used.
    const bool documentsOnly = !options.database && !parsed.Has("--files-from") &&
                               std::all_of(parsed.positionals.begin(), parsed.positionals.end(),
                                           [](const std::string& path) { return IsDocumentPath(path); });
    ReadWindowOptions(parsed, documentsOnly);
    BatchSeriesRun run;
    run.columns = Columns(false, false);
    run.rowsOf = [parsed, options, params, columns = run.columns](const BatchSeries& series) {
        CCliUi ui("meta-h", true);
        CKestrinDoc doc(ui);
        LendDatabase(doc, options);
        const std::vector<TidyValue> names = NameCells(options, series);
        const AnalysisInput input{series.path, SeriesOptionsFor(options, series),
                                  !options.database && IsDocumentPath(series.path)};
        if (input.isDocument && options.filter)
            return Rows{
                EmptyRow(columns, names, "error: --filter applies to text files only, not to a Kestrin document")};
        const WindowOptions windows = ReadWindowOptions(parsed, input.isDocument);
        if (!LoadAnalysisInput(ui, doc, input))
            return Rows{EmptyRow(columns, names, "error: " + FailureOf(ui))};
        ObtainSlidingResults(ui, doc, windows);
        MetaHParams own = params;
        LimitBestM(ui, doc.m_windows.GetSize(), own);
        if (const std::optional<std::string> refusal = CheckMetaHFirstLag(own, doc.m_windows.GetSize()))
            return Rows{EmptyRow(columns, names, "error: " + *refusal)};
        CHDataSet set;
        if (!ComputeMetaH(ui, doc.m_windows, {.nD = own.nD, .nM = own.nM, .nRMin = own.nRMin}, own.useBestM, set))
            return Rows{EmptyRow(columns, names, "error: " + NoMetaHResultsMessage(windows))};
        WarnIfConstant(ui, doc.m_windows, "the sliding-window H curve");
        WarnOfHReading(ui, set, nullptr, "Meta H: ");
        std::vector<TidyValue> row = names;
        AppendFit(row, set);
        row.emplace_back(StatusOf(ui));
        return Rows{row};
    };
    return run;
}

} // namespace

BatchSeriesRun MakeBatchSeriesRun(std::string_view command, const ParsedArgs& parsed, const SeriesOptions& options)
{
    if (command == "tabs")
        return TabsRun(parsed, options);
    if (command == "meta-h")
        return MetaHRun(parsed, options);
    return EstimateRun(parsed, options);
}

std::vector<TidyValue> BatchErrorRow(const BatchSeriesRun& run, const SeriesOptions& options,
                                     const BatchSeries& series, const std::string& message)
{
    return EmptyRow(run.columns, NameCells(options, series), "error: " + message);
}
