#pragma once

#include <algorithm>
#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/db/Database.h"
#include "document/DatabaseOpener.h"

// Database files held in memory, opened through an opener like the real
// one. Each open gives a connection of its own; the files count how many
// were opened and how many are still open. Faults can be planted: a file
// whose table list cannot be read, a table whose fields cannot be read, and
// a table whose records break off after a number of them.
struct FakeTable
{
    FakeTable(std::string tableName, std::vector<std::string> fieldNames)
        : name(std::move(tableName)), fields(std::move(fieldNames))
    {
    }

    std::string name;
    std::vector<std::string> fields;
    std::vector<std::vector<CDbVariant>> rows;
    bool fieldsFail = false;
    std::optional<std::size_t> breaksAfter; // MoveNext past this many records throws
};

struct FakeFile
{
    std::vector<FakeTable> tables;
    bool tableNamesFail = false;
};

class CFakeDatabases
{
public:
    std::map<std::string, FakeFile> files;
    int opens = 0;
    int live = 0;

    DatabaseOpener Opener()
    {
        return [this](const std::string& path) -> std::unique_ptr<IDatabase> {
            const auto it = files.find(path);
            if (it == files.end())
                throw CDatabaseError("\"" + path + "\" does not exist.");
            ++opens;
            return std::make_unique<Connection>(*this, it->second);
        };
    }

private:
    class Records : public IRecordset
    {
    public:
        explicit Records(const FakeTable& table) : m_table(table) {}
        bool IsEOF() const override { return m_row >= m_table.rows.size(); }
        void MoveNext() override
        {
            if (IsEOF())
                throw CDatabaseError("moved past the last record");
            ++m_row;
            if (m_table.breaksAfter && m_row >= *m_table.breaksAfter)
                throw CDatabaseError("the table \"" + m_table.name + "\" is damaged");
        }
        int FieldIndex(const std::string& name) const override
        {
            const auto it = std::find(m_table.fields.begin(), m_table.fields.end(), name);
            if (it == m_table.fields.end())
                throw CDatabaseError("no field \"" + name + "\"");
            return static_cast<int>(it - m_table.fields.begin());
        }
        CDbVariant GetFieldValue(int index) const override
        {
            if (IsEOF())
                throw CDatabaseError("no current record");
            return m_table.rows[m_row].at(static_cast<std::size_t>(index));
        }

    private:
        const FakeTable& m_table;
        std::size_t m_row = 0;
    };

    class Connection : public IDatabase
    {
    public:
        Connection(CFakeDatabases& owner, const FakeFile& file) : m_owner(owner), m_file(file) { ++m_owner.live; }
        ~Connection() override { --m_owner.live; }
        std::vector<std::string> TableNames() override
        {
            if (m_file.tableNamesFail)
                throw CDatabaseError("the catalogue is damaged");
            std::vector<std::string> names;
            for (const FakeTable& t : m_file.tables)
                names.push_back(t.name);
            return names;
        }
        std::vector<std::string> FieldNames(const std::string& table) override
        {
            const FakeTable& t = Find(table);
            if (t.fieldsFail)
                throw CDatabaseError("the fields of \"" + table + "\" are damaged");
            return t.fields;
        }
        std::unique_ptr<IRecordset> OpenRecordset(const std::string& table) override
        {
            return std::make_unique<Records>(Find(table));
        }

    private:
        const FakeTable& Find(const std::string& table) const
        {
            for (const FakeTable& t : m_file.tables)
                if (t.name == table)
                    return t;
            throw CDatabaseError("no table \"" + table + "\"");
        }

        CFakeDatabases& m_owner;
        const FakeFile& m_file;
    };
};

// A table of two real-valued fields.
inline FakeTable RealTable(const std::string& name, const std::string& x, const std::string& y,
                           const std::vector<std::pair<double, double>>& rows)
{
    FakeTable t(name, {x, y});
    for (const auto& [a, b] : rows)
        t.rows.push_back({CDbVariant::Real8(a), CDbVariant::Real8(b)});
    return t;
}
