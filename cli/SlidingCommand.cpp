// kestrin-cli sliding: the H curve of sliding windows along the series, and
// its "Text File" export.

#include <cmath>
#include <stdexcept>

#include "cli/AnalysisInput.h"
#include "cli/BootstrapReport.h"
#include "cli/CliUi.h"
#include "cli/Commands.h"
#include "cli/EstimatorReport.h"
#include "cli/JsonWriter.h"
#include "document/KestrinDoc.h"
#include "analysis/IntervalBand.h"
#include "analysis/ResultExport.h"
#include "cli/TextOutput.h"
#include "core/Format.h"
#include "platform/TextEncoding.h"
#include "cli/WindowOptions.h"

namespace {

constexpr OptionDef kSlidingOptions[] = {kWidthOption,      kSpacingOption, kWindowDOption, kWindowMOption, kWindowRMinOption,
                                   kWindowBestMOption, kPlotPointOption, kOutputFileOption, kFilterOption,
                                   kDbOption,         kTableOption,   kXFieldOption,  kYFieldOption,
                                   kJsonOption,       kBootstrapOption, kReplicatesOption, kSeedOption,
                                   kInputOption};

// What sliding reports: the input, how the results were obtained, the X
// origin they are shown from, the results (or the file they were written
// to), the series' length and the warnings.
struct SlidingReport
{
    AnalysisInput input;
    WindowSource windows;
    double xMin = 0.0;
    std::optional<std::string> output; // as given (its bytes)
    std::vector<WindowRow> results;    // X from xMin
    int seriesSize = 0;
    std::vector<std::string> warnings;
    // The interval band, with --bootstrap.
    const CIntervalBand* band = nullptr;
};

SlidingReport MakeReport(const AnalysisInput& input, const CKestrinDoc& doc, const WindowOptions& windows, double xMin,
                         const std::optional<std::string>& output, const CCliUi& ui)
{
    SlidingReport report{input, WindowSourceOf(doc, windows), xMin, std::nullopt, {}, doc.m_points.GetSize(),
                         ui.Warnings()};
    if (output)
        report.output = *output;
    else
        report.results = WindowRowsOf(doc.m_windows);
    for (WindowRow& row : report.results)
        row.x = row.offset + xMin;
    return report;
}

// A band value as text: 6 decimals, "<=" or ">=" before an edge that the
// value lies at or beyond, "n/a" when not reached.
std::string BandText(double value, EBandBound bound)
{
    if (std::isnan(value))
        return "n/a";
    const char* mark = bound == EBandBound::AtOrBelow ? "<=" : bound == EBandBound::AtOrAbove ? ">=" : "";
    return mark + Decimal(value);
}

// The table with the band's three columns appended, and the band's line.
void AppendBandTable(std::string& out, const std::vector<WindowRow>& rows, const CIntervalBand& band)
{
    CTextTable table({"X", "H", "r", "b", "n", "H corrected", "low", "high"});
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const WindowRow& w = rows[i];
        const CBandWindow& v = band.windows[i];
        table.AddRow({Exact(w.x), Decimal(w.h), Decimal(w.r), Decimal(w.b), std::to_string(w.n),
                      BandText(v.corrected, v.correctedBound), BandText(v.low, v.lowBound),
                      BandText(v.high, v.highBound)});
    }
    table.AppendTo(out);
    out += "band  " + std::to_string(band.replicates) + " replicates, seed " + std::to_string(band.seed) +
           ", level " + FormatFixed(band.level, 2) + "; " + BandStatement(band) + "\n";
}

void WriteBandFields(CJsonWriter& json, const CBandWindow& v)
{
    // NaN, a value not reached, is written as null.
    json.Field("H_corrected", v.corrected);
    json.Field("low", v.low);
    json.Field("high", v.high);
    json.StringField("H_corrected_bound", BoundWord(v.correctedBound));
    json.StringField("low_bound", BoundWord(v.lowBound));
    json.StringField("high_bound", BoundWord(v.highBound));
}

