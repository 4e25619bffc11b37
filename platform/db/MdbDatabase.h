#pragma once

#include <memory>
#include <string>

#include "platform/db/Database.h"

// Opens Access (.mdb, .accdb) files read-only through mdbtools. Numbers and
// dates are decoded from their stored bytes, never through text, so values
// are exact and independent of the locale. A table whose records end before
// the count its definition declares is reported as damaged rather than read
// short. Throws CDatabaseError when the file cannot be opened.
std::unique_ptr<IDatabase> OpenMdbDatabase(const std::string& path);
