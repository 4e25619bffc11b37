#include "platform/Archive.h"

#include "platform/TextEncoding.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <string>

namespace {

constexpr std::size_t kBufferSize = 1u << 20;

static_assert(std::endian::native == std::endian::little || std::endian::native == std::endian::big);

template <class T>
T SwapIfBig(T v)
{
    if constexpr (std::endian::native == std::endian::big) {
        std::uint8_t b[sizeof(T)];
        std::memcpy(b, &v, sizeof(T));
        for (std::size_t i = 0; i < sizeof(T) / 2; ++i)
            std::swap(b[i], b[sizeof(T) - 1 - i]);
        std::memcpy(&v, b, sizeof(T));
    }
    return v;
}

} // namespace

std::size_t CMemorySource::Read(std::uint8_t* data, std::size_t size)
{
    const std::size_t n = std::min(size, m_size - m_pos);
    if (n)
        std::memcpy(data, m_data + m_pos, n);
    m_pos += n;
    return n;
}

void CStdioSink::Write(const std::uint8_t* data, std::size_t size)
{
    if (size && std::fwrite(data, 1, size, m_file) != size)
        throw CArchiveException(CArchiveException::writeFault,
                                std::string("write failed: ") + std::strerror(errno));
}

CStdioSource::CStdioSource(std::FILE* file) : m_file(file)
{
    const long here = std::ftell(file);
    if (here >= 0 && std::fseek(file, 0, SEEK_END) == 0) {
        const long end = std::ftell(file);
        if (end >= here)
            m_size = static_cast<std::uint64_t>(end - here);
        std::fseek(file, here, SEEK_SET);
    }
}

std::size_t CStdioSource::Read(std::uint8_t* data, std::size_t size)
{
    const std::size_t n = std::fread(data, 1, size, m_file);
    if (n < size && std::ferror(m_file))
        throw CArchiveException(CArchiveException::readFault,
                                std::string("read failed: ") + std::strerror(errno));
    return n;
}

CArchive::CArchive(CByteSink& sink) : m_mode(store), m_sink(&sink), m_buffer(kBufferSize) {}

CArchive::CArchive(CByteSource& source)
    : m_mode(load), m_source(&source),
      // A small file needs no more buffer than its own size.
      m_buffer(static_cast<std::size_t>(std::min<std::uint64_t>(kBufferSize, std::max<std::uint64_t>(source.Size(), 64)))),
      m_left(source.Size())
{
}

CArchive::~CArchive() = default;

void CArchive::Flush()
{
    if (m_mode == store && m_pos) {
        m_sink->Write(m_buffer.data(), m_pos);
        m_pos = 0;
    }
}

void CArchive::Refill()
{
    const std::size_t keep = m_end - m_pos;
    std::memmove(m_buffer.data(), m_buffer.data() + m_pos, keep);
    m_pos = 0;
    m_end = keep;
    while (m_end < m_buffer.size()) {
        const std::size_t n = m_source->Read(m_buffer.data() + m_end, m_buffer.size() - m_end);
        if (n == 0)
            break;
        m_end += n;
    }
}

void CArchive::WriteBytes(const void* data, std::size_t size)
{
    if (size == 0)
        return;
    const auto* p = static_cast<const std::uint8_t*>(data);
    const std::size_t capacity = m_buffer.size();
    if (size <= capacity - m_pos) { // the common case: it fits
        std::memcpy(m_buffer.data() + m_pos, p, size);
        m_pos += size;
        return;
    }
    while (size) {
        if (m_pos == capacity)
            Flush();
        const std::size_t n = std::min(size, capacity - m_pos);
        std::memcpy(m_buffer.data() + m_pos, p, n);
        m_pos += n;
        p += n;
        size -= n;
    }
}

void CArchive::ReadBytes(void* data, std::size_t size)
{
    if (size > m_left)
        throw CArchiveException(CArchiveException::endOfFile, "the file ends too early");
    if (size == 0)
        return;
    auto* p = static_cast<std::uint8_t*>(data);
    if (size <= m_end - m_pos) { // the common case: already buffered
        std::memcpy(p, m_buffer.data() + m_pos, size);
        m_pos += size;
        m_left -= size;
        return;
    }
    // Large reads come through the buffer too: copying out of a buffer that
    // stays in the cache is faster than having the kernel write into freshly
    // allocated memory.
    while (size) {
        if (m_pos == m_end) {
            Refill();
            if (m_pos == m_end)
                throw CArchiveException(CArchiveException::endOfFile, "the file ends too early");
        }
        const std::size_t n = std::min(size, m_end - m_pos);
        std::memcpy(p, m_buffer.data() + m_pos, n);
        m_pos += n;
        m_left -= n;
        p += n;
        size -= n;
    }
}

// Numbers are written and read one at a time by the serialisation code,
// millions of them for a long series: each goes straight to or from the
// buffer when it fits there, and only otherwise through WriteBytes or
// ReadBytes.

template <class T>
void CArchive::Put(T v)
{
    v = SwapIfBig(v);
    if (m_buffer.size() - m_pos >= sizeof v) {
        std::memcpy(m_buffer.data() + m_pos, &v, sizeof v);
        m_pos += sizeof v;
    } else {
        WriteBytes(&v, sizeof v);
    }
}

