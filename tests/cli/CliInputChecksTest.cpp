// kestrin-cli on input that is not what it seems: each case either is
// refused with its reason or answers and names what the numbers do not show,
// on standard error and in the JSON "warnings".
#include <filesystem>

#include <sqlite3.h>

#include "tests/support/CliRunner.h"

namespace cli_input_checks_test {

namespace {

using CliInputChecks = CliTest;

using namespace std::string_literals;

struct CheckCase
{
    const char* name;
    std::vector<std::string> args;
    int exitCode;
    std::string err; // a part of standard error ("" when it must be empty)
    std::string out = ""; // a part of standard output
};

std::string Utf16WithoutMark(const std::string& ascii)
{
    std::string out;
    for (char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

} // namespace

TEST_F(CliInputChecks, InputThatIsNotWhatItSeemsIsRefusedOrNamed)
{
    std::vector<double> thirty;
    for (int i = 1; i <= 30; ++i)
        thirty.push_back(i);
    const std::string a = WriteValues("a.txt", thirty);
    ASSERT_EQ(Run({"import", a, "-o", Path("d.kst"), "--at", "10"}).exitCode, 0);
    const std::string doc = Path("d.kst");
    const std::string nul = WriteFile("n.bin", "1\n2\0\n3\n"s);
    const std::string loose = WriteFile("loose.txt", "1\n2\n1 000\n4\nx\n5\n6\n7\n8\n9\n");
    const std::string commas = WriteFile("commas.txt", "1,5\n2,5\n3,25\n4,0\n5,5\n6,5\n7,5\n8,5\n");
    const std::string utf16 = WriteFile("u16.txt", Utf16WithoutMark("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n"));
    const std::string five = WriteValues("five.txt", {1, 3, 2, 5, 4});
    const std::string huge = WriteValues("huge.txt", {1.5e308, 1.5e308, -1.5e308, 1, 2});

    std::string manyTabs;
    for (int i = 0; i <= 10000; ++i)
        manyTabs += (i ? "," : "") + std::to_string(i);
    const std::string warn = "warning: ";
    const CheckCase cases[] = {
        // A document is opened as one, and refused by the text import.
        {"estimate opens a document", {"estimate", doc}, 0, warn + "Estimates from fewer than 128 values",
         "n           30\n"},
        {"import refuses a document",
         {"import", doc, "-o", Path("e.kst")},
         1,
         "This is not a text file of numbers (it looks like a Kestrin document: open it instead)."},
        {"binary file", {"estimate", nul}, 1, "This is not a text file of numbers (it holds NUL bytes)."},
        {"document name without .kst", {"import", a, "-o", Path("out.doc")}, 0,
         warn + "the document was written to \"" + Path("out.doc") + "\", a name that does not end in \".kst\""},
        {"extract onto a name without .kst", {"extract", a, "-o", Path("x.bin")}, 0, "does not end in \".kst\""},
        // Text that reads otherwise than it looks.
        {"utf-16 without a mark", {"estimate", utf16}, 0, warn + "Estimates from fewer than 128 values",
         "n           9\n"},
        {"loose lines", {"estimate", loose}, 0,
         warn + "2 lines were not wholly a number and were read as the number they start with (line 3: \"1 000\" "
                "read as 1)."},
        {"decimal commas", {"estimate", commas}, 0, warn + "Every line holds a number with a decimal comma"},
        // Numbers that would mean nothing.
        {"slope window of one point", {"slopes", a, "--size", "1"}, 2, "--size: 1 is out of range (allowed: 2 to 5000)"},
        {"bootstrap of a series too short for its lags", {"estimate", five, "--bootstrap", "--replicates", "40"}, 0,
         warn + "bootstrap: no 95 % interval can be given: the series (n = 5) is too short for D 4 and M 3",
         "(40 replicates, seed "},
        {"bootstrap of one replicate", {"estimate", a, "--bootstrap", "--replicates", "1"}, 0,
         warn + "bootstrap: no 95 % interval can be given from 1 replicate: even the range of all of them covers "
                "less than 95 %; use --replicates 39 or more"},
        {"profile beyond the range of a number", {"profile", huge, "-o", Path("p.kst")}, 1,
         "cannot make the profile: the running sum exceeds the range of a number; nothing written"},
        {"tab beyond the largest X", {"tabs", a, "--at", "10,5000"}, 0,
         warn + "1 tab lies beyond the largest X (29): the interval ending at 5000 holds the largest X too, and the "
                "last interval, beyond the series, holds no values"},
        // Words and exit statuses of the command line.
        {"every 0", {"tabs", a, "--every", "0"}, 2, "--every 0: The tab interval must be a number greater than 0."},
        {"every -5", {"tabs", a, "--every", "-5"}, 2, "--every -5: The tab interval must be a number greater than 0."},
        {"every 0.01", {"tabs", a, "--every", "0.01"}, 2,
         "--every 0.01: an interval below 1 puts several tabs at one position"},
        {"every 1e300", {"tabs", a, "--every", "1e300"}, 0,
         warn + "an interval of 1e300 places no tab between the series' smallest and largest X",
         "No intervals: an interval of 1e300 places no tab"},
        {"more tabs than a document keeps", {"import", a, "-o", Path("t.kst"), "--at", manyTabs}, 2,
         "--at: 10001 tab positions; a document keeps at most 10000"},
        {"help with an extra word", {"help", "estimate", "extra"}, 2,
         "help: unexpected argument \"extra\" (help takes one command name)"},
        {"spacing 0", {"sliding", a, "--width", "10", "--spacing", "0"}, 2, "Spacing must be greater than 0."},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.name);
        const CliResult r = Run(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
        if (c.err.empty())
            EXPECT_EQ(r.err, "");
        else
            EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
        EXPECT_NE(r.out.find(c.out), std::string::npos) << r.out;
        // Every warning is in the JSON output too.
        if (c.exitCode != 0 || c.err.rfind(warn, 0) != 0 || c.args.front() == "help")
            continue;
        std::vector<std::string> args = c.args;
        args.push_back("--json");
        const JsonValue j = RunJson(args);
        bool found = false;
        for (std::size_t i = 0; i < j["warnings"].Size(); ++i)
            found = found || j["warnings"][i].String().find(c.err.substr(warn.size())) != std::string::npos;
        EXPECT_TRUE(found) << j.Dump();
    }
    EXPECT_FALSE(std::filesystem::exists(Path("p.kst")));
    EXPECT_FALSE(std::filesystem::exists(Path("e.kst")));
}

// Files named and written as asked: standard output for -o -, file names'
// bytes kept in JSON, delimited text with only a header refused, decimal
// commas read where the delimiter leaves the comma free, views listed.
TEST_F(CliInputChecks, FilesAreReadAndWrittenAsTheyAreNamed)
{
    std::vector<double> values;
    for (int i = 0; i < 30; ++i)
        values.push_back((i * 7) % 11 + 0.5);
    const std::string a = WriteValues("a.txt", values);

    // -o - writes the document itself to standard output, and nothing else.
    ASSERT_EQ(Run({"import", a, "-o", Path("a.kst")}).exitCode, 0);
    const CliResult piped = Run({"import", a, "-o", "-"});
    EXPECT_EQ(piped.exitCode, 0) << piped.err;
    EXPECT_EQ(piped.out, ReadFile(Path("a.kst")));
    EXPECT_FALSE(std::filesystem::exists(Path("-")));
    const CliResult both = Run({"profile", a, "-o", "-", "--json"});
    EXPECT_EQ(both.exitCode, 2);
    EXPECT_NE(both.err.find("-o - writes the file to standard output, where --json writes too"), std::string::npos)
        << both.err;

    // A name that is not UTF-8 keeps its bytes in JSON.
    const std::string latin = WriteValues("caf\xe9 \xc3\xa9.txt", values);
    const CliResult named = Run({"estimate", latin, "--json"});
    ASSERT_EQ(named.exitCode, 0) << named.err;
    EXPECT_NE(named.out.find("caf\\udce9 \xc3\xa9.txt\""), std::string::npos) << named.out;

    // Delimited text: a header alone is no table of values; a decimal comma
    // is read where ';' or a tab separates the fields.
    const std::string header = WriteFile("header.csv", "X,Y\n");
    const CliResult empty = Run({"estimate", "--db", header, "--table", "header", "--x", "X", "--y", "Y"});
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_NE(empty.err.find("holds a header row but no record below it."), std::string::npos) << empty.err;
    std::string semicolons = "X;Y\n";
    std::string tabs = "X\tY\n";
    for (std::size_t i = 0; i < values.size(); ++i) {
        std::string y = std::to_string(values[i]);
        y = y.substr(0, y.find('.')) + "," + y.substr(y.find('.') + 1);
        semicolons += std::to_string(i) + ";" + y + "\n";
        tabs += std::to_string(i) + "\t" + y + "\n";
    }
    const double h = RunJson({"estimate", a, "--json"})["H"].Number();
    for (const auto& [name, text] : {std::pair{"semi.csv", semicolons}, std::pair{"tabs.tsv", tabs}}) {
        SCOPED_TRACE(name);
        const std::string file = WriteFile(name, text);
        const JsonValue j = RunJson({"estimate", "--db", file, "--table", std::string(name).substr(0, 4), "--x", "X",
                                     "--y", "Y", "--json"});
        EXPECT_EQ(j["n"].Number(), 30);
        EXPECT_EQ(j["H"].Number(), h);
    }

    // Views are tables to read too.
    const std::string db = Path("v.sqlite");
    sqlite3* handle = nullptr;
    ASSERT_EQ(sqlite3_open(db.c_str(), &handle), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(handle,
                           "CREATE TABLE t (x REAL, y REAL); CREATE VIEW halves AS SELECT x, y / 2 AS y FROM t;"
                           "INSERT INTO t VALUES (1, 2), (2, 4), (3, 8), (4, 2), (5, 6), (6, 4), (7, 9), (8, 1);",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(handle);
    const CliResult tables = Run({"tables", db});
    EXPECT_EQ(tables.out, "t\nhalves\n");
    const JsonValue listed = RunJson({"tables", db, "--json"});
    EXPECT_EQ(listed["tables"].Size(), 1u);
    ASSERT_EQ(listed["views"].Size(), 1u);
    EXPECT_EQ(listed["views"][0].String(), "halves");
    EXPECT_EQ(RunJson({"estimate", "--db", db, "--table", "halves", "--x", "x", "--y", "y", "--json"})["n"].Number(), 8);
}

} // namespace cli_input_checks_test
