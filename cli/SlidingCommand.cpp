// kestrin-cli sliding: the H curve of sliding windows along the series, and
// its "Text File" export.

#include "cli/AnalysisInput.h"
#include "cli/CliUi.h"
#include "cli/Commands.h"
#include "cli/EstimatorReport.h"
#include "cli/JsonWriter.h"
#include "document/KestrinDoc.h"
#include "analysis/ResultExport.h"
#include "platform/TextEncoding.h"
#include "cli/WindowOptions.h"

namespace {

constexpr OptionDef kSlidingOptions[] = {kWidthOption,      kSpacingOption, kWindowDOption, kWindowMOption, kWindowRMinOption,
                                   kWindowBestMOption, kPlotPointOption, kOutputFileOption, kFilterOption,
                                   kDbOption,         kTableOption,   kXFieldOption,  kYFieldOption,
                                   kJsonOption};

// What sliding reports: the input, how the results were obtained, the X
// origin they are shown from, the results (or the file they were written
// to), the series' length and the warnings.
struct SlidingReport
{
    AnalysisInput input;
    WindowSource windows;
    double xMin = 0.0;
    std::optional<std::string> output; // as given (its bytes)
    std::vector<WindowRow> results;    // X from xMin
    int seriesSize = 0;
    std::vector<std::string> warnings;
};

SlidingReport MakeReport(const AnalysisInput& input, const CKestrinDoc& doc, const WindowOptions& windows, double xMin,
                         const std::optional<std::string>& output, const CCliUi& ui)
{
    SlidingReport report{input, WindowSourceOf(doc, windows), xMin, std::nullopt, {}, doc.m_points.GetSize(),
                         ui.Warnings()};
    if (output)
        report.output = *output;
    else
        report.results = WindowRowsOf(doc.m_windows);
    for (WindowRow& row : report.results)
        row.x = row.offset + xMin;
    return report;
}

std::string AsText(const SlidingReport& report)
{
    const int count = report.windows.count;
    if (report.output)
        return "Wrote " + std::to_string(count) + (count == 1 ? " sliding-window result" : " sliding-window results") +
               " to " + JsonQuoted(DisplayText(*report.output)) + ".\n";
    if (count == 0) {
        if (report.windows.computed)
            return "No sliding-window results: a window of " + std::to_string(report.windows.width) +
                   " points needs more than " + std::to_string(report.windows.width) + " points; the series has " +
                   std::to_string(report.seriesSize) + ".\n";
        return "No sliding-window results: the document holds none (compute them with --width W --spacing S).\n";
    }
    std::string out;
    AppendWindowTable(out, report.results);
    return out;
}

std::string AsJson(const SlidingReport& report)
{
    std::string out;
    CJsonWriter json(out);
    json.BeginObject();
    WriteInputSource(json, report.input);
    WriteWindowSource(json, report.windows);
    json.Field("x_min", report.xMin);
    if (report.output) {
        json.FileNameField("output", *report.output);
    } else {
        json.Key("results");
        json.BeginArray();
        for (const WindowRow& w : report.results) {
            json.BeginObject(true);
            json.Field("X", w.x);
            json.Field("offset", w.offset);
            WriteWindowResultFields(json, w);
            json.EndObject();
        }
        json.EndArray();
    }
    WriteWarnings(json, report.warnings);
    json.EndObject();
    json.Finish();
    return out;
}

} // namespace

int RunSliding(std::span<const std::string> args)
{
    const ParsedArgs parsed = ParseArgs(args, kSlidingOptions);
    if (parsed.help)
        return ShowCommandHelp("sliding");
    const AnalysisInput input = ReadAnalysisInput(parsed);
    const WindowOptions windows = ReadWindowOptions(parsed, input.isDocument);
    const std::optional<std::string> output = ReadOutputOption(parsed, input, false);

    CCliUi ui("sliding");
    CKestrinDoc doc(ui);
    if (!LoadAnalysisInput(ui, doc, input))
        return kExitFailure;
    ObtainSlidingResults(ui, doc, windows);
    const double xMin = doc.GetPlotExtents().m_dXMin;
    if (output) {
        const std::size_t told = ui.messages.size();
        if (!ExportSlidingResults(doc, xMin, *output)) {
            if (ui.messages.size() == told)
                ui.Fail("cannot write \"" + DisplayText(*output) + "\"");
            return kExitFailure;
        }
    }
    const SlidingReport report = MakeReport(input, doc, windows, xMin, output, ui);
    return EmitUnlessOutputIsStandard(output.value_or(""), parsed.Has("--json") ? AsJson(report) : AsText(report));
}
