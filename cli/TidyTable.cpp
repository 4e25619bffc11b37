#include "cli/TidyTable.h"

#include <cassert>
#include <cmath>

#include "cli/JsonWriter.h"
#include "core/CsvField.h"
#include "cli/TextOutput.h"

namespace {

std::string NumberText(double value)
{
    if (std::isnan(value))
        return {};
    if (std::isinf(value))
        return value < 0 ? "-Inf" : "Inf";
    return Exact(value);
}

std::string TsvField(std::string text)
{
    for (char& c : text)
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    return text;
}

std::string CellText(TidyFormat format, const TidyValue& cell)
{
    if (const auto* text = std::get_if<std::string>(&cell))
        return format == TidyFormat::csv ? CsvField(*text) : TsvField(*text);
    if (const auto* number = std::get_if<double>(&cell))
        return NumberText(*number);
    if (const auto* whole = std::get_if<std::int64_t>(&cell))
        return std::to_string(*whole);
    return {};
}

std::string JsonLine(const std::vector<std::string>& columns, const std::vector<TidyValue>& cells)
{
    std::string out;
    CJsonWriter json(out);
    json.BeginObject(true);
    for (std::size_t c = 0; c < columns.size(); ++c) {
        json.Key(columns[c]);
        const TidyValue& cell = cells[c];
        if (const auto* text = std::get_if<std::string>(&cell))
            json.String(*text);
        else if (const auto* number = std::get_if<double>(&cell))
            json.Number(*number);
        else if (const auto* whole = std::get_if<std::int64_t>(&cell))
            json.Integer(*whole);
        else
            json.Null();
    }
    json.EndObject();
    json.Finish();
    return out;
}

std::string JoinedLine(TidyFormat format, const std::vector<std::string>& texts)
{
    std::string line;
    for (std::size_t c = 0; c < texts.size(); ++c) {
        if (c > 0)
            line += format == TidyFormat::csv ? ',' : '\t';
        line += texts[c];
    }
    return line + '\n';
}

} // namespace

bool ParseTidyFormat(std::string_view text, TidyFormat& format)
{
    constexpr std::pair<std::string_view, TidyFormat> kNames[] = {
        {"csv", TidyFormat::csv}, {"tsv", TidyFormat::tsv}, {"jsonl", TidyFormat::jsonl}};
    for (const auto& [name, value] : kNames)
        if (text == name) {
            format = value;
            return true;
        }
    return false;
}

std::string TidyHeaderLine(TidyFormat format, const std::vector<std::string>& columns)
{
    if (format == TidyFormat::jsonl)
        return {};
    std::vector<std::string> texts;
    for (const std::string& name : columns)
        texts.push_back(CellText(format, name));
    return JoinedLine(format, texts);
}

std::string TidyRowLine(TidyFormat format, const std::vector<std::string>& columns,
                        const std::vector<TidyValue>& cells)
{
    assert(cells.size() == columns.size());
    if (format == TidyFormat::jsonl)
        return JsonLine(columns, cells);
    std::vector<std::string> texts;
    for (const TidyValue& cell : cells)
        texts.push_back(CellText(format, cell));
    return JoinedLine(format, texts);
}
