// kestrin-cli estimate: the global H estimate of a series (a text file, a
// database table or a Kestrin document).
#include <optional>

#include "cli/AnalysisInput.h"
#include "cli/BatchCommand.h"
#include "cli/BootstrapReport.h"
#include "cli/CliUi.h"
#include "cli/Commands.h"
#include "cli/EdgeWarnings.h"
#include "cli/EstimatorReport.h"
#include "cli/JsonWriter.h"
#include "document/KestrinDoc.h"
#include "cli/MethodReport.h"
#include "cli/SeriesImport.h"
#include "platform/TextEncoding.h"
#include "cli/TextOutput.h"

namespace {

constexpr OptionDef kEstimateOptions[] = {kDOption,      kMOption, kRMinOption,      kFilterOption,    kDbOption,
                                   kTableOption,  kXFieldOption, kYFieldOption,    kJsonOption,
                                   kBootstrapOption, kReplicatesOption, kSeedOption, kInputOption,
                                   kMethodOption};

// What estimate reports: where the series came from, the global
// estimator, its bootstrap when asked for, and the warnings.
struct EstimateReport
{
    std::string path;
    SeriesOptions options;
    EstimatorFigures estimator;
    std::optional<CBootstrapResult> bootstrap;
    // The methods' estimates, with --method.
    std::optional<CMethodComparison> methods;
    std::vector<std::string> warnings;
};

std::string AsText(const EstimateReport& report)
{
    std::string out;
    AppendEstimatorFields(out, report.estimator);
    if (report.bootstrap)
        AppendBootstrapField(out, *report.bootstrap);
    if (report.methods)
        AppendMethodLines(out, *report.methods);
    out += '\n';
    AppendLagTable(out, report.estimator.lags);
    return out;
}

std::string AsJson(const EstimateReport& report)
{
    std::string out;
    CJsonWriter json(out);
    json.BeginObject();
    WriteVersion(json);
    WriteSeriesSource(json, report.path, report.options);
    WriteEstimatorFields(json, report.estimator);
    WriteFitDetails(json, report.estimator);
    if (report.bootstrap)
        WriteBootstrap(json, *report.bootstrap);
    if (report.methods)
        WriteMethods(json, *report.methods);
    WriteLagTable(json, report.estimator.lags);
    WriteWarnings(json, report.warnings);
    json.EndObject();
    json.Finish();
    return out;
}

} // namespace

int RunEstimate(std::span<const std::string> args)
{
    if (const std::optional<int> batch = RunBatchIfAsked("estimate", args, kEstimateOptions))
        return *batch;
    const ParsedArgs parsed = ParseArgs(args, kEstimateOptions);
    if (parsed.help)
        return ShowCommandHelp("estimate");
    const SeriesOptions options = ReadSeriesOptions(parsed);
    const std::string& path = SeriesInput(parsed, options);
    BootstrapOptions bootstrapOptions = ReadBootstrapOptions(parsed);
    const std::vector<EHMethod> methods = ReadMethods(parsed);
    const bool isDocument = IsDocumentInput(path, options);

    CCliUi ui("estimate");
    CKestrinDoc doc(ui);
    if (!LoadSeriesOrDocument(ui, doc, path, options))
        return kExitFailure;
    if (isDocument)
        WarnIfConstant(ui, doc.m_points, "the series");
    bootstrapOptions = BootstrapOptionsFor(bootstrapOptions, isDocument, doc);
    const CHDataSet& set = doc.m_globalSet;
    WarnIfTooShortForLags(ui, set, "the series");
    std::optional<CMethodComparison> comparison;
    if (!methods.empty())
        comparison = MethodsOf(set, methods, bootstrapOptions);
    std::optional<CBootstrapResult> bootstrap;
    if (bootstrapOptions.run) {
        bootstrap = CurveBootstrapOf(ui, comparison, set, bootstrapOptions);
        WarnSeriesKind(ui, *bootstrap);
    }
    WarnOfHReading(ui, set, bootstrap ? &*bootstrap : nullptr);
    const EstimateReport report{path, options, FiguresOf(set), bootstrap, comparison, ui.Warnings()};
    return EmitOutput(parsed.Has("--json") ? AsJson(report) : AsText(report));
}
