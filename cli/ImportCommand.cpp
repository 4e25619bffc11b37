// kestrin-cli import: a text file saved as a Kestrin document.
#include <filesystem>
#include <system_error>

#include "AnalysisInput.h"
#include "CliUi.h"
#include "Commands.h"
#include "EstimatorReport.h"
#include "JsonWriter.h"
#include "KestrinDoc.h"
#include "SeriesImport.h"
#include "TabSection.h"
#include "TextEncoding.h"

namespace {

constexpr OptionDef kImportOptions[] = {{"--output", "-o", 1, "DOC.kst"}, {"--at", "", 1, "T1,T2,..."}, kFilterOption, kDbOption, kTableOption,
                                   kXFieldOption, kYFieldOption, kJsonOption};

bool SameFile(const std::string& a, const std::string& b)
{
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec) && !ec;
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

    const int count = doc.m_points.GetSize();
    std::string out;
    if (parsed.Has("--json")) {
        CJsonWriter json(out);
        json.BeginObject();
        WriteSeriesSource(json, path, options);
        json.FileNameField("output", output);
        json.IntegerField("points", count);
        WriteTabPositions(json, positions);
        WriteWarnings(json, ui);
        json.EndObject();
        json.Finish();
    } else {
        const std::string from = options.database
                                     ? "table " + JsonQuoted(DisplayText(options.database->table)) + " of " +
                                           JsonQuoted(DisplayText(path))
                                     : JsonQuoted(DisplayText(path));
        out = "Imported " + std::to_string(count) + (count == 1 ? " value" : " values") + " from " + from +
              " into " + JsonQuoted(DisplayText(output)) +
              (tabs.empty() ? std::string() : " with " + std::to_string(tabs.size()) + (tabs.size() == 1 ? " tab" : " tabs")) +
              ".\n";
    }
    return EmitUnlessOutputIsStandard(output, out);
}
