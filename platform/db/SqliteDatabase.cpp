#include "SqliteDatabase.h"

std::unique_ptr<IDatabase> OpenSqliteDatabase(const std::string& path)
{
    throw CDatabaseError("Unable to open \"" + path + "\": this kind of file cannot be read yet.");
}
