#include "platform/db/OpenDatabase.h"

#include <algorithm>
#include <cctype>

#include "platform/db/CsvDatabase.h"
#include "platform/db/MdbDatabase.h"
#include "platform/db/SqliteDatabase.h"

namespace {

std::string LowerExtension(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    std::string ext = path.substr(dot);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

} // namespace

std::unique_ptr<IDatabase> OpenDatabase(const std::string& path)
{
    const std::string ext = LowerExtension(path);
    if (ext == ".mdb" || ext == ".accdb")
        return OpenMdbDatabase(path);
    if (ext == ".sqlite" || ext == ".sqlite3" || ext == ".db")
        return OpenSqliteDatabase(path);
    if (ext == ".csv" || ext == ".tsv" || ext == ".txt")
        return OpenCsvDatabase(path);
    throw CDatabaseError("\"" + path + "\" is not a database file this program reads "
                         "(Access .mdb or .accdb, SQLite .sqlite, .sqlite3 or .db, or delimited text .csv, .tsv or .txt).");
}

std::string DatabaseFileFilter()
{
    return "All database files (*.mdb *.accdb *.sqlite *.sqlite3 *.db *.csv *.tsv *.txt);;"
           "Access Databases (*.mdb *.accdb);;"
           "SQLite Databases (*.sqlite *.sqlite3 *.db);;"
           "Delimited Text (*.csv *.tsv *.txt)";
}
