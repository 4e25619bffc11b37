#pragma once

#include <functional>
#include <string>

#include "Archive.h"

// Writes a file through a temporary file beside it, renamed over the target
// only when every byte has been written and the file closed cleanly. On
// failure the target is left as it was, the temporary file is removed and
// the reason is returned in error.
// A symbolic link is written through: the file it names is replaced (its
// temporary file lies beside that file), and the link stays. A device or a
// named pipe is written directly, without a temporary file, so that the
// node itself is never replaced; a pipe nobody reads from is an error, not
// a wait.
bool WriteFileSafely(const std::string& path, const std::function<void(CByteSink&)>& write, std::string& error);

// Makes a write past the file-size limit (ulimit -f) fail with an error
// instead of ending the program, so that WriteFileSafely reports it and
// removes its temporary file. Both programs call it at start-up.
void IgnoreFileSizeLimitSignal();
