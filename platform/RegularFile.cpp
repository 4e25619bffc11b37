#include "platform/RegularFile.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::FILE* OpenRegularFile(const std::string& path, std::string& error)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        error = std::strerror(errno);
        return nullptr;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        error = std::strerror(errno);
    } else if (S_ISDIR(st.st_mode)) {
        error = "it is a folder, not a file";
    } else if (!S_ISREG(st.st_mode)) {
        error = "it is not a regular file (a device or a pipe can be endless)";
    } else {
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags != -1 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != -1) {
            if (std::FILE* file = ::fdopen(fd, "rb"))
                return file;
        }
        error = std::strerror(errno);
    }
    ::close(fd);
    return nullptr;
}
