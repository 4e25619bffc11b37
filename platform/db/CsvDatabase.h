#pragma once

#include <memory>
#include <string>

#include "platform/db/Database.h"

// Opens delimited text files with a header row: one table named after the file. Throws CDatabaseError when it cannot.
std::unique_ptr<IDatabase> OpenCsvDatabase(const std::string& path);