void WriteBand(CJsonWriter& json, const CIntervalBand& band)
{
    const CSeriesDecision decision = BandDecision(band);
    json.Key("band");
    json.BeginObject();
    json.IntegerField("replicates", band.replicates);
    json.IntegerField("seed", static_cast<std::int64_t>(band.seed));
    json.Field("level", band.level);
    json.IntegerField("width", band.width);
    json.IntegerField("D", band.nD);
    json.IntegerField("M", band.nM);
    json.StringField("model", BootstrapModelName(BandModel(band)));
    json.StringField("input", SeriesInputWord(decision.input));
    json.StringField("series_kind", SeriesKindWord(decision.measured));
    json.Field("alpha", band.alpha);
    json.Key("model_check");
    json.BeginObject(true);
    json.IntegerField("windows", band.check.windows);
    json.IntegerField("failing", band.check.failing);
    json.Field("expected_share", band.check.expectedShare);
    json.Field("p_value", band.check.pValue);
    json.BooleanField("passed", band.check.passed);
    json.EndObject();
    json.StringField("statement", BandStatement(band));
    json.EndObject();
}

std::string AsText(const SlidingReport& report)
{
    const int count = report.windows.count;
    if (report.output)
        return "Wrote " + std::to_string(count) + (count == 1 ? " sliding-window result" : " sliding-window results") +
               " to " + JsonQuoted(DisplayText(*report.output)) + ".\n";
    if (count == 0) {
        if (report.windows.computed)
            return "No sliding-window results: a window of " + std::to_string(report.windows.width) +
                   " points needs more than " + std::to_string(report.windows.width) + " points; the series has " +
                   std::to_string(report.seriesSize) + ".\n";
        return "No sliding-window results: the document holds none (compute them with --width W --spacing S).\n";
    }
    std::string out;
    if (report.band)
        AppendBandTable(out, report.results, *report.band);
    else
        AppendWindowTable(out, report.results);
    return out;
}

std::string AsJson(const SlidingReport& report)
{
    std::string out;
    CJsonWriter json(out);
    json.BeginObject();
    WriteInputSource(json, report.input);
    WriteWindowSource(json, report.windows);
    json.Field("x_min", report.xMin);
    if (report.output) {
        json.FileNameField("output", *report.output);
    } else {
        json.Key("results");
        json.BeginArray();
        for (std::size_t i = 0; i < report.results.size(); ++i) {
            const WindowRow& w = report.results[i];
            json.BeginObject(true);
            json.Field("X", w.x);
            json.Field("offset", w.offset);
            WriteWindowResultFields(json, w);
            if (report.band)
                WriteBandFields(json, report.band->windows[i]);
            json.EndObject();
        }
        json.EndArray();
    }
    if (report.band)
        WriteBand(json, *report.band);
    WriteWarnings(json, report.warnings);
    json.EndObject();
    json.Finish();
    return out;
}

} // namespace

int RunSliding(std::span<const std::string> args)
{
    const ParsedArgs parsed = ParseArgs(args, kSlidingOptions);
    if (parsed.help)
        return ShowCommandHelp("sliding");
    const AnalysisInput input = ReadAnalysisInput(parsed);
    const WindowOptions windows = ReadWindowOptions(parsed, input.isDocument);
    const std::optional<std::string> output = ReadOutputOption(parsed, input, false);
    const BootstrapOptions bootstrap = ReadBootstrapOptions(parsed);
    if (bootstrap.run && !windows.compute)
        throw UsageError("--bootstrap needs --width: the interval band is computed with the windows");

    CCliUi ui("sliding");
    CKestrinDoc doc(ui);
    if (!LoadAnalysisInput(ui, doc, input))
        return kExitFailure;
    ObtainSlidingResults(ui, doc, windows);
    if (bootstrap.run && !doc.m_windows.IsEmpty()) {
        std::string why;
        if (!ComputeDocumentBand(doc, *windows.compute,
                                 DocumentBandOptions(doc, bootstrap.replicates, bootstrap.seed, bootstrap.input), {},
                                 &why))
            throw std::runtime_error("--bootstrap: " + why);
        if (const auto warning = BandWarning(*doc.m_band))
            ui.Warn(*warning);
    }
    const double xMin = doc.GetPlotExtents().m_dXMin;
    if (output) {
        const std::size_t told = ui.messages.size();
        if (!ExportSlidingResults(doc, xMin, *output)) {
            if (ui.messages.size() == told)
                ui.Fail("cannot write \"" + DisplayText(*output) + "\"");
            return kExitFailure;
        }
    }
    SlidingReport report = MakeReport(input, doc, windows, xMin, output, ui);
    if (bootstrap.run && doc.m_band)
        report.band = &*doc.m_band;
    return EmitUnlessOutputIsStandard(output.value_or(""), parsed.Has("--json") ? AsJson(report) : AsText(report));
}
