#include "SafeFile.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <new>
#include <stdlib.h>
#include <system_error>
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

// A regular file (or a new one) is written through a temporary file beside
// it, renamed over it once complete.
bool WriteThroughTemporary(const std::string& target, const std::function<void(CByteSink&)>& write,
                           std::string& error)
{
    std::string temp = target + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        error = std::strerror(errno);
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

void IgnoreFileSizeLimitSignal()
{
    std::signal(SIGXFSZ, SIG_IGN);
}
