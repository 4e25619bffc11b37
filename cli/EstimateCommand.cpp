// kestrin-cli estimate: the global H estimate of a text file's series.
#include <optional>

#include "AnalysisInput.h"
#include "BootstrapReport.h"
#include "CliUi.h"
#include "Commands.h"
#include "EdgeWarnings.h"
#include "EstimatorReport.h"
#include "JsonWriter.h"
#include "KestrinDoc.h"
#include "SeriesImport.h"
#include "TextEncoding.h"
#include "TextOutput.h"

namespace {

constexpr OptionDef kEstimateOptions[] = {kDOption,      kMOption,      kFilterOption,    kDbOption,
                                   kTableOption,  kXFieldOption, kYFieldOption,    kJsonOption,
                                   kBootstrapOption, kReplicatesOption, kSeedOption};

std::string AsText(const CHDataSet& set, const std::optional<CBootstrapResult>& bootstrap)
{
    std::string out;
    AppendField(out, "n", std::to_string(set.GetCount()));
    AppendField(out, "D", std::to_string(set.GetD()));
    AppendField(out, "M", std::to_string(set.GetM()));
    AppendFitFields(out, set);
    if (bootstrap)
        AppendBootstrapField(out, *bootstrap);
    out += '\n';
    AppendLagTable(out, set);
    return out;
}

std::string AsJson(const std::string& path, const SeriesOptions& options, const CHDataSet& set,
                   const std::optional<CBootstrapResult>& bootstrap, const CCliUi& ui)
{
    std::string out;
    CJsonWriter json(out);
    json.BeginObject();
    WriteSeriesSource(json, path, options);
    json.IntegerField("n", set.GetCount());
    json.IntegerField("D", set.GetD());
    json.IntegerField("M", set.GetM());
    WriteFitFields(json, set);
    if (bootstrap)
        WriteBootstrap(json, *bootstrap);
    WriteLagTable(json, set);
    WriteWarnings(json, ui);
    json.EndObject();
    json.Finish();
    return out;
}

} // namespace

int RunEstimate(std::span<const std::string> args)
{
    const ParsedArgs parsed = ParseArgs(args, kEstimateOptions);
    if (parsed.help)
        return ShowCommandHelp("estimate");
    const SeriesOptions options = ReadSeriesOptions(parsed);
    const std::string& path = SeriesInput(parsed, options);
    const BootstrapOptions bootstrapOptions = ReadBootstrapOptions(parsed);

    CCliUi ui("estimate");
    CKestrinDoc doc(ui);
    if (!LoadSeriesOrDocument(ui, doc, path, options))
        return kExitFailure;
    const CHDataSet& set = doc.m_globalSet;
    WarnIfTooShortForLags(ui, set, "the series");
    std::optional<CBootstrapResult> bootstrap;
    if (bootstrapOptions.run)
        bootstrap = BootstrapOf(ui, set, bootstrapOptions);
    return EmitOutput(parsed.Has("--json") ? AsJson(path, options, set, bootstrap, ui) : AsText(set, bootstrap));
}
