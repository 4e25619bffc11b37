#include "platform/db/CsvDatabase.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>

#include "platform/db/CsvReader.h"
#include "platform/db/DelimitedTextFile.h"

namespace {

std::string LowerExtension(const std::filesystem::path& path)
{
    std::string ext = path.extension().string();
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return ext;
}

// What the database knows of its file: the header, read at opening.
struct CsvSource
{
    std::string path;
    std::string table;
    char delimiter = ',';
    std::vector<std::string> fields;
};

// The records of a delimited-text file, read from the file piece by piece:
// only the records not yet read that the last piece holds are in memory.
class CCsvRecords
{
public:
    explicit CCsvRecords(const std::string& path) : m_stream(path), m_reader({}, ',', path) {}

    // The delimiter of the first record (the header), as DetectDelimiter
    // finds it, or that of a .tsv file.
    char DetectHeaderDelimiter(bool tsv)
    {
        while (!m_eof && !HoldsALineEnd())
            Refill(kPiece);
        return tsv ? '\t' : DetectDelimiter(m_buffer, ',');
    }

    void SetDelimiter(char delimiter, const std::string& path) { m_reader = CCsvReader({}, delimiter, path); }

    // The next record, as CCsvReader::ReadRecord reads it.
    bool Next(std::vector<CCsvField>& fields, std::size_t& count)
    {
        for (std::size_t want = kPiece;; want *= 2) {
            const std::string_view rest = std::string_view(m_buffer).substr(m_pos);
            m_reader.Reset(rest, m_line);
            bool got = false;
            bool cut = false;
            try {
                got = m_reader.ReadRecord(fields, count);
            } catch (const CDatabaseError&) {
                if (m_eof)
                    throw;
                cut = true; // perhaps a quoted field that the next piece closes
            }
            // A record that reaches the end of what is read may go on in
            // the next piece: read more and read the record again (reading
            // twice as much each time, so that a long record costs no more
            // than twice its length).
            if (!m_eof && (cut || !got || m_reader.Offset() >= rest.size())) {
                Refill(want);
                continue;
            }
            m_recordLine = m_reader.RecordLine();
            m_line = m_reader.Line();
            m_pos += m_reader.Offset();
            if (m_pos >= kPiece) {
                m_buffer.erase(0, m_pos);
                m_pos = 0;
            }
            return got;
        }
    }

    int RecordLine() const { return m_recordLine; }
    std::int64_t LineBound() const { return m_stream.LineBound(); }

private:
    static constexpr std::size_t kPiece = std::size_t{1} << 20;

    void Refill(std::size_t bytes)
    {
        if (!m_stream.ReadMore(m_buffer, bytes))
            m_eof = true;
    }

    // Whether the text read holds the end of its first line with anything
    // on it (outside quotes).
    bool HoldsALineEnd() const
    {
        bool inQuotes = false;
        bool any = false;
        for (const char c : m_buffer) {
            if (c == '"')
                inQuotes = !inQuotes;
            else if (!inQuotes && (c == '\n' || c == '\r')) {
                if (any)
                    return true;
            } else {
                any = true;
            }
        }
        return false;
    }

    CDelimitedTextStream m_stream;
    CCsvReader m_reader;
    std::string m_buffer;
    std::size_t m_pos = 0;
    int m_line = 1;
    int m_recordLine = 1;
    bool m_eof = false;
};

class CCsvRecordset : public IRecordset
{
public:
    explicit CCsvRecordset(std::shared_ptr<const CsvSource> source)
        : m_source(std::move(source)), m_records(m_source->path)
    {
        m_records.SetDelimiter(m_source->delimiter, m_source->path);
        // The header again, then the first record.
        std::size_t count = 0;
        m_records.Next(m_fields, count);
        Read();
    }

    bool IsEOF() const override { return m_eof; }

    void MoveNext() override
    {
        if (m_eof)
            throw CDatabaseError("No current record in \"" + m_source->path + "\".");
        Read();
    }

