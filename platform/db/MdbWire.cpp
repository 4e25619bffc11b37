#include "platform/db/MdbWire.h"

#include <cerrno>
#include <cstring>

#include <poll.h>
#include <unistd.h>

namespace {

// No single text a reader sends is longer; it bounds what the program
// allocates on the reader's word.
constexpr std::uint32_t kMaxText = 256u << 20;
constexpr std::uint32_t kMaxNames = 1u << 20;
constexpr std::size_t kFlushAt = 1 << 16;

} // namespace

void CWireWriter::Text(const std::string& s)
{
    const auto size = static_cast<std::uint32_t>(s.size() < kMaxText ? s.size() : kMaxText);
    U32(size);
    Bytes(s.data(), size);
}

void CWireWriter::Names(const std::vector<std::string>& names)
{
    Tag(MdbMessage::kNames);
    U32(static_cast<std::uint32_t>(names.size()));
    for (const std::string& name : names)
        Text(name);
}

void CWireWriter::Value(const CDbVariant& value)
{
    U32(static_cast<std::uint32_t>(value.vt));
    switch (value.vt) {
    case kVtI2:
    case kVtI4:
    case kVtUi1:
    case kVtBool:
    case kVtCy:
        I64(value.i);
        break;
    case kVtR4:
    case kVtR8:
    case kVtDate:
        F64(value.d);
        break;
    case kVtBstr:
        Text(value.s);
        break;
    default:
        break;
    }
}

void CWireWriter::Bytes(const void* data, std::size_t size)
{
    const auto* p = static_cast<const unsigned char*>(data);
    m_buffer.insert(m_buffer.end(), p, p + size);
    if (m_buffer.size() >= kFlushAt)
        Flush();
}

void CWireWriter::Flush()
{
    std::size_t done = 0;
    while (done < m_buffer.size()) {
        const ssize_t n = ::write(m_fd, m_buffer.data() + done, m_buffer.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            ::_exit(2); // the program has gone or stopped listening
        done += static_cast<std::size_t>(n);
    }
    m_buffer.clear();
}

MdbMessage CWireReader::Tag() { return static_cast<MdbMessage>(Byte()); }

std::uint8_t CWireReader::Byte()
{
    std::uint8_t b = 0;
    Bytes(&b, 1);
    return b;
}

std::uint32_t CWireReader::U32()
{
    std::uint32_t v = 0;
    Bytes(&v, sizeof v);
    return v;
}

std::int64_t CWireReader::I64()
{
    std::int64_t v = 0;
    Bytes(&v, sizeof v);
    return v;
}

double CWireReader::F64()
{
    double v = 0;
    Bytes(&v, sizeof v);
    return v;
}

std::string CWireReader::Text()
{
    const std::uint32_t size = U32();
    if (size > kMaxText)
        throw CWireClosed{};
    std::string s(size, '\0');
    Bytes(s.data(), size);
    return s;
}

std::vector<std::string> CWireReader::Names()
{
    const std::uint32_t count = U32();
    if (count > kMaxNames)
        throw CWireClosed{};
    std::vector<std::string> names;
    for (std::uint32_t i = 0; i < count; ++i)
        names.push_back(Text());
    return names;
}

CDbVariant CWireReader::Value()
{
    CDbVariant v;
    v.vt = static_cast<DbVarType>(U32());
    switch (v.vt) {
    case kVtI2:
    case kVtI4:
    case kVtUi1:
    case kVtBool:
    case kVtCy:
        v.i = I64();
        break;
    case kVtR4:
    case kVtR8:
    case kVtDate:
        v.d = F64();
        break;
    case kVtBstr:
        v.s = Text();
        break;
    default:
        break;
    }
    return v;
}

void CWireReader::Bytes(void* data, std::size_t size)
{
    auto* out = static_cast<unsigned char*>(data);
    while (size > 0) {
        if (m_pos == m_end)
            Fill();
        const std::size_t n = size < m_end - m_pos ? size : m_end - m_pos;
        std::memcpy(out, m_buffer.data() + m_pos, n);
        m_pos += n;
        out += n;
        size -= n;
    }
}

void CWireReader::Fill()
{
    while (true) {
        pollfd pfd{m_fd, POLLIN, 0};
        const int ready = ::poll(&pfd, 1, m_stallMs);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0)
            throw CWireStalled{};
        const ssize_t n = ::read(m_fd, m_buffer.data(), m_buffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw CWireClosed{};
        m_pos = 0;
        m_end = static_cast<std::size_t>(n);
        return;
    }
}
