#pragma once

#include <memory>
#include <string>

#include <sqlite3.h>

// One open SQLite connection, shared by the database and its recordsets so
// that a recordset stays valid whichever of the two is released first.
struct CSqliteConnection
{
    sqlite3* db = nullptr;
    std::string path; // for messages

    CSqliteConnection() = default;
    CSqliteConnection(const CSqliteConnection&) = delete;
    CSqliteConnection& operator=(const CSqliteConnection&) = delete;
    ~CSqliteConnection() { sqlite3_close_v2(db); }

    // Throws CDatabaseError: what, the file and SQLite's text for the last
    // failure on this connection.
    [[noreturn]] void Fail(const std::string& what) const;
};

struct CSqliteStatementDeleter
{
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using SqliteStatement = std::unique_ptr<sqlite3_stmt, CSqliteStatementDeleter>;

// Compiles one statement; throws with what on failure.
SqliteStatement SqlitePrepare(const CSqliteConnection& c, const std::string& sql, const std::string& what);

// Steps once: true on a row, false at the end; a read error throws.
bool SqliteStep(const CSqliteConnection& c, sqlite3_stmt* s, const std::string& what);

// A column of the current row as text, UTF-8, embedded zero bytes kept.
std::string SqliteColumnText(sqlite3_stmt* s, int i);

// A table name as an SQL identifier: in double quotes, every double quote
// inside doubled. Throws for a name holding a zero byte, which SQL text
// cannot carry.
std::string SqliteQuoteName(const std::string& name);
