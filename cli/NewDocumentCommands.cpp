// kestrin-cli h-data and extract: new documents made from a series, saved.

#include "AnalysisInput.h"
#include "CliUi.h"
#include "Commands.h"
#include "JsonWriter.h"
#include "KestrinDoc.h"
#include "NewDocuments.h"
#include "TextEncoding.h"
#include "TextOutput.h"
#include "WindowOptions.h"

namespace {

constexpr OptionDef kHDataOptions[] = {kWidthOption,      kSpacingOption, kWindowDOption, kWindowMOption,
                                        kWindowBestMOption, kPlotPointOption, kOutputDocOption, kFilterOption,
                                        kDbOption,         kTableOption,   kXFieldOption,  kYFieldOption,
                                        kJsonOption};

constexpr OptionDef kExtractOptions[] = {{"--from", "", 1, "A"}, {"--to", "", 1, "B"}, kOutputDocOption,
                                          kFilterOption,        kDbOption,          kTableOption,
                                          kXFieldOption,        kYFieldOption,      kJsonOption};

std::string SavedLine(int count, const char* what, const AnalysisInput& input, const std::string& output)
{
    return "Saved " + std::to_string(count) + " " + what + (count == 1 ? "" : "s") + " from " +
           JsonQuoted(DisplayText(input.path)) + " into " + JsonQuoted(DisplayText(output)) + ".\n";
}

} // namespace

int RunHData(std::span<const std::string> args)
{
    const ParsedArgs parsed = ParseArgs(args, kHDataOptions);
    if (parsed.help)
        return ShowCommandHelp("h-data");
    const AnalysisInput input = ReadAnalysisInput(parsed);
    const WindowOptions windows = ReadWindowOptions(parsed, input.isDocument);
    const std::string output = *ReadOutputOption(parsed, input, true);

    CCliUi ui("h-data");
    CKestrinDoc source(ui);
    if (!LoadAnalysisInput(ui, source, input))
        return kExitFailure;
    ObtainSlidingResults(ui, source, windows);
    if (source.m_windows.IsEmpty()) {
        ui.Fail(std::string("no sliding-window results to make a document of (") +
                (windows.compute ? "the series is not longer than the window width"
                                 : "the document holds none; compute them with --width W --spacing S") +
                "); nothing written");
        return kExitFailure;
    }
    const double xMin = source.GetPlotExtents().m_dXMin;
    CKestrinDoc target(ui);
    target.OnNewDocument();
    BuildHDataDocument(source, xMin, target);
    if (!target.OnSaveDocument(output))
        return kExitFailure;

    std::string out;
    if (parsed.Has("--json")) {
        CJsonWriter json(out);
        json.BeginObject();
        WriteInputSource(json, input);
        WriteWindowSource(json, source, windows);
        json.Field("x_min", xMin);
        json.StringField("output", DisplayText(output));
        json.IntegerField("points", target.m_points.GetSize());
        json.IntegerField("D", target.m_nD);
        json.IntegerField("M", target.m_nM);
        WriteWarnings(json, ui);
        json.EndObject();
        json.Finish();
    } else {
        out = SavedLine(target.m_points.GetSize(), "H value", input, output);
    }
    return EmitOutput(out);
}

int RunExtract(std::span<const std::string> args)
{
    const ParsedArgs parsed = ParseArgs(args, kExtractOptions);
    if (parsed.help)
        return ShowCommandHelp("extract");
    const AnalysisInput input = ReadAnalysisInput(parsed);
    std::optional<double> from;
    std::optional<double> to;
    if (parsed.Has("--from"))
        from = ParseRealNumber(parsed.Values("--from")[0], "--from");
    if (parsed.Has("--to"))
        to = ParseRealNumber(parsed.Values("--to")[0], "--to");
    const std::string output = *ReadOutputOption(parsed, input, true);

    CCliUi ui("extract");
    CKestrinDoc source(ui);
    if (!LoadAnalysisInput(ui, source, input))
        return kExitFailure;
    // As the Select Range dialog: the range starts as the whole series.
    const CPlotExtents extents = source.GetPlotExtents();
    const double first = from.value_or(extents.m_dXMin);
    const double last = to.value_or(extents.m_dXMax);
    if (const auto refusal = CheckExtractRange(first, last, extents.m_dXMin, extents.m_dXMax))
        throw UsageError(*refusal + " (--from " + Exact(first) + ", --to " + Exact(last) +
                         "; the series' X runs from " + Exact(extents.m_dXMin) + " to " + Exact(extents.m_dXMax) + ")");
    CKestrinDoc target(ui);
    target.OnNewDocument();
    BuildExtractedDocument(source, first, last, target);
    if (!target.OnSaveDocument(output))
        return kExitFailure;

    std::string out;
    if (parsed.Has("--json")) {
        CJsonWriter json(out);
        json.BeginObject();
        WriteInputSource(json, input);
        json.Field("from", first);
        json.Field("to", last);
        json.Field("x_min", extents.m_dXMin);
        json.Field("x_max", extents.m_dXMax);
        json.StringField("output", DisplayText(output));
        json.IntegerField("points", target.m_points.GetSize());
        WriteWarnings(json, ui);
        json.EndObject();
        json.Finish();
    } else {
        out = SavedLine(target.m_points.GetSize(), "point", input, output);
    }
    return EmitOutput(out);
}