    int FieldIndex(const std::string& name) const override
    {
        const auto& fields = m_source->fields;
        for (std::size_t i = 0; i < fields.size(); ++i)
            if (fields[i] == name)
                return static_cast<int>(i);
        throw CDatabaseError("Table \"" + m_source->table + "\" has no field \"" + name + "\".");
    }

    CDbVariant GetFieldValue(int index) const override
    {
        if (index < 0 || static_cast<std::size_t>(index) >= m_source->fields.size())
            throw CDatabaseError("Table \"" + m_source->table + "\" has no field number " + std::to_string(index) + ".");
        if (m_eof)
            throw CDatabaseError("No current record in \"" + m_source->path + "\".");
        const CCsvField& field = m_fields[static_cast<std::size_t>(index)];
        if (!field.quoted && field.text.empty())
            return CDbVariant::Null();
        return CDbVariant::Text(field.text);
    }

    bool ReadsDecimalComma() const override { return m_source->delimiter == ';' || m_source->delimiter == '\t'; }

    // Every line after the header holds at most one record.
    std::int64_t RecordCountBound() const override
    {
        const std::int64_t lines = m_records.LineBound();
        return lines < 0 ? -1 : std::max<std::int64_t>(lines - 1, 0);
    }

private:
    void Read()
    {
        m_eof = true;
        if (!m_records.Next(m_fields, m_count))
            return;
        if (m_count != m_source->fields.size())
            throw CDatabaseError("Line " + std::to_string(m_records.RecordLine()) + " of \"" + m_source->path +
                                 "\" has " + std::to_string(m_count) + (m_count == 1 ? " field" : " fields") +
                                 " where the header has " + std::to_string(m_source->fields.size()) + ".");
        m_eof = false;
    }

    std::shared_ptr<const CsvSource> m_source;
    CCsvRecords m_records;
    std::vector<CCsvField> m_fields;
    std::size_t m_count = 0;
    bool m_eof = true;
};

class CCsvDatabase : public IDatabase
{
public:
    explicit CCsvDatabase(std::shared_ptr<const CsvSource> source) : m_source(std::move(source)) {}

    std::vector<std::string> TableNames() override { return {m_source->table}; }

    std::vector<std::string> FieldNames(const std::string& table) override
    {
        CheckTable(table);
        return m_source->fields;
    }

    // A header row without a record below it is no table of values (often
    // an export that failed): refused, so that it never reads as an empty
    // series.
    std::unique_ptr<IRecordset> OpenRecordset(const std::string& table) override
    {
        CheckTable(table);
        auto recordset = std::make_unique<CCsvRecordset>(m_source);
        if (recordset->IsEOF())
            throw CDatabaseError("\"" + m_source->path + "\" holds a header row but no record below it.");
        return recordset;
    }

private:
    void CheckTable(const std::string& table) const
    {
        if (table != m_source->table)
            throw CDatabaseError("\"" + m_source->path + "\" has no table \"" + table + "\"; its one table is \"" +
                                 m_source->table + "\".");
    }

    std::shared_ptr<const CsvSource> m_source;
};

} // namespace

std::unique_ptr<IDatabase> OpenCsvDatabase(const std::string& path)
{
    auto source = std::make_shared<CsvSource>();
    source->path = path;
    const std::filesystem::path fsPath(path);
    source->table = fsPath.stem().string();

    CCsvRecords header(path);
    source->delimiter = header.DetectHeaderDelimiter(LowerExtension(fsPath) == ".tsv");
    header.SetDelimiter(source->delimiter, path);
    std::vector<CCsvField> fields;
    std::size_t count = 0;
    if (!header.Next(fields, count))
        throw CDatabaseError("\"" + path + "\" is empty: delimited text needs a header row naming its fields.");
    for (std::size_t i = 0; i < count; ++i)
        source->fields.push_back(std::move(fields[i].text));
    return std::make_unique<CCsvDatabase>(std::move(source));
}
