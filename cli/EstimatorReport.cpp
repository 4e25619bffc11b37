#include "EstimatorReport.h"

#include "BootstrapReport.h"
#include "HDataSet.h"
#include "JsonWriter.h"
#include "KestrinDoc.h"
#include "TextEncoding.h"
#include "TextOutput.h"

void AppendFitFields(std::string& out, const CHDataSet& set)
{
    AppendField(out, "H", Decimal(set.GetH()));
    AppendField(out, "b", Decimal(set.GetB()));
    AppendField(out, "r", Decimal(set.GetR()));
}

void WriteFitFields(CJsonWriter& json, const CHDataSet& set)
{
    json.Field("H", set.GetH());
    json.Field("b", set.GetB());
    json.Field("r", set.GetR());
}

void WriteWindowResultFields(CJsonWriter& json, const CHPoint& result)
{
    json.Field("H", result.m_dY);
    json.Field("r", result.m_dR);
    json.Field("b", result.m_dB);
    json.IntegerField("n", result.m_nCount);
}

void AppendLagTable(std::string& out, const CHDataSet& set)
{
    CTextTable table({"r", "L(r)", "log10 r", "log10(L(r)/r)"});
    for (int i = 0; i < set.GetM(); ++i)
        table.AddRow({std::to_string(i + 1), Decimal(set.GetL(i)), Decimal(set.GetLogR(i)), Decimal(set.GetLogL(i))});
    table.AppendTo(out);
}

void WriteLagTable(CJsonWriter& json, const CHDataSet& set)
{
    json.Key("lags");
    json.BeginArray();
    for (int i = 0; i < set.GetM(); ++i) {
        json.BeginObject(true);
        json.IntegerField("r", i + 1);
        json.Field("L", set.GetL(i));
        json.Field("log10_r", set.GetLogR(i));
        json.Field("log10_L_over_r", set.GetLogL(i));
        json.EndObject();
    }
    json.EndArray();
}

namespace {

double UpperBound(const CKestrinDoc& doc, const std::vector<std::int32_t>& positions, std::size_t i)
{
    return i < positions.size() ? positions[i] : doc.GetPlotExtents().m_dXMax;
}

} // namespace

void AppendIntervalTable(std::string& out, const CKestrinDoc& doc)
{
    CTextTable table({"upper bound", "D", "M", "n", "H", "b", "r"});
    for (const auto& set : doc.m_tabSets)
        table.AddRow({DisplayText(set->m_strLabel), std::to_string(set->GetD()), std::to_string(set->GetM()),
                      std::to_string(set->GetCount()), Decimal(set->GetH()), Decimal(set->GetB()),
                      Decimal(set->GetR())});
    table.AppendTo(out);
}

void WriteIntervals(CJsonWriter& json, const CKestrinDoc& doc, const std::vector<std::int32_t>& positions,
                    const std::vector<CBootstrapResult>* bootstraps)
{
    json.Key("intervals");
    json.BeginArray();
    for (std::size_t i = 0; i < doc.m_tabSets.size(); ++i) {
        const CHDataSet& set = *doc.m_tabSets[i];
        json.BeginObject(true);
        json.StringField("label", DisplayText(set.m_strLabel));
        json.Field("upper_bound", UpperBound(doc, positions, i));
        json.IntegerField("D", set.GetD());
        json.IntegerField("M", set.GetM());
        json.IntegerField("n", set.GetCount());
        WriteFitFields(json, set);
        if (bootstraps && i < bootstraps->size())
            WriteBootstrap(json, (*bootstraps)[i]);
        json.EndObject();
    }
    json.EndArray();
}

void WriteTabPositions(CJsonWriter& json, const std::vector<std::int32_t>& positions)
{
    json.Key("tabs");
    json.BeginArray(true);
    for (const std::int32_t t : positions)
        json.Integer(t);
    json.EndArray();
}
