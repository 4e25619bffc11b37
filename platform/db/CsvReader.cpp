#include "platform/db/CsvReader.h"

#include <cstring>

#include "platform/db/Database.h"

namespace {

// More fields than any table holds: a limit on what one line can make us
// allocate.
constexpr std::size_t kMaxFields = 65536;

} // namespace

CCsvReader::CCsvReader(std::string_view text, char delimiter, std::string fileName, int firstLine)
    : m_text(text), m_delimiter(delimiter), m_fileName(std::move(fileName)), m_line(firstLine), m_recordLine(firstLine)
{
}

void CCsvReader::Reset(std::string_view text, int firstLine)
{
    m_text = text;
    m_pos = 0;
    m_line = firstLine;
    m_recordLine = firstLine;
}

bool CCsvReader::ReadRecord(std::vector<CCsvField>& fields, std::size_t& count)
{
    const std::size_t n = m_text.size();
    // Empty lines hold no record.
    while (m_pos < n && (m_text[m_pos] == '\n' || m_text[m_pos] == '\r')) {
        if (m_text[m_pos] == '\r' && m_pos + 1 < n && m_text[m_pos + 1] == '\n')
            ++m_pos;
        ++m_pos;
        ++m_line;
    }
    if (m_pos >= n)
        return false;
    m_recordLine = m_line;
    count = 0;
    for (;;) {
        if (count == kMaxFields)
            throw CDatabaseError("Line " + std::to_string(m_recordLine) + " of \"" + m_fileName + "\" has more than " +
                                 std::to_string(kMaxFields) + " fields.");
        if (count == fields.size())
            fields.emplace_back();
        CCsvField& field = fields[count++];
        field.quoted = m_pos < n && m_text[m_pos] == '"';
        if (field.quoted)
            ReadQuoted(field.text);
        else
            ReadUnquoted(field.text);
        if (m_pos >= n)
            return true;
        const char c = m_text[m_pos++];
        if (c == m_delimiter)
            continue;
        // A line break ends the record.
        if (c == '\r' && m_pos < n && m_text[m_pos] == '\n')
            ++m_pos;
        ++m_line;
        return true;
    }
}

void CCsvReader::ReadUnquoted(std::string& out)
{
    const std::size_t n = m_text.size();
    const char* p = m_text.data();
    std::size_t end = m_pos;
    const char d = m_delimiter;
    while (end < n) {
        const char c = p[end];
        if (c == d || c == '\n' || c == '\r')
            break;
        ++end;
    }
    out.assign(p + m_pos, end - m_pos);
    m_pos = end;
}

void CCsvReader::ReadQuoted(std::string& out)
{
    const int startLine = m_line;
    const std::size_t n = m_text.size();
    const char* p = m_text.data();
    out.clear();
    ++m_pos; // the opening quote
    for (;;) {
        const void* q = m_pos < n ? std::memchr(p + m_pos, '"', n - m_pos) : nullptr;
        if (!q)
            throw CDatabaseError("The quoted field that starts on line " + std::to_string(startLine) + " of \"" +
                                 m_fileName + "\" is never closed.");
        const std::size_t quote = static_cast<std::size_t>(static_cast<const char*>(q) - p);
        out.append(p + m_pos, quote - m_pos);
        CountLines(m_pos, quote);
        m_pos = quote + 1;
        if (m_pos < n && p[m_pos] == '"') {
            out += '"';
            ++m_pos;
            continue;
        }
        break;
    }
    // Blanks between the closing quote and the delimiter are allowed.
    while (m_pos < n && (p[m_pos] == ' ' || p[m_pos] == '\t') && p[m_pos] != m_delimiter)
        ++m_pos;
    if (m_pos < n && p[m_pos] != m_delimiter && p[m_pos] != '\n' && p[m_pos] != '\r')
        throw CDatabaseError("Line " + std::to_string(m_line) + " of \"" + m_fileName +
                             "\" has text after the closing quote of a field.");
}

void CCsvReader::CountLines(std::size_t from, std::size_t to)
{
    for (std::size_t i = from; i < to; ++i) {
        const char c = m_text[i];
        if (c == '\n' || (c == '\r' && (i + 1 >= m_text.size() || m_text[i + 1] != '\n')))
            ++m_line;
    }
}

char DetectDelimiter(std::string_view text, char fallback)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == '\n' || text[i] == '\r'))
        ++i;
    std::size_t tabs = 0, semicolons = 0, commas = 0;
    bool inQuotes = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            inQuotes = !inQuotes; // a doubled quote toggles twice
            continue;
        }
        if (inQuotes)
            continue;
        if (c == '\n' || c == '\r')
            break;
        if (c == '\t') ++tabs;
        else if (c == ';') ++semicolons;
        else if (c == ',') ++commas;
    }
    if (tabs == 0 && semicolons == 0 && commas == 0)
        return fallback;
    if (tabs >= semicolons && tabs >= commas)
        return '\t';
    return semicolons >= commas ? ';' : ',';
}
