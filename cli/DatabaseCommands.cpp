// kestrin-cli tables and fields: what a database file offers to --db.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "platform/db/OpenDatabase.h"
#include "cli/JsonWriter.h"
#include "platform/TextEncoding.h"

namespace {

constexpr OptionDef kDatabaseOptions[] = {kJsonOption};

// What tables and fields report: the file (and table), and the names it
// holds, as displayed, in the file's order.
struct NamesReport
{
    std::string file; // as given (its bytes)
    std::optional<std::string> table;
    const char* key; // "tables" or "fields"
    std::vector<std::string> names;
    // SQLite's views, after the tables (tables only); none elsewhere.
    std::vector<std::string> views;
};

NamesReport MakeReport(const std::string& path, const std::string* table, const char* key,
                       const std::vector<std::string>& names)
{
    NamesReport report{path, std::nullopt, key, {}, {}};
    if (table)
        report.table = DisplayText(*table);
    for (const std::string& name : names)
        report.names.push_back(DisplayText(name));
    return report;
}

// One name per line.
std::string AsText(const NamesReport& report)
{
    std::string out;
    for (const auto* names : {&report.names, &report.views})
        for (const std::string& name : *names) {
            out += name;
            out += '\n';
        }
    return out;
}

std::string AsJson(const NamesReport& report)
{
    std::string out;
    CJsonWriter json(out);
    json.BeginObject();
    json.FileNameField("file", report.file);
    if (report.table)
        json.StringField("table", *report.table);
    json.Key(report.key);
    json.BeginArray();
    for (const std::string& name : report.names)
        json.String(name);
    json.EndArray();
    // Listed only when there are some, so that other files read as before.
    if (!report.views.empty()) {
        json.Key("views");
        json.BeginArray();
        for (const std::string& name : report.views)
            json.String(name);
        json.EndArray();
    }
    json.EndObject();
    json.Finish();
    return out;
}

} // namespace

int RunTables(std::span<const std::string> args)
{
    const ParsedArgs parsed = ParseArgs(args, kDatabaseOptions);
    if (parsed.help)
        return ShowCommandHelp("tables");
    const std::string& path = RequireOneFile(parsed, "FILE");
    // A file that cannot be read throws CDatabaseError, which the tool
    // reports with exit status 1.
    const std::unique_ptr<IDatabase> db = OpenDatabase(path);
    NamesReport report = MakeReport(path, nullptr, "tables", db->TableNames());
    for (const std::string& view : db->ViewNames())
        report.views.push_back(DisplayText(view));
    return EmitOutput(parsed.Has("--json") ? AsJson(report) : AsText(report));
}

int RunFields(std::span<const std::string> args)
{
    const ParsedArgs parsed = ParseArgs(args, kDatabaseOptions);
    if (parsed.help)
        return ShowCommandHelp("fields");
    if (parsed.positionals.size() < 2)
        throw UsageError(parsed.positionals.empty() ? "missing FILE and TABLE" : "missing TABLE");
    if (parsed.positionals.size() > 2)
        throw UsageError("unexpected argument \"" + parsed.positionals[2] + "\" (only FILE and TABLE are taken)");
    const std::string& path = parsed.positionals[0];
    const std::string& table = parsed.positionals[1];
    const NamesReport report = MakeReport(path, &table, "fields", OpenDatabase(path)->FieldNames(table));
    return EmitOutput(parsed.Has("--json") ? AsJson(report) : AsText(report));
}
