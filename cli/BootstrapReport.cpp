#include "cli/BootstrapReport.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "analysis/BootstrapText.h"
#include "analysis/BootstrapLimits.h"
#include "cli/CliUi.h"
#include "core/HDataSet.h"
#include "cli/JsonWriter.h"
#include "document/KestrinDoc.h"
#include "cli/TextOutput.h"

namespace {

ESeriesInput ParseInput(const std::string& text)
{
    if (text == "noise")
        return ESeriesInput::Noise;
    if (text == "motion")
        return ESeriesInput::Motion;
    if (text == "auto")
        return ESeriesInput::Auto;
    throw UsageError("--input must be noise, motion or auto, not \"" + text + "\"");
}

void OptionalField(CJsonWriter& json, const char* name, const std::optional<double>& value)
{
    json.Key(name);
    if (value)
        json.Number(*value);
    else
        json.Null();
}

void WriteModelCheck(CJsonWriter& json, const CModelCheck& check)
{
    json.Key("model_check");
    json.BeginObject();
    json.Field("statistic", check.statistic);
    json.Field("threshold", check.threshold);
    json.Field("p_value", check.pValue);
    json.BooleanField("passed", check.passed);
    json.Key("settings");
    json.BeginArray();
    for (int s = 0; s < kModelCheckSettingCount; ++s) {
        json.BeginObject(true);
        json.IntegerField("D", check.settings[s].nD);
        json.IntegerField("M", check.settings[s].nM);
        json.Field("H_corrected", check.corrected[s]);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

// Every h the search tried with the replicates' quantiles there, for a
// reviewer to redo the interval: "grid_quantiles" names the quantiles, each
// "grid" row gives h and its estimates at them.
void WriteGrid(CJsonWriter& json, const CBootstrapResult& result)
{
    const double tail = 0.5 * (1.0 - result.level);
    json.Key("grid_quantiles");
    json.BeginArray(true);
    for (const double q : {tail, 0.5, 1.0 - tail})
        json.Number(q);
    json.EndArray();
    json.Key("grid");
    json.BeginArray();
    for (const CBootstrapGridPoint& point : result.grid) {
        json.BeginObject(true);
        json.Field("h", point.h);
        json.Key("quantiles");
        json.BeginArray(true);
        for (const double q : point.quantiles)
            json.Number(q);
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
}

} // namespace

BootstrapOptions ReadBootstrapOptions(const ParsedArgs& parsed)
{
    BootstrapOptions options;
    options.run = parsed.Has("--bootstrap");
    for (const char* name : {"--replicates", "--seed"})
        if (parsed.Has(name) && !options.run)
            throw UsageError(std::string(name) + " is taken only with --bootstrap");
    // The methods decide noise or motion without a bootstrap too.
    if (parsed.Has("--input") && !options.run && !parsed.Has("--method"))
        throw UsageError("--input is taken only with --bootstrap or --method");
    if (parsed.Has("--replicates"))
        options.replicates = static_cast<int>(
            ParseWholeNumber(parsed.Values("--replicates")[0], "--replicates", 1, kMaxBootstrapReplicates));
    if (parsed.Has("--seed"))
        options.seed = static_cast<std::uint64_t>(ParseWholeNumber(parsed.Values("--seed")[0], "--seed", 0,
                                                                   std::numeric_limits<std::int64_t>::max()));
    if (parsed.Has("--input"))
        options.input = ParseInput(parsed.Values("--input")[0]);
    return options;
}

BootstrapOptions BootstrapOptionsFor(BootstrapOptions options, bool isDocument, const CKestrinDoc& doc)
{
    options.isProfile = isDocument && doc.IsProfile();
    return options;
}

CSeriesBootstrapOptions SeriesOptionsOf(const BootstrapOptions& options)
{
    CSeriesBootstrapOptions asked;
    asked.replicates = options.replicates;
    asked.seed = options.seed;
    asked.input = options.input;
    asked.isProfile = options.isProfile;
    return asked;
}

void WarnOfLeftOutInterval(CCliUi& ui, const std::optional<std::string>& reason)
{
    if (!reason)
        return;
    const std::string text = "bootstrap: " + *reason;
    const auto& said = ui.Warnings();
    if (std::find(said.begin(), said.end(), text) == said.end())
        ui.Warn(text);
}

CBootstrapResult BootstrapOf(CCliUi& ui, const CHDataSet& set, const BootstrapOptions& options)
{
    const CBootstrapRequest request = SeriesBootstrapRequest(set, SeriesOptionsOf(options));
    if (const auto refusal = CheckBootstrapRequest(request))
        throw std::runtime_error("--bootstrap: " + *refusal);
    CBootstrapResult result = RunBootstrap(request);
    WarnOfLeftOutInterval(ui, LeaveOutUngivenInterval(request, result));
    return result;
}

void WarnSeriesKind(CCliUi& ui, const CBootstrapResult& result, const std::string& about)
{
    if (!result.decision)
        return;
    if (const auto warning = SeriesKindWarning(*result.decision, "--input noise|motion"))
        ui.Warn(about + *warning);
}

std::optional<bool> DiffersFromPrevious(const std::vector<CBootstrapResult>& results, std::size_t i)
{
    if (i == 0 || i >= results.size())
        return std::nullopt;
    const auto overlap = BootstrapIntervalsOverlap({&results[i - 1], &results[i]});
    return overlap ? std::optional(!*overlap) : std::nullopt;
}

std::string BootstrapText(const CBootstrapResult& result)
{
    return BootstrapSummaryText(result) + " (" + std::to_string(result.replicates) + " replicates, seed " +
           std::to_string(result.seed) + ")";
}

void AppendBootstrapField(std::string& out, const CBootstrapResult& result, const std::string& suffix)
{
    AppendField(out, "bootstrap" + suffix, BootstrapText(result));
    std::string model = BootstrapModelText(result);
    if (result.decision)
        model += " (the series: " + SeriesKindLabel(*result.decision) + ")";
    AppendField(out, "model" + suffix, model);
    if (const std::string precision = BootstrapPrecisionText(result); !precision.empty())
        AppendField(out, "precision" + suffix, precision);
    if (result.check)
        AppendField(out, "check" + suffix, ModelCheckText(*result.check));
    for (const std::string& note : BootstrapNotes(result))
        AppendField(out, "note" + suffix, note);
}

void WriteBootstrap(CJsonWriter& json, const CBootstrapResult& result)
{
    json.Key("bootstrap");
    json.BeginObject();
    json.IntegerField("replicates", result.replicates);
    json.IntegerField("seed", static_cast<std::int64_t>(result.seed));
    json.Field("level", result.level);
    OptionalField(json, "H_corrected", result.corrected);
    OptionalField(json, "low", result.low);
    OptionalField(json, "high", result.high);
    json.StringField("model", BootstrapModelName(result.model));
    if (result.decision) {
        json.StringField("input", SeriesInputWord(result.decision->input));
        json.StringField("series_kind", SeriesKindWord(result.decision->measured));
        json.Field("alpha", result.decision->alpha);
        json.StringField("series_label", SeriesKindLabel(*result.decision));
    }
    if (result.corrected) {
        json.StringField("H_corrected_bound", BoundWord(result.correctedBound));
        json.StringField("low_bound", BoundWord(result.lowBound));
        json.StringField("high_bound", BoundWord(result.highBound));
        json.Key("mc_error");
        json.BeginObject(true);
        json.Field("H_corrected", result.correctedError);
        json.Field("low", result.lowError);
        json.Field("high", result.highError);
        json.EndObject();
        json.BooleanField("use_more_replicates", result.NeedsMoreReplicates());
    }
    if (result.check)
        WriteModelCheck(json, *result.check);
    WriteGrid(json, result);
    json.Key("notes");
    json.BeginArray();
    for (const std::string& note : BootstrapNotes(result))
        json.String(note);
    json.EndArray();
    json.EndObject();
}
