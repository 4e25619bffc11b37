#include "cli/SeriesImport.h"

#include <cstdio>
#include <limits>

#include "cli/CliUi.h"
#include "cli/Commands.h"
#include "cli/EdgeWarnings.h"
#include "cli/JsonWriter.h"
#include "document/KestrinDoc.h"
#include "platform/TextEncoding.h"

namespace {

// The database options: all four or none.
std::optional<DatabaseSource> ReadDatabaseSource(const ParsedArgs& parsed)
{
    constexpr const char* kNames[] = {"--db", "--table", "--x", "--y"};
    std::string missing;
    bool any = false;
    for (const char* name : kNames) {
        if (parsed.Has(name))
            any = true;
        else
            missing += std::string(missing.empty() ? "" : ", ") + name;
    }
    if (!any)
        return std::nullopt;
    if (!missing.empty())
        throw UsageError("a database table is read with --db FILE --table NAME --x FIELD --y FIELD; missing " +
                         missing);
    DatabaseSource source{parsed.Values("--db")[0], parsed.Values("--table")[0], parsed.Values("--x")[0],
                          parsed.Values("--y")[0]};
    if (source.file.empty())
        throw UsageError("--db: the file name is empty");
    if (source.table.empty())
        throw UsageError("--table: the table name is empty");
    if (source.xField.empty() || source.yField.empty())
        throw UsageError(std::string(source.xField.empty() ? "--x" : "--y") + ": the field name is empty");
    if (parsed.Has("--filter"))
        throw UsageError("--filter applies to text files only, not to --db");
    return source;
}

} // namespace

SeriesOptions ReadSeriesOptions(const ParsedArgs& parsed)
{
    SeriesOptions options;
    options.database = ReadDatabaseSource(parsed);
    if (parsed.Has("--filter")) {
        const auto& bounds = parsed.Values("--filter");
        constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
        options.filter = true;
        options.under = static_cast<int>(ParseWholeNumber(bounds[0], "--filter UNDER", 0, kMax));
        options.over = static_cast<int>(ParseWholeNumber(bounds[1], "--filter OVER", 0, kMax));
        if (options.under >= options.over)
            throw UsageError("--filter " + bounds[0] + " " + bounds[1] +
                             ": UNDER must be less than OVER, or no value can pass");
    }
    if (parsed.Has("--D"))
        options.d = static_cast<int>(ParseWholeNumber(parsed.Values("--D")[0], "--D", kMinD, kMaxD));
    if (parsed.Has("--M"))
        options.m = static_cast<int>(ParseWholeNumber(parsed.Values("--M")[0], "--M", kMinM, kMaxM));
    if (parsed.Has("--r-min")) {
        options.rMin = static_cast<int>(ParseWholeNumber(parsed.Values("--r-min")[0], "--r-min", kMinFirstLag, kMaxM - 1));
        if (options.m && !IsUsableFirstLag(*options.rMin, *options.m))
            throw UsageError("--r-min " + parsed.Values("--r-min")[0] + ": " + FirstLagRangeMessage(*options.m));
    }
    return options;
}

std::optional<std::string> ApplyGlobalParameters(CKestrinDoc& doc, const SeriesOptions& options)
{
    if (!options.d && !options.m && !options.rMin)
        return std::nullopt;
    const int nM = options.m.value_or(doc.m_nM);
    const int nRMin = options.rMin.value_or(IsUsableFirstLag(doc.m_nRMin, nM) ? doc.m_nRMin : 1);
    if (nRMin != 1 && !IsUsableFirstLag(nRMin, nM))
        return "--r-min " + std::to_string(nRMin) + ": " + FirstLagRangeMessage(nM);
    doc.SetHParameters({.nD = options.d.value_or(doc.m_nD), .nM = nM, .nRMin = nRMin});
    return std::nullopt;
}

const std::string& SeriesInput(const ParsedArgs& parsed, const SeriesOptions& options)
{
    if (!options.database)
        return RequireOneFile(parsed, "FILE");
    if (!parsed.positionals.empty())
        throw UsageError("unexpected argument \"" + parsed.positionals[0] +
                         "\" (--db reads the series instead of a text FILE)");
    return options.database->file;
}

void WriteSeriesSource(CJsonWriter& json, const std::string& path, const SeriesOptions& options)
{
    json.FileNameField("file", path);
    if (!options.database)
        return;
    json.StringField("table", DisplayText(options.database->table));
    json.StringField("x_field", DisplayText(options.database->xField));
    json.StringField("y_field", DisplayText(options.database->yField));
}

bool ImportSeries(CCliUi& ui, CKestrinDoc& doc, const std::string& path, const SeriesOptions& options)
{
    doc.OnNewDocument();
    const std::optional<DatabaseSource>& db = options.database;
    // A table whose records hold no numbers is refused by the import itself;
    // one without records loads as an empty series, as an empty file does.
    const bool imported =
        db ? doc.ImportDatabase(db->file, db->table, db->xField, db->yField)
           : path == kStandardInput
                 ? doc.ImportTextStream(stdin, "standard input", options.under, options.over, options.filter)
                 : doc.ImportTextFile(path, options.under, options.over, options.filter);
    if (!imported)
        return false;
    if (const std::optional<std::string> refusal = ApplyGlobalParameters(doc, options)) {
        ui.Fail(*refusal);
        return false;
    }
    if (doc.m_points.GetSize() == 0) {
        const std::string source = db ? "the table \"" + DisplayText(db->table) + "\" of \"" + DisplayText(path) + "\""
                                   : path == kStandardInput ? std::string("standard input")
                                                            : "\"" + DisplayText(path) + "\"";
        ui.Warn("no values were imported from " + source + (options.filter ? " (none passed the filter)" : ""));
    }
    WarnIfConstant(ui, doc.m_points, "the series");
    return true;
}
