#include "platform/db/MdbTableWalk.h"

#include <cstdint>
#include <cstring>

#include "platform/db/Database.h"

namespace {

// The variant type of a byte array (an array of unsigned bytes), which binary
// and OLE object fields hold.
constexpr int kVtByteArray = 0x2011;

std::uint64_t LittleEndian(const unsigned char* p, int bytes)
{
    std::uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

// The stored size of each fixed-size type that is read from its bytes.
int FixedSize(int colType)
{
    switch (colType) {
    case MDB_BYTE: return 1;
    case MDB_INT: return 2;
    case MDB_LONGINT: return 4;
    case MDB_FLOAT: return 4;
    case MDB_MONEY: return 8;
    case MDB_DOUBLE: return 8;
    case MDB_DATETIME: return 8;
    default: return 0;
    }
}

// Takes ownership of a string mdbtools allocated.
std::string TakeMdbString(char* text)
{
    if (!text)
        return {};
    std::string s(text);
    g_free(text);
    return s;
}

} // namespace

CMdbTableWalk::CMdbTableWalk(MdbCatalogEntry* entry, const std::string& tableName)
    : m_mdb(entry->mdb), m_table(mdb_read_table(entry)), m_tableName(tableName)
{
    if (!m_table || !mdb_read_columns(m_table.get()))
        throw CDatabaseError("Cannot read the definition of the table \"" + tableName +
                             "\": the file is damaged or incomplete.");
    for (unsigned i = 0; i < m_table->num_cols; ++i)
        m_fieldNames.emplace_back(static_cast<MdbColumn*>(g_ptr_array_index(m_table->columns, i))->name);
    m_row.resize(m_fieldNames.size());
    mdb_rewind_table(m_table.get());
}

bool CMdbTableWalk::Next()
{
    // mdbtools ends the walk at the last record and also at a page it cannot
    // read; the count the table's definition declares tells the two apart.
    if (!mdb_fetch_row(m_table.get())) {
        if (m_rowsRead < m_table->num_rows)
            throw CDatabaseError("The table \"" + m_tableName + "\" ends after " + std::to_string(m_rowsRead) +
                                 " of its " + std::to_string(m_table->num_rows) +
                                 " records: the file is damaged or incomplete.");
        return false;
    }
    // A damaged page or page map can also yield records the table never
    // held; they are refused as surely as missing ones.
    if (m_rowsRead >= m_table->num_rows)
        throw CDatabaseError("The table \"" + m_tableName + "\" yields more than the " +
                             std::to_string(m_table->num_rows) +
                             " records it declares: the file is damaged.");
    ++m_rowsRead;
    for (unsigned i = 0; i < m_row.size(); ++i)
        m_row[i] = DecodeColumn(i);
    return true;
}

CDbVariant CMdbTableWalk::DecodeColumn(unsigned index)
{
    const auto* col = static_cast<const MdbColumn*>(g_ptr_array_index(m_table->columns, index));
    // A boolean has no stored bytes: its bit in the record's null mask is its
    // value, and mdbtools reports a clear bit (false) as a length of 1.
    if (col->col_type == MDB_BOOL)
        return CDbVariant::Bool(col->cur_value_len == 0);

    const int start = col->cur_value_start;
    const int len = col->cur_value_len;
    if (len == 0) {
        // A fixed-size value is never empty, but text can be: only the
        // record's null mask tells an empty text from a missing one.
        if (col->col_type == MDB_TEXT && !IsStoredNull(index))
            return CDbVariant::Text("");
        return CDbVariant::Null();
    }
    if (start < 0 || len < 0 || static_cast<long long>(start) + len > m_mdb->fmt->pg_size)
        Damaged("a value lies outside its page");

    const int fixed = FixedSize(col->col_type);
    if (fixed != 0 && len != fixed)
        Damaged("a value of the field \"" + std::string(col->name) + "\" has the wrong size");
    const unsigned char* p = m_mdb->pg_buf + start;

    switch (col->col_type) {
    case MDB_BYTE:
        return CDbVariant::Byte(p[0]);
    case MDB_INT:
        return CDbVariant::Int16(static_cast<std::int16_t>(LittleEndian(p, 2)));
    case MDB_LONGINT:
        return CDbVariant::Int32(static_cast<std::int32_t>(LittleEndian(p, 4)));
    case MDB_FLOAT: {
        const auto bits = static_cast<std::uint32_t>(LittleEndian(p, 4));
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return CDbVariant::Real4(f);
    }
    case MDB_DOUBLE:
    case MDB_DATETIME: {
        const std::uint64_t bits = LittleEndian(p, 8);
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return col->col_type == MDB_DOUBLE ? CDbVariant::Real8(d) : CDbVariant::Date(d);
    }
    case MDB_MONEY:
        return CDbVariant::Currency(static_cast<std::int64_t>(LittleEndian(p, 8)));
    case MDB_TEXT:
    case MDB_MEMO:
    case MDB_REPID:
        // mdbtools converts the stored (compressed or UTF-16) text to UTF-8,
        // follows memo pointers, and writes a replication id in braces.
        return CDbVariant::Text(TakeMdbString(mdb_col_to_string(m_mdb, m_mdb->pg_buf, start, col->col_type, len)));
    case MDB_NUMERIC: {
        // A scaled decimal; mdbtools writes its exact digits with a '.'.
        CDbVariant text = CDbVariant::Text(TakeMdbString(mdb_numeric_to_string(m_mdb, start, col->col_scale,
                                                                             col->col_prec)));
        const std::optional<double> value = VariantToDouble(text);
        return value ? CDbVariant::Real8(*value) : CDbVariant::Null();
    }
    case MDB_BINARY:
    case MDB_OLE: {
        CDbVariant v;
        v.vt = static_cast<DbVarType>(kVtByteArray);
        return v;
    }
    default:
        return CDbVariant{}; // a kind of field this reader does not know: empty
    }
}

bool CMdbTableWalk::IsStoredNull(unsigned index)
{
    // The record just fetched is the one before the table's row cursor.
    int rowStart = 0;
    size_t rowSize = 0;
    if (m_table->cur_row == 0 || mdb_find_row(m_mdb, static_cast<int>(m_table->cur_row - 1), &rowStart, &rowSize) != 0)
        Damaged("a record cannot be found on its page");
    std::vector<MdbField> fields(m_table->num_cols + MDB_MAX_COLS);
    const int count = mdb_crack_row(m_table.get(), rowStart, rowSize, fields.data());
    for (int i = 0; i < count; ++i)
        if (fields[static_cast<std::size_t>(i)].colnum == static_cast<int>(index))
            return fields[static_cast<std::size_t>(i)].is_null != 0;
    return true;
}

void CMdbTableWalk::Damaged(const std::string& what) const
{
    throw CDatabaseError("Record " + std::to_string(m_rowsRead) + " of the table \"" + m_tableName +
                         "\" cannot be read (" + what + "): the file is damaged.");
}
