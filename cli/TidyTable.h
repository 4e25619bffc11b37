#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// One cell of a tidy table: empty, a text, a number or a whole number.
using TidyValue = std::variant<std::monostate, std::string, double, std::int64_t>;

// The forms a tidy table is written in, one row per line:
// csv   RFC 4180: comma-separated, a field holding a comma, a double quote,
//       CR or LF is quoted (its quotes doubled); lines end in LF; a header
//       line first.
// tsv   tab-separated with a header line; a tab, CR or LF inside a text is
//       written as a space.
// jsonl one JSON object per line, keyed by the column names; an empty cell
//       is null.
// Numbers are written with the shortest text that reads back to the same
// double; NaN is an empty cell (null in JSON), infinities "Inf" and "-Inf"
// (null in JSON), as pandas and R read them.
enum class TidyFormat
{
    csv,
    tsv,
    jsonl,
};

// The format named by text ("csv", "tsv", "jsonl"); false for another name.
bool ParseTidyFormat(std::string_view text, TidyFormat& format);

// The header line (empty for jsonl) and one row's line, each ending in LF.
std::string TidyHeaderLine(TidyFormat format, const std::vector<std::string>& columns);
std::string TidyRowLine(TidyFormat format, const std::vector<std::string>& columns,
                        const std::vector<TidyValue>& cells);
