// kestrin-cli on what users really give it: standard input and pipes, lines
// without end, writes stopped by the file-size limit, and results that mean
// nothing, each named in a warning.
#include <csignal>
#include <filesystem>
#include <thread>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/CliRunner.h"

namespace cli_input_test {

namespace {

using CliInput = CliTest;

// Every line of standard error names the tool first.
void ExpectPrefixedLines(const std::string& err)
{
    std::size_t start = 0;
    while (start < err.size()) {
        const std::size_t end = err.find('\n', start);
        EXPECT_EQ(err.compare(start, 13, "kestrin-cli: "), 0) << err;
        start = end == std::string::npos ? err.size() : end + 1;
    }
}

// Feeds a named pipe from a thread: text, then (when endless) 'x' until the
// reader goes away or 256 MiB have gone.
class PipeWriter
{
public:
    PipeWriter(const std::string& path, std::string text, bool endless)
    {
        std::signal(SIGPIPE, SIG_IGN);
        m_thread = std::thread([=] {
            const int fd = ::open(path.c_str(), O_WRONLY);
            if (fd < 0)
                return;
            bool open = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
            const std::string block(1 << 20, 'x');
            for (int i = 0; open && endless && i < 256; ++i)
                open = ::write(fd, block.data(), block.size()) > 0;
            ::close(fd);
        });
    }
    ~PipeWriter() { m_thread.join(); }

private:
    std::thread m_thread;
};

TEST_F(CliInput, StandardInputIsReadAsDashAndAPipeByNameIsRefused)
{
    const std::string fifo = Path("values.fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const CliResult byName = Run({"estimate", fifo});
    EXPECT_EQ(byName.exitCode, 1);
    EXPECT_NE(byName.err.find("not a regular file"), std::string::npos) << byName.err;

    JsonValue j;
    {
        PipeWriter writer(fifo, "1\n3\n2\n5\n4\n6\n5\n8\n7\n9\n", false);
        const CliResult r = Run({"estimate", "-", "--D", "2", "--json"}, fifo);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        j = JsonValue::Parse(r.out);
    }
    EXPECT_EQ(j["file"].String(), "-");
    EXPECT_EQ(j["n"].Number(), 10);
    EXPECT_EQ(j["H"].Number(), 0.06898713444565008);
}

TEST_F(CliInput, ALineWithoutEndIsRefusedWithItsNumber)
{
    const std::string fifo = Path("endless.fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    PipeWriter writer(fifo, "1\r\n2\r", true);
    const CliResult r = Run({"estimate", "-"}, fifo);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "kestrin-cli: estimate: Unable to read standard input: line 3 is longer than 64 MiB.\n");
    EXPECT_EQ(r.out, "");
}

TEST_F(CliInput, AWriteStoppedByTheFileSizeLimitFailsAndLeavesNoTemporaryFile)
{
    std::vector<double> values(20000);
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = static_cast<double>(i % 37);
    const std::string input = WriteValues("big.txt", values);
    const std::string err = Path("err.txt");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlimit limit{64 << 10, 64 << 10};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const int fd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(fd, 2);
        ::execl(KESTRIN_CLI_PATH, KESTRIN_CLI_PATH, "import", input.c_str(), "-o", Path("big.kst").c_str(),
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 1);
    const std::string message = ReadFile(err);
    EXPECT_NE(message.find("kestrin-cli: import: Unable to save"), std::string::npos) << message;
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(Path("")))
        if (!entry.path().filename().string().starts_with("."))
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"big.txt", "err.txt"}));
}

TEST_F(CliInput, ResultsThatMeanNothingAreNamedInWarnings)
{
    std::vector<double> walk(100011);
    for (std::size_t i = 1; i < walk.size(); ++i)
        walk[i] = walk[i - 1] + ((i * 7919) % 13 < 6 ? 1.0 : -1.0);
    const std::string constant = WriteValues("constant.txt", std::vector<double>(50, 4.5));
    const std::string longWalk = WriteValues("walk.txt", walk);
    const std::string huge = WriteFile("huge.txt", "1e400\n-1e999\n2\n");
    const std::string shortWalk = WriteValues("short.txt", std::vector<double>(walk.begin(), walk.begin() + 60));
    const struct
    {
        std::vector<std::string> args;
        std::vector<std::string> warnings; // the start of each, in order
    } cases[] = {
        {{"estimate", constant}, {"the series is constant (all 50 values are 4.5)", "Estimates from fewer than 128"}},
        {{"estimate", shortWalk, "--M", "58"},
         {"the series (n = 60) is too short for D 4 and M 58", "Estimates from fewer than 128"}},
        {{"import", huge, "-o", "big.kst"}, {"2 values of \"" + huge + "\" are too large for a number"}},
        {{"sliding", shortWalk, "--width", "8", "--spacing", "1", "--window-M", "5"},
         {"the window M 5 is larger than a window of 8 values with D 6 allows (2)"}},
        {{"meta-h", constant, "--width", "20", "--spacing", "1"},
         {"the series is constant", "the sliding-window H curve is constant (all 30 values are 2)",
          "Meta H: Estimates from fewer than 128 values"}},
        {{"meta-h", longWalk, "--width", "10", "--spacing", "1"},
         {"M is held to 100000, the largest --M takes; the best M would be the 100001 sliding-window results"}},
        {{"estimate", shortWalk}, {"Estimates from fewer than 128 values"}},
        {{"estimate", longWalk}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args.back());
        std::vector<std::string> args = c.args;
        args.push_back("--json");
        const CliResult r = Run(args);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        const JsonValue j = JsonValue::Parse(r.out);
        ASSERT_EQ(j["warnings"].Size(), c.warnings.size()) << r.out;
        std::size_t at = 0;
        for (std::size_t i = 0; i < c.warnings.size(); ++i) {
            EXPECT_TRUE(j["warnings"][i].String().starts_with(c.warnings[i])) << j["warnings"][i].String();
            at = r.err.find("kestrin-cli: " + args[0] + ": warning: " + j["warnings"][i].String(), at);
            EXPECT_NE(at, std::string::npos) << r.err;
        }
        ExpectPrefixedLines(r.err);
        if (args[0] == "meta-h" && c.warnings[0].starts_with("M is held")) {
            EXPECT_EQ(j["M"].Number(), 100000);
        }
    }
    ExpectPrefixedLines(Run({"estimate", "--D", "0", constant}).err);
    ExpectPrefixedLines(Run({"estimate", Path("missing.txt")}).err);
}

} // namespace

} // namespace cli_input_test
