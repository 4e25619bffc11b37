#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/db/DbVariant.h"

// Any failure of the database layer: a file that cannot be opened, a table
// or field that does not exist, a damaged page, a read error. The text says
// what went wrong for a log or a command-line message.
class CDatabaseError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// A read-only walk over every record of one table, in the order the table
// delivers them. Positioned on the first record when opened.
class IRecordset
{
public:
    virtual ~IRecordset() = default;
    virtual bool IsEOF() const = 0;
    // Throws CDatabaseError on a read error, and when the records end before
    // the count the table declares or go on past it (a truncated or damaged
    // file).
    virtual void MoveNext() = 0;
    // The index of a field by its exact name; throws CDatabaseError when the
    // table has no such field.
    virtual int FieldIndex(const std::string& name) const = 0;
    virtual CDbVariant GetFieldValue(int index) const = 0;
    CDbVariant GetFieldValue(const std::string& name) const { return GetFieldValue(FieldIndex(name)); }
    // Whether a text value's comma is its decimal mark ("1,5"): true only for
    // delimited text whose fields are separated by ';' or a tab, where a
    // comma cannot be a delimiter and is written for the decimals.
    virtual bool ReadsDecimalComma() const { return false; }
    // At most how many records the table holds, when the backend can tell
    // at little cost (to make room for them at once); -1 otherwise.
    virtual std::int64_t RecordCountBound() const { return -1; }
};

// One open database file. Every call may throw CDatabaseError.
class IDatabase
{
public:
    virtual ~IDatabase() = default;
    // Every table, system tables included, in the file's own order.
    virtual std::vector<std::string> TableNames() = 0;
    // The views, in the file's own order, which OpenRecordset reads as it
    // reads tables; none for backends without views.
    virtual std::vector<std::string> ViewNames() { return {}; }
    // The table's fields in the table's field order; throws when the table
    // cannot be opened.
    virtual std::vector<std::string> FieldNames(const std::string& table) = 0;
    virtual std::unique_ptr<IRecordset> OpenRecordset(const std::string& table) = 0;
    // Checks the structure of the whole file before a load reads a table
    // from it, where the backend can: a damaged page may otherwise read as
    // a table with a record fewer. Throws CDatabaseError, in the backend's
    // own words, when the file is damaged.
    virtual void CheckIntegrity() {}
};
