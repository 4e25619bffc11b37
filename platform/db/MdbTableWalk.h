#pragma once

#include <string>
#include <vector>

#include "platform/db/DbVariant.h"
#include "platform/db/MdbHandles.h"

// Walks the records of one table of an open Access file with mdbtools,
// decoding each record in full. Numbers and dates are decoded from their
// stored bytes, never through text, so they are exact and do not depend on
// the locale. Throws CDatabaseError when the table cannot be read, a value
// is damaged, or the records end before the count the table declares or
// go on past it.
class CMdbTableWalk
{
public:
    CMdbTableWalk(MdbCatalogEntry* entry, const std::string& tableName);

    const std::vector<std::string>& FieldNames() const { return m_fieldNames; }
    // Moves to the next record (the first at the start); false after the last.
    bool Next();
    const std::vector<CDbVariant>& Row() const { return m_row; }

private:
    CDbVariant DecodeColumn(unsigned index);
    bool IsStoredNull(unsigned index);
    [[noreturn]] void Damaged(const std::string& what) const;

    MdbHandle* m_mdb;
    MdbTableDefPtr m_table;
    std::string m_tableName;
    std::vector<std::string> m_fieldNames;
    std::vector<CDbVariant> m_row;
    unsigned long long m_rowsRead = 0;
};
