#pragma once

#include <string>

// The whole text of a delimited-text file as UTF-8, without a byte-order
// mark: UTF-8 with or without its mark; UTF-16 of either byte order when it
// starts with its mark (spreadsheets save "Unicode text" so); any other text
// that is not valid UTF-8 is taken as Windows-1252. Only regular files are
// read, up to 1 GiB. Throws CDatabaseError when the file is missing, cannot
// be read, is not a regular file or is too large.
std::string ReadDelimitedTextFile(const std::string& path);
