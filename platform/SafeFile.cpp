#include "SafeFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <new>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

bool WriteFileSafely(const std::string& path, const std::function<void(CByteSink&)>& write, std::string& error)
{
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    std::FILE* file = ::fdopen(fd, "wb");
    if (!file) {
        error = std::strerror(errno);
        ::close(fd);
        ::unlink(temp.c_str());
        return false;
    }
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
    if (ok) {
        // mkstemp creates the file readable by its owner only; give it the
        // permissions an ordinary new file gets, or those of the file it
        // replaces.
        struct stat existing {};
        mode_t mode;
        if (::stat(path.c_str(), &existing) == 0) {
            mode = existing.st_mode & 07777;
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            mode = 0666 & ~mask;
        }
        ::chmod(temp.c_str(), mode);
        if (std::rename(temp.c_str(), path.c_str()) != 0) {
            error = std::strerror(errno);
            ok = false;
        }
    }
    if (!ok)
        ::unlink(temp.c_str());
    return ok;
}
