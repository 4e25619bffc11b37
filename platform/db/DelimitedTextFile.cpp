#include "platform/db/DelimitedTextFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/db/Database.h"
#include "platform/TextEncoding.h"

namespace {

// Larger files are refused.
constexpr std::uint64_t kMaxFileBytes = std::uint64_t(1) << 30;

[[noreturn]] void FailErrno(const std::string& path, int error)
{
    if (error == ENOENT || error == ENOTDIR)
        throw CDatabaseError("\"" + path + "\" does not exist.");
    throw CDatabaseError("Cannot read \"" + path + "\": " + std::generic_category().message(error) + ".");
}

CDatabaseError TooLarge(const std::string& path)
{
    return CDatabaseError("\"" + path + "\" is larger than " + std::to_string(kMaxFileBytes >> 20) +
                          " MB, more than delimited text is read.");
}

// Opens a regular file of at most kMaxFileBytes for reading; its size in
// size. Non-blocking, so that a named pipe is refused instead of waited on.
int OpenTextFile(const std::string& path, std::uint64_t& size)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        FailErrno(path, errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int error = errno;
        ::close(fd);
        FailErrno(path, error);
    }
    if (!S_ISREG(st.st_mode) || static_cast<std::uint64_t>(st.st_size) > kMaxFileBytes) {
        ::close(fd);
        if (!S_ISREG(st.st_mode))
            throw CDatabaseError("\"" + path + "\" is not a file.");
        throw TooLarge(path);
    }
    size = static_cast<std::uint64_t>(st.st_size);
    return fd;
}

constexpr std::size_t kScanChunk = std::size_t{1} << 20;

} // namespace

CDelimitedTextStream::CDelimitedTextStream(const std::string& path) : m_path(path)
{
    m_fd = OpenTextFile(path, m_size);
    char head[3] = {};
    std::size_t got = 0;
    try {
        got = ReadRaw(head, sizeof head);
    } catch (...) {
        ::close(m_fd);
        throw;
    }
    const auto starts = [&](const char* mark, std::size_t n) { return got >= n && std::memcmp(head, mark, n) == 0; };
    std::size_t mark = 0;
    if (starts("\xEF\xBB\xBF", 3)) {
        mark = 3;
    } else if (starts("\xFF\xFE", 2)) {
        m_encoding = Encoding::utf16le;
        mark = 2;
    } else if (starts("\xFE\xFF", 2)) {
        m_encoding = Encoding::utf16be;
        m_utf16.SetBigEndian(true);
        mark = 2;
    }
    if (m_encoding == Encoding::utf8) {
        try {
            ScanWholeFile();
        } catch (...) {
            ::close(m_fd);
            throw;
        }
    }
    // Back to the text after the mark.
    if (::lseek(m_fd, static_cast<off_t>(mark), SEEK_SET) < 0) {
        const int error = errno;
        ::close(m_fd);
        FailErrno(path, error);
    }
    m_read = mark;
}

CDelimitedTextStream::~CDelimitedTextStream()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

double CDelimitedTextStream::FractionRead() const
{
    return m_size == 0 ? 1.0 : std::min(1.0, static_cast<double>(m_read) / static_cast<double>(m_size));
}

std::size_t CDelimitedTextStream::ReadRaw(char* data, std::size_t size)
{
    std::size_t used = 0;
    while (used < size) {
        const ssize_t got = ::read(m_fd, data + used, size - used);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            FailErrno(m_path, errno);
        }
        if (got == 0)
            break;
        used += static_cast<std::size_t>(got);
    }
    return used;
}

// One pass over the file: whether it is valid UTF-8 (otherwise it is read
// as Windows-1252) and how many of its lines hold anything.
void CDelimitedTextStream::ScanWholeFile()
{
    if (::lseek(m_fd, 0, SEEK_SET) < 0)
        FailErrno(m_path, errno);
    std::string chunk(kScanChunk + 4, '\0');
    std::size_t carry = 0; // bytes of a character cut by the chunk's end
    bool valid = true;
    bool afterText = false; // the last byte seen was no line end
    std::int64_t lines = 0;
    std::uint64_t total = 0;
    for (;;) {
        const std::size_t got = ReadRaw(chunk.data() + carry, kScanChunk);
        total += got;
        if (total > kMaxFileBytes)
            throw TooLarge(m_path);
        const std::size_t size = carry + got;
        const char* p = chunk.data() + carry;
        for (std::size_t i = 0; i < got; ++i) {
            const char c = p[i];
            const bool lineEnd = c == '\n' || c == '\r';
            if (lineEnd && afterText)
                ++lines;
            afterText = !lineEnd;
        }
        std::size_t i = 0;
        carry = 0;
        const std::string_view text(chunk.data(), size);
        while (valid && i < size) {
            if (static_cast<unsigned char>(text[i]) < 0x80) {
                ++i;
                continue;
            }
            const std::size_t length = Utf8CharacterLength(text, i);
            if (length > 0) {
                i += length;
            } else if (got > 0 && size - i < 4) {
                carry = size - i; // perhaps completed by the next chunk
                std::memmove(chunk.data(), chunk.data() + i, carry);
                break;
            } else {
                valid = false;
            }
        }
        if (got == 0)
            break;
    }
    m_encoding = valid ? Encoding::utf8 : Encoding::windows1252;
    m_lineBound = lines + (afterText ? 1 : 0);
}

bool CDelimitedTextStream::ReadMore(std::string& out, std::size_t bytes)
{
    m_raw.resize(std::max<std::size_t>(bytes, 4096));
    const std::size_t got = ReadRaw(m_raw.data(), m_raw.size());
    m_read += got;
    if (m_read > kMaxFileBytes)
        throw TooLarge(m_path);
    const std::string_view raw(m_raw.data(), got);
    if (got == 0) // a text cut in the middle of a UTF-16 character ends in U+FFFD
        return m_utf16.Finish(out);
    switch (m_encoding) {
    case Encoding::utf8: out.append(raw); break;
    case Encoding::windows1252: out += Windows1252ToUtf8(raw); break;
    case Encoding::utf16le:
    case Encoding::utf16be: m_utf16.Decode(raw.data(), raw.size(), out); break;
    }
    return true;
}
