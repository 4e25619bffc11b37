// kestrin-cli info: everything a Kestrin document holds.
#include "CliUi.h"
#include "Commands.h"
#include "EstimatorReport.h"
#include "JsonWriter.h"
#include "KestrinDoc.h"
#include "TextEncoding.h"
#include "TextOutput.h"

namespace {

constexpr OptionDef kInfoOptions[] = {{"--points", "", 0}, {"--windows", "", 0}, {"--values", "", 0}, kJsonOption};

struct Lists
{
    bool points;
    bool windows;
    bool values;
};

std::string Name(const std::string& bytes)
{
    return JsonQuoted(DisplayText(bytes));
}

std::string AsText(const CKestrinDoc& doc, Lists lists)
{
    std::string out;
    AppendField(out, "D", std::to_string(doc.m_nD));
    AppendField(out, "M", std::to_string(doc.m_nM));
    AppendField(out, "database", Name(doc.m_strDatabase));
    AppendField(out, "table", Name(doc.m_strTable));
    AppendField(out, "X field", Name(doc.m_strXField));
    AppendField(out, "Y field", Name(doc.m_strYField));
    AppendField(out, "has data", std::to_string(doc.m_bHasData));
    AppendField(out, "H series", std::to_string(doc.m_bHSeries));
    AppendField(out, "spacing", std::to_string(doc.m_nSpacing));
    AppendField(out, "points", std::to_string(doc.m_points.GetSize()));
    AppendField(out, "windows", std::to_string(doc.m_windows.GetSize()));

    const CHDataSet& set = doc.m_globalSet;
    out += "\nGlobal estimator\n";
    AppendField(out, "n", std::to_string(set.GetCount()));
    AppendFitFields(out, set);
    AppendField(out, "M'", std::to_string(set.GetM()));
    AppendField(out, "D'", std::to_string(set.GetD()));
    out += '\n';
    AppendLagTable(out, set);

    if (!doc.m_tabValues.empty()) {
        out += "\nTabs\n";
        CTextTable tabs({"value"});
        for (const double x : doc.m_tabValues)
            tabs.AddRow({Exact(x)});
        tabs.AppendTo(out);
        out += "\nIntervals\n";
        if (doc.m_tabSets.empty())
            out += "None: the series is empty.\n";
        else
            AppendIntervalTable(out, doc);
    }

    if (lists.values) {
        out += "\nValues\n";
        CTextTable table({"i", "value"});
        for (int i = 0; i < set.GetValueCount(); ++i)
            table.AddRow({std::to_string(i), Exact(set.GetValue(i))});
        table.AppendTo(out);
    }
    if (lists.points) {
        out += "\nPoints\n";
        CTextTable table({"X", "Y"});
        for (const CHPoint& p : doc.m_points)
            table.AddRow({Exact(p.m_dX), Exact(p.m_dY)});
        table.AppendTo(out);
    }
    if (lists.windows) {
        out += "\nSliding windows\n";
        CTextTable table({"X", "H", "r", "b", "n"});
        for (const CHPoint& w : doc.m_windows)
            table.AddRow({Exact(w.m_dX), Decimal(w.m_dY), Decimal(w.m_dR), Decimal(w.m_dB),
                          std::to_string(w.m_nCount)});
        table.AppendTo(out);
    }
    return out;
}

std::string AsJson(const std::string& path, const CKestrinDoc& doc, Lists lists)
{
    std::string out;
    CJsonWriter json(out);
    json.BeginObject();
    json.FileNameField("file", path);
    json.IntegerField("D", doc.m_nD);
    json.IntegerField("M", doc.m_nM);
    json.StringField("database", DisplayText(doc.m_strDatabase));
    json.StringField("table", DisplayText(doc.m_strTable));
    json.StringField("x_field", DisplayText(doc.m_strXField));
    json.StringField("y_field", DisplayText(doc.m_strYField));
    json.IntegerField("has_data", doc.m_bHasData);
    json.IntegerField("h_series", doc.m_bHSeries);
    json.IntegerField("spacing", doc.m_nSpacing);
    json.IntegerField("point_count", doc.m_points.GetSize());
    json.IntegerField("window_count", doc.m_windows.GetSize());

    const CHDataSet& set = doc.m_globalSet;
    json.Key("estimator");
    json.BeginObject();
    json.IntegerField("n", set.GetCount());
    WriteFitFields(json, set);
    json.IntegerField("M", set.GetM());
    json.IntegerField("D", set.GetD());
    WriteLagTable(json, set);
    if (lists.values) {
        json.Key("values");
        json.BeginArray();
        for (int i = 0; i < set.GetValueCount(); ++i)
            json.Number(set.GetValue(i));
        json.EndArray();
    }
    json.EndObject();

    json.Key("tabs");
    json.BeginArray(true);
    for (const double x : doc.m_tabValues)
        json.Number(x);
    json.EndArray();
    WriteIntervals(json, doc, CKestrinDoc::TabPositions(doc.m_tabValues));

    if (lists.points) {
        json.Key("points");
        json.BeginArray();
        for (const CHPoint& p : doc.m_points) {
            json.BeginObject(true);
            json.Field("X", p.m_dX);
            json.Field("Y", p.m_dY);
            json.EndObject();
        }
        json.EndArray();
    }
    if (lists.windows) {
        json.Key("windows");
        json.BeginArray();
        for (const CHPoint& w : doc.m_windows) {
            json.BeginObject(true);
            json.Field("X", w.m_dX);
            WriteWindowResultFields(json, w);
            json.EndObject();
        }
        json.EndArray();
    }
    json.EndObject();
    json.Finish();
    return out;
}

} // namespace

int RunInfo(std::span<const std::string> args)
{
    const ParsedArgs parsed = ParseArgs(args, kInfoOptions);
    if (parsed.help)
        return ShowCommandHelp("info");
    const std::string& path = RequireOneFile(parsed, "DOC.kst");
    const Lists lists{parsed.Has("--points"), parsed.Has("--windows"), parsed.Has("--values")};

    CCliUi ui("info");
    CKestrinDoc doc(ui);
    if (!doc.OnOpenDocument(path))
        return kExitFailure;
    // The saved tabs, computed as the workbench computes them on opening.
    doc.CalculateSavedTabH();
    return EmitOutput(parsed.Has("--json") ? AsJson(path, doc, lists) : AsText(doc, lists));
}
