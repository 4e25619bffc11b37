// kestrin-cli slopes: the least-squares slope of the series in windows
// sliding one point at a time.
#include "AnalysisInput.h"
#include "CliUi.h"
#include "Commands.h"
#include "JsonWriter.h"
#include "KestrinDoc.h"
#include "SlopeWindows.h"
#include "TextOutput.h"
#include "WindowOptions.h"

namespace {

constexpr OptionDef kSlopesOptions[] = {kSizeOption,  kFilterOption, kDbOption, kTableOption, kXFieldOption,
                                   kYFieldOption, kJsonOption};

std::string AsText(const CKestrinDoc& doc, std::int32_t size, double xMin)
{
    if (doc.m_slopes.IsEmpty())
        return "No slope-window results: a window of " + std::to_string(size) + " points needs more than " +
               std::to_string(size) + " points; the series has " + std::to_string(doc.m_points.GetSize()) + ".\n";
    std::string out;
    CTextTable table({"X", "offset", "slope"});
    for (const CHPoint& s : doc.m_slopes)
        table.AddRow({Exact(s.m_dX + xMin), Exact(s.m_dX), Decimal(s.m_dY)});
    table.AppendTo(out);
    return out;
}

std::string AsJson(const AnalysisInput& input, const CKestrinDoc& doc, std::int32_t size, double xMin,
                   const CCliUi& ui)
{
    std::string out;
    CJsonWriter json(out);
    json.BeginObject();
    WriteInputSource(json, input);
    json.IntegerField("size", size);
    json.Field("x_min", xMin);
    json.IntegerField("count", doc.m_slopes.GetSize());
    json.Key("results");
    json.BeginArray();
    for (const CHPoint& s : doc.m_slopes) {
        json.BeginObject(true);
        json.Field("X", s.m_dX + xMin);
        json.Field("offset", s.m_dX);
        json.Field("slope", s.m_dY);
        json.EndObject();
    }
    json.EndArray();
    WriteWarnings(json, ui);
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
    return EmitOutput(parsed.Has("--json") ? AsJson(input, doc, size, xMin, ui) : AsText(doc, size, xMin));
}
