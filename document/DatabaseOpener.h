#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/db/OpenDatabase.h"

// Opens a database file for reading; throws CDatabaseError when it cannot.
// The document and the import wizard open their connections through one of
// these, so that a test can hand them a database of its own making.
using DatabaseOpener = std::function<std::unique_ptr<IDatabase>(const std::string& path)>;
