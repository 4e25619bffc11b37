#include "platform/SafeFile.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <new>
#include <stdlib.h>
#include <system_error>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// As many links as the system itself follows before it gives up (ELOOP).
constexpr int kMaxLinks = 40;

// The file path finally names once every symbolic link on the way is
// followed; the last one need not exist yet (a link to a file still to be
// written). False, with the reason in error, for a loop of links.
bool FollowLinks(const std::string& path, std::string& target, std::string& error)
{
    std::filesystem::path current = path;
    for (int hops = 0; hops <= kMaxLinks; ++hops) {
        std::error_code ec;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(current, ec))) {
            target = current.string();
            return true;
        }
        const std::filesystem::path link = std::filesystem::read_symlink(current, ec);
        if (ec) {
            error = ec.message();
            return false;
        }
        current = link.is_absolute() ? link : current.parent_path() / link;
    }
    error = std::strerror(ELOOP);
    return false;
}

// A stream for writing on fd; on failure fd is closed and the reason is in
// error.
std::FILE* StreamOf(int fd, std::string& error)
{
    std::FILE* file = ::fdopen(fd, "wb");
    if (!file) {
        error = std::strerror(errno);
        ::close(fd);
    }
    return file;
}

// Runs write into an open stream and closes it; false with the reason in
// error when anything failed.
bool WriteAndClose(std::FILE* file, const std::function<void(CByteSink&)>& write, std::string& error)
{
    bool ok = true;
    try {
        CStdioSink sink(file);
        write(sink);
        if (std::fflush(file) != 0) {
            error = std::strerror(errno);
            ok = false;
        }
    } catch (const std::bad_alloc&) {
        error = "not enough memory";
        ok = false;
    } catch (const std::exception& e) {
        error = e.what();
        ok = false;
    }
    if (std::fclose(file) != 0 && ok) {
        error = std::strerror(errno);
        ok = false;
    }
    return ok;
}

std::string& StandardOutputName()
{
    static std::string name;
    return name;
}

// A device or a named pipe is written as it is: it cannot be replaced by a
// renamed file (that would put a regular file where the node was). A pipe
// that nothing reads from is refused at once instead of waited on for ever.
bool WriteDirectly(const std::string& target, const std::function<void(CByteSink&)>& write, std::string& error)
{
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        error = errno == ENXIO ? "no program is reading from it" : std::strerror(errno);
        return false;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags == -1 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == -1) {
        error = std::strerror(errno);
        ::close(fd);
        return false;
    }
    std::FILE* file = StreamOf(fd, error);
    return file && WriteAndClose(file, write, error);
}

// The temporary files of saves in progress, for the signal handler: fixed
// slots of fixed size, so that the handler reads them without allocating.
// A slot is filled before it is marked used, and marked free before its
// name is reused.
constexpr int kTempSlots = 8;
char g_tempNames[kTempSlots][PATH_MAX];
std::atomic<bool> g_tempUsed[kTempSlots];

// Registers a temporary file for the signal handler for one scope.
class CLiveTemporary
{
public:
    explicit CLiveTemporary(const std::string& name)
    {
        if (name.size() >= PATH_MAX)
            return;
        for (int i = 0; i < kTempSlots; ++i) {
            if (g_tempUsed[i].load())
                continue;
            std::memcpy(g_tempNames[i], name.c_str(), name.size() + 1);
            g_tempUsed[i].store(true);
            m_slot = i;
            return;
        }
    }
    ~CLiveTemporary()
    {
        if (m_slot >= 0)
            g_tempUsed[m_slot].store(false);
    }
    CLiveTemporary(const CLiveTemporary&) = delete;
    CLiveTemporary& operator=(const CLiveTemporary&) = delete;

private:
    int m_slot = -1;
};

// Async-signal-safe: unlink, then the signal's own action.
extern "C" void RemoveTemporariesAndReraise(int signal)
{
    for (int i = 0; i < kTempSlots; ++i)
        if (g_tempUsed[i].load())
            ::unlink(g_tempNames[i]);
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
    ::raise(signal);
}

bool IsTemporarySuffix(const char* suffix)
{
    for (int i = 0; i < 6; ++i) {
        const char c = suffix[i];
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')))
            return false;
    }
    return suffix[6] == '\0';
}

