#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// One field of a delimited-text record: its text with the quoting removed,
// and whether it was quoted (an empty unquoted field is a missing value, an
// empty quoted one an empty text).
struct CCsvField
{
    std::string text;
    bool quoted = false;
};

// Walks the records of delimited text held in memory, with the quoting of
// RFC 4180: a field in double quotes may hold the delimiter, line breaks
// and doubled quotes; a quote inside an unquoted field is an ordinary
// character. Records end at LF, CRLF or a lone CR. Lines with nothing on
// them hold no record and are passed over.
class CCsvReader
{
public:
    // fileName names the file in error messages; firstLine is the line
    // number of text's first byte.
    CCsvReader(std::string_view text, char delimiter, std::string fileName, int firstLine = 1);

    // Reads the next record into the first `count` entries of fields (which
    // keep their storage from record to record). False at the end of the
    // text. Throws CDatabaseError when a quoted field is never closed or
    // its closing quote is followed by anything but the delimiter or the
    // end of the line.
    bool ReadRecord(std::vector<CCsvField>& fields, std::size_t& count);

    // Goes on in other text: from its first byte, on line firstLine.
    void Reset(std::string_view text, int firstLine);

    // Where the next record starts.
    std::size_t Offset() const { return m_pos; }
    int Line() const { return m_line; }
    // The line on which the record last read starts.
    int RecordLine() const { return m_recordLine; }

private:
    void ReadQuoted(std::string& out);
    void ReadUnquoted(std::string& out);
    void CountLines(std::size_t from, std::size_t to);

    std::string_view m_text;
    char m_delimiter;
    std::string m_fileName;
    std::size_t m_pos = 0;
    int m_line = 1;
    int m_recordLine = 1;
};

// The delimiter of a header line: of tab, ';' and ',', the one that occurs
// most often outside quotes (ties go to that order); fallback when none
// occurs. Looks only at the first record of text.
char DetectDelimiter(std::string_view text, char fallback);
