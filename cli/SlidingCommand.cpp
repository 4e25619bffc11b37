// kestrin-cli sliding: the H curve of sliding windows along the series, and
// its "Text File" export.

#include "AnalysisInput.h"
#include "CliUi.h"
#include "Commands.h"
#include "EstimatorReport.h"
#include "JsonWriter.h"
#include "KestrinDoc.h"
#include "ResultExport.h"
#include "TextEncoding.h"
#include "TextOutput.h"
#include "WindowOptions.h"

namespace {

constexpr OptionDef kSlidingOptions[] = {kWidthOption,      kSpacingOption, kWindowDOption, kWindowMOption,
                                   kWindowBestMOption, kPlotPointOption, kOutputFileOption, kFilterOption,
                                   kDbOption,         kTableOption,   kXFieldOption,  kYFieldOption,
                                   kJsonOption};

std::string AsText(const CKestrinDoc& doc, const WindowOptions& windows, double xMin,
                   const std::optional<std::string>& output)
{
    const int count = doc.m_windows.GetSize();
    if (output)
        return "Wrote " + std::to_string(count) + (count == 1 ? " sliding-window result" : " sliding-window results") +
               " to " + JsonQuoted(DisplayText(*output)) + ".\n";
    if (count == 0) {
        if (windows.compute)
            return "No sliding-window results: a window of " + std::to_string(windows.compute->width) +
                   " points needs more than " + std::to_string(windows.compute->width) + " points; the series has " +
                   std::to_string(doc.m_points.GetSize()) + ".\n";
        return "No sliding-window results: the document holds none (compute them with --width W --spacing S).\n";
    }
    std::string out;
    CTextTable table({"X", "H", "r", "b", "n"});
    for (const CHPoint& w : doc.m_windows)
        table.AddRow({Exact(w.m_dX + xMin), Decimal(w.m_dY), Decimal(w.m_dR), Decimal(w.m_dB),
                      std::to_string(w.m_nCount)});
    table.AppendTo(out);
    return out;
}

std::string AsJson(const AnalysisInput& input, const CKestrinDoc& doc, const WindowOptions& windows, double xMin,
                   const std::optional<std::string>& output, const CCliUi& ui)
{
    std::string out;
    CJsonWriter json(out);
    json.BeginObject();
    WriteInputSource(json, input);
    WriteWindowSource(json, doc, windows);
    json.Field("x_min", xMin);
    if (output) {
        json.FileNameField("output", *output);
    } else {
        json.Key("results");
        json.BeginArray();
        for (const CHPoint& w : doc.m_windows) {
            json.BeginObject(true);
            json.Field("X", w.m_dX + xMin);
            json.Field("offset", w.m_dX);
            WriteWindowResultFields(json, w);
            json.EndObject();
        }
        json.EndArray();
    }
    WriteWarnings(json, ui);
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
    return EmitUnlessOutputIsStandard(output.value_or(""), parsed.Has("--json") ? AsJson(input, doc, windows, xMin, output, ui)
                                           : AsText(doc, windows, xMin, output));
}
