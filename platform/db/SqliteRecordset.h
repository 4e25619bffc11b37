#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/db/Database.h"
#include "platform/db/SqliteConnection.h"

// Every record of one table of an SQLite file, in the order a plain
// "SELECT *" delivers them (rowid order for ordinary tables).
//
// Field values take their variant type from the column's declared type, read
// as SQLite reads declared types (a type naming "INT" is an integer whatever
// else it says, then "CHAR", "CLOB" or "TEXT" text, then "REAL", "FLOA" or
// "DOUB" reals), extended by kinds an SQLite file has no storage class for:
// "BOOL" booleans, "DATE" or "TIME" dates and "CURRENCY" or "MONEY" currency.
// Columns of any other declared type take the type of each value's storage
// class. A NULL is Null whatever the column; bytes are empty (no numeric
// reading). Integers are 32-bit integer variants carrying the full 64-bit
// value, so no stored integer is ever rounded.
class CSqliteRecordset : public IRecordset
{
public:
    // Throws CDatabaseError when the table does not exist or its first
    // record cannot be read.
    CSqliteRecordset(std::shared_ptr<CSqliteConnection> connection, const std::string& table);

    bool IsEOF() const override { return m_eof; }
    void MoveNext() override;
    int FieldIndex(const std::string& name) const override;
    CDbVariant GetFieldValue(int index) const override;
    using IRecordset::GetFieldValue;

    enum class Kind { Integer, Text, Real, Boolean, Date, Currency, ByStorage };

private:
    std::string What() const;
    CDbVariant Value(int i) const;

    std::shared_ptr<CSqliteConnection> m_connection;
    std::string m_table;
    SqliteStatement m_statement;
    std::vector<std::string> m_names;
    std::vector<Kind> m_kinds;
    bool m_eof = true;
};
