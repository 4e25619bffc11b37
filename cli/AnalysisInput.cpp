#include "cli/AnalysisInput.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "cli/CliUi.h"
#include "cli/Commands.h"
#include "cli/EdgeWarnings.h"
#include "cli/JsonWriter.h"
#include "document/KestrinDoc.h"
#include "platform/TextEncoding.h"

namespace {

bool SameFile(const std::string& a, const std::string& b)
{
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec) && !ec;
}

} // namespace

bool IsDocumentPath(std::string_view path)
{
    constexpr std::string_view kExtension = ".kst";
    if (path.size() <= kExtension.size())
        return false;
    const std::string_view tail = path.substr(path.size() - kExtension.size());
    for (std::size_t i = 0; i < tail.size(); ++i) {
        const char c = tail[i] >= 'A' && tail[i] <= 'Z' ? static_cast<char>(tail[i] - 'A' + 'a') : tail[i];
        if (c != kExtension[i])
            return false;
    }
    return true;
}

AnalysisInput ReadAnalysisInput(const ParsedArgs& parsed)
{
    AnalysisInput input;
    input.series = ReadSeriesOptions(parsed);
    input.series.d.reset();
    input.series.m.reset();
    input.series.rMin.reset();
    input.path = SeriesInput(parsed, input.series);
    input.isDocument = IsDocumentInput(input.path, input.series);
    return input;
}

bool IsDocumentInput(const std::string& path, const SeriesOptions& options)
{
    const bool isDocument = !options.database && IsDocumentPath(path);
    if (isDocument && options.filter)
        throw UsageError("--filter applies to text files only, not to a Kestrin document");
    return isDocument;
}

bool LoadSeriesOrDocument(CCliUi& ui, CKestrinDoc& doc, const std::string& path, const SeriesOptions& options)
{
    if (!IsDocumentInput(path, options))
        return ImportSeries(ui, doc, path, options);
    if (!doc.OnOpenDocument(path))
        return false;
    if (const std::optional<std::string> refusal = ApplyGlobalParameters(doc, options)) {
        ui.Fail(*refusal);
        return false;
    }
    return true;
}

void RefuseJsonWithStandardOutput(const ParsedArgs& parsed, const std::string& output)
{
    if (output == kStandardOutputName && parsed.Has("--json"))
        throw UsageError("-o - writes the file to standard output, where --json writes too; give one of them");
}

void WarnIfNotDocumentName(CCliUi& ui, const std::string& output)
{
    if (output == kStandardOutputName || IsDocumentPath(output))
        return;
    ui.Warn("the document was written to \"" + DisplayText(output) +
            "\", a name that does not end in \".kst\": the workbench and the other commands will not open it as a "
            "document unless it is renamed to end in \".kst\"");
}

bool LoadAnalysisInput(CCliUi& ui, CKestrinDoc& doc, const AnalysisInput& input)
{
    if (!input.isDocument)
        return ImportSeries(ui, doc, input.path, input.series);
    if (!doc.OnOpenDocument(input.path))
        return false;
    WarnIfConstant(ui, doc.m_points, "the series");
    return true;
}

void WriteInputSource(CJsonWriter& json, const AnalysisInput& input)
{
    WriteSeriesSource(json, input.path, input.series);
}

std::optional<std::string> ReadOutputOption(const ParsedArgs& parsed, const AnalysisInput& input, bool required)
{
    if (!parsed.Has("--output")) {
        if (required)
            throw UsageError("missing -o DOC.kst (the document to write)");
        return std::nullopt;
    }
    const std::string& output = parsed.Values("--output")[0];
    if (output.empty())
        throw UsageError("-o: the file name is empty");
    RefuseJsonWithStandardOutput(parsed, output);
    if (SameFile(input.path, output))
        throw UsageError("-o \"" + output + "\" is the INPUT file");
    return output;
}

double ParseRealNumber(std::string_view text, std::string_view what)
{
    double value = 0.0;
    const char* first = text.data();
    const char* last = first + text.size();
    const auto result = std::from_chars(first, last, value);
    // from_chars also reads "nan" and "inf", which no option means.
    if (text.empty() || result.ec != std::errc() || result.ptr != last || !std::isfinite(value))
        throw UsageError(std::string(what) + ": \"" + std::string(text) + "\" is not a number");
    return value;
}
