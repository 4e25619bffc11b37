// kestrin-cli slopes: the least-squares slope of the series in windows
// sliding one point at a time.
#include "cli/AnalysisInput.h"
#include "cli/CliUi.h"
#include "cli/Commands.h"
#include "cli/JsonWriter.h"
#include "document/KestrinDoc.h"
#include "analysis/SlopeWindows.h"
#include "cli/TextOutput.h"
#include "cli/WindowOptions.h"

namespace {

constexpr OptionDef kSlopesOptions[] = {kSizeOption,  kFilterOption, kDbOption, kTableOption, kXFieldOption,
                                   kYFieldOption, kJsonOption};

struct SlopeRow
{
    double x;      // from xMin
    double offset; // the window's middle within the series
    double slope;
};

// What slopes reports: the input, the window size, the X origin the
// results are shown from, the results, the series' length and the warnings.
struct SlopesReport
{
    AnalysisInput input;
    std::int32_t size = 0;
    double xMin = 0.0;
    std::vector<SlopeRow> results;
    int seriesSize = 0;
    std::vector<std::string> warnings;
};

SlopesReport MakeReport(const AnalysisInput& input, const CKestrinDoc& doc, std::int32_t size, double xMin,
                        const CCliUi& ui)
{
    SlopesReport report{input, size, xMin, {}, doc.m_points.GetSize(), ui.Warnings()};
    for (const CHPoint& s : doc.m_slopes)
        report.results.push_back({s.m_dX + xMin, s.m_dX, s.m_dY});
    return report;
}

std::string AsText(const SlopesReport& report)
{
    if (report.results.empty())
        return "No slope-window results: a window of " + std::to_string(report.size) + " points needs more than " +
               std::to_string(report.size) + " points; the series has " + std::to_string(report.seriesSize) + ".\n";
    std::string out;
    CTextTable table({"X", "offset", "slope"});
    for (const SlopeRow& s : report.results)
        table.AddRow({Exact(s.x), Exact(s.offset), Decimal(s.slope)});
    table.AppendTo(out);
    return out;
}

std::string AsJson(const SlopesReport& report)
{
    std::string out;
    CJsonWriter json(out);
    json.BeginObject();
    WriteInputSource(json, report.input);
    json.IntegerField("size", report.size);
    json.Field("x_min", report.xMin);
    json.IntegerField("count", static_cast<std::int64_t>(report.results.size()));
    json.Key("results");
    json.BeginArray();
    for (const SlopeRow& s : report.results) {
        json.BeginObject(true);
        json.Field("X", s.x);
        json.Field("offset", s.offset);
        json.Field("slope", s.slope);
        json.EndObject();
    }
    json.EndArray();
    WriteWarnings(json, report.warnings);
    json.EndObject();
    json.Finish();
    return out;
}

} // namespace

int RunSlopes(std::span<const std::string> args)
{
    const ParsedArgs parsed = ParseArgs(args, kSlopesOptions);
    if (parsed.help)
        return ShowCommandHelp("slopes");
    const AnalysisInput input = ReadAnalysisInput(parsed);
    const std::int32_t size = ReadSlopeWindowSize(parsed);

    CCliUi ui("slopes");
    CKestrinDoc doc(ui);
    if (!LoadAnalysisInput(ui, doc, input))
        return kExitFailure;
    CalculateSlopeWindows(doc, size);
    const double xMin = doc.GetPlotExtents().m_dXMin;
    const SlopesReport report = MakeReport(input, doc, size, xMin, ui);
    return EmitOutput(parsed.Has("--json") ? AsJson(report) : AsText(report));
}
