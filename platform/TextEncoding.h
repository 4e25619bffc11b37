#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Texts read from document files are kept byte for byte. For display they
// are taken as UTF-8 when they are valid UTF-8, otherwise as Windows-1252
// (the code page such files were written in).
bool IsValidUtf8(std::string_view bytes);
// The length of the valid UTF-8 character that starts at bytes[at], or 0
// when the bytes there are no such character.
std::size_t Utf8CharacterLength(std::string_view bytes, std::size_t at);
// Appends the UTF-8 form of one code point.
void AppendUtf8(std::string& out, std::uint32_t codePoint);
std::string Windows1252ToUtf8(std::string_view bytes);
std::string DisplayText(std::string_view bytes);

// Decodes UTF-16 of one byte order, given in pieces of any size, to UTF-8:
// a character may be cut between pieces; an unpaired surrogate becomes
// U+FFFD.
class CUtf16Decoder
{
public:
    explicit CUtf16Decoder(bool bigEndian = false) : m_big(bigEndian) {}
    void SetBigEndian(bool bigEndian) { m_big = bigEndian; }
    // Appends the characters the bytes complete to out.
    void Decode(const char* data, std::size_t size, std::string& out);
    // The end of the text: a character cut off there becomes U+FFFD in out.
    // Returns whether there was one.
    bool Finish(std::string& out);

private:
    void Unit(std::uint32_t unit, std::string& out);

    bool m_big;
    int m_oddByte = -1;              // a byte waiting for its pair
    std::uint32_t m_highSurrogate = 0; // a high half waiting for its low one
};
