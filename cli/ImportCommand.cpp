// kestrin-cli import: a text file saved as a Kestrin document.
#include <filesystem>
#include <system_error>

#include "cli/AnalysisInput.h"
#include "cli/CliUi.h"
#include "cli/Commands.h"
#include "cli/EstimatorReport.h"
#include "cli/JsonWriter.h"
#include "document/KestrinDoc.h"
#include "cli/SeriesImport.h"
#include "document/TabSection.h"
#include "platform/TextEncoding.h"

namespace {

constexpr OptionDef kImportOptions[] = {{"--output", "-o", 1, "DOC.kst"}, {"--at", "", 1, "T1,T2,..."}, kFilterOption, kDbOption, kTableOption,
                                   kXFieldOption, kYFieldOption, kJsonOption};

bool SameFile(const std::string& a, const std::string& b)
{
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec) && !ec;
}

// What import reports: where the series came from, the document written,
// its number of points, how many tabs were given and the positions saved,
// and the warnings.
struct ImportReport
{
    std::string path;
    SeriesOptions options;
    std::string output; // as given (its bytes)
    int points = 0;
    std::size_t tabsGiven = 0;
    std::vector<std::int32_t> positions;
    std::vector<std::string> warnings;
};

std::string AsText(const ImportReport& report)
{
    const std::string file = JsonQuoted(DisplayText(report.path));
    const std::string from = report.options.database
                                 ? "table " + JsonQuoted(DisplayText(report.options.database->table)) + " of " + file
                                 : file;
    const std::size_t tabs = report.tabsGiven;
    return "Imported " + std::to_string(report.points) + (report.points == 1 ? " value" : " values") + " from " + from +
           " into " + JsonQuoted(DisplayText(report.output)) +
           (tabs == 0 ? std::string() : " with " + std::to_string(tabs) + (tabs == 1 ? " tab" : " tabs")) + ".\n";
}

std::string AsJson(const ImportReport& report)
{
    std::string out;
    CJsonWriter json(out);
    json.BeginObject();
    WriteSeriesSource(json, report.path, report.options);
    json.FileNameField("output", report.output);
    json.IntegerField("points", report.points);
    WriteTabPositions(json, report.positions);
    WriteWarnings(json, report.warnings);
    json.EndObject();
    json.Finish();
    return out;
}

} // namespace

int RunImport(std::span<const std::string> args)
{
    const ParsedArgs parsed = ParseArgs(args, kImportOptions);
    if (parsed.help)
        return ShowCommandHelp("import");
    const SeriesOptions options = ReadSeriesOptions(parsed);
    const std::string& path = SeriesInput(parsed, options);
    if (!parsed.Has("--output"))
        throw UsageError("missing -o DOC.kst (the document to write)");
    const std::string& output = parsed.Values("--output")[0];
    if (output.empty())
        throw UsageError("-o: the document name is empty");
    RefuseJsonWithStandardOutput(parsed, output);
    // Saving over the text file would lose the data being imported.
    if (SameFile(path, output))
        throw UsageError("-o \"" + output + "\" is the file being imported");
    std::vector<double> tabs;
    if (parsed.Has("--at")) {
        for (const std::int32_t t : ParseWholeNumberList(parsed.Values("--at")[0], "--at"))
            tabs.push_back(t);
    }
    if (tabs.size() > static_cast<std::size_t>(kMaxSavedTabs))
        throw UsageError("--at: " + std::to_string(tabs.size()) + " tab positions; a document keeps at most " +
                         std::to_string(kMaxSavedTabs));

    CCliUi ui("import");
    CKestrinDoc doc(ui);
    if (!ImportSeries(ui, doc, path, options))
        return kExitFailure;
    // The tabs are saved with the intervals computed as the ruler would.
    const std::vector<std::int32_t> positions = doc.SetTabs(tabs);
    if (!doc.OnSaveDocument(output))
        return kExitFailure;
    WarnIfNotDocumentName(ui, output);

    const ImportReport report{path, options, output, doc.m_points.GetSize(), tabs.size(), positions,
                              ui.Warnings()};
    return EmitUnlessOutputIsStandard(output, parsed.Has("--json") ? AsJson(report) : AsText(report));
}
