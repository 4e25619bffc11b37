// kestrin-cli over many series: one tidy row per result, in input order at
// any number of jobs, every number the single run's, failures as rows, and
// a clean stop on Ctrl+C.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "tests/support/CliRunner.h"
#include "core/Format.h"
#include "tests/support/SeriesBuilders.h"

extern char** environ;

namespace cli_batch_test {

namespace {

using CliBatch = CliTest;

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::vector<JsonValue> JsonRows(const std::string& text)
{
    std::vector<JsonValue> rows;
    for (const std::string& line : Lines(text))
        rows.push_back(JsonValue::Parse(line));
    return rows;
}

TEST_F(CliBatch, RowsAreTheSingleRunsNumbersInInputOrderAtOneAndFourJobs)
{
    std::vector<std::string> files;
    for (int i = 0; i < 9; ++i) {
        files.push_back("walk" + std::to_string(i) + ".txt");
        WriteValues(files.back(), RandomWalk(40 + 37 * (9 - i), 100 + i));
    }
    files.insert(files.begin() + 4, "absent.txt");
    for (const char* jobs : {"1", "4"}) {
        std::vector<std::string> args{"estimate", "--D", "3", "--M", "4", "--format", "jsonl", "--jobs", jobs};
        args.insert(args.end(), files.begin(), files.end());
        const CliResult r = Run(args);
        EXPECT_EQ(r.exitCode, 1) << r.err;
        const std::vector<JsonValue> rows = JsonRows(r.out);
        ASSERT_EQ(rows.size(), files.size()) << r.out;
        for (std::size_t i = 0; i < files.size(); ++i) {
            SCOPED_TRACE(files[i] + " at " + jobs + " jobs");
            EXPECT_EQ(rows[i]["source"].String(), files[i]);
            EXPECT_TRUE(rows[i]["table"].IsNull());
            if (files[i] == "absent.txt") {
                EXPECT_TRUE(rows[i]["H"].IsNull());
                continue;
            }
            const JsonValue single = RunJson({"estimate", files[i], "--D", "3", "--M", "4", "--json"});
            for (const char* key : {"n", "D", "M", "H", "b", "r"})
                EXPECT_EQ(rows[i][key].Number(), single[key].Number()) << key;
            // The single run's warning (the shorter walks have fewer than 128 values).
            const JsonValue said = single["warnings"];
            EXPECT_EQ(rows[i]["status"].String(), said.Size() == 0 ? "ok" : "warning: " + said[0].String());
        }
    }
}

TEST_F(CliBatch, CsvNumbersReadBackToTheSingleRunsDoubles)
{
    const std::string a = WriteValues("a.txt", RandomWalk(300, 7));
    const std::string b = WriteValues("b.txt", RandomWalk(500, 8));
    const CliResult r = Run({"estimate", "a.txt", "b.txt", "--bootstrap", "--replicates", "40"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::vector<std::string> lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "source,table,field,n,D,M,H,b,r,H_corrected,low,high,level,replicates,seed,status");
    EXPECT_EQ(r.err, "kestrin-cli: estimate: 2 series, none failed\n");
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const JsonValue single =
            RunJson({"estimate", i == 1 ? "a.txt" : "b.txt", "--bootstrap", "--replicates", "40", "--json"});
        std::vector<std::string> cells;
        std::istringstream in(lines[i]);
        for (std::string cell; std::getline(in, cell, ',');)
            cells.push_back(cell);
        ASSERT_EQ(cells.size(), 16u) << lines[i];
        EXPECT_EQ(std::strtod(cells[6].c_str(), nullptr), single["H"].Number());
        EXPECT_EQ(cells[6], FormatRoundTrip(single["H"].Number()));
        EXPECT_EQ(std::strtod(cells[7].c_str(), nullptr), single["b"].Number());
        EXPECT_EQ(std::strtod(cells[8].c_str(), nullptr), single["r"].Number());
        if (!single["bootstrap"]["H_corrected"].IsNull()) {
            EXPECT_EQ(std::strtod(cells[9].c_str(), nullptr), single["bootstrap"]["H_corrected"].Number());
        }
        EXPECT_EQ(cells[13], "40");
        EXPECT_EQ(cells[15], "ok");
    }
}

// Each failure is the row's status with the message a single run prints,
// the others go on, and the exit status says that something failed.
TEST_F(CliBatch, FailuresAreRowsWithTheSingleRunsMessage)
{
    WriteValues("good.txt", RandomWalk(60, 1));
    WriteFile("empty.txt", "");
    std::filesystem::create_directory(Path("folder.txt"));
    const std::vector<std::string> inputs{"good.txt", "absent.txt", "folder.txt", "empty.txt", "good.txt"};
    std::vector<std::string> args{"estimate", "--format", "tsv"};
    args.insert(args.end(), inputs.begin(), inputs.end());
    const CliResult r = Run(args);
    EXPECT_EQ(r.exitCode, 1);
    const std::vector<std::string> lines = Lines(r.out);
    ASSERT_EQ(lines.size(), inputs.size() + 1) << r.out;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        const std::string& line = lines[i + 1];
        const std::string status = line.substr(line.rfind('\t') + 1);
        const CliResult single = Run({"estimate", inputs[i]});
        SCOPED_TRACE(inputs[i]);
        EXPECT_EQ(line.substr(0, line.find('\t')), inputs[i]);
        if (single.exitCode != 0) {
            const std::string prefix = "kestrin-cli: estimate: ";
            std::string message = single.err.substr(prefix.size());
            message.pop_back();
            EXPECT_EQ(status, "error: " + message);
        } else {
            EXPECT_EQ(status.rfind(single.err.empty() ? "ok" : "warning: ", 0), 0u) << status;
        }
    }
    EXPECT_NE(r.err.find("kestrin-cli: estimate: 5 series, 2 failed"), std::string::npos) << r.err;
}

TEST_F(CliBatch, CsvQuotesWhatNeedsQuotingAndASingleSeriesCanBeARow)
{
    const std::string odd = "odd, \"quoted\".txt";
    WriteValues(odd, RandomWalk(50, 3));
    const CliResult r = Run({"estimate", "--format", "csv", "--quiet", odd});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::vector<std::string> lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].rfind("\"odd, \"\"quoted\"\".txt\",,,50,", 0), 0u) << lines[1];
    EXPECT_EQ(r.out.back(), '\n');
    EXPECT_EQ(r.out.find('\r'), std::string::npos);
}

