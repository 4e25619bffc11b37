#pragma once

#include <cstdint>
#include <string>

#include "platform/TextEncoding.h"

// The text of a delimited-text file as UTF-8, without a byte-order mark,
// read piece by piece so that a large file is never held whole: UTF-8 with
// or without its mark; UTF-16 of either byte order when it starts with its
// mark (spreadsheets save "Unicode text" so); any other text that is not
// valid UTF-8 (found by one pass over the file at opening) is taken as
// Windows-1252. Only regular files are read, up to 1 GiB. Throws
// CDatabaseError when the file is missing, cannot be read, is not a regular
// file or is too large.
class CDelimitedTextStream
{
public:
    explicit CDelimitedTextStream(const std::string& path);
    ~CDelimitedTextStream();
    CDelimitedTextStream(const CDelimitedTextStream&) = delete;
    CDelimitedTextStream& operator=(const CDelimitedTextStream&) = delete;

    // Appends the next piece of the text (about bytes long) to out; false,
    // with nothing appended, at the end of the file.
    bool ReadMore(std::string& out, std::size_t bytes);

    // At most this many lines of the file hold anything (a bound for the
    // records it can hold), or -1 when not counted (UTF-16).
    std::int64_t LineBound() const { return m_lineBound; }
    // The part of the file read so far, 0 to 1.
    double FractionRead() const;

private:
    enum class Encoding { utf8, windows1252, utf16le, utf16be };

    std::size_t ReadRaw(char* data, std::size_t size);
    void ScanWholeFile();

    std::string m_path;
    int m_fd = -1;
    std::uint64_t m_size = 0;
    std::uint64_t m_read = 0;
    Encoding m_encoding = Encoding::utf8;
    std::int64_t m_lineBound = -1;
    CUtf16Decoder m_utf16;
    std::string m_raw;
};
