// kestrin-cli tabs: H estimates of the intervals between tab positions.
#include <algorithm>

#include "CliUi.h"
#include "Commands.h"
#include "EstimatorReport.h"
#include "JsonWriter.h"
#include "KestrinDoc.h"
#include "SeriesImport.h"
#include "TextEncoding.h"
#include "TextOutput.h"

namespace {

constexpr OptionDef kOptions[] = {{"--at", "", 1, "T1,T2,..."}, kDOption, kMOption, kFilterOption, kDbOption,
                                   kTableOption, kXFieldOption, kYFieldOption, kJsonOption};

std::string AsText(const CKestrinDoc& doc, const std::vector<std::int32_t>& tabs)
{
    std::string out;
    AppendField(out, "D", std::to_string(doc.m_nD));
    AppendField(out, "M", std::to_string(doc.m_nM));
    out += '\n';
    if (doc.m_tabSets.empty()) {
        out += tabs.empty() ? "No intervals: no tab positions were given (--at).\n"
                            : "No intervals: the series is empty.\n";
        return out;
    }
    CTextTable table({"label", "n", "H", "b", "r"});
    for (const auto& set : doc.m_tabSets)
        table.AddRow({DisplayText(set->m_strLabel), std::to_string(set->GetCount()), Decimal(set->GetH()),
                      Decimal(set->GetB()), Decimal(set->GetR())});
    table.AppendTo(out);
    return out;
}

std::string AsJson(const std::string& path, const SeriesOptions& options, const CKestrinDoc& doc,
                   const std::vector<std::int32_t>& tabs, const CCliUi& ui)
{
    std::string out;
    CJsonWriter json(out);
    json.BeginObject();
    WriteSeriesSource(json, path, options);
    json.IntegerField("D", doc.m_nD);
    json.IntegerField("M", doc.m_nM);
    json.Key("tabs");
    json.BeginArray(true);
    for (const std::int32_t t : tabs)
        json.Integer(t);
    json.EndArray();
    json.Key("intervals");
    json.BeginArray();
    for (const auto& set : doc.m_tabSets) {
        json.BeginObject(true);
        json.StringField("label", DisplayText(set->m_strLabel));
        json.IntegerField("n", set->GetCount());
        WriteFitFields(json, *set);
        json.EndObject();
    }
    json.EndArray();
    WriteWarnings(json, ui);
    json.EndObject();
    json.Finish();
    return out;
}

} // namespace

int RunTabs(std::span<const std::string> args)
{
    const ParsedArgs parsed = ParseArgs(args, kOptions);
    if (parsed.help)
        return ShowCommandHelp("tabs");
    const SeriesOptions options = ReadSeriesOptions(parsed);
    const std::string& path = SeriesInput(parsed, options);
    std::vector<std::int32_t> tabs;
    if (parsed.Has("--at"))
        tabs = ParseWholeNumberList(parsed.Values("--at")[0], "--at");
    // The ruler keeps its tabs in ascending order.
    std::sort(tabs.begin(), tabs.end());

    CCliUi ui("tabs");
    CKestrinDoc doc(ui);
    if (!ImportSeries(ui, doc, path, options))
        return kExitFailure;
    doc.CalculateTabH(tabs);
    const auto shortOnes = std::count_if(doc.m_tabSets.begin(), doc.m_tabSets.end(), [&](const auto& set) {
        return TooFewForLags(set->GetCount(), doc.m_nD, doc.m_nM);
    });
    if (shortOnes > 0)
        ui.Warn(std::to_string(shortOnes) + " of " + std::to_string(doc.m_tabSets.size()) +
                " intervals hold fewer than D + M = " + std::to_string(doc.m_nD + doc.m_nM) +
                " values; L(r) is 0 for their longest lags");
    return EmitOutput(parsed.Has("--json") ? AsJson(path, options, doc, tabs, ui) : AsText(doc, tabs));
}
