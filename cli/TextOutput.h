#pragma once

#include <string>
#include <string_view>
#include <vector>

// Plain-text output for people. Computed quantities (H, b, r, L(r) and its
// logarithms) are shown with a fixed number of decimals; data as read (X, Y,
// the estimator's values) with the shortest text that reads back exactly.
// The decimal point is always '.'.
constexpr int kTextDecimals = 6;
std::string Decimal(double value);   // kTextDecimals decimals, "nan"/"inf" as such
std::string Exact(double value);     // shortest round-trip text

// A "name  value" line, the names padded to one width so values line up.
void AppendField(std::string& out, std::string_view name, std::string_view value);

// Columns right-aligned under their headings, two spaces apart.
class CTextTable
{
public:
    explicit CTextTable(std::vector<std::string> headings);
    void AddRow(std::vector<std::string> cells);
    void AppendTo(std::string& out) const;

private:
    std::vector<std::vector<std::string>> m_rows; // the headings first
};
