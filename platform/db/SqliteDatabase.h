#pragma once

#include <memory>
#include <string>

#include "platform/db/Database.h"

// Opens SQLite files through libsqlite3. Throws CDatabaseError when it cannot.
std::unique_ptr<IDatabase> OpenSqliteDatabase(const std::string& path);