template <class T>
void CArchive::Get(T& v)
{
    if (m_left >= sizeof v && m_end - m_pos >= sizeof v) {
        std::memcpy(&v, m_buffer.data() + m_pos, sizeof v);
        m_pos += sizeof v;
        m_left -= sizeof v;
    } else {
        ReadBytes(&v, sizeof v);
    }
    v = SwapIfBig(v);
}

CArchive& CArchive::operator<<(std::int32_t v)
{
    Put(v);
    return *this;
}

CArchive& CArchive::operator<<(double v)
{
    Put(v);
    return *this;
}

CArchive& CArchive::operator>>(std::int32_t& v)
{
    Get(v);
    return *this;
}

CArchive& CArchive::operator>>(double& v)
{
    Get(v);
    return *this;
}

void CArchive::WriteDoubles(const double* values, std::size_t count)
{
    if constexpr (std::endian::native == std::endian::little) {
        WriteBytes(values, count * sizeof(double));
    } else {
        for (std::size_t i = 0; i < count; ++i)
            *this << values[i];
    }
}

void CArchive::ReadDoubles(double* values, std::size_t count)
{
    if (count > m_left / sizeof(double))
        throw CArchiveException(CArchiveException::endOfFile, "the file ends too early");
    ReadBytes(values, count * sizeof(double));
    if constexpr (std::endian::native != std::endian::little) {
        for (std::size_t i = 0; i < count; ++i)
            values[i] = SwapIfBig(values[i]);
    }
}

void CArchive::WriteString(const std::string& bytes)
{
    const std::uint64_t length = bytes.size();
    if (length > 0xFFFFFFFFull)
        throw CArchiveException(CArchiveException::writeFault, "a text is too long to be saved");
    const std::uint8_t ff = 0xFF;
    if (length < 0xFF) {
        const std::uint8_t b = static_cast<std::uint8_t>(length);
        WriteBytes(&b, 1);
    } else if (length < 0xFFFE) {
        WriteBytes(&ff, 1);
        const std::uint8_t w[2] = {static_cast<std::uint8_t>(length), static_cast<std::uint8_t>(length >> 8)};
        WriteBytes(w, 2);
    } else {
        WriteBytes(&ff, 1);
        const std::uint8_t w[2] = {0xFF, 0xFF};
        WriteBytes(w, 2);
        const std::uint8_t d[4] = {static_cast<std::uint8_t>(length), static_cast<std::uint8_t>(length >> 8),
                                   static_cast<std::uint8_t>(length >> 16), static_cast<std::uint8_t>(length >> 24)};
        WriteBytes(d, 4);
    }
    WriteBytes(bytes.data(), bytes.size());
}

std::string CArchive::ReadString()
{
    auto readU8 = [this] { std::uint8_t b; ReadBytes(&b, 1); return b; };
    auto readU16 = [this] { std::uint8_t b[2]; ReadBytes(b, 2); return static_cast<std::uint16_t>(b[0] | (b[1] << 8)); };
    auto readU32 = [this] {
        std::uint8_t b[4];
        ReadBytes(b, 4);
        return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
               (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    };

    bool wide = false;
    std::uint64_t length = readU8();
    if (length == 0xFF) {
        length = readU16();
        if (length == 0xFFFE) {
            // A string of 16-bit characters: its length prefix follows.
            wide = true;
            length = readU8();
            if (length == 0xFF) {
                length = readU16();
                if (length == 0xFFFF)
                    length = readU32();
            }
        } else if (length == 0xFFFF) {
            length = readU32();
        }
    }
    const std::uint64_t bytes = wide ? length * 2 : length;
    if (bytes > m_left)
        throw CArchiveException(CArchiveException::badCount, "a text runs past the end of the file");
    std::string raw(static_cast<std::size_t>(bytes), '\0');
    ReadBytes(raw.data(), raw.size());
    if (!wide)
        return raw;

    std::string out;
    out.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); i += 2) {
        std::uint32_t cp = static_cast<std::uint8_t>(raw[i]) | (static_cast<std::uint8_t>(raw[i + 1]) << 8);
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < raw.size()) {
            const std::uint32_t lo = static_cast<std::uint8_t>(raw[i + 2]) | (static_cast<std::uint8_t>(raw[i + 3]) << 8);
            if (lo >= 0xDC00 && lo <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (lo - 0xDC00);
                i += 2;
            }
        }
        if (cp >= 0xD800 && cp <= 0xDFFF)
            cp = 0xFFFD; // unpaired surrogate
        AppendUtf8(out, cp);
    }
    return out;
}

void CArchive::CheckCount(std::int32_t count, std::size_t elementBytes, const char* what) const
{
    if (count < 0)
        throw CArchiveException(CArchiveException::badCount,
                                std::string("the ") + what + " has a negative length (" + std::to_string(count) + ")");
    if (elementBytes && static_cast<std::uint64_t>(count) > m_left / elementBytes)
        throw CArchiveException(CArchiveException::badCount,
                                std::string("the ") + what + " claims " + std::to_string(count) +
                                    " entries, more than the rest of the file holds");
}
