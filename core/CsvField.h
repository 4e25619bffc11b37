#pragma once

#include <string>

// A field of a CSV line (RFC 4180): the text as it is, or, when it holds a
// comma, a quote or a line break, quoted with its quotes doubled.
std::string CsvField(const std::string& text);
