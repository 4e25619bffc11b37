// Writing a file safely: through symbolic links, directly onto devices and
// pipes, and without leftovers when the file-size limit stops a write.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/SafeFile.h"
#include "tests/support/TestSupport.h"

namespace safe_file_test {

namespace fs = std::filesystem;

namespace {

bool WriteText(const std::string& path, const std::string& text, std::string& error)
{
    return WriteFileSafely(
        path, [&](CByteSink& sink) { sink.Write(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()); },
        error);
}

std::string ReadText(const std::string& path)
{
    const auto bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

std::vector<std::string> Names(const fs::path& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(SafeFile, ALinkIsWrittenThroughToItsTarget)
{
    const struct
    {
        const char* name;
        std::string link;   // where the link points, from the folder "a"
        std::string target; // the file that must receive the text, from the top
        bool targetExists;
    } cases[] = {
        {"relative", "../b/doc.kst", "b/doc.kst", true},
        {"absolute", "", "b/doc.kst", true},
        {"dangling", "../b/new.kst", "b/new.kst", false},
        {"chain", "hop", "b/doc.kst", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        fs::create_directory(dir.File("a"));
        fs::create_directory(dir.File("b"));
        if (c.targetExists)
            WriteFile(dir.File(c.target), "old");
        const std::string link = dir.File("a/link.kst");
        fs::create_symlink(c.link.empty() ? dir.File(c.target) : c.link, link);
        if (c.link == "hop")
            fs::create_symlink("../b/doc.kst", dir.File("a/hop"));
        std::string error;
        ASSERT_TRUE(WriteText(link, "new", error)) << error;
        EXPECT_TRUE(fs::is_symlink(link));
        EXPECT_EQ(ReadText(dir.File(c.target)), "new");
        EXPECT_EQ(Names(dir.File("b")), std::vector<std::string>{fs::path(c.target).filename().string()});
    }
    TempDir dir;
    fs::create_symlink("loop", dir.File("loop"));
    std::string error;
    EXPECT_FALSE(WriteText(dir.File("loop"), "x", error));
    EXPECT_FALSE(error.empty());
}

TEST(SafeFile, DevicesAndPipesAreWrittenWithoutReplacingThem)
{
    TempDir dir;
    const std::string fifo = dir.File("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string error;
    EXPECT_FALSE(WriteText(fifo, "nobody reads", error));
    EXPECT_EQ(error, "no program is reading from it");
    // The reader holds the pipe open without waiting for a writer, and
    // gives up after a while rather than hang when no writer comes.
    const int readEnd = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(readEnd, 0);
    std::string received;
    std::thread reader([&] {
        char buffer[256];
        for (int waits = 0; waits < 5000; ++waits) {
            const ssize_t n = ::read(readEnd, buffer, sizeof buffer);
            if (n > 0)
                received.append(buffer, static_cast<std::size_t>(n));
            else if (n == 0 && !received.empty())
                break; // the writer has closed
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        ::close(readEnd);
    });
    EXPECT_TRUE(WriteText(fifo, "through the pipe", error)) << error;
    reader.join();
    EXPECT_EQ(received, "through the pipe");
    struct stat st {};
    ASSERT_EQ(::lstat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"pipe"});

    EXPECT_TRUE(WriteText("/dev/null", "nothing", error)) << error;
    ASSERT_EQ(::lstat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
}

TEST(SafeFile, AWritePastTheFileSizeLimitFailsAndLeavesNoTemporaryFile)
{
    TempDir dir;
    const std::string path = dir.File("doc.kst");
    WriteFile(path, "old");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        IgnoreFileSizeLimitSignal();
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::string error;
        const bool ok = WriteText(path, std::string(1 << 20, 'x'), error);
        ::_exit(ok ? 1 : error.empty() ? 2 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ReadText(path), "old");
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"doc.kst"});
}

// Ctrl+C, SIGTERM and SIGHUP in the middle of a save remove its temporary
// file; the program then ends by the signal, the target untouched.
TEST(SafeFile, ASignalDuringASaveRemovesItsTemporaryFile)
{
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        TempDir dir;
        const std::string path = dir.File("doc.kst");
        WriteFile(path, "old");
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            RemoveTemporaryFilesOnSignals();
            std::string error;
            WriteFileSafely(
                path,
                [&](CByteSink& sink) {
                    const std::string text(1 << 16, 'x');
                    sink.Write(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
                    ::raise(signal);
                },
                error);
            ::_exit(3);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << WEXITSTATUS(status);
        EXPECT_EQ(WTERMSIG(status), signal);
        EXPECT_EQ(ReadText(path), "old");
        EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"doc.kst"});
    }
}

// A temporary file that a killed save left (kill -9 cannot be caught) is
// removed by the next save into its folder once it is a day old; nothing
// else is touched.
TEST(SafeFile, StaleTemporaryFilesOfKilledSavesAreRemoved)
{
    TempDir dir;
    const auto age = [&](const std::string& name, int seconds) {
        WriteFile(dir.File(name), "left");
        const auto when = fs::last_write_time(dir.File(name)) - std::chrono::seconds(seconds);
        fs::last_write_time(dir.File(name), when);
    };
    const int day = kStaleTemporarySeconds;
    age("doc.kst.~abc123", day + 60);
    age(".~kestrin.Zz09aB", day + 60);
    age("doc.kst.~def456", day - 60);   // a save still running, perhaps
    age("doc.kst.~backup!", day + 60);  // not the pattern
    age("doc.kst.backup", day + 60);    // a file of the user's
    age("other.kst.~abc123", day + 60); // another target's
    std::string error;
    ASSERT_TRUE(WriteText(dir.File("doc.kst"), "new", error)) << error;
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"doc.kst", "doc.kst.backup", "doc.kst.~backup!",
                                                           "doc.kst.~def456", "other.kst.~abc123"}));
}

// A name too long for the temporary file's eight bytes more is written
// through a temporary file of a short name in the same folder.
TEST(SafeFile, NamesUpToTheLongestAreWritten)
{
    TempDir dir;
    for (const std::size_t length : {247u, 248u, 249u, 254u, 255u}) {
        SCOPED_TRACE(length);
        const std::string name = std::string(length - 4, 'n') + ".kst";
        std::string error;
        ASSERT_TRUE(WriteText(dir.File(name), "data", error)) << error;
        EXPECT_EQ(ReadText(dir.File(name)), "data");
        ASSERT_TRUE(WriteText(dir.File(name), "again", error)) << error;
        EXPECT_EQ(ReadText(dir.File(name)), "again");
        EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{name});
        fs::remove(dir.File(name));
    }
}

} // namespace safe_file_test
