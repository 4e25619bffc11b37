#include "cli/TextOutput.h"

#include <algorithm>
#include <cassert>

#include "core/Format.h"

namespace {
constexpr std::size_t kFieldNameWidth = 12;
}

std::string Decimal(double value)
{
    return FormatFixed(value, kTextDecimals);
}

std::string Exact(double value)
{
    return FormatRoundTrip(value);
}

void AppendField(std::string& out, std::string_view name, std::string_view value)
{
    out += name;
    out.append(name.size() < kFieldNameWidth ? kFieldNameWidth - name.size() : 1, ' ');
    out += value;
    out += '\n';
}

CTextTable::CTextTable(std::vector<std::string> headings)
{
    m_rows.push_back(std::move(headings));
}

void CTextTable::AddRow(std::vector<std::string> cells)
{
    assert(cells.size() == m_rows.front().size());
    m_rows.push_back(std::move(cells));
}

void CTextTable::AppendTo(std::string& out) const
{
    std::vector<std::size_t> widths(m_rows.front().size(), 0);
    for (const auto& row : m_rows)
        for (std::size_t c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], row[c].size());
    for (const auto& row : m_rows) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c > 0)
                out += "  ";
            out.append(widths[c] - row[c].size(), ' ');
            out += row[c];
        }
        out += '\n';
    }
}
