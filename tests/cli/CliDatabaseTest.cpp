// kestrin-cli on database files: listing tables and fields, and every
// command that reads a series taking a table instead of a text file.
#include <algorithm>
#include <filesystem>

#include <sqlite3.h>

#include "tests/support/CliRunner.h"

namespace cli_database_test {

namespace {

class CliDatabase : public CliTest
{
protected:
    // The squares 0..81 at X = 0..9, as text, CSV and SQLite.
    void SetUp() override
    {
        CliTest::SetUp();
        std::string csv = "Seq,Val\n";
        std::vector<double> values;
        for (int i = 0; i < 10; ++i) {
            csv += std::to_string(i) + "," + std::to_string(i * i) + "\n";
            values.push_back(i * i);
        }
        text = WriteValues("squares.txt", values);
        this->csv = WriteFile("squares.csv", csv);
        sqlite = Path("squares.sqlite");
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(sqlite.c_str(), &db), SQLITE_OK);
        std::string sql = "CREATE TABLE Tiny (Seq INTEGER, Val REAL, Note TEXT); CREATE TABLE Empty (X REAL, Y REAL);";
        for (int i = 0; i < 10; ++i)
            sql += "INSERT INTO Tiny VALUES (" + std::to_string(i) + ", " + std::to_string(i * i) + ", 'n');";
        EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    }

    std::string text;
    std::string csv;
    std::string sqlite;
    const std::string mdb = std::string(KESTRIN_DB_FIXTURES_DIR) + "/series.mdb";
};

} // namespace

TEST_F(CliDatabase, TablesAndFieldsAreListedInTheFilesOrder)
{
    CliResult r = Run({"tables", sqlite});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Tiny\nEmpty\n");
    EXPECT_EQ(r.err, "");
    r = Run({"tables", csv});
    EXPECT_EQ(r.out, "squares\n");
    r = Run({"fields", sqlite, "Tiny"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Seq\nVal\nNote\n");
    r = Run({"fields", csv, "squares"});
    EXPECT_EQ(r.out, "Seq\nVal\n");

    const JsonValue tables = RunJson({"tables", mdb, "--json"});
    EXPECT_EQ(tables["file"].String(), mdb);
    std::vector<std::string> names;
    for (std::size_t i = 0; i < tables["tables"].Size(); ++i)
        names.push_back(tables["tables"][i].String());
    // System tables are listed with the user's.
    EXPECT_NE(std::find(names.begin(), names.end(), "MSysObjects"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), "Daily Flow"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), "Tiny"), names.end());

    const JsonValue fields = RunJson({"fields", mdb, "Daily Flow", "--json"});
    EXPECT_EQ(fields["table"].String(), "Daily Flow");
    ASSERT_EQ(fields["fields"].Size(), 2u);
    EXPECT_EQ(fields["fields"][0].String(), "Day");
    EXPECT_EQ(fields["fields"][1].String(), "Flow");
}

TEST_F(CliDatabase, TheSameSeriesFromTextAccessSqliteAndCsvGivesTheSameEstimate)
{
    const JsonValue fromText = RunJson({"estimate", text, "--json"});
    const std::vector<std::vector<std::string>> sources{
        {"--db", mdb, "--table", "Tiny"},
        {"--db", sqlite, "--table", "Tiny"},
        {"--db", csv, "--table", "squares"},
    };
    for (const auto& source : sources) {
        SCOPED_TRACE(source[1]);
        std::vector<std::string> args{"estimate"};
        args.insert(args.end(), source.begin(), source.end());
        args.insert(args.end(), {"--x", "Seq", "--y", "Val", "--json"});
        const JsonValue j = RunJson(args);
        EXPECT_EQ(j["file"].String(), source[1]);
        EXPECT_EQ(j["table"].String(), source[3]);
        EXPECT_EQ(j["x_field"].String(), "Seq");
        EXPECT_EQ(j["y_field"].String(), "Val");
        EXPECT_EQ(j["n"].Number(), 10);
        EXPECT_EQ(j["D"].Number(), 4);
        EXPECT_EQ(j["M"].Number(), 3);
        for (const char* key : {"H", "b", "r"})
            EXPECT_EQ(j[key].Number(), fromText[key].Number()) << key;
        EXPECT_NEAR(j["H"].Number(), 0.998520, 5e-7);
    }
    // --D and --M apply after the load as they do for a text file.
    const JsonValue d2 = RunJson({"estimate", "--db", csv, "--table", "squares", "--x", "Seq", "--y", "Val", "--D",
                                  "2", "--M", "4", "--json"});
    const JsonValue textD2 = RunJson({"estimate", text, "--D", "2", "--M", "4", "--json"});
    EXPECT_EQ(d2["H"].Number(), textD2["H"].Number());
    EXPECT_EQ(d2["M"].Number(), 4);
}

