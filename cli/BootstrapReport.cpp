#include "BootstrapReport.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "BootstrapLimits.h"
#include "CliUi.h"
#include "HDataSet.h"
#include "JsonWriter.h"
#include "TextOutput.h"

BootstrapOptions ReadBootstrapOptions(const ParsedArgs& parsed)
{
    BootstrapOptions options;
    options.run = parsed.Has("--bootstrap");
    for (const char* name : {"--replicates", "--seed"})
        if (parsed.Has(name) && !options.run)
            throw UsageError(std::string(name) + " is taken only with --bootstrap");
    if (parsed.Has("--replicates"))
        options.replicates = static_cast<int>(
            ParseWholeNumber(parsed.Values("--replicates")[0], "--replicates", 1, kMaxBootstrapReplicates));
    if (parsed.Has("--seed"))
        options.seed = static_cast<std::uint64_t>(ParseWholeNumber(parsed.Values("--seed")[0], "--seed", 0,
                                                                   std::numeric_limits<std::int64_t>::max()));
    return options;
}

CBootstrapResult BootstrapOf(CCliUi& ui, const CHDataSet& set, const BootstrapOptions& options)
{
    CBootstrapRequest request = BootstrapRequestFor(set);
    request.replicates = options.replicates;
    request.seed = options.seed;
    if (const auto refusal = CheckBootstrapRequest(request))
        throw std::runtime_error("--bootstrap: " + *refusal);
    CBootstrapResult result = RunBootstrap(request);
    if (const auto noInterval = CheckBootstrapInterval(request)) {
        result.low.reset();
        result.high.reset();
        const std::string text = "bootstrap: " + *noInterval;
        const auto& said = ui.Warnings();
        if (std::find(said.begin(), said.end(), text) == said.end())
            ui.Warn(text);
    }
    return result;
}

namespace {

std::string Percent(double level)
{
    std::string text = Exact(level * 100.0);
    return text + " %";
}

std::string OrNone(const std::optional<double>& value)
{
    return value ? Decimal(*value) : std::string("none");
}

void OptionalField(CJsonWriter& json, const char* name, const std::optional<double>& value)
{
    json.Key(name);
    if (value)
        json.Number(*value);
    else
        json.Null();
}

} // namespace

std::string BootstrapText(const CBootstrapResult& result)
{
    std::string text = "H corrected ";
    if (result.corrected && !result.low && !result.high)
        text += Decimal(*result.corrected) + ", no " + Percent(result.level) + " interval";
    else if (result.corrected)
        text += Decimal(*result.corrected) + ", " + Percent(result.level) + " interval " + OrNone(result.low) +
                " to " + OrNone(result.high);
    else
        text = "the observed H " + Decimal(result.observedH) + " cannot be reached by any H in (0, 1)";
    return text + " (" + std::to_string(result.replicates) + " replicates, seed " + std::to_string(result.seed) +
           ")";
}

void AppendBootstrapField(std::string& out, const CBootstrapResult& result)
{
    AppendField(out, "bootstrap", BootstrapText(result));
}

void WriteBootstrap(CJsonWriter& json, const CBootstrapResult& result)
{
    json.Key("bootstrap");
    json.BeginObject(true);
    json.IntegerField("replicates", result.replicates);
    json.IntegerField("seed", static_cast<std::int64_t>(result.seed));
    json.Field("level", result.level);
    OptionalField(json, "H_corrected", result.corrected);
    OptionalField(json, "low", result.low);
    OptionalField(json, "high", result.high);
    json.EndObject();
}
