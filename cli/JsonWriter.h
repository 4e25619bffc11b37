#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Writes JSON text into a string, indented two spaces per level. A container
// opened with oneLine keeps itself and everything in it on one line, which
// suits small records in long lists. Numbers are written with the shortest
// text that reads back to the same double; NaN and infinities, which JSON
// cannot express, are written as null.
class CJsonWriter
{
public:
    explicit CJsonWriter(std::string& out) : m_out(out) {}

    void BeginObject(bool oneLine = false);
    void EndObject();
    void BeginArray(bool oneLine = false);
    void EndArray();

    // Names the next member of the enclosing object.
    void Key(std::string_view name);

    void Number(double value);
    void Integer(std::int64_t value);
    // text must be UTF-8; quotes, backslashes and control characters are
    // escaped.
    void String(std::string_view text);
    void Null();
    void Boolean(bool value);

    void Field(std::string_view name, double value) { Key(name); Number(value); }
    void IntegerField(std::string_view name, std::int64_t value) { Key(name); Integer(value); }
    void StringField(std::string_view name, std::string_view text) { Key(name); String(text); }
    void BooleanField(std::string_view name, bool value) { Key(name); Boolean(value); }
    // A file name, as JsonQuotedBytes writes it.
    void FileNameField(std::string_view name, std::string_view bytes);

    // Ends the document with a line end; every container must be closed.
    void Finish();

private:
    struct Level
    {
        bool oneLine;
        bool empty;
    };

    void BeforeValue();
    void Open(char bracket, bool oneLine);
    void Close(char bracket);
    void NewLine();

    std::string& m_out;
    std::vector<Level> m_levels;
    bool m_afterKey = false;
};

// text as a quoted JSON string.
std::string JsonQuoted(std::string_view text);

// A file name's bytes as a JSON string from which they can be recovered:
// valid UTF-8 as it stands (escaped as JsonQuoted does), and each byte that
// is not part of valid UTF-8 as the lone surrogate U+DC80..U+DCFF of its
// value ("\udce9" for the byte 0xE9), the convention of Python's
// "surrogateescape": os.fsencode(name) gives back the bytes.
std::string JsonQuotedBytes(std::string_view bytes);