// Removes the temporary files in the folder (the path prefix up to its last
// slash, empty for the working folder) that a killed save of name left:
// regular files of this user named name + ".~" + six letters or digits, or
// the short pattern, unchanged for more than a day.
void RemoveStaleTemporaries(const std::string& folder, const std::string& name)
{
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return;
    const std::string ownPrefix = name + kTemporaryMark;
    const std::string shortPrefix = kShortTemporaryName;
    const std::time_t now = std::time(nullptr);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string entryName = entry->d_name;
        const std::string* prefix = entryName.rfind(ownPrefix, 0) == 0     ? &ownPrefix
                                    : entryName.rfind(shortPrefix, 0) == 0 ? &shortPrefix
                                                                           : nullptr;
        if (!prefix || entryName.size() != prefix->size() + 6 || !IsTemporarySuffix(entryName.c_str() + prefix->size()))
            continue;
        const std::string path = folder + entryName;
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid() ||
            now - st.st_mtime < kStaleTemporarySeconds)
            continue;
        ::unlink(path.c_str());
    }
    ::closedir(dir);
}

// The template of the temporary file for target: beside it, or with the
// short name in its folder when the target's own name leaves no room.
std::string TemporaryTemplate(const std::string& folder, const std::string& name)
{
    if (name.size() + std::strlen(kTemporaryMark) + 6 > NAME_MAX)
        return folder + kShortTemporaryName + "XXXXXX";
    return folder + name + kTemporaryMark + "XXXXXX";
}

// A regular file (or a new one) is written through a temporary file beside
// it, renamed over it once complete.
bool WriteThroughTemporary(const std::string& target, const std::function<void(CByteSink&)>& write,
                           std::string& error)
{
    const std::size_t slash = target.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string name = target.substr(folder.size());
    RemoveStaleTemporaries(folder, name);
    std::string temp = TemporaryTemplate(folder, name);
    // Blocked while the file is made and registered, so that a signal never
    // finds it unregistered.
    sigset_t blocked, previous;
    sigemptyset(&blocked);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&blocked, signal);
    ::sigprocmask(SIG_BLOCK, &blocked, &previous);
    const int fd = ::mkstemp(temp.data());
    const int mkstempErrno = errno;
    CLiveTemporary live(fd >= 0 ? temp : std::string());
    ::sigprocmask(SIG_SETMASK, &previous, nullptr);
    if (fd < 0) {
        error = std::strerror(mkstempErrno);
        return false;
    }
    std::FILE* file = StreamOf(fd, error);
    if (!file) {
        ::unlink(temp.c_str());
        return false;
    }
    bool ok = WriteAndClose(file, write, error);
    if (ok) {
        // mkstemp creates the file readable by its owner only; give it the
        // permissions an ordinary new file gets, or those of the file it
        // replaces.
        struct stat existing {};
        mode_t mode;
        if (::stat(target.c_str(), &existing) == 0) {
            mode = existing.st_mode & 07777;
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            mode = 0666 & ~mask;
        }
        ::chmod(temp.c_str(), mode);
        if (std::rename(temp.c_str(), target.c_str()) != 0) {
            error = std::strerror(errno);
            ok = false;
        }
    }
    if (!ok)
        ::unlink(temp.c_str());
    return ok;
}

} // namespace

bool WriteFileSafely(const std::string& path, const std::function<void(CByteSink&)>& write, std::string& error)
{
    if (!StandardOutputName().empty() && path == StandardOutputName()) {
        std::fflush(stdout);
        const int fd = ::dup(STDOUT_FILENO);
        if (fd < 0) {
            error = std::strerror(errno);
            return false;
        }
        std::FILE* file = StreamOf(fd, error);
        return file && WriteAndClose(file, write, error);
    }
    std::string target;
    if (!FollowLinks(path, target, error))
        return false;
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        if (S_ISDIR(st.st_mode)) {
            error = std::strerror(EISDIR);
            return false;
        }
        return WriteDirectly(target, write, error);
    }
    return WriteThroughTemporary(target, write, error);
}

void SetStandardOutputName(const std::string& name)
{
    StandardOutputName() = name;
}

void IgnoreFileSizeLimitSignal()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

void RemoveTemporaryFilesOnSignals()
{
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN)
            continue;
        struct sigaction action {};
        action.sa_handler = RemoveTemporariesAndReraise;
        sigemptyset(&action.sa_mask);
        for (const int other : {SIGINT, SIGTERM, SIGHUP})
            sigaddset(&action.sa_mask, other);
        ::sigaction(signal, &action, nullptr);
    }
}
