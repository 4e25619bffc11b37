#include "tests/support/CliRunner.h"

#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <signal.h>
#include <spawn.h>
#include <sstream>
#include <stdlib.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "core/Format.h"

extern char** environ;

namespace {

constexpr auto kRunLimit = std::chrono::seconds(20);

} // namespace

void CliTest::SetUp()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "kestrin-cli-test-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    m_dir = pattern;
}

void CliTest::TearDown()
{
    std::error_code ec;
    std::filesystem::remove_all(m_dir, ec);
}

std::string CliTest::WriteFile(const std::string& name, const std::string& content)
{
    const std::string path = Path(name);
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

std::string CliTest::WriteValues(const std::string& name, const std::vector<double>& values)
{
    std::string text;
    for (const double v : values)
        text += FormatRoundTrip(v) + "\n";
    return WriteFile(name, text);
}

std::string CliTest::ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

CliResult CliTest::Run(const std::vector<std::string>& args, const std::string& input)
{
    CliResult result;
    const std::string outPath = Path(".stdout");
    const std::string errPath = Path(".stderr");

    std::vector<std::string> argvStrings{KESTRIN_CLI_PATH};
    argvStrings.insert(argvStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argvStrings)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    // The environment as it is, with the leak check set as asked (a later
    // option overrides an earlier one).
    std::vector<std::string> environmentStrings;
    std::string sanitizerOptions = "ASAN_OPTIONS=";
    for (char** e = environ; *e != nullptr; ++e) {
        if (std::strncmp(*e, "ASAN_OPTIONS=", 13) == 0)
            sanitizerOptions += std::string(*e + 13) + ":";
        else
            environmentStrings.emplace_back(*e);
    }
    environmentStrings.push_back(sanitizerOptions + (m_checkLeaks ? "detect_leaks=1" : "detect_leaks=0"));
    std::vector<char*> environment;
    for (std::string& e : environmentStrings)
        environment.push_back(e.data());
    environment.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, input.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addchdir_np(&actions, m_dir.c_str());
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environment.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        ADD_FAILURE() << "cannot start " << KESTRIN_CLI_PATH;
        return result;
    }

    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + kRunLimit;
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid)
            break;
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            ADD_FAILURE() << "kestrin-cli did not finish in time";
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = ReadFile(outPath);
    result.err = ReadFile(errPath);
    EXPECT_EQ(result.err.find("Sanitizer"), std::string::npos) << result.err;
    EXPECT_EQ(result.err.find("runtime error"), std::string::npos) << result.err;
    EXPECT_LT(result.exitCode, 128) << "killed by a signal; stderr:\n" << result.err;
    return result;
}

JsonValue CliTest::RunJson(const std::vector<std::string>& args)
{
    const CliResult result = Run(args);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    try {
        return JsonValue::Parse(result.out);
    } catch (const std::exception& e) {
        ADD_FAILURE() << e.what() << " in:\n" << result.out;
        return {};
    }
}