TEST_F(CliBatch, EveryNumericFieldOfATableIsASeries)
{
    std::string csv = "X,A,Name,B,Empty,C\n";
    for (int i = 0; i < 30; ++i)
        csv += std::to_string(i) + "," + std::to_string(i * i % 7) + ",n" + std::to_string(i) + "," +
               std::to_string(i % 5 * 1.5) + ",," + std::to_string(30 - i + i % 3) + "\n";
    WriteFile("t.csv", csv);
    const CliResult r = Run({"estimate", "--db", "t.csv", "--table", "t", "--x", "X", "--y", "*", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::vector<JsonValue> rows = JsonRows(r.out);
    ASSERT_EQ(rows.size(), 3u) << r.out;
    const char* fields[] = {"A", "B", "C"};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(rows[i]["source"].String(), "t.csv");
        EXPECT_EQ(rows[i]["table"].String(), "t");
        EXPECT_EQ(rows[i]["field"].String(), fields[i]);
        const JsonValue single =
            RunJson({"estimate", "--db", "t.csv", "--table", "t", "--x", "X", "--y", fields[i], "--json"});
        EXPECT_EQ(rows[i]["H"].Number(), single["H"].Number());
    }
    // A list of fields, one of them missing.
    const CliResult listed = Run({"estimate", "--db", "t.csv", "--table", "t", "--x", "X", "--y", "C,Nope", "--json"});
    EXPECT_EQ(listed.exitCode, 1);
    const std::vector<JsonValue> two = JsonRows(listed.out);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0]["field"].String(), "C");
    EXPECT_EQ(two[1]["status"].String().rfind("error: Unable to open database!", 0), 0u) << two[1]["status"].String();
    // No numeric field but X: an error, not an empty table.
    WriteFile("words.csv", "X,W\n1,a\n2,b\n");
    const CliResult none = Run({"estimate", "--db", "words.csv", "--table", "words", "--x", "X", "--y", "*"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_NE(none.out.find("words.csv,words,*,,,,,,,\"error: the table \"\"words\"\" has no numeric field"),
              std::string::npos)
        << none.out;
}

TEST_F(CliBatch, FilesFromStandardInputAndTabsAndMetaHRows)
{
    WriteValues("one.txt", RandomWalk(120, 4));
    WriteValues("two.txt", RandomWalk(90, 5));
    const std::string list = WriteFile("list", "two.txt\r\n\none.txt\n");
    const CliResult r = Run({"tabs", "--files-from", "-", "--at", "30,60", "--format", "jsonl"}, list);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::vector<JsonValue> rows = JsonRows(r.out);
    ASSERT_EQ(rows.size(), 6u) << r.out;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::string file = i < 3 ? "two.txt" : "one.txt";
        const JsonValue single = RunJson({"tabs", file, "--at", "30,60", "--json"});
        EXPECT_EQ(rows[i]["source"].String(), file);
        EXPECT_EQ(rows[i]["interval"].String(), single["intervals"][i % 3]["label"].String());
        EXPECT_EQ(rows[i]["H"].Number(), single["intervals"][i % 3]["H"].Number());
    }
    const CliResult meta =
        Run({"meta-h", "one.txt", "two.txt", "--width", "40", "--spacing", "5", "--format", "jsonl"});
    ASSERT_EQ(meta.exitCode, 0) << meta.err;
    const std::vector<JsonValue> metaRows = JsonRows(meta.out);
    ASSERT_EQ(metaRows.size(), 2u);
    const JsonValue single = RunJson({"meta-h", "two.txt", "--width", "40", "--spacing", "5", "--json"});
    EXPECT_EQ(metaRows[1]["H"].Number(), single["H"].Number());
    EXPECT_EQ(metaRows[1]["M"].Number(), single["M"].Number());
    // The row's status carries the single run's warnings on how to read H.
    ASSERT_GT(single["warnings"].Size(), 0u);
    for (std::size_t i = 0; i < single["warnings"].Size(); ++i)
        EXPECT_NE(metaRows[1]["status"].String().find(single["warnings"][i].String()), std::string::npos)
            << metaRows[1]["status"].String();
}

