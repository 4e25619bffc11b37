#include "cli/EstimatorReport.h"

#include "cli/BootstrapReport.h"
#include "core/HDataSet.h"
#include "cli/JsonWriter.h"
#include "document/KestrinDoc.h"
#include "platform/TextEncoding.h"
#include "cli/TextOutput.h"
#include "cli/Usage.h"

EstimatorFigures FiguresOf(const CHDataSet& set)
{
    EstimatorFigures figures{set.GetCount(), set.GetD(), set.GetM(), set.GetH(), set.GetB(), set.GetR(), {},
                             FitPlotDataOf(set, {}), set.GetRMin()};
    for (int i = 0; i < set.GetM(); ++i)
        figures.lags.push_back({i + 1, set.GetL(i), set.GetLogR(i), set.GetLogL(i)});
    return figures;
}

void AppendEstimatorFields(std::string& out, const EstimatorFigures& figures)
{
    AppendField(out, "n", std::to_string(figures.n));
    AppendField(out, "D", std::to_string(figures.d));
    AppendField(out, "M", std::to_string(figures.m));
    if (figures.rMin != 1)
        AppendField(out, "first lag", std::to_string(figures.rMin));
    AppendFitFields(out, figures);
}

void WriteEstimatorFields(CJsonWriter& json, const EstimatorFigures& figures)
{
    json.IntegerField("n", figures.n);
    json.IntegerField("D", figures.d);
    json.IntegerField("M", figures.m);
    WriteFitFields(json, figures);
}

void AppendFitFields(std::string& out, const EstimatorFigures& figures)
{
    AppendField(out, "H", Decimal(figures.h));
    AppendField(out, "b", Decimal(figures.b));
    AppendField(out, "r", Decimal(figures.r));
}

void WriteFitFields(CJsonWriter& json, const EstimatorFigures& figures)
{
    json.Field("H", figures.h);
    json.Field("b", figures.b);
    json.Field("r", figures.r);
}

namespace {

// The values from index first on.
void WriteNumbers(CJsonWriter& json, const char* name, const std::vector<double>& values, std::size_t first)
{
    json.Key(name);
    json.BeginArray(true);
    for (std::size_t i = first; i < values.size(); ++i)
        json.Number(values[i]);
    json.EndArray();
}

} // namespace

void WriteFitDetails(CJsonWriter& json, const EstimatorFigures& figures)
{
    const CFitPlotData& fit = figures.fit;
    json.IntegerField("r_min", figures.rMin);
    json.Field("intercept", fit.intercept);
    json.Key("slope_se");
    if (fit.slopeError)
        json.Number(*fit.slopeError);
    else
        json.Null();
    json.Key("fit");
    json.BeginObject(true);
    const std::size_t first = static_cast<std::size_t>(fit.firstFitted);
    WriteNumbers(json, "log_r", fit.x, first);
    WriteNumbers(json, "log_L_over_r", fit.y, first);
    json.EndObject();
}

void WriteVersion(CJsonWriter& json)
{
    json.StringField("version", ProgramVersion());
}

std::vector<WindowRow> WindowRowsOf(const CHPointArray& windows)
{
    std::vector<WindowRow> rows;
    rows.reserve(static_cast<std::size_t>(windows.GetSize()));
    for (const CHPoint& w : windows)
        rows.push_back({w.m_dX, w.m_dX, w.m_dY, w.m_dR, w.m_dB, w.m_nCount});
    return rows;
}

void AppendWindowTable(std::string& out, const std::vector<WindowRow>& rows)
{
    CTextTable table({"X", "H", "r", "b", "n"});
    for (const WindowRow& w : rows)
        table.AddRow({Exact(w.x), Decimal(w.h), Decimal(w.r), Decimal(w.b), std::to_string(w.n)});
    table.AppendTo(out);
}

void WriteWindowResultFields(CJsonWriter& json, const WindowRow& row)
{
    json.Field("H", row.h);
    json.Field("r", row.r);
    json.Field("b", row.b);
    json.IntegerField("n", row.n);
}

void AppendLagTable(std::string& out, const std::vector<LagRow>& lags)
{
    CTextTable table({"r", "L(r)", "log10 r", "log10(L(r)/r)"});
    for (const LagRow& lag : lags)
        table.AddRow({std::to_string(lag.r), Decimal(lag.length), Decimal(lag.log10R), Decimal(lag.log10LOverR)});
    table.AppendTo(out);
}

void WriteLagTable(CJsonWriter& json, const std::vector<LagRow>& lags)
{
    json.Key("lags");
    json.BeginArray();
    for (const LagRow& lag : lags) {
        json.BeginObject(true);
        json.IntegerField("r", lag.r);
        json.Field("L", lag.length);
        json.Field("log10_r", lag.log10R);
        json.Field("log10_L_over_r", lag.log10LOverR);
        json.EndObject();
    }
    json.EndArray();
}

std::vector<IntervalRow> IntervalRowsOf(const CKestrinDoc& doc, const std::vector<std::int32_t>& positions)
{
    std::vector<IntervalRow> rows;
    for (std::size_t i = 0; i < doc.m_tabSets.size(); ++i) {
        const CHDataSet& set = *doc.m_tabSets[i];
        const double upperBound = i < positions.size() ? positions[i] : doc.GetPlotExtents().m_dXMax;
        rows.push_back({DisplayText(set.m_strLabel), upperBound, FiguresOf(set)});
    }
    return rows;
}

void AppendIntervalTable(std::string& out, const std::vector<IntervalRow>& rows)
{
    CTextTable table({"upper bound", "D", "M", "n", "H", "b", "r"});
    for (const IntervalRow& row : rows) {
        const EstimatorFigures& f = row.figures;
        table.AddRow({row.label, std::to_string(f.d), std::to_string(f.m), std::to_string(f.n), Decimal(f.h),
                      Decimal(f.b), Decimal(f.r)});
    }
    table.AppendTo(out);
}

void WriteIntervals(CJsonWriter& json, const std::vector<IntervalRow>& rows,
                    const std::vector<CBootstrapResult>* bootstraps, bool withFit)
{
    json.Key("intervals");
    json.BeginArray();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const EstimatorFigures& f = rows[i].figures;
        json.BeginObject(true);
        json.StringField("label", rows[i].label);
        json.Field("upper_bound", rows[i].upperBound);
        json.IntegerField("D", f.d);
        json.IntegerField("M", f.m);
        json.IntegerField("n", f.n);
        WriteFitFields(json, f);
        if (withFit)
            WriteFitDetails(json, f);
        if (bootstraps && i < bootstraps->size()) {
            WriteBootstrap(json, (*bootstraps)[i]);
            if (i > 0) {
                json.Key("differs_from_previous");
                if (const auto differs = DiffersFromPrevious(*bootstraps, i))
                    json.Boolean(*differs);
                else
                    json.Null();
            }
        }
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
