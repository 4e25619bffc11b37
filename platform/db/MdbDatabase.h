#pragma once

#include <memory>
#include <string>

#include "Database.h"

// Opens Access (.mdb, .accdb) files through mdbtools. Throws CDatabaseError when it cannot.
std::unique_ptr<IDatabase> OpenMdbDatabase(const std::string& path);
