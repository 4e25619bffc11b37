#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/TextEncoding.h"

// The longest line a text file may hold. A longer one is refused, so that a
// stream without line ends (a device, an endless pipe) ends with an error
// instead of filling memory or running forever.
constexpr std::size_t kMaxTextLineBytes = std::size_t{64} << 20;

// A line longer than the limit; the text names its line number.
class CTextLineTooLong : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Bytes that no text holds: a NUL byte in a file that is not UTF-16.
class CTextHasNulBytes : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// How many bytes at the start of a file without a byte-order mark are looked
// at to recognise UTF-16 written without one.
constexpr std::size_t kUtf16SniffBytes = 512;

// Cuts the bytes of a text file, fed in pieces of any size, into lines, the
// way a person's editor shows them:
// - a UTF-8 byte-order mark at the start is dropped;
// - a file that starts with a UTF-16 byte-order mark (little- or big-endian)
//   is decoded to UTF-8 (an unpaired surrogate becomes U+FFFD);
// - a file without a mark whose first bytes (up to kUtf16SniffBytes) hold
//   a NUL in every other byte and none in between is UTF-16 written without
//   its mark, little-endian when the NULs come second, and decoded so;
// - any other file is passed on byte for byte, and a NUL byte in it throws
//   CTextHasNulBytes (no text holds one: it is a binary file);
// - LF, CR LF and a lone CR each end one line; a last line without a line
//   end is still a line, an empty file has none.
// Lines reach onLine without their line end. Feed and Finish throw
// CTextLineTooLong for a line longer than maxLine bytes (after decoding),
// and whatever onLine throws.
class CTextLines
{
public:
    using LineFn = std::function<void(std::string_view line)>;

    explicit CTextLines(LineFn onLine, std::size_t maxLine = kMaxTextLineBytes);

    void Feed(const char* data, std::size_t size);
    // The end of the input: passes on the last line if it has no line end.
    void Finish();

    // Lines passed on so far.
    std::uint64_t LineCount() const { return m_lines; }

private:
    enum class Encoding { unknown, bytes, utf16le, utf16be };

    static Encoding SniffUtf16(std::string_view head);
    void DetectEncoding(bool atEnd);
    void Decode(const char* data, std::size_t size);
    void DecodeUtf16(const char* data, std::size_t size);
    void Split(const char* data, std::size_t size);
    void EndLine(const char* begin, const char* end);
    void CheckLength(std::size_t length) const;

    LineFn m_onLine;
    std::size_t m_maxLine;
    Encoding m_encoding = Encoding::unknown;
    std::string m_head;    // the first bytes, until the byte-order mark is known
    std::string m_pending; // the unfinished line carried over between pieces
    bool m_lineOpen = false;
    bool m_afterCR = false; // an LF right after a CR belongs to the same line end
    std::uint64_t m_lines = 0;
    CUtf16Decoder m_utf16;
    std::string m_decoded;
};
