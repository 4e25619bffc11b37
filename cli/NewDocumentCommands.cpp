// kestrin-cli h-data and extract: new documents made from a series, saved.
#include <cmath>

#include "cli/AnalysisInput.h"
#include "cli/CliUi.h"
#include "cli/Commands.h"
#include "cli/JsonWriter.h"
#include "document/KestrinDoc.h"
#include "analysis/NewDocuments.h"
#include "platform/TextEncoding.h"
#include "cli/TextOutput.h"
#include "cli/WindowOptions.h"

namespace {

constexpr OptionDef kHDataOptions[] = {kWidthOption,      kSpacingOption, kWindowDOption, kWindowMOption, kWindowRMinOption,
                                        kWindowBestMOption, kPlotPointOption, kOutputDocOption, kFilterOption,
                                        kDbOption,         kTableOption,   kXFieldOption,  kYFieldOption,
                                        kJsonOption};

constexpr OptionDef kExtractOptions[] = {{"--from", "", 1, "A"}, {"--to", "", 1, "B"}, kOutputDocOption,
                                          kFilterOption,        kDbOption,          kTableOption,
                                          kXFieldOption,        kYFieldOption,      kJsonOption};

constexpr OptionDef kProfileOptions[] = {kOutputDocOption, kFilterOption, kDbOption,  kTableOption,
                                          kXFieldOption,    kYFieldOption, kJsonOption};

// The range of a refused extraction: the bounds as the user typed them (a
// bound not given is the series' own end), and the series' X range, which
// is undefined when its first X is not a number.
std::string RangeText(const ParsedArgs& parsed, const CPlotExtents& extents)
{
    std::string text;
    for (const char* option : {"--from", "--to"}) {
        text += text.empty() ? "" : ", ";
        text += parsed.Has(option) ? std::string(option) + " " + parsed.Values(option)[0]
                                   : std::string("no ") + option;
    }
    if (std::isnan(extents.m_dXMin) || std::isnan(extents.m_dXMax))
        return text + "; the series has no X range: its first X is not a number";
    return text + "; the series' X runs from " + Exact(extents.m_dXMin) + " to " + Exact(extents.m_dXMax);
}

// Makes target a new document, fills it and saves it as output; false when
// it could not be written (the user has been told why). A name that is not
// a document's is warned of.
template <class Fill>
bool SaveNewDocument(CCliUi& ui, CKestrinDoc& target, const std::string& output, Fill fill)
{
    target.OnNewDocument();
    fill(target);
    if (!target.OnSaveDocument(output))
        return false;
    WarnIfNotDocumentName(ui, output);
    return true;
}

// What a command that saved a document reports: the input, the new
// document's name and number of points (what they are, singular), what the
// command itself adds (h-data: the windows and their X origin, the new
// document's D and M; extract: the range and the series' X range; profile:
// the new document's H), and the warnings.
struct SavedReport
{
    struct Range
    {
        double from;
        double to;
        double xMin;
        double xMax;
    };

    AnalysisInput input;
    std::string output; // as given (its bytes)
    int points = 0;
    const char* what = "point";
    std::optional<WindowSource> windows;
    std::optional<double> windowsXMin;
    std::optional<Range> range;
    std::optional<std::int32_t> d;
    std::optional<std::int32_t> m;
    std::optional<double> h;
    std::vector<std::string> warnings;
};

SavedReport MakeReport(const AnalysisInput& input, const std::string& output, const CKestrinDoc& target,
                       const char* what, const CCliUi& ui)
{
    SavedReport report;
    report.input = input;
    report.output = output;
    report.points = target.m_points.GetSize();
    report.what = what;
    report.warnings = ui.Warnings();
    return report;
}

std::string AsText(const SavedReport& report)
{
    return "Saved " + std::to_string(report.points) + " " + report.what + (report.points == 1 ? "" : "s") + " from " +
           JsonQuoted(DisplayText(report.input.path)) + " into " + JsonQuoted(DisplayText(report.output)) + ".\n";
}

std::string AsJson(const SavedReport& report)
{
    std::string out;
    CJsonWriter json(out);
    json.BeginObject();
    WriteInputSource(json, report.input);
    if (report.windows)
        WriteWindowSource(json, *report.windows);
    if (report.windowsXMin)
        json.Field("x_min", *report.windowsXMin);
    if (report.range) {
        json.Field("from", report.range->from);
        json.Field("to", report.range->to);
        json.Field("x_min", report.range->xMin);
        json.Field("x_max", report.range->xMax);
    }
    json.FileNameField("output", report.output);
    json.IntegerField("points", report.points);
    if (report.d)
        json.IntegerField("D", *report.d);
    if (report.m)
        json.IntegerField("M", *report.m);
    if (report.h)
        json.Field("H", *report.h);
    WriteWarnings(json, report.warnings);
    json.EndObject();
    json.Finish();
    return out;
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
    if (!SaveNewDocument(ui, target, output, [&](CKestrinDoc& doc) { BuildHDataDocument(source, xMin, doc); }))
        return kExitFailure;

    SavedReport report = MakeReport(input, output, target, "H value", ui);
    report.windows = WindowSourceOf(source, windows);
    report.windowsXMin = xMin;
    report.d = target.m_nD;
    report.m = target.m_nM;
    return EmitUnlessOutputIsStandard(output, parsed.Has("--json") ? AsJson(report) : AsText(report));
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
        throw UsageError(*refusal + " (" + RangeText(parsed, extents) + ")");
    CKestrinDoc target(ui);
    if (!SaveNewDocument(ui, target, output, [&](CKestrinDoc& doc) { BuildExtractedDocument(source, first, last, doc); }))
        return kExitFailure;

    SavedReport report = MakeReport(input, output, target, "point", ui);
    report.range = SavedReport::Range{first, last, extents.m_dXMin, extents.m_dXMax};
    return EmitUnlessOutputIsStandard(output, parsed.Has("--json") ? AsJson(report) : AsText(report));
}

int RunProfile(std::span<const std::string> args)
{
    const ParsedArgs parsed = ParseArgs(args, kProfileOptions);
    if (parsed.help)
        return ShowCommandHelp("profile");
    const AnalysisInput input = ReadAnalysisInput(parsed);
    const std::string output = *ReadOutputOption(parsed, input, true);

    CCliUi ui("profile");
    CKestrinDoc source(ui);
    if (!LoadAnalysisInput(ui, source, input))
        return kExitFailure;
    if (const auto refusal = CheckProfile(source)) {
        ui.Fail("cannot make the profile: " + *refusal + "; nothing written");
        return kExitFailure;
    }
    CKestrinDoc target(ui);
    if (!SaveNewDocument(ui, target, output, [&](CKestrinDoc& doc) { BuildProfileDocument(source, doc); }))
        return kExitFailure;

    SavedReport report = MakeReport(input, output, target, "point", ui);
    report.h = target.m_globalSet.GetH();
    return EmitUnlessOutputIsStandard(output, parsed.Has("--json") ? AsJson(report) : AsText(report));
}
