#include "cli/BatchInputs.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <stdexcept>

#include "platform/db/Database.h"
#include "platform/db/OpenDatabase.h"
#include "platform/RegularFile.h"
#include "platform/TextEncoding.h"

namespace {

// The names of a list file, one a line.
void ReadNameList(std::FILE* file, const std::string& shown, std::vector<BatchSeries>& out)
{
    std::string line;
    auto take = [&] {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            out.push_back({line, {}, {}});
        line.clear();
    };
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
        if (c == '\n')
            take();
        else
            line += static_cast<char>(c);
    }
    take();
    if (std::ferror(file))
        throw std::runtime_error("--files-from: cannot read " + shown);
}

void ReadListFile(const std::string& list, std::vector<BatchSeries>& out)
{
    if (list == kStandardInput) {
        ReadNameList(stdin, "standard input", out);
        return;
    }
    const std::string shown = "\"" + DisplayText(list) + "\"";
    std::string error;
    std::FILE* file = OpenRegularFile(list, error);
    if (!file)
        throw std::runtime_error("--files-from: cannot open " + shown + ": " + error);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> closer(file, std::fclose);
    ReadNameList(file, shown, out);
}

std::vector<std::string> SplitNames(const std::string& text)
{
    std::vector<std::string> names;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        names.push_back(text.substr(start, comma - start));
        if (names.back().empty())
            throw UsageError("--y \"" + text + "\": an empty field name");
        if (comma == std::string::npos)
            return names;
        start = comma + 1;
    }
}

bool IsEmptyValue(const CDbVariant& value)
{
    if (value.vt == kVtEmpty || value.vt == kVtNull)
        return true;
    return value.vt == kVtBstr && value.s.find_first_not_of(" \t") == std::string::npos;
}

} // namespace

bool WantsBatch(const ParsedArgs& parsed)
{
    for (const char* name : {"--files-from", "--format", "--jobs", "--quiet", "--output"})
        if (parsed.Has(name))
            return true;
    if (parsed.Has("--y")) {
        const std::string& y = parsed.Values("--y")[0];
        if (y == "*" || y.find(',') != std::string::npos)
            return true;
    }
    return parsed.positionals.size() > 1;
}

std::vector<std::string> NumericFields(const std::string& database, const std::string& table,
                                       const std::string& xField)
{
    std::unique_ptr<IDatabase> db = OpenDatabase(database);
    const std::vector<std::string> fields = db->FieldNames(table);
    std::unique_ptr<IRecordset> records = db->OpenRecordset(table);
    // Per field: not yet known, numeric, or not.
    enum class Kind { unknown, numeric, other };
    std::vector<Kind> kinds(fields.size(), Kind::unknown);
    std::size_t unknown = fields.size();
    for (; unknown > 0 && !records->IsEOF(); records->MoveNext()) {
        for (std::size_t f = 0; f < fields.size(); ++f) {
            if (kinds[f] != Kind::unknown)
                continue;
            const CDbVariant value = records->GetFieldValue(static_cast<int>(f));
            if (IsEmptyValue(value))
                continue;
            const std::optional<double> number = VariantToDouble(value);
            kinds[f] = number && std::isfinite(*number) ? Kind::numeric : Kind::other;
            --unknown;
        }
    }
    std::vector<std::string> numeric;
    for (std::size_t f = 0; f < fields.size(); ++f)
        if (kinds[f] == Kind::numeric && fields[f] != xField)
            numeric.push_back(fields[f]);
    return numeric;
}

std::vector<BatchSeries> ReadBatchSeries(const ParsedArgs& parsed, const SeriesOptions& options)
{
    std::vector<BatchSeries> series;
    if (options.database) {
        const DatabaseSource& db = *options.database;
        if (!parsed.positionals.empty() || parsed.Has("--files-from"))
            throw UsageError("--db reads the series instead of text FILEs and --files-from");
        if (db.yField != "*") {
            for (std::string& name : SplitNames(db.yField))
                series.push_back({db.file, std::move(name), {}});
            return series;
        }
        try {
            for (std::string& name : NumericFields(db.file, db.table, db.xField))
                series.push_back({db.file, std::move(name), {}});
        } catch (const std::exception& e) {
            series.push_back({db.file, "*", "Unable to open database! " + DisplayText(e.what())});
        }
        if (series.empty())
            series.push_back({db.file, "*", "the table \"" + DisplayText(db.table) +
                                                "\" has no numeric field but the X field \"" +
                                                DisplayText(db.xField) + "\""});
        return series;
    }
    for (const std::string& path : parsed.positionals)
        series.push_back({path, {}, {}});
    if (parsed.Has("--files-from"))
        ReadListFile(parsed.Values("--files-from")[0], series);
    if (series.empty() && !parsed.Has("--files-from"))
        throw UsageError("missing FILE");
    return series;
}

SeriesOptions SeriesOptionsFor(const SeriesOptions& options, const BatchSeries& series)
{
    SeriesOptions one = options;
    if (one.database)
        one.database->yField = series.yField;
    return one;
}
