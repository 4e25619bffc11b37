#include "CsvDatabase.h"

#include <filesystem>

#include "CsvReader.h"
#include "DelimitedTextFile.h"

namespace {

std::string LowerExtension(const std::filesystem::path& path)
{
    std::string ext = path.extension().string();
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return ext;
}

// Everything a recordset needs, shared by the database and its recordsets.
struct CsvSource
{
    std::string path;
    std::string table;
    std::string text;
    char delimiter = ',';
    std::vector<std::string> fields;
    std::size_t bodyOffset = 0; // where the first record after the header starts
    int bodyLine = 1;
};

class CCsvRecordset : public IRecordset
{
public:
    explicit CCsvRecordset(std::shared_ptr<const CsvSource> source)
        : m_source(std::move(source)),
          m_reader(std::string_view(m_source->text).substr(m_source->bodyOffset), m_source->delimiter,
                   m_source->path, m_source->bodyLine)
    {
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

private:
    void Read()
    {
        m_eof = true;
        if (!m_reader.ReadRecord(m_fields, m_count))
            return;
        if (m_count != m_source->fields.size())
            throw CDatabaseError("Line " + std::to_string(m_reader.RecordLine()) + " of \"" + m_source->path +
                                 "\" has " + std::to_string(m_count) + (m_count == 1 ? " field" : " fields") +
                                 " where the header has " + std::to_string(m_source->fields.size()) + ".");
        m_eof = false;
    }

    std::shared_ptr<const CsvSource> m_source;
    CCsvReader m_reader;
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
    source->text = ReadDelimitedTextFile(path);
    source->delimiter = LowerExtension(fsPath) == ".tsv" ? '\t' : DetectDelimiter(source->text, ',');

    CCsvReader header(source->text, source->delimiter, path);
    std::vector<CCsvField> fields;
    std::size_t count = 0;
    if (!header.ReadRecord(fields, count))
        throw CDatabaseError("\"" + path + "\" is empty: delimited text needs a header row naming its fields.");
    for (std::size_t i = 0; i < count; ++i)
        source->fields.push_back(std::move(fields[i].text));
    source->bodyOffset = header.Offset();
    source->bodyLine = header.Line();
    return std::make_unique<CCsvDatabase>(std::move(source));
}
