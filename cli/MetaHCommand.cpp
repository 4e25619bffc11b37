// kestrin-cli meta-h: the H of the sliding-window H curve.

#include "cli/AnalysisInput.h"
#include "cli/BatchCommand.h"
#include "cli/CliUi.h"
#include "cli/Commands.h"
#include "cli/EdgeWarnings.h"
#include "cli/EstimatorReport.h"
#include "core/HDataSet.h"
#include "cli/JsonWriter.h"
#include "document/KestrinDoc.h"
#include "cli/MetaHParams.h"
#include "analysis/MetaH.h"
#include "cli/TextOutput.h"
#include "cli/WindowOptions.h"

namespace {

constexpr OptionDef kMetaHOptions[] = {kDOption,       kMOption, kRMinOption,       kBestMOption,      kWidthOption,
                                   kSpacingOption, kWindowDOption, kWindowMOption, kWindowRMinOption,    kWindowBestMOption,
                                   kPlotPointOption, kFilterOption, kDbOption,        kTableOption,
                                   kXFieldOption,  kYFieldOption,  kJsonOption};

// What meta-h reports: the input, how the sliding-window results were
// obtained, Meta H's estimator and the warnings.
struct MetaHReport
{
    AnalysisInput input;
    WindowSource windows;
    EstimatorFigures metaH;
    std::vector<std::string> warnings;
};

std::string AsText(const MetaHReport& report)
{
    std::string out;
    AppendField(out, "windows", WindowSourceText(report.windows));
    AppendEstimatorFields(out, report.metaH);
    return out;
}

std::string AsJson(const MetaHReport& report)
{
    std::string out;
    CJsonWriter json(out);
    json.BeginObject();
    WriteInputSource(json, report.input);
    WriteWindowSource(json, report.windows);
    WriteEstimatorFields(json, report.metaH);
    WriteWarnings(json, report.warnings);
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
    if (const std::optional<std::string> refusal = CheckMetaHFirstLag(params, doc.m_windows.GetSize())) {
        ui.Fail(*refusal);
        return kExitFailure;
    }
    CHDataSet set;
    if (!ComputeMetaH(ui, doc.m_windows, {.nD = params.nD, .nM = params.nM, .nRMin = params.nRMin}, params.useBestM,
                      set)) {
        ui.Fail(NoMetaHResultsMessage(windows));
        return kExitFailure;
    }
    WarnIfConstant(ui, doc.m_windows, "the sliding-window H curve");
    WarnOfHReading(ui, set, nullptr, "Meta H: ");
    const MetaHReport report{input, WindowSourceOf(doc, windows), FiguresOf(set), ui.Warnings()};
    return EmitOutput(parsed.Has("--json") ? AsJson(report) : AsText(report));
}
