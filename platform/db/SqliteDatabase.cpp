#include "platform/db/SqliteDatabase.h"

#include <cerrno>
#include <cstring>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/db/SqliteConnection.h"
#include "platform/db/SqliteRecordset.h"

namespace {

class CSqliteDatabase : public IDatabase
{
public:
    explicit CSqliteDatabase(std::shared_ptr<CSqliteConnection> connection) : m_connection(std::move(connection)) {}

    std::vector<std::string> TableNames() override { return SchemaNames("table", "Cannot list the tables"); }

    std::vector<std::string> ViewNames() override { return SchemaNames("view", "Cannot list the views"); }

    std::vector<std::string> FieldNames(const std::string& table) override
    {
        // The columns of "SELECT *", which are the columns a recordset
        // offers, in the table's own order.
        SqliteStatement s = SqlitePrepare(*m_connection, "SELECT * FROM " + SqliteQuoteName(table) + ";",
                                          "Cannot open table \"" + table + "\"");
        std::vector<std::string> names;
        const int count = sqlite3_column_count(s.get());
        for (int i = 0; i < count; ++i) {
            const char* name = sqlite3_column_name(s.get(), i);
            names.emplace_back(name ? name : "");
        }
        return names;
    }

    std::unique_ptr<IRecordset> OpenRecordset(const std::string& table) override
    {
        return std::make_unique<CSqliteRecordset>(m_connection, table);
    }

    void CheckIntegrity() override
    {
        // quick_check reads every page and checks each b-tree page on its
        // own (cell sizes, free space, the order of keys); it answers one
        // row "ok", or one row per fault found (at most 10 are asked for).
        const std::string what = "The database is damaged";
        SqliteStatement s = SqlitePrepare(*m_connection, "PRAGMA quick_check(10);", what);
        std::string faults;
        while (SqliteStep(*m_connection, s.get(), what)) {
            const std::string row = SqliteColumnText(s.get(), 0);
            if (row != "ok")
                faults += (faults.empty() ? "" : "\n") + row;
        }
        if (!faults.empty())
            throw CDatabaseError(what + ": \"" + m_connection->path + "\" fails SQLite's check:\n" + faults);
    }

private:
    // The names of the schema's entries of one type, in the file's order.
    std::vector<std::string> SchemaNames(const std::string& type, const std::string& what)
    {
        SqliteStatement s = SqlitePrepare(
            *m_connection, "SELECT name FROM sqlite_master WHERE type = '" + type + "' ORDER BY rowid;", what);
        std::vector<std::string> names;
        while (SqliteStep(*m_connection, s.get(), what))
            names.push_back(SqliteColumnText(s.get(), 0));
        return names;
    }

    std::shared_ptr<CSqliteConnection> m_connection;
};

// Refuses what is not an existing regular file starting with the SQLite
// header, before SQLite sees it: SQLite would take an empty file for an
// empty database, and opening a named pipe would wait for a writer.
void CheckSqliteFile(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR)
            throw CDatabaseError("\"" + path + "\" does not exist.");
        throw CDatabaseError("Cannot open \"" + path + "\": " + std::generic_category().message(error) + ".");
    }
    if (!S_ISREG(st.st_mode))
        throw CDatabaseError("\"" + path + "\" is not a file.");
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int error = errno;
        throw CDatabaseError("Cannot open \"" + path + "\": " + std::generic_category().message(error) + ".");
    }
    static const char kMagic[16] = {'S', 'Q', 'L', 'i', 't', 'e', ' ', 'f', 'o', 'r', 'm', 'a', 't', ' ', '3', '\0'};
    char head[16] = {};
    const ssize_t got = ::read(fd, head, sizeof head);
    ::close(fd);
    if (got != static_cast<ssize_t>(sizeof head) || std::memcmp(head, kMagic, sizeof head) != 0)
        throw CDatabaseError("\"" + path + "\" is not an SQLite database.");
}

} // namespace

std::unique_ptr<IDatabase> OpenSqliteDatabase(const std::string& path)
{
    CheckSqliteFile(path);
    auto connection = std::make_shared<CSqliteConnection>();
    connection->path = path;
    // A name starting with "file:" would be read as a URI by builds that
    // take URIs by default.
    const std::string name = path.rfind("file:", 0) == 0 ? "./" + path : path;
    const int rc = sqlite3_open_v2(name.c_str(), &connection->db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        if (!connection->db)
            throw CDatabaseError("Cannot open \"" + path + "\": out of memory.");
        connection->Fail("Cannot open the database");
    }
    sqlite3_extended_result_codes(connection->db, 1);
    // The file is data, not code: functions named in its schema (views,
    // generated columns) run only when they are harmless.
    sqlite3_db_config(connection->db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(connection->db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    // A writer holds its lock only for a commit; wait that long, not forever.
    sqlite3_busy_timeout(connection->db, 2000);
    // Check every cell's size against its page while reading, so a damaged
    // page is reported instead of read as fewer records.
    SqliteStatement check = SqlitePrepare(*connection, "PRAGMA cell_size_check = ON;", "Cannot open the database");
    SqliteStep(*connection, check.get(), "Cannot open the database");
    check.reset();
    // Reading the schema is the first access to the file: a damaged header
    // or schema fails here.
    SqliteStatement probe =
        SqlitePrepare(*connection, "SELECT count(*) FROM sqlite_master;", "Cannot read the database");
    SqliteStep(*connection, probe.get(), "Cannot read the database");
    probe.reset();
    return std::make_unique<CSqliteDatabase>(std::move(connection));
}
