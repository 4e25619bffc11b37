#include "platform/TextLines.h"

#include <algorithm>
#include <cstring>

#include "platform/TextEncoding.h"

namespace {

// The first of c in [p, end), or end.
const char* Find(const char* p, const char* end, char c)
{
    const void* hit = std::memchr(p, c, static_cast<std::size_t>(end - p));
    return hit ? static_cast<const char*>(hit) : end;
}

} // namespace

CTextLines::CTextLines(LineFn onLine, std::size_t maxLine) : m_onLine(std::move(onLine)), m_maxLine(maxLine) {}

void CTextLines::Feed(const char* data, std::size_t size)
{
    if (m_encoding != Encoding::unknown) {
        Decode(data, size);
        return;
    }
    m_head.append(data, size);
    DetectEncoding(false);
}

void CTextLines::Finish()
{
    if (m_encoding == Encoding::unknown)
        DetectEncoding(true);
    if (m_encoding == Encoding::utf16le || m_encoding == Encoding::utf16be) {
        // A text cut off in the middle of a character.
        m_decoded.clear();
        if (m_utf16.Finish(m_decoded))
            Split(m_decoded.data(), m_decoded.size());
    }
    if (m_lineOpen) {
        EndLine(nullptr, nullptr);
        m_lineOpen = false;
    }
}

// UTF-16 without a byte-order mark, told by where the NULs of its first
// characters fall: all in the odd bytes (little-endian) or all in the even
// ones (big-endian), and none in the others. Text of digits, signs and line
// ends in UTF-16 always looks so; a binary file with runs of zeros does not.
CTextLines::Encoding CTextLines::SniffUtf16(std::string_view head)
{
    const std::size_t n = std::min(head.size(), kUtf16SniffBytes) & ~std::size_t{1};
    if (n == 0)
        return Encoding::bytes;
    bool evenNul = true, oddNul = true, evenSet = true, oddSet = true;
    for (std::size_t i = 0; i < n; i += 2) {
        const bool a = head[i] == '\0', b = head[i + 1] == '\0';
        evenNul = evenNul && a;
        evenSet = evenSet && !a;
        oddNul = oddNul && b;
        oddSet = oddSet && !b;
    }
    if (oddNul && evenSet)
        return Encoding::utf16le;
    if (evenNul && oddSet)
        return Encoding::utf16be;
    return Encoding::bytes;
}

void CTextLines::DetectEncoding(bool atEnd)
{
    if (m_head.size() < 3 && !atEnd)
        return;
    const auto byte = [&](std::size_t i) { return i < m_head.size() ? static_cast<unsigned char>(m_head[i]) : -1; };
    std::size_t mark = 0;
    if (byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF) {
        m_encoding = Encoding::bytes;
        mark = 3;
    } else if (byte(0) == 0xFF && byte(1) == 0xFE) {
        m_encoding = Encoding::utf16le;
        mark = 2;
    } else if (byte(0) == 0xFE && byte(1) == 0xFF) {
        m_encoding = Encoding::utf16be;
        mark = 2;
    } else {
        // Without a mark, wait for enough bytes to tell UTF-16 from bytes.
        if (m_head.size() < kUtf16SniffBytes && !atEnd)
            return;
        m_encoding = SniffUtf16(m_head);
    }
    std::string rest = m_head.substr(mark);
    m_head.clear();
    m_head.shrink_to_fit();
    Decode(rest.data(), rest.size());
}

void CTextLines::Decode(const char* data, std::size_t size)
{
    if (m_encoding == Encoding::bytes) {
        if (std::memchr(data, 0, size) != nullptr)
            throw CTextHasNulBytes("it holds NUL bytes");
        Split(data, size);
    }
    else
        DecodeUtf16(data, size);
}

void CTextLines::DecodeUtf16(const char* data, std::size_t size)
{
    m_decoded.clear();
    m_utf16.SetBigEndian(m_encoding == Encoding::utf16be);
    m_utf16.Decode(data, size, m_decoded);
    Split(m_decoded.data(), m_decoded.size());
}

void CTextLines::Split(const char* data, std::size_t size)
{
    const char* p = data;
    const char* const end = data + size;
    if (m_afterCR && p < end) {
        m_afterCR = false;
        if (*p == '\n')
            ++p;
    }
    // The next LF and the next CR, each found once and looked for again only
    // when the walk has passed it, so that a file of lone CRs (or of LFs)
    // is scanned once and not once per line.
    const char* lf = Find(p, end, '\n');
    const char* cr = Find(p, end, '\r');
    while (p < end) {
        if (lf < p)
            lf = Find(p, end, '\n');
        if (cr < p)
            cr = Find(p, end, '\r');
        const char* stop = std::min(lf, cr);
        if (stop == end) {
            CheckLength(m_pending.size() + static_cast<std::size_t>(end - p));
            m_pending.append(p, end);
            m_lineOpen = true;
            return;
        }
        EndLine(p, stop);
        p = stop + 1;
        if (*stop == '\r') {
            if (p == end)
                m_afterCR = true;
            else if (*p == '\n')
                ++p;
        }
    }
}

void CTextLines::EndLine(const char* begin, const char* end)
{
    if (m_lineOpen) {
        CheckLength(m_pending.size() + static_cast<std::size_t>(end - begin));
        m_pending.append(begin, end);
        m_lineOpen = false;
        ++m_lines;
        m_onLine(m_pending);
        m_pending.clear();
        return;
    }
    CheckLength(static_cast<std::size_t>(end - begin));
    ++m_lines;
    m_onLine(std::string_view(begin, static_cast<std::size_t>(end - begin)));
}

void CTextLines::CheckLength(std::size_t length) const
{
    if (length <= m_maxLine)
        return;
    const std::size_t mib = m_maxLine >> 20;
    const std::string limit =
        mib << 20 == m_maxLine ? std::to_string(mib) + " MiB" : std::to_string(m_maxLine) + " bytes";
    throw CTextLineTooLong("line " + std::to_string(m_lines + 1) + " is longer than " + limit);
}
