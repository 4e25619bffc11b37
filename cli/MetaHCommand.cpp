// kestrin-cli meta-h: the H of the sliding-window H curve.

#include "AnalysisInput.h"
#include "BatchCommand.h"
#include "CliUi.h"
#include "Commands.h"
#include "EdgeWarnings.h"
#include "EstimatorReport.h"
#include "HDataSet.h"
#include "JsonWriter.h"
#include "KestrinDoc.h"
#include "MetaHParams.h"
#include "MetaH.h"
#include "TextOutput.h"
#include "WindowOptions.h"

namespace {

constexpr OptionDef kMetaHOptions[] = {kDOption,       kMOption,       kBestMOption,      kWidthOption,
                                   kSpacingOption, kWindowDOption, kWindowMOption,    kWindowBestMOption,
                                   kPlotPointOption, kFilterOption, kDbOption,        kTableOption,
                                   kXFieldOption,  kYFieldOption,  kJsonOption};

std::string AsText(const CKestrinDoc& doc, const WindowOptions& windows, const CHDataSet& set)
{
    std::string out;
    AppendField(out, "windows", WindowSourceText(doc, windows));
    AppendField(out, "n", std::to_string(set.GetCount()));
    AppendField(out, "D", std::to_string(set.GetD()));
    AppendField(out, "M", std::to_string(set.GetM()));
    AppendFitFields(out, set);
    return out;
}

std::string AsJson(const AnalysisInput& input, const CKestrinDoc& doc, const WindowOptions& windows,
                   const CHDataSet& set, const CCliUi& ui)
{
    std::string out;
    CJsonWriter json(out);
    json.BeginObject();
    WriteInputSource(json, input);
    WriteWindowSource(json, doc, windows);
    json.IntegerField("n", set.GetCount());
    json.IntegerField("D", set.GetD());
    json.IntegerField("M", set.GetM());
    WriteFitFields(json, set);
    WriteWarnings(json, ui);
    json.EndObject();
    json.Finish();
    return out;
}

} // namespace

int RunMetaH(std::span<const std::string> args)
{
    if (const std::optional<int> batch = RunBatchIfAsked("meta-h", args, kMetaHOptions))
        return *batch;
    const ParsedArgs parsed = ParseArgs(args, kMetaHOptions);
    if (parsed.help)
        return ShowCommandHelp("meta-h");
    const AnalysisInput input = ReadAnalysisInput(parsed);
    const WindowOptions windows = ReadWindowOptions(parsed, input.isDocument);
    MetaHParams params = ReadMetaHParams(parsed);

    CCliUi ui("meta-h");
    CKestrinDoc doc(ui);
    if (!LoadAnalysisInput(ui, doc, input))
        return kExitFailure;
    ObtainSlidingResults(ui, doc, windows);
    LimitBestM(ui, doc.m_windows.GetSize(), params);
    CHDataSet set;
    if (!ComputeMetaH(ui, doc.m_windows, params.nD, params.nM, params.useBestM, set)) {
        ui.Fail(NoMetaHResultsMessage(windows));
        return kExitFailure;
    }
    WarnIfConstant(ui, doc.m_windows, "the sliding-window H curve");
    return EmitOutput(parsed.Has("--json") ? AsJson(input, doc, windows, set, ui) : AsText(doc, windows, set));
}
