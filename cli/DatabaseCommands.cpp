// kestrin-cli tables and fields: what a database file offers to --db.
#include <memory>
#include <string>
#include <vector>

#include "Commands.h"
#include "Database.h"
#include "JsonWriter.h"
#include "TextEncoding.h"

namespace {

constexpr OptionDef kDatabaseOptions[] = {kJsonOption};

// One name per line.
std::string AsLines(const std::vector<std::string>& names)
{
    std::string out;
    for (const std::string& name : names) {
        out += DisplayText(name);
        out += '\n';
    }
    return out;
}

void WriteNames(CJsonWriter& json, const char* key, const std::vector<std::string>& names)
{
    json.Key(key);
    json.BeginArray();
    for (const std::string& name : names)
        json.String(DisplayText(name));
    json.EndArray();
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
    const std::vector<std::string> tables = db->TableNames();
    const std::vector<std::string> views = db->ViewNames();
    if (!parsed.Has("--json"))
        return EmitOutput(AsLines(tables) + AsLines(views));
    std::string out;
    CJsonWriter json(out);
    json.BeginObject();
    json.FileNameField("file", path);
    WriteNames(json, "tables", tables);
    WriteNames(json, "views", views);
    json.EndObject();
    json.Finish();
    return EmitOutput(out);
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
    const std::vector<std::string> fields = OpenDatabase(path)->FieldNames(table);
    if (!parsed.Has("--json"))
        return EmitOutput(AsLines(fields));
    std::string out;
    CJsonWriter json(out);
    json.BeginObject();
    json.FileNameField("file", path);
    json.StringField("table", DisplayText(table));
    WriteNames(json, "fields", fields);
    json.EndObject();
    json.Finish();
    return EmitOutput(out);
}
