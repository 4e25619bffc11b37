#pragma once

#include <string>
#include <vector>

#include "platform/db/Database.h"
#include "platform/db/MdbChild.h"

// A walk over the records of one table of an Access file, read by a reader
// process of its own that runs ahead of the walk as far as the pipe holds.
class CMdbRecordset : public IRecordset
{
public:
    // `table` is the table's name exactly as the file spells it.
    CMdbRecordset(const std::string& path, const std::string& table);

    bool IsEOF() const override { return m_eof; }
    void MoveNext() override;
    int FieldIndex(const std::string& name) const override;
    CDbVariant GetFieldValue(int index) const override;

private:
    void Advance();

    std::string m_path;
    std::string m_table;
    CMdbChild m_child;
    std::vector<std::string> m_fieldNames;
    std::vector<CDbVariant> m_row;
    bool m_eof = true;
};
