#include "DelimitedTextFile.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Database.h"
#include "TextEncoding.h"

namespace {

// The whole file is held in memory; larger files are refused.
constexpr std::uint64_t kMaxFileBytes = std::uint64_t(1) << 30;

[[noreturn]] void FailErrno(const std::string& path, int error)
{
    if (error == ENOENT || error == ENOTDIR)
        throw CDatabaseError("\"" + path + "\" does not exist.");
    throw CDatabaseError("Cannot read \"" + path + "\": " + std::generic_category().message(error) + ".");
}

std::string ReadWholeFile(const std::string& path)
{
    // Non-blocking, so that a named pipe is refused instead of waited on.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        FailErrno(path, errno);
    struct Closer
    {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        FailErrno(path, errno);
    if (!S_ISREG(st.st_mode))
        throw CDatabaseError("\"" + path + "\" is not a file.");
    const auto tooLarge = [&path] {
        return CDatabaseError("\"" + path + "\" is larger than " + std::to_string(kMaxFileBytes >> 20) +
                              " MB, more than delimited text is read.");
    };
    if (static_cast<std::uint64_t>(st.st_size) > kMaxFileBytes)
        throw tooLarge();
    // The size is only a hint: the file may grow or shrink while it is read.
    // Room for one byte more than it says shows where it ends.
    std::string bytes(static_cast<std::size_t>(st.st_size) + 1, '\0');
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.size()) {
            if (used > kMaxFileBytes)
                throw tooLarge();
            bytes.resize(used + (1 << 20));
        }
        const ssize_t got = ::read(fd, bytes.data() + used, bytes.size() - used);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            FailErrno(path, errno);
        }
        if (got == 0)
            break;
        used += static_cast<std::size_t>(got);
    }
    if (used > kMaxFileBytes)
        throw tooLarge();
    bytes.resize(used);
    return bytes;
}

std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian)
{
    std::string out;
    out.reserve(bytes.size());
    const auto unit = [&](std::size_t i) {
        const auto a = static_cast<std::uint8_t>(bytes[i]), b = static_cast<std::uint8_t>(bytes[i + 1]);
        return static_cast<std::uint32_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    };
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        std::uint32_t cp = unit(i);
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < bytes.size()) {
            const std::uint32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        if (cp >= 0xD800 && cp <= 0xDFFF)
            cp = 0xFFFD;
        AppendUtf8(out, cp);
    }
    if (i < bytes.size())
        AppendUtf8(out, 0xFFFD);
    return out;
}

// Plain ASCII, the common case, is checked eight bytes at a time.
bool IsAscii(std::string_view bytes)
{
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        if (word & 0x8080808080808080u)
            return false;
    }
    for (; i < bytes.size(); ++i)
        if (static_cast<unsigned char>(bytes[i]) >= 0x80)
            return false;
    return true;
}

std::string DecodeText(std::string bytes)
{
    const auto starts = [&bytes](const char* mark, std::size_t n) { return bytes.compare(0, n, mark, n) == 0; };
    if (starts("\xEF\xBB\xBF", 3))
        bytes.erase(0, 3);
    else if (starts("\xFF\xFE", 2))
        return Utf16ToUtf8(std::string_view(bytes).substr(2), false);
    else if (starts("\xFE\xFF", 2))
        return Utf16ToUtf8(std::string_view(bytes).substr(2), true);
    if (!IsAscii(bytes) && !IsValidUtf8(bytes))
        return Windows1252ToUtf8(bytes);
    return bytes;
}

} // namespace

std::string ReadDelimitedTextFile(const std::string& path)
{
    return DecodeText(ReadWholeFile(path));
}
