// kestrin-cli tabs: H estimates of the intervals between tab positions.
#include <algorithm>

#include "analysis/BootstrapText.h"
#include "analysis/IntervalBootstraps.h"
#include "cli/AnalysisInput.h"
#include "document/AutoTabs.h"
#include "cli/BatchCommand.h"
#include "cli/BootstrapReport.h"
#include "cli/CliUi.h"
#include "cli/Commands.h"
#include "cli/EdgeWarnings.h"
#include "cli/EstimatorReport.h"
#include "core/HDataSet.h"
#include "cli/JsonWriter.h"
#include "document/KestrinDoc.h"
#include "cli/MethodReport.h"
#include "cli/SeriesImport.h"
#include "platform/TextEncoding.h"
#include "cli/TextOutput.h"

namespace {

constexpr OptionDef kTabsOptions[] = {{"--at", "", 1, "T1,T2,..."},
                                      {"--every", "", 1, "INTERVAL"},
                                      kDOption,
                                      kMOption,
                                      kRMinOption,
                                      kFilterOption,
                                      kDbOption,
                                      kTableOption,
                                      kXFieldOption,
                                      kYFieldOption,
                                      kJsonOption,
                                      kBootstrapOption,
                                      kReplicatesOption,
                                      kSeedOption,
                                      kInputOption,
                                      kMethodOption};

// The --every interval: a number greater than 0 (UsageError otherwise).
double ReadTabInterval(const std::string& text)
{
    const double every = ParseRealNumber(text, "--every");
    if (!(every > 0.0))
        throw UsageError("--every " + text + ": The tab interval must be a number greater than 0.");
    return every;
}

// The tabs of --every over the series, as Auto-Tab places them. An interval
// that Auto-Tab refuses, or one below 1, which puts several tabs at one
// position (tab positions are whole numbers) with empty intervals between
// them, cannot be used: UsageError.
std::vector<double> PlanTabsEvery(const CKestrinDoc& doc, const std::string& text, double every)
{
    const CPlotExtents extents = doc.GetPlotExtents();
    const AutoTabPlan plan = PlanAutoTabs(extents.m_dXMin, extents.m_dXMax, every);
    if (!plan.ok)
        throw UsageError("--every " + text + ": " + plan.message);
    if (every < 1.0 && !plan.values.empty())
        throw UsageError("--every " + text +
                         ": an interval below 1 puts several tabs at one position (tab positions are whole "
                         "numbers), with empty intervals between them");
    return plan.values;
}

// One bootstrap per interval, in the document's order; empty when not asked.
using IntervalBootstraps = std::vector<CBootstrapResult>;

// What tabs reports: where the series came from, the global D and M, the
// tab positions, the interval estimators with their bootstraps when asked
// for, and the warnings.
struct TabsReport
{
    std::string path;
    SeriesOptions options;
    bool isDocument = false;
    std::int32_t d = 0;
    std::int32_t m = 0;
    std::vector<std::int32_t> tabs;
    std::vector<IntervalRow> intervals;
    IntervalBootstraps bootstraps;
    // Each interval's methods, in the document's order, with --method.
    std::vector<CMethodComparison> methods;
    std::vector<std::string> warnings;
    std::string every; // --every as given, or empty
};

std::string AsText(const TabsReport& report)
{
    std::string out;
    AppendField(out, "D", std::to_string(report.d));
    AppendField(out, "M", std::to_string(report.m));
    out += '\n';
    if (report.intervals.empty()) {
        if (!report.tabs.empty())
            out += "No intervals: the series is empty.\n";
        else if (!report.every.empty())
            out += "No intervals: an interval of " + report.every +
                   " places no tab between the series' smallest and largest X.\n";
        else if (report.isDocument)
            out += "No intervals: the document holds no tabs and no tab positions were given (--at).\n";
        else
            out += "No intervals: no tab positions were given (--at).\n";
        return out;
    }
    AppendIntervalTable(out, report.intervals);
    const IntervalBootstraps& bootstraps = report.bootstraps;
    if (!bootstraps.empty())
        out += '\n';
    for (std::size_t i = 0; i < bootstraps.size(); ++i) {
        AppendBootstrapField(out, bootstraps[i], " " + report.intervals[i].label);
        if (DiffersFromPrevious(bootstraps, i) == true)
            AppendField(out, "differs " + report.intervals[i].label,
                        IntervalsApartText(bootstraps[i], report.intervals[i - 1].label));
    }
    if (!report.methods.empty())
        out += '\n';
    for (std::size_t i = 0; i < report.methods.size(); ++i)
        AppendMethodLines(out, report.methods[i], " " + report.intervals[i].label);
    return out;
}

std::string AsJson(const TabsReport& report)
{
    std::string out;
    CJsonWriter json(out);
    json.BeginObject();
    WriteVersion(json);
    WriteSeriesSource(json, report.path, report.options);
    json.IntegerField("D", report.d);
    json.IntegerField("M", report.m);
    WriteTabPositions(json, report.tabs);
    WriteIntervals(json, report.intervals, &report.bootstraps, true);
    if (!report.methods.empty()) {
        json.Key("methods");
        json.BeginArray();
        for (std::size_t i = 0; i < report.methods.size(); ++i) {
            json.BeginObject();
            json.StringField("label", report.intervals[i].label);
            WriteMethods(json, report.methods[i]);
            json.EndObject();
        }
        json.EndArray();
    }
    WriteWarnings(json, report.warnings);
    json.EndObject();
    json.Finish();
    return out;
}

// The document's intervals to bootstrap, each with the curve length's
// bootstrap of its comparison of methods when that holds one.
std::vector<CIntervalEstimate> IntervalEstimatesOf(const CKestrinDoc& doc, const std::vector<std::int32_t>& tabs,
                                                   const std::vector<CMethodComparison>& comparisons)
{
    const CPlotExtents extents = doc.GetPlotExtents();
    const std::vector<CIntervalSpan> spans = IntervalSpansOf(tabs, extents.m_dXMin, extents.m_dXMax);
    std::vector<CIntervalEstimate> estimates;
    for (std::size_t i = 0; i < doc.m_tabSets.size(); ++i) {
        CIntervalEstimate& estimate = estimates.emplace_back();
        estimate.set = doc.m_tabSets[i].get();
        if (i < spans.size())
            estimate.span = spans[i];
        if (i < comparisons.size())
            estimate.given = CurveBootstrapIn(&comparisons[i]);
    }
    return estimates;
}

} // namespace

