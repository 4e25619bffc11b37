// kestrin-cli correlate: the correlation of the sliding-window H with the
// slope windows at an offset, and the pairs behind it.

#include "cli/AnalysisInput.h"
#include "cli/CliUi.h"
#include "cli/Commands.h"
#include "cli/JsonWriter.h"
#include "document/KestrinDoc.h"
#include "analysis/MatchPairs.h"
#include "core/Regression.h"
#include "analysis/ResultExport.h"
#include "analysis/SlopeWindows.h"
#include "platform/TextEncoding.h"
#include "cli/TextOutput.h"
#include "cli/WindowOptions.h"

namespace {

// The offsets the correlation dialog's spin control steps through.
constexpr std::int64_t kMaxOffset = 5000;

constexpr OptionDef kCorrelateOptions[] = {kSizeOption,     {"--offset", "", 1, "K"}, kWidthOption,    kSpacingOption,
                                   kWindowDOption,  kWindowMOption, kWindowRMinOption,          kWindowBestMOption, kPlotPointOption,
                                   kOutputFileOption, kFilterOption,         kDbOption,       kTableOption,
                                   kXFieldOption,   kYFieldOption,           kJsonOption};

struct Correlation
{
    std::int32_t size;
    std::int32_t offset;
    double origin;
    CHPointArray pairs;
    double correlation;
};

// What correlate reports: the input, how the sliding-window results were
// obtained, the slope windows, the offset and origin of the pairing, the
// correlation and the number of pairs (and the file they were saved to),
// and the warnings.
struct CorrelateReport
{
    AnalysisInput input;
    WindowSource windows;
    std::int32_t size = 0;
    int slopeCount = 0;
    std::int32_t offset = 0;
    double origin = 0.0;
    double correlation = 0.0;
    int matches = 0;
    std::optional<std::string> output; // as given (its bytes)
    std::vector<std::string> warnings;
};

std::string AsText(const CorrelateReport& report)
{
    std::string out;
    AppendField(out, "windows", WindowSourceText(report.windows));
    AppendField(out, "slopes", std::to_string(report.slopeCount) + " (size " + std::to_string(report.size) + ")");
    AppendField(out, "offset", std::to_string(report.offset));
    AppendField(out, "correlation", Decimal(report.correlation));
    AppendField(out, "matches", std::to_string(report.matches));
    if (report.output)
        out += "Saved " + std::to_string(report.matches) + (report.matches == 1 ? " pair" : " pairs") + " to " +
               JsonQuoted(DisplayText(*report.output)) + ".\n";
    return out;
}

std::string AsJson(const CorrelateReport& report)
{
    std::string out;
    CJsonWriter json(out);
    json.BeginObject();
    WriteInputSource(json, report.input);
    WriteWindowSource(json, report.windows);
    json.IntegerField("size", report.size);
    json.IntegerField("slope_count", report.slopeCount);
    json.IntegerField("offset", report.offset);
    json.Field("origin", report.origin);
    json.Field("correlation", report.correlation);
    json.IntegerField("matches", report.matches);
    if (report.output)
        json.FileNameField("output", *report.output);
    WriteWarnings(json, report.warnings);
    json.EndObject();
    json.Finish();
    return out;
}

} // namespace

int RunCorrelate(std::span<const std::string> args)
{
    const ParsedArgs parsed = ParseArgs(args, kCorrelateOptions);
    if (parsed.help)
        return ShowCommandHelp("correlate");
    const AnalysisInput input = ReadAnalysisInput(parsed);
    const WindowOptions windows = ReadWindowOptions(parsed, input.isDocument);
    Correlation c{};
    c.size = ReadSlopeWindowSize(parsed);
    if (parsed.Has("--offset"))
        c.offset = static_cast<std::int32_t>(ParseWholeNumber(parsed.Values("--offset")[0], "--offset", 0, kMaxOffset));
    const std::optional<std::string> output = ReadOutputOption(parsed, input, false);

    CCliUi ui("correlate");
    CKestrinDoc doc(ui);
    if (!LoadAnalysisInput(ui, doc, input))
        return kExitFailure;
    ObtainSlidingResults(ui, doc, windows);
    CalculateSlopeWindows(doc, c.size);
    if (doc.m_windows.IsEmpty())
        ui.Warn("there are no sliding-window results to pair");
    if (doc.m_slopes.IsEmpty())
        ui.Warn("there are no slope-window results to pair (the series has " + std::to_string(doc.m_points.GetSize()) +
                " points, the size is " + std::to_string(c.size) + ")");

    c.origin = doc.GetPlotExtents().m_dXMin;
    c.pairs = MatchPairs(doc.m_windows, doc.m_slopes, c.origin, c.offset);
    c.correlation = PearsonCorrelation(c.pairs);
    if (output) {
        const std::size_t told = ui.messages.size();
        if (!SaveCorrelationPairs(ui, c.pairs, *output)) {
            if (ui.messages.size() == told)
                ui.Fail("cannot write \"" + DisplayText(*output) + "\"");
            return kExitFailure;
        }
    }
    const CorrelateReport report{input,
                                 WindowSourceOf(doc, windows),
                                 c.size,
                                 doc.m_slopes.GetSize(),
                                 c.offset,
                                 c.origin,
                                 c.correlation,
                                 c.pairs.GetSize(),
                                 output,
                                 ui.Warnings()};
    return EmitUnlessOutputIsStandard(output.value_or(""), parsed.Has("--json") ? AsJson(report) : AsText(report));
}
