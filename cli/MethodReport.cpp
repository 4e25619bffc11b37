#include "cli/MethodReport.h"

#include <cmath>
#include <stdexcept>

#include "analysis/BootstrapText.h"
#include "cli/JsonWriter.h"
#include "cli/TextOutput.h"

std::vector<EHMethod> ReadMethods(const ParsedArgs& parsed)
{
    if (!parsed.Has("--method"))
        return {};
    const std::string& word = parsed.Values("--method")[0];
    if (word == "all")
        return {std::begin(kAllHMethods), std::end(kAllHMethods)};
    if (const auto method = HMethodOfWord(word))
        return {*method};
    throw UsageError("--method must be curve, dfa, whittle or all, not \"" + word + "\"");
}

CMethodComparison MethodsOf(const CHDataSet& set, const std::vector<EHMethod>& methods,
                            const BootstrapOptions& options)
{
    if (!options.run)
        return CompareMethods(set, methods, options.input, options.isProfile);
    const CSeriesBootstrapOptions asked = SeriesOptionsOf(options);
    return CompareMethods(set, methods, options.input, options.isProfile, &asked);
}

const CBootstrapResult* CurveBootstrapIn(const CMethodComparison* comparison)
{
    if (comparison)
        for (const CMethodRow& row : comparison->rows)
            if (row.estimate.method == EHMethod::Curve && row.bootstrap)
                return &*row.bootstrap;
    return nullptr;
}

CBootstrapResult TakeBootstrapRow(CCliUi& ui, const CIntervalBootstrapRow& row)
{
    if (row.refusal)
        throw std::runtime_error("--bootstrap: " + *row.refusal);
    WarnOfLeftOutInterval(ui, row.leftOut);
    return row.result;
}

CBootstrapResult CurveBootstrapOf(CCliUi& ui, const std::optional<CMethodComparison>& comparison,
                                  const CHDataSet& set, const BootstrapOptions& options)
{
    const CIntervalEstimate estimate{.set = &set, .span = {}, .given = CurveBootstrapIn(comparison ? &*comparison : nullptr)};
    return TakeBootstrapRow(ui, BootstrapIntervals({estimate}, SeriesOptionsOf(options)).front());
}

namespace {

std::string MethodText(const CMethodEstimate& e)
{
    std::string text = std::string(HMethodWord(e.method)) + "  H " + Decimal(e.h);
    if (e.method == EHMethod::Dfa)
        text += " (\xCE\xB1 " + Decimal(e.alpha) + ", " + std::to_string(e.scales) + " scales)";
    if (e.method == EHMethod::Whittle)
        text += ", standard error " + Decimal(e.standardError);
    return text;
}

} // namespace

void AppendMethodLines(std::string& out, const CMethodComparison& comparison, const std::string& suffix)
{
    AppendField(out, "series" + suffix, SeriesKindLabel(comparison.decision));
    for (const CMethodRow& row : comparison.rows) {
        std::string text = MethodText(row.estimate);
        if (row.bootstrap)
            text += "; " + BootstrapSummaryText(*row.bootstrap);
        AppendField(out, "method" + suffix, text);
    }
    if (const auto overlap = IntervalsOverlap(comparison)) {
        std::string text = *overlap ? "the intervals overlap" : "the intervals do not overlap: the methods disagree";
        std::string without;
        for (const CMethodRow& row : comparison.rows)
            if (row.bootstrap && (!row.bootstrap->low || !row.bootstrap->high))
                without += (without.empty() ? "" : ", ") + std::string(HMethodWord(row.estimate.method));
        if (!without.empty())
            text += "; not compared, without an interval: " + without;
        AppendField(out, "methods" + suffix, text);
    }
}

void WriteMethods(CJsonWriter& json, const CMethodComparison& comparison)
{
    json.StringField("methods_series", SeriesKindLabel(comparison.decision));
    json.Key("methods");
    json.BeginArray();
    for (const CMethodRow& row : comparison.rows) {
        const CMethodEstimate& e = row.estimate;
        json.BeginObject(true);
        json.StringField("method", HMethodWord(e.method));
        json.Field("H", e.h);
        if (e.method == EHMethod::Whittle) {
            json.Field("standard_error", e.standardError);
            json.IntegerField("frequencies", e.scales);
        }
        if (e.method == EHMethod::Dfa) {
            json.Field("alpha", e.alpha);
            json.IntegerField("scales", e.scales);
        }
        if (row.bootstrap) {
            const CBootstrapResult& b = *row.bootstrap;
            const auto optional = [&](const char* name, const std::optional<double>& value) {
                json.Key(name);
                if (value)
                    json.Number(*value);
                else
                    json.Null();
            };
            optional("H_corrected", b.corrected);
            optional("low", b.low);
            optional("high", b.high);
        }
        json.EndObject();
    }
    json.EndArray();
    if (const auto overlap = IntervalsOverlap(comparison))
        json.BooleanField("intervals_overlap", *overlap);
}
