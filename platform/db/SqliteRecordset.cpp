#include "platform/db/SqliteRecordset.h"

#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/db/OleDate.h"

namespace {

using Kind = CSqliteRecordset::Kind;

Kind KindOfDeclaredType(const char* declared)
{
    if (!declared)
        return Kind::ByStorage;
    std::string upper(declared);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    const auto has = [&upper](const char* word) { return upper.find(word) != std::string::npos; };
    if (has("INT"))
        return Kind::Integer;
    if (has("CHAR") || has("CLOB") || has("TEXT"))
        return Kind::Text;
    if (has("BLOB"))
        return Kind::ByStorage;
    if (has("REAL") || has("FLOA") || has("DOUB"))
        return Kind::Real;
    if (has("BOOL"))
        return Kind::Boolean;
    if (has("DATE") || has("TIME"))
        return Kind::Date;
    if (has("CURRENCY") || has("MONEY"))
        return Kind::Currency;
    return Kind::ByStorage;
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

// Whole ten-thousandths of an amount, when they fit the currency variant.
std::optional<std::int64_t> CurrencyUnits(double amount)
{
    const double units = std::nearbyint(amount * 10000.0);
    if (!(std::fabs(units) < 9.2e18))
        return std::nullopt;
    return static_cast<std::int64_t>(units);
}

} // namespace

CSqliteRecordset::CSqliteRecordset(std::shared_ptr<CSqliteConnection> connection, const std::string& table)
    : m_connection(std::move(connection)), m_table(table)
{
    m_statement = SqlitePrepare(*m_connection, "SELECT * FROM " + SqliteQuoteName(table) + ";", What());
    const int count = sqlite3_column_count(m_statement.get());
    for (int i = 0; i < count; ++i) {
        const char* name = sqlite3_column_name(m_statement.get(), i);
        m_names.emplace_back(name ? name : "");
        m_kinds.push_back(KindOfDeclaredType(sqlite3_column_decltype(m_statement.get(), i)));
    }
    m_eof = !SqliteStep(*m_connection, m_statement.get(), What());
}

void CSqliteRecordset::MoveNext()
{
    if (m_eof)
        throw CDatabaseError("No current record in table \"" + m_table + "\".");
    m_eof = true;
    m_eof = !SqliteStep(*m_connection, m_statement.get(), What());
}

int CSqliteRecordset::FieldIndex(const std::string& name) const
{
    for (std::size_t i = 0; i < m_names.size(); ++i)
        if (m_names[i] == name)
            return static_cast<int>(i);
    throw CDatabaseError("Table \"" + m_table + "\" has no field \"" + name + "\".");
}

CDbVariant CSqliteRecordset::GetFieldValue(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_kinds.size())
        throw CDatabaseError("Table \"" + m_table + "\" has no field number " + std::to_string(index) + ".");
    if (m_eof)
        throw CDatabaseError("No current record in table \"" + m_table + "\".");
    return Value(index);
}

std::string CSqliteRecordset::What() const
{
    return "Cannot read table \"" + m_table + "\"";
}

CDbVariant CSqliteRecordset::Value(int i) const
{
    sqlite3_stmt* s = m_statement.get();
    const int storage = sqlite3_column_type(s, i);
    if (storage == SQLITE_NULL)
        return CDbVariant::Null();
    if (storage == SQLITE_BLOB)
        return CDbVariant();
    switch (m_kinds[static_cast<std::size_t>(i)]) {
    case Kind::Text:
        return CDbVariant::Text(SqliteColumnText(s, i));
    case Kind::Real:
        if (storage == SQLITE_TEXT)
            return CDbVariant::Text(SqliteColumnText(s, i));
        return CDbVariant::Real8(sqlite3_column_double(s, i));
    case Kind::Boolean:
        if (storage == SQLITE_INTEGER)
            return CDbVariant::Bool(sqlite3_column_int64(s, i) != 0);
        if (storage == SQLITE_FLOAT)
            return CDbVariant::Bool(sqlite3_column_double(s, i) != 0.0);
        {
            std::string text = SqliteColumnText(s, i);
            if (EqualsNoCase(text, "true") || EqualsNoCase(text, "false"))
                return CDbVariant::Bool(EqualsNoCase(text, "true"));
            return CDbVariant::Text(std::move(text));
        }
    case Kind::Date:
        // Numbers are day numbers already; text is read as an ISO date.
        if (storage == SQLITE_INTEGER)
            return CDbVariant::Date(static_cast<double>(sqlite3_column_int64(s, i)));
        if (storage == SQLITE_FLOAT)
            return CDbVariant::Date(sqlite3_column_double(s, i));
        {
            std::string text = SqliteColumnText(s, i);
            if (const auto day = IsoTextToDayNumber(text))
                return CDbVariant::Date(*day);
            return CDbVariant::Text(std::move(text));
        }
    case Kind::Currency:
        // An amount too large for the currency variant stays a real.
        if (storage == SQLITE_INTEGER) {
            const std::int64_t amount = sqlite3_column_int64(s, i);
            if (amount > -922337203685477 && amount < 922337203685477)
                return CDbVariant::Currency(amount * 10000);
            return CDbVariant::Real8(static_cast<double>(amount));
        }
        if (storage == SQLITE_FLOAT) {
            const double amount = sqlite3_column_double(s, i);
            if (const auto units = CurrencyUnits(amount))
                return CDbVariant::Currency(*units);
            return CDbVariant::Real8(amount);
        }
        return CDbVariant::Text(SqliteColumnText(s, i));
    case Kind::Integer:
    case Kind::ByStorage:
        break;
    }
    if (storage == SQLITE_INTEGER)
        return CDbVariant::Int32(sqlite3_column_int64(s, i));
    if (storage == SQLITE_FLOAT)
        return CDbVariant::Real8(sqlite3_column_double(s, i));
    return CDbVariant::Text(SqliteColumnText(s, i));
}
