#pragma once

#include <cstdio>
#include <string>

// Opens path for reading if it is a regular file. Opening does not wait for
// a writer when path is a named pipe; a pipe, a device or a folder is
// refused with the reason in error, since reading it could block or never
// end. The caller closes the file.
std::FILE* OpenRegularFile(const std::string& path, std::string& error);
