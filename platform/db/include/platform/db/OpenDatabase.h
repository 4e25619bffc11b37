#pragma once

#include <memory>
#include <string>

#include "platform/db/Database.h"

// Opens a file read-only, choosing the backend by its extension: .mdb and
// .accdb (Access), .sqlite, .sqlite3 and .db (SQLite), .csv, .tsv and .txt
// (delimited text with a header row). Throws CDatabaseError when the file
// cannot be opened or is not what its extension says.
std::unique_ptr<IDatabase> OpenDatabase(const std::string& path);

// The file-choice filter that offers every kind, Access files first.
std::string DatabaseFileFilter();