TEST_F(CliDatabase, TabsUseTheTablesX)
{
    // X from Val (0, 1, 4, ..., 81): tabs at 10 and 40 cut after 9 and 36.
    const JsonValue j = RunJson({"tabs", "--db", sqlite, "--table", "Tiny", "--x", "Val", "--y", "Seq", "--at",
                                 "10,40", "--json"});
    ASSERT_EQ(j["intervals"].Size(), 3u);
    EXPECT_EQ(j["intervals"][0]["n"].Number(), 4);
    EXPECT_EQ(j["intervals"][1]["n"].Number(), 3);
    EXPECT_EQ(j["intervals"][2]["n"].Number(), 2); // the largest X is in none
}

TEST_F(CliDatabase, ImportKeepsTheNamesInTheDocument)
{
    const CliResult r = Run({"import", "--db", sqlite, "--table", "Tiny", "--x", "Seq", "--y", "Val", "-o", "t.kst"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Imported 10 values from table \"Tiny\" of \"" + sqlite + "\" into \"t.kst\".\n");
    const JsonValue info = RunJson({"info", Path("t.kst"), "--json"});
    EXPECT_EQ(info["database"].String(), sqlite);
    EXPECT_EQ(info["table"].String(), "Tiny");
    EXPECT_EQ(info["x_field"].String(), "Seq");
    EXPECT_EQ(info["y_field"].String(), "Val");
    EXPECT_EQ(info["point_count"].Number(), 10);
}

TEST_F(CliDatabase, RecordsWithoutNumbersAreSkippedWithOneWarning)
{
    const std::string mixed = WriteFile("mixed.csv", "X,Y\n1,10\n2,\n3,abc\n4,40\n,50\n5,1e1\n");
    const CliResult r = Run({"estimate", "--db", mixed, "--table", "mixed", "--x", "X", "--y", "Y", "--json"});
    EXPECT_EQ(r.exitCode, 0);
    const JsonValue j = JsonValue::Parse(r.out);
    EXPECT_EQ(j["n"].Number(), 3);
    EXPECT_NE(r.err.find("3 records were skipped because their X or Y value is empty or not a number."),
              std::string::npos)
        << r.err;
}

TEST_F(CliDatabase, FilesAndTablesThatCannotBeReadFailWithStatus1)
{
    const std::vector<std::vector<std::string>> lines{
        {"tables", Path("absent.mdb")},
        {"tables", WriteFile("junk.mdb", "not an Access file at all")},
        {"fields", sqlite, "NoSuchTable"},
        {"estimate", "--db", Path("absent.sqlite"), "--table", "Tiny", "--x", "Seq", "--y", "Val"},
        {"estimate", "--db", sqlite, "--table", "Tiny", "--x", "Seq", "--y", "Value"},
        {"import", "--db", WriteFile("junk.sqlite", "junk"), "--table", "T", "--x", "A", "--y", "B", "-o", "o.kst"},
    };
    for (const auto& args : lines) {
        SCOPED_TRACE(args[0] + " " + args[1] + " " + args.back());
        const CliResult r = Run(args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err, "");
    }
    const std::string unable = Run(lines[3]).err;
    EXPECT_EQ(unable.rfind("kestrin-cli: estimate: Unable to open database!\nkestrin-cli: estimate: ", 0), 0u) << unable;
    EXPECT_FALSE(std::filesystem::exists(Path("o.kst")));
}

TEST_F(CliDatabase, ATableWithoutRecordsIsAnEmptySeriesAsAnEmptyTextFileIs)
{
    const std::string types = std::string(KESTRIN_DB_FIXTURES_DIR) + "/types.mdb";
    const std::vector<std::vector<std::string>> sources{
        {WriteFile("empty.txt", "")},
        {"--db", sqlite, "--table", "Empty", "--x", "X", "--y", "Y"},
        {"--db", types, "--table", "Empty", "--x", "X", "--y", "Y"},
    };
    for (const auto& source : sources) {
        SCOPED_TRACE(source.size() > 1 ? source[1] : source[0]);
        const auto run = [&](std::vector<std::string> args, std::vector<std::string> after) {
            args.insert(args.end(), source.begin(), source.end());
            args.insert(args.end(), after.begin(), after.end());
            return Run(args);
        };
        const CliResult estimate = run({"estimate"}, {"--json"});
        EXPECT_EQ(estimate.exitCode, 0) << estimate.err;
        EXPECT_EQ(JsonValue::Parse(estimate.out)["n"].Number(), 0);
        EXPECT_NE(estimate.err.find("warning: no values were imported from "), std::string::npos) << estimate.err;

        const CliResult tabs = run({"tabs"}, {"--at", "3"});
        EXPECT_EQ(tabs.exitCode, 0) << tabs.err;
        EXPECT_NE(tabs.out.find("No intervals: the series is empty"), std::string::npos) << tabs.out;

        const CliResult import = run({"import"}, {"-o", Path("empty.kst")});
        EXPECT_EQ(import.exitCode, 0) << import.err;
        EXPECT_EQ(RunJson({"info", Path("empty.kst"), "--json"})["point_count"].Number(), 0);
    }
}

TEST_F(CliDatabase, UsageErrorsExitWith2)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> lines{
        {{"estimate", "--db", csv, "--table", "squares", "--x", "Seq"}, "missing --y"},
        {{"estimate", "--table", "squares"}, "missing --db, --x, --y"},
        {{"estimate", text, "--db", csv, "--table", "squares", "--x", "Seq", "--y", "Val"}, "unexpected argument"},
        {{"estimate", "--db", csv, "--table", "squares", "--x", "Seq", "--y", "Val", "--filter", "0", "9"},
         "--filter applies to text files only"},
        {{"tabs", "--db", "", "--table", "t", "--x", "a", "--y", "b"}, "--db: the file name is empty"},
        {{"tables"}, "missing FILE"},
        {{"tables", csv, sqlite}, "unexpected argument"},
        {{"fields", csv}, "missing TABLE"},
        {{"fields", csv, "squares", "extra"}, "unexpected argument"},
    };
    for (const auto& [args, message] : lines) {
        const CliResult r = Run(args);
        EXPECT_EQ(r.exitCode, 2) << message;
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    }
    for (const char* command : {"tables", "fields"}) {
        const CliResult r = Run({command, "--help"});
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_TRUE(r.out.starts_with(std::string("Usage: kestrin-cli ") + command + " ")) << r.out;
    }
    const CliResult help = Run({"estimate", "--help"});
    EXPECT_NE(help.out.find("--db DB --table NAME --x FIELD --y FIELD"), std::string::npos);
    const CliResult tool = Run({"--help"});
    EXPECT_NE(tool.out.find("tables DB"), std::string::npos);
    EXPECT_NE(tool.out.find("fields DB TABLE"), std::string::npos);
}

} // namespace cli_database_test
