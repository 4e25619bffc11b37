#include "EstimatorReport.h"

#include "HDataSet.h"
#include "JsonWriter.h"
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
