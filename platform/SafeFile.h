#pragma once

#include <functional>
#include <string>

#include "Archive.h"

// Writes a file through a temporary file beside it, renamed over the target
// only when every byte has been written and the file closed cleanly. On
// failure the target is left as it was, the temporary file is removed and
// the reason is returned in error.
bool WriteFileSafely(const std::string& path, const std::function<void(CByteSink&)>& write, std::string& error);
