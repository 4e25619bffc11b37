// kestrin-cli meta-h: the H of the sliding-window H curve.

#include "AnalysisInput.h"
#include "CliUi.h"
#include "Commands.h"
#include "EdgeWarnings.h"
#include "EstimatorReport.h"
#include "HDataSet.h"
#include "JsonWriter.h"
#include "KestrinDoc.h"
#include "MetaH.h"
#include "TextOutput.h"
#include "WindowOptions.h"

namespace {

constexpr OptionDef kBestMOption{"--best-m", "", 0};

constexpr OptionDef kMetaHOptions[] = {kDOption,       kMOption,       kBestMOption,      kWidthOption,
                                   kSpacingOption, kWindowDOption, kWindowMOption,    kWindowBestMOption,
                                   kPlotPointOption, kFilterOption, kDbOption,        kTableOption,
                                   kXFieldOption,  kYFieldOption,  kJsonOption};

// Meta H's own parameters; --D and --M here are not the series' global ones.
struct MetaHParams
{
    std::int32_t nD = 6;
    std::int32_t nM = 0;
    bool useBestM = true;
};

MetaHParams ReadMetaHParams(const ParsedArgs& parsed)
{
    MetaHParams params;
    if (parsed.Has("--M") && parsed.Has("--best-m"))
        throw UsageError("--M and --best-m exclude each other");
    if (parsed.Has("--D"))
        params.nD = static_cast<std::int32_t>(ParseWholeNumber(parsed.Values("--D")[0], "--D", kMinD, kMaxD));
    if (parsed.Has("--M")) {
        params.nM = static_cast<std::int32_t>(ParseWholeNumber(parsed.Values("--M")[0], "--M", kMinM, kMaxM));
        params.useBestM = false;
    }
    return params;
}

// The best M is the number of results; more than --M accepts would ask for
// lag tables no typed M may, so it is held to that limit, with a warning.
void LimitBestM(CCliUi& ui, int results, MetaHParams& params)
{
    if (!params.useBestM || results <= kMaxM)
        return;
    params.useBestM = false;
    params.nM = kMaxM;
    ui.Warn("M is held to " + std::to_string(kMaxM) + ", the largest --M takes; the best M would be the " +
            std::to_string(results) + " sliding-window results");
}

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
        ui.Fail(std::string("no sliding-window results to compute Meta H over (") +
                (windows.compute ? "the series is not longer than the window width"
                                 : "the document holds none; compute them with --width W --spacing S") +
                ")");
        return kExitFailure;
    }
    WarnIfConstant(ui, doc.m_windows, "the sliding-window H curve");
    const MetaHReport report{input, WindowSourceOf(doc, windows), FiguresOf(set), ui.Warnings()};
    return EmitOutput(parsed.Has("--json") ? AsJson(report) : AsText(report));
}
