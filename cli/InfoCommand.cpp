// kestrin-cli info: everything a Kestrin document holds.
#include <optional>

#include "cli/CliUi.h"
#include "cli/Commands.h"
#include "cli/EdgeWarnings.h"
#include "cli/EstimatorReport.h"
#include "cli/JsonWriter.h"
#include "core/HDataSet.h"
#include "document/KestrinDoc.h"
#include "platform/TextEncoding.h"
#include "cli/TextOutput.h"

namespace {

constexpr OptionDef kInfoOptions[] = {{"--points", "", 0}, {"--windows", "", 0}, {"--values", "", 0}, kJsonOption};

struct Lists
{
    bool points;
    bool windows;
    bool values;
};

struct PointRow
{
    double x;
    double y;
};

// What info reports of a document: its settings and names (as displayed),
// the global estimator, the tabs with their intervals and, when asked for,
// the estimator's values, the points and the sliding-window results.
struct InfoReport
{
    std::string file;
    std::int32_t d = 0;
    std::int32_t m = 0;
    std::string database;
    std::string table;
    std::string xField;
    std::string yField;
    int hasData = 0;
    int hSeries = 0;
    std::int32_t spacing = 0;
    int pointCount = 0;
    int windowCount = 0;
    EstimatorFigures estimator;
    std::vector<double> tabs;
    std::vector<IntervalRow> intervals;
    std::optional<std::vector<double>> values;
    std::optional<std::vector<PointRow>> points;
    std::optional<std::vector<WindowRow>> windows;
    std::optional<CProfileRecord> profile; // the document was made by Profile
    // What the H values shown must be read with, and the document's own
    // warnings before them; empty when the H values need none.
    std::vector<std::string> warnings;
};

InfoReport MakeReport(const std::string& path, const CKestrinDoc& doc, Lists lists)
{
    InfoReport report;
    report.file = path; // its bytes: JSON keeps them
    report.d = doc.m_nD;
    report.m = doc.m_nM;
    report.database = DisplayText(doc.m_strDatabase);
    report.table = DisplayText(doc.m_strTable);
    report.xField = DisplayText(doc.m_strXField);
    report.yField = DisplayText(doc.m_strYField);
    report.hasData = doc.m_bHasData;
    report.hSeries = doc.m_bHSeries;
    report.spacing = doc.m_nSpacing;
    report.pointCount = doc.m_points.GetSize();
    report.windowCount = doc.m_windows.GetSize();
    if (const auto& profile = doc.ProfileRecord())
        report.profile = *profile;
    const CHDataSet& set = doc.m_globalSet;
    report.estimator = FiguresOf(set);
    report.tabs = doc.m_tabValues;
    report.intervals = IntervalRowsOf(doc, CKestrinDoc::TabPositions(doc.m_tabValues));
    if (lists.values) {
        report.values.emplace();
        for (int i = 0; i < set.GetValueCount(); ++i)
            report.values->push_back(set.GetValue(i));
    }
    if (lists.points) {
        report.points.emplace();
        for (const CSeriesPoint& p : doc.m_points)
            report.points->push_back({p.m_dX, p.m_dY});
    }
    if (lists.windows)
        report.windows = WindowRowsOf(doc.m_windows);
    return report;
}

// Warns what the global H and each interval's must be read with
// (HReadingWarnings); the warnings said, when any of these was.
std::vector<std::string> WarnOfHValues(CCliUi& ui, const CKestrinDoc& doc)
{
    const std::size_t before = ui.Warnings().size();
    WarnOfHReading(ui, doc.m_globalSet, nullptr);
    for (const auto& set : doc.m_tabSets)
        WarnOfHReading(ui, *set, nullptr, DisplayText(set->m_strLabel) + ": ");
    return ui.Warnings().size() > before ? ui.Warnings() : std::vector<std::string>();
}

std::string AsText(const InfoReport& report)
{
    std::string out;
    AppendField(out, "D", std::to_string(report.d));
    AppendField(out, "M", std::to_string(report.m));
    AppendField(out, "database", JsonQuoted(report.database));
    AppendField(out, "table", JsonQuoted(report.table));
    AppendField(out, "X field", JsonQuoted(report.xField));
    AppendField(out, "Y field", JsonQuoted(report.yField));
    AppendField(out, "has data", std::to_string(report.hasData));
    AppendField(out, "H series", std::to_string(report.hSeries));
    AppendField(out, "spacing", std::to_string(report.spacing));
    AppendField(out, "points", std::to_string(report.pointCount));
    AppendField(out, "windows", std::to_string(report.windowCount));
    if (report.profile)
        AppendField(out, "made as", "profile of " + JsonQuoted(DisplayText(report.profile->source)) + ", its mean " +
                                        Exact(report.profile->mean) + " removed");

    const EstimatorFigures& set = report.estimator;
    out += "\nGlobal estimator\n";
    AppendField(out, "n", std::to_string(set.n));
    AppendFitFields(out, set);
    AppendField(out, "M'", std::to_string(set.m));
    AppendField(out, "D'", std::to_string(set.d));
    out += '\n';
    AppendLagTable(out, set.lags);

    if (!report.tabs.empty()) {
        out += "\nTabs\n";
        CTextTable tabs({"value"});
        for (const double x : report.tabs)
            tabs.AddRow({Exact(x)});
        tabs.AppendTo(out);
        out += "\nIntervals\n";
        if (report.intervals.empty())
            out += "None: the series is empty.\n";
        else
            AppendIntervalTable(out, report.intervals);
    }

    if (report.values) {
        out += "\nValues\n";
        CTextTable table({"i", "value"});
        for (std::size_t i = 0; i < report.values->size(); ++i)
            table.AddRow({std::to_string(i), Exact((*report.values)[i])});
        table.AppendTo(out);
    }
    if (report.points) {
        out += "\nPoints\n";
        CTextTable table({"X", "Y"});
        for (const PointRow& p : *report.points)
            table.AddRow({Exact(p.x), Exact(p.y)});
        table.AppendTo(out);
    }
    if (report.windows) {
        out += "\nSliding windows\n";
        AppendWindowTable(out, *report.windows);
    }
    return out;
}

std::string AsJson(const InfoReport& report)
{
    std::string out;
    CJsonWriter json(out);
    json.BeginObject();
    json.FileNameField("file", report.file);
    json.IntegerField("D", report.d);
    json.IntegerField("M", report.m);
    json.StringField("database", report.database);
    json.StringField("table", report.table);
    json.StringField("x_field", report.xField);
    json.StringField("y_field", report.yField);
    json.IntegerField("has_data", report.hasData);
    json.IntegerField("h_series", report.hSeries);
    json.IntegerField("spacing", report.spacing);
    json.IntegerField("point_count", report.pointCount);
    json.IntegerField("window_count", report.windowCount);
    if (report.profile) {
        json.Key("profile_of");
        json.BeginObject(true);
        json.StringField("source", DisplayText(report.profile->source));
        json.Field("mean", report.profile->mean);
        json.EndObject();
    }

    const EstimatorFigures& set = report.estimator;
    json.Key("estimator");
    json.BeginObject();
    json.IntegerField("n", set.n);
    WriteFitFields(json, set);
    json.IntegerField("M", set.m);
    json.IntegerField("D", set.d);
    WriteLagTable(json, set.lags);
    if (report.values) {
        json.Key("values");
        json.BeginArray();
        for (const double v : *report.values)
            json.Number(v);
        json.EndArray();
    }
    json.EndObject();

    json.Key("tabs");
    json.BeginArray(true);
    for (const double x : report.tabs)
        json.Number(x);
    json.EndArray();
    WriteIntervals(json, report.intervals);

    if (report.points) {
        json.Key("points");
        json.BeginArray();
        for (const PointRow& p : *report.points) {
            json.BeginObject(true);
            json.Field("X", p.x);
            json.Field("Y", p.y);
            json.EndObject();
        }
        json.EndArray();
    }
    if (report.windows) {
        json.Key("windows");
        json.BeginArray();
        for (const WindowRow& w : *report.windows) {
            json.BeginObject(true);
            json.Field("X", w.x);
            WriteWindowResultFields(json, w);
            json.EndObject();
        }
        json.EndArray();
    }
    if (!report.warnings.empty())
        WriteWarnings(json, report.warnings);
    json.EndObject();
    json.Finish();
    return out;
}

} // namespace

int RunInfo(std::span<const std::string> args)
{
    const ParsedArgs parsed = ParseArgs(args, kInfoOptions);
    if (parsed.help)
        return ShowCommandHelp("info");
    const std::string& path = RequireOneFile(parsed, "DOC.kst");
    const Lists lists{parsed.Has("--points"), parsed.Has("--windows"), parsed.Has("--values")};

    CCliUi ui("info");
    CKestrinDoc doc(ui);
    if (!doc.OnOpenDocument(path))
        return kExitFailure;
    // The saved tabs, computed as the workbench computes them on opening.
    doc.CalculateSavedTabH();
    InfoReport report = MakeReport(path, doc, lists);
    report.warnings = WarnOfHValues(ui, doc);
    return EmitOutput(parsed.Has("--json") ? AsJson(report) : AsText(report));
}
