// kestrin-cli correlate: the correlation of the sliding-window H with the
// slope windows at an offset, and the pairs behind it.

#include "AnalysisInput.h"
#include "CliUi.h"
#include "Commands.h"
#include "JsonWriter.h"
#include "KestrinDoc.h"
#include "MatchPairs.h"
#include "Regression.h"
#include "ResultExport.h"
#include "SlopeWindows.h"
#include "TextEncoding.h"
#include "TextOutput.h"
#include "WindowOptions.h"

namespace {

// The offsets the correlation dialog's spin control steps through.
constexpr std::int64_t kMaxOffset = 5000;

constexpr OptionDef kCorrelateOptions[] = {kSizeOption,     {"--offset", "", 1, "K"}, kWidthOption,    kSpacingOption,
                                   kWindowDOption,  kWindowMOption,          kWindowBestMOption, kPlotPointOption,
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

std::string AsText(const CKestrinDoc& doc, const WindowOptions& windows, const Correlation& c,
                   const std::optional<std::string>& output)
{
    std::string out;
    AppendField(out, "windows", WindowSourceText(doc, windows));
    AppendField(out, "slopes", std::to_string(doc.m_slopes.GetSize()) + " (size " + std::to_string(c.size) + ")");
    AppendField(out, "offset", std::to_string(c.offset));
    AppendField(out, "correlation", Decimal(c.correlation));
    AppendField(out, "matches", std::to_string(c.pairs.GetSize()));
    if (output)
        out += "Saved " + std::to_string(c.pairs.GetSize()) + (c.pairs.GetSize() == 1 ? " pair" : " pairs") +
               " to " + JsonQuoted(DisplayText(*output)) + ".\n";
    return out;
}

std::string AsJson(const AnalysisInput& input, const CKestrinDoc& doc, const WindowOptions& windows,
                   const Correlation& c, const std::optional<std::string>& output, const CCliUi& ui)
{
    std::string out;
    CJsonWriter json(out);
    json.BeginObject();
    WriteInputSource(json, input);
    WriteWindowSource(json, doc, windows);
    json.IntegerField("size", c.size);
    json.IntegerField("slope_count", doc.m_slopes.GetSize());
    json.IntegerField("offset", c.offset);
    json.Field("origin", c.origin);
    json.Field("correlation", c.correlation);
    json.IntegerField("matches", c.pairs.GetSize());
    if (output)
        json.FileNameField("output", *output);
    WriteWarnings(json, ui);
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
    return EmitUnlessOutputIsStandard(output.value_or(""), parsed.Has("--json") ? AsJson(input, doc, windows, c, output, ui)
                                           : AsText(doc, windows, c, output));
}
