// kestrin-cli's command line: help, and refusal of what it cannot use.
#include "tests/support/CliRunner.h"

namespace cli_usage_test {

namespace {

using CliUsage = CliTest;

TEST_F(CliUsage, HelpIsShownForTheToolAndEveryCommand)
{
    for (const auto& args : std::vector<std::vector<std::string>>{{"--help"}, {"-h"}, {"help"}}) {
        const CliResult r = Run(args);
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.err, "");
        EXPECT_TRUE(r.out.starts_with("Usage: kestrin-cli COMMAND")) << r.out;
        for (const char* command : {"estimate", "tabs", "import", "info"})
            EXPECT_NE(r.out.find(command), std::string::npos) << command;
    }
    for (const std::string command : {"estimate", "tabs", "import", "info"}) {
        const std::string usage = "Usage: kestrin-cli " + command + " ";
        for (const auto& args : std::vector<std::vector<std::string>>{
                 {command, "--help"}, {command, "-h"}, {"help", command}, {command, "file.txt", "--bogus", "-h"}}) {
            const CliResult r = Run(args);
            EXPECT_EQ(r.exitCode, 0) << command;
            EXPECT_EQ(r.err, "") << command;
            EXPECT_TRUE(r.out.starts_with(usage)) << r.out;
            EXPECT_NE(r.out.find("--json"), std::string::npos) << command;
        }
    }
}

TEST_F(CliUsage, NoArgumentsOrUnknownCommandsAreUsageErrors)
{
    const CliResult none = Run({});
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_EQ(none.out, "");
    EXPECT_TRUE(none.err.starts_with("Usage: kestrin-cli")) << none.err;

    for (const auto& [args, message] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"estimat"}, "unknown command \"estimat\""},
             {{"--json"}, "unknown option \"--json\""},
             {{"help", "nope"}, "unknown command \"nope\""}}) {
        const CliResult r = Run(args);
        EXPECT_EQ(r.exitCode, 2) << message;
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("Try 'kestrin-cli --help'."), std::string::npos) << r.err;
    }
}

struct BadLine
{
    std::vector<std::string> args;
    std::string message;
};

TEST_F(CliUsage, BadOptionsAndNumbersAreRefusedBeforeAnyFileIsRead)
{
    // The file does not exist: a usage error must be found first.
    const std::string f = "absent.txt";
    const std::vector<BadLine> lines{
        {{"estimate"}, "missing FILE"},
        {{"sliding", f, "other.txt"}, "unexpected argument \"other.txt\""},
        {{"estimate", f, "--bogus"}, "unknown option \"--bogus\""},
        {{"estimate", f, "--d", "2"}, "unknown option \"--d\""},
        {{"estimate", f, "--D"}, "--D needs a value: N"},
        {{"estimate", f, "--D", "12abc"}, "--D: \"12abc\" is not a whole number"},
        {{"estimate", f, "--D", "2.0"}, "--D: \"2.0\" is not a whole number"},
        {{"estimate", f, "--D", "+2"}, "--D: \"+2\" is not a whole number"},
        {{"estimate", f, "--D", ""}, "--D: \"\" is not a whole number"},
        {{"estimate", f, "--D", "0"}, "--D: 0 is out of range (allowed: 1 to 1000)"},
        {{"estimate", f, "--D", "1001"}, "--D: 1001 is out of range"},
        {{"estimate", f, "--D", "99999999999999999999"}, "--D: \"99999999999999999999\" is out of range"},
        {{"estimate", f, "--M", "1"}, "--M: 1 is out of range (allowed: 2 to 100000)"},
        {{"estimate", f, "--M", "-3"}, "--M: -3 is out of range"},
        {{"estimate", f, "--M=100001"}, "--M: 100001 is out of range"},
        {{"estimate", f, "--json=yes"}, "--json takes no value"},
        {{"estimate", f, "--filter", "5"}, "--filter needs 2 values: UNDER OVER"},
        {{"estimate", f, "--filter=1", "5"}, "--filter takes its values after a space"},
        {{"estimate", f, "--filter", "-1", "5"}, "--filter UNDER: -1 is out of range"},
        {{"estimate", f, "--filter", "1", "x"}, "--filter OVER: \"x\" is not a whole number"},
        {{"estimate", f, "--filter", "5", "5"}, "--filter 5 5: UNDER must be less than OVER"},
        {{"estimate", f, "--filter", "1", "2147483648"}, "--filter OVER: 2147483648 is out of range"},
        {{"tabs", f, "--at", "1,2", "--M", "x"}, "--M: \"x\" is not a whole number"},
        {{"import", f, "-o"}, "--output needs a value: DOC.kst"},
        {{"import", f, "-o", ""}, "-o: the document name is empty"},
        {{"import", f, "-o", "x.kst", "--D", "2"}, "unknown option \"--D\""},
        {{"info"}, "missing DOC.kst"},
        {{"info", "a.kst", "--points=1"}, "--points takes no value"},
        {{"info", "a.kst", "--filter", "1", "2"}, "unknown option \"--filter\""},
    };
    for (const BadLine& line : lines) {
        const CliResult r = Run(line.args);
        const std::string command = line.args.front();
        EXPECT_EQ(r.exitCode, 2) << line.message;
        EXPECT_EQ(r.out, "") << line.message;
        EXPECT_NE(r.err.find("kestrin-cli: " + command + ": " + line.message), std::string::npos)
            << "expected: " << line.message << "\ngot: " << r.err;
        EXPECT_NE(r.err.find("Try 'kestrin-cli " + command + " --help'."), std::string::npos) << r.err;
    }
}

TEST_F(CliUsage, DoubleDashTakesWhatFollowsAsAFileName)
{
    WriteFile("-odd.txt", "1\n3\n2\n5\n4\n6\n5\n8\n7\n9\n");
    const JsonValue j = RunJson({"estimate", "--json", "--", "-odd.txt"});
    EXPECT_EQ(j["n"].Number(), 10);
    EXPECT_EQ(j["file"].String(), "-odd.txt");
}

} // namespace

} // namespace cli_usage_test
