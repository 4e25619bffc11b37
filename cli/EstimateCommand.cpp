// kestrin-cli estimate: the global H estimate of a text file's series.
#include <algorithm>
#include <cstdio>
#include <optional>

#include "BootstrapReport.h"
#include "Commands.h"
#include "EstimatorReport.h"
#include "HeadlessUi.h"
#include "JsonWriter.h"
#include "KestrinDoc.h"
#include "SeriesImport.h"
#include "TextEncoding.h"
#include "TextOutput.h"
#include "Usage.h"

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
                   const std::optional<CBootstrapResult>& bootstrap)
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

    CHeadlessUi ui(true);
    CKestrinDoc doc(ui);
    if (!ImportSeries(doc, path, options))
        return kExitFailure;
    const CHDataSet& set = doc.m_globalSet;
    if (set.GetCount() > 0 && TooFewForLags(set.GetCount(), set.GetD(), set.GetM()))
        std::fprintf(stderr,
                     "%s estimate: warning: the series (n = %d) is too short for D %d and M %d: "
                     "L(r) is 0 for every r > %d\n",
                     kProgramName, set.GetCount(), set.GetD(), set.GetM(), std::max(set.GetCount() - set.GetD(), 0));
    std::optional<CBootstrapResult> bootstrap;
    if (bootstrapOptions.run)
        bootstrap = BootstrapOf(set, bootstrapOptions);
    return EmitOutput(parsed.Has("--json") ? AsJson(path, options, set, bootstrap) : AsText(set, bootstrap));
}
