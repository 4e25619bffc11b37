#pragma once

#include <functional>
#include <string>

#include "platform/Archive.h"

// Writes a file through a temporary file beside it, renamed over the target
// only when every byte has been written and the file closed cleanly. On
// failure the target is left as it was, the temporary file is removed and
// the reason is returned in error.
// A symbolic link is written through: the file it names is replaced (its
// temporary file lies beside that file), and the link stays. A device or a
// named pipe is written directly, without a temporary file, so that the
// node itself is never replaced; a pipe nobody reads from is an error, not
// a wait.
// The temporary file is named "NAME.~XXXXXX" beside the target NAME, or
// ".~kestrin.XXXXXX" in the same folder when NAME is too long to take the
// eight bytes more. Before writing, temporary files of these patterns in
// the folder (of this NAME, or of the short pattern) that are older than a
// day are removed: a save that was killed outright (kill -9, a power cut)
// cannot remove its own.
bool WriteFileSafely(const std::string& path, const std::function<void(CByteSink&)>& write, std::string& error);

// Makes a write past the file-size limit (ulimit -f) fail with an error
// instead of ending the program, so that WriteFileSafely reports it and
// removes its temporary file. Both programs call it at start-up.
void IgnoreFileSizeLimitSignal();

// Makes WriteFileSafely write a file of this name (the command line's "-")
// to standard output instead, directly. The workbench never sets one.
void SetStandardOutputName(const std::string& name);

// Makes SIGINT, SIGTERM and SIGHUP remove the temporary file of a save in
// progress before the program ends as the signal says (a signal that is
// ignored stays ignored). The command line calls it at start-up; the
// workbench handles its own ending.
void RemoveTemporaryFilesOnSignals();

// The files that hold a save in progress, and the age beyond which one
// found lying in a folder belongs to a save that was killed.
inline constexpr const char* kTemporaryMark = ".~";
inline constexpr const char* kShortTemporaryName = ".~kestrin.";
inline constexpr int kStaleTemporarySeconds = 24 * 60 * 60;
