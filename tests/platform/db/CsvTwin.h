#pragma once

#include <charconv>
#include <cstdint>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

// The CSV twin of a fixture table: a header row and one row per record, with
// RFC 4180 quoting on single lines. An empty unquoted field is a missing
// value (nullopt); a quoted one is text, possibly empty.
struct CsvTwin
{
    using Row = std::vector<std::optional<std::string>>;
    std::vector<std::string> header;
    std::vector<Row> rows;

    int Column(const std::string& name) const
    {
        for (std::size_t i = 0; i < header.size(); ++i)
            if (header[i] == name)
                return static_cast<int>(i);
        throw std::runtime_error("twin has no column " + name);
    }
};

inline CsvTwin::Row SplitCsvLine(const std::string& line)
{
    CsvTwin::Row fields;
    std::size_t i = 0;
    while (true) {
        if (i < line.size() && line[i] == '"') {
            std::string text;
            ++i;
            while (i < line.size()) {
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') { text += '"'; i += 2; continue; }
                    ++i;
                    break;
                }
                text += line[i++];
            }
            fields.emplace_back(std::move(text));
        } else {
            const std::size_t comma = line.find(',', i);
            const std::string raw = line.substr(i, comma == std::string::npos ? std::string::npos : comma - i);
            if (raw.empty())
                fields.emplace_back(std::nullopt);
            else
                fields.emplace_back(raw);
            i = comma == std::string::npos ? line.size() : comma;
        }
        if (i >= line.size())
            break;
        ++i; // the comma
        if (i == line.size()) { fields.emplace_back(std::nullopt); break; }
    }
    return fields;
}

inline CsvTwin ReadCsvTwin(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    CsvTwin twin;
    std::string line;
    bool first = true;
    while (std::getline(in, line)) {
        if (first) {
            for (auto& f : SplitCsvLine(line))
                twin.header.push_back(f.value_or(""));
            first = false;
        } else if (!line.empty()) {
            twin.rows.push_back(SplitCsvLine(line));
        }
    }
    return twin;
}

// Exact readings of the twins' numbers, independent of the locale.
inline double TwinDouble(const std::string& text)
{
    double v = 0.0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size())
        throw std::runtime_error("not a number in twin: " + text);
    return v;
}

inline std::int64_t TwinInteger(const std::string& text)
{
    std::int64_t v = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size())
        throw std::runtime_error("not an integer in twin: " + text);
    return v;
}

// A currency amount written with exactly four decimals, as ten-thousandths.
inline std::int64_t TwinCurrency(const std::string& text)
{
    const std::size_t point = text.find('.');
    if (point == std::string::npos || text.size() - point != 5)
        throw std::runtime_error("not a four-decimal amount in twin: " + text);
    const bool negative = text[0] == '-';
    const std::int64_t whole = TwinInteger(text.substr(0, point));
    const std::int64_t fraction = TwinInteger(text.substr(point + 1));
    return whole * 10000 + (negative ? -fraction : fraction);
}