// Ctrl+C in the middle of a long run: the -o file keeps its old contents
// (no temporary file is left), rows already on standard output are whole.
TEST_F(CliBatch, InterruptLeavesOldOutputAndWholeRows)
{
    std::string list;
    for (int i = 0; i < 400; ++i) {
        const std::string name = "s" + std::to_string(i) + ".txt";
        WriteValues(name, RandomWalk(400, i));
        list += name + "\n";
    }
    WriteFile("list.txt", list);
    WriteFile("out.csv", "old\n");
    for (const bool toFile : {true, false}) {
        std::vector<std::string> args{KESTRIN_CLI_PATH, "estimate",     "--files-from", "list.txt", "--bootstrap",
                                      "--replicates",   "200",          "--jobs",       "2"};
        if (toFile)
            args.insert(args.end(), {"-o", "out.csv"});
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, Path("stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, Path("stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addchdir_np(&actions, Path("").c_str());
        pid_t pid = -1;
        ASSERT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        // Until the run is under way: rows are out, or the temporary file
        // beside out.csv is there.
        auto started = [&] {
            if (!toFile)
                return Lines(ReadFile(Path("stdout"))).size() >= 3;
            for (const auto& entry : std::filesystem::directory_iterator(Path("")))
                if (entry.path().filename().string().starts_with("out.csv."))
                    return true;
            return false;
        };
        for (int wait = 0; wait < 400 && !started(); ++wait)
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        ::kill(pid, SIGINT);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
        EXPECT_EQ(WEXITSTATUS(status), 130);
        EXPECT_NE(ReadFile(Path("stderr")).find("interrupted after"), std::string::npos);
        if (toFile) {
            EXPECT_EQ(ReadFile(Path("out.csv")), "old\n");
            for (const auto& entry : std::filesystem::directory_iterator(Path("")))
                EXPECT_EQ(entry.path().filename().string().rfind("out.csv.", 0), std::string::npos) << entry.path();
            continue;
        }
        const std::string out = ReadFile(Path("stdout"));
        ASSERT_FALSE(out.empty());
        EXPECT_EQ(out.back(), '\n');
        const std::vector<std::string> lines = Lines(out);
        EXPECT_LT(lines.size(), 401u);
        for (const std::string& line : lines)
            EXPECT_EQ(std::count(line.begin(), line.end(), ','), 15) << line;
    }
}

} // namespace

} // namespace cli_batch_test
