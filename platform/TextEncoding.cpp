#include "platform/TextEncoding.h"

#include <cstdint>

std::size_t Utf8CharacterLength(std::string_view s, std::size_t i)
{
    const std::size_t n = s.size();
    if (i >= n)
        return 0;
    const auto c = static_cast<std::uint8_t>(s[i]);
    if (c < 0x80)
        return 1;
    int extra = 0;
    std::uint32_t cp = 0;
    if (c >= 0xC2 && c <= 0xDF) { extra = 1; cp = c & 0x1F; }
    else if (c >= 0xE0 && c <= 0xEF) { extra = 2; cp = c & 0x0F; }
    else if (c >= 0xF0 && c <= 0xF4) { extra = 3; cp = c & 0x07; }
    else return 0;
    if (i + static_cast<std::size_t>(extra) >= n) return 0;
    for (int k = 1; k <= extra; ++k) {
        const auto cc = static_cast<std::uint8_t>(s[i + k]);
        if ((cc & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (cc & 0x3F);
    }
    if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return static_cast<std::size_t>(extra) + 1;
}

bool IsValidUtf8(std::string_view s)
{
    for (std::size_t i = 0; i < s.size();) {
        if (static_cast<std::uint8_t>(s[i]) < 0x80) {
            ++i;
            continue;
        }
        const std::size_t length = Utf8CharacterLength(s, i);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

void AppendUtf8(std::string& out, std::uint32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string Windows1252ToUtf8(std::string_view s)
{
    // 0x80..0x9F differ from Latin-1; five positions are unassigned and map
    // to themselves as C1 controls.
    static const std::uint16_t k80[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    std::string out;
    out.reserve(s.size() * 2);
    for (char ch : s) {
        const auto c = static_cast<std::uint8_t>(ch);
        std::uint32_t cp = c;
        if (c >= 0x80 && c <= 0x9F)
            cp = k80[c - 0x80];
        AppendUtf8(out, cp);
    }
    return out;
}

std::string DisplayText(std::string_view bytes)
{
    return IsValidUtf8(bytes) ? std::string(bytes) : Windows1252ToUtf8(bytes);
}

void CUtf16Decoder::Unit(std::uint32_t u, std::string& out)
{
    constexpr std::uint32_t kReplacement = 0xFFFD;
    if (m_highSurrogate != 0) {
        if (u >= 0xDC00 && u <= 0xDFFF) {
            AppendUtf8(out, 0x10000 + ((m_highSurrogate - 0xD800) << 10) + (u - 0xDC00));
            m_highSurrogate = 0;
            return;
        }
        AppendUtf8(out, kReplacement);
        m_highSurrogate = 0;
    }
    if (u >= 0xD800 && u <= 0xDBFF)
        m_highSurrogate = u;
    else
        AppendUtf8(out, u >= 0xDC00 && u <= 0xDFFF ? kReplacement : u);
}

void CUtf16Decoder::Decode(const char* data, std::size_t size, std::string& out)
{
    const auto unit = [this](unsigned first, unsigned second) {
        return m_big ? ((first << 8) | second) : (first | (second << 8));
    };
    std::size_t i = 0;
    if (m_oddByte >= 0 && size > 0) {
        Unit(unit(static_cast<unsigned>(m_oddByte), static_cast<unsigned char>(data[0])), out);
        m_oddByte = -1;
        i = 1;
    }
    for (; i + 1 < size; i += 2)
        Unit(unit(static_cast<unsigned char>(data[i]), static_cast<unsigned char>(data[i + 1])), out);
    if (i < size)
        m_oddByte = static_cast<unsigned char>(data[i]);
}

bool CUtf16Decoder::Finish(std::string& out)
{
    if (m_oddByte < 0 && m_highSurrogate == 0)
        return false;
    AppendUtf8(out, 0xFFFD);
    m_oddByte = -1;
    m_highSurrogate = 0;
    return true;
}
