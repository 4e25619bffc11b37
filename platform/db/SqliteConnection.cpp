#include "platform/db/SqliteConnection.h"

#include "platform/db/Database.h"

void CSqliteConnection::Fail(const std::string& what) const
{
    throw CDatabaseError(what + " in \"" + path + "\": " + sqlite3_errmsg(db));
}

SqliteStatement SqlitePrepare(const CSqliteConnection& c, const std::string& sql, const std::string& what)
{
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(c.db, sql.c_str(), static_cast<int>(sql.size()) + 1, &raw, nullptr) != SQLITE_OK) {
        sqlite3_finalize(raw);
        c.Fail(what);
    }
    return SqliteStatement(raw);
}

bool SqliteStep(const CSqliteConnection& c, sqlite3_stmt* s, const std::string& what)
{
    const int rc = sqlite3_step(s);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    c.Fail(what);
}

std::string SqliteColumnText(sqlite3_stmt* s, int i)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, i));
    const int bytes = sqlite3_column_bytes(s, i);
    return text ? std::string(text, static_cast<std::size_t>(bytes)) : std::string();
}

std::string SqliteQuoteName(const std::string& name)
{
    if (name.find('\0') != std::string::npos)
        throw CDatabaseError("Cannot open table \"" + name + "\": the name holds a zero byte.");
    std::string quoted = "\"";
    for (char c : name) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    quoted += '"';
    return quoted;
}