int RunTabs(std::span<const std::string> args)
{
    if (const std::optional<int> batch = RunBatchIfAsked("tabs", args, kTabsOptions))
        return *batch;
    const ParsedArgs parsed = ParseArgs(args, kTabsOptions);
    if (parsed.help)
        return ShowCommandHelp("tabs");
    const SeriesOptions options = ReadSeriesOptions(parsed);
    const std::string& path = SeriesInput(parsed, options);
    BootstrapOptions bootstrapOptions = ReadBootstrapOptions(parsed);
    const std::vector<EHMethod> methods = ReadMethods(parsed);
    const bool isDocument = IsDocumentInput(path, options);
    if (parsed.Has("--at") && parsed.Has("--every"))
        throw UsageError("--at and --every cannot be given together");
    const bool given = parsed.Has("--at") || parsed.Has("--every");
    std::vector<double> values;
    if (parsed.Has("--at")) {
        for (const std::int32_t t : ParseWholeNumberList(parsed.Values("--at")[0], "--at"))
            values.push_back(t);
    }
    const double every = parsed.Has("--every") ? ReadTabInterval(parsed.Values("--every")[0]) : 0.0;

    CCliUi ui("tabs");
    CKestrinDoc doc(ui);
    if (!LoadSeriesOrDocument(ui, doc, path, options))
        return kExitFailure;
    bootstrapOptions = BootstrapOptionsFor(bootstrapOptions, isDocument, doc);
    if (parsed.Has("--every")) {
        // Auto-Tab over the series' X range, as the ruler places them.
        const std::string& text = parsed.Values("--every")[0];
        values = PlanTabsEvery(doc, text, every);
        if (values.empty() && !doc.m_points.IsEmpty())
            ui.Warn("an interval of " + text + " places no tab between the series' smallest and largest X");
    }
    // Without --at or --every, a document's own tabs, each interval with its
    // saved D and M (unless --D or --M says otherwise for every interval).
    std::optional<CSavedTabs> saved = given ? std::nullopt : doc.TakeSavedTabs();
    if (saved) {
        values = saved->values;
        for (CTabInterval& interval : saved->intervals) {
            interval.nD = options.d.value_or(interval.nD);
            interval.nM = options.m.value_or(interval.nM);
            const int nRMin = options.rMin.value_or(IsUsableFirstLag(interval.nRMin, interval.nM) ? interval.nRMin : 1);
            if (nRMin != 1 && !IsUsableFirstLag(nRMin, interval.nM)) {
                ui.Fail("--r-min " + std::to_string(nRMin) + ": " + FirstLagRangeMessage(interval.nM) +
                        " (an interval keeps M " + std::to_string(interval.nM) + ")");
                return kExitFailure;
            }
            interval.nRMin = nRMin;
        }
    }
    const std::vector<std::int32_t> tabs = doc.SetTabs(values, saved ? &saved->intervals : nullptr);
    if (!doc.m_tabSets.empty())
        WarnOfTabsBeyondTheSeries(ui, tabs, doc.GetPlotExtents().m_dXMax);
    const auto shortOnes = std::count_if(doc.m_tabSets.begin(), doc.m_tabSets.end(), [&](const auto& set) {
        return TooFewForLags(set->GetCount(), set->GetSetting());
    });
    // Saved intervals may each have a D and M of their own.
    const std::string sum = saved ? std::string() : " = " + std::to_string(doc.m_nD + doc.m_nM);
    if (shortOnes > 0)
        ui.Warn(std::to_string(shortOnes) + " of " + std::to_string(doc.m_tabSets.size()) +
                " intervals hold fewer than D + M" + sum + " values; L(r) is 0 for their longest lags");
    std::vector<CMethodComparison> comparisons;
    if (!methods.empty())
        for (const auto& set : doc.m_tabSets)
            comparisons.push_back(MethodsOf(*set, methods, bootstrapOptions));
    const std::vector<CIntervalBootstrapRow> runs =
        bootstrapOptions.run ? BootstrapIntervals(IntervalEstimatesOf(doc, tabs, comparisons),
                                                  SeriesOptionsOf(bootstrapOptions))
                             : std::vector<CIntervalBootstrapRow>();
    IntervalBootstraps bootstraps;
    for (std::size_t i = 0; i < doc.m_tabSets.size(); ++i) {
        const auto& set = doc.m_tabSets[i];
        const std::string about = DisplayText(set->m_strLabel) + ": ";
        if (bootstrapOptions.run) {
            bootstraps.push_back(TakeBootstrapRow(ui, runs[i]));
            WarnSeriesKind(ui, bootstraps.back(), about);
        }
        WarnOfHReading(ui, *set, bootstrapOptions.run ? &bootstraps.back() : nullptr, about);
    }
    const TabsReport report{path, options, isDocument, doc.m_nD, doc.m_nM, tabs, IntervalRowsOf(doc, tabs),
                            bootstraps, comparisons, ui.Warnings(),
                            parsed.Has("--every") ? parsed.Values("--every")[0] : std::string()};
    return EmitOutput(parsed.Has("--json") ? AsJson(report) : AsText(report));
}
