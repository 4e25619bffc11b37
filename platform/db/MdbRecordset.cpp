#include "platform/db/MdbRecordset.h"

#include "platform/db/MdbReaderTasks.h"
#include "platform/db/MdbSupport.h"

CMdbRecordset::CMdbRecordset(const std::string& path, const std::string& table)
    : m_path(path), m_table(table),
      m_child([path, table](CWireWriter& out) { SendRecords(path, table, out); }, kMdbStallSeconds)
{
    ReadReply(m_child, "the table \"" + table + "\" of \"" + path + "\"", [&](CWireReader& in) {
        const MdbMessage tag = in.Tag();
        if (tag == MdbMessage::kError)
            throw CDatabaseError(in.Text());
        if (tag != MdbMessage::kNames)
            throw CWireReader::CWireClosed{};
        m_fieldNames = in.Names();
    });
    m_row.resize(m_fieldNames.size());
    m_eof = false;
    Advance();
}

void CMdbRecordset::MoveNext()
{
    if (m_eof)
        throw CDatabaseError("The table \"" + m_table + "\" has no current record.");
    Advance();
}

int CMdbRecordset::FieldIndex(const std::string& name) const
{
    const int index = FindMdbName(m_fieldNames, name);
    if (index < 0)
        throw CDatabaseError("The table \"" + m_table + "\" has no field \"" + name + "\".");
    return index;
}

CDbVariant CMdbRecordset::GetFieldValue(int index) const
{
    if (m_eof)
        throw CDatabaseError("The table \"" + m_table + "\" has no current record.");
    if (index < 0 || static_cast<std::size_t>(index) >= m_row.size())
        throw CDatabaseError("The table \"" + m_table + "\" has no field number " + std::to_string(index) + ".");
    return m_row[static_cast<std::size_t>(index)];
}

void CMdbRecordset::Advance()
{
    try {
        ReadReply(m_child, "the table \"" + m_table + "\" of \"" + m_path + "\"", [&](CWireReader& in) {
            switch (in.Tag()) {
            case MdbMessage::kRow:
                for (CDbVariant& value : m_row)
                    value = in.Value();
                break;
            case MdbMessage::kEnd:
                m_eof = true;
                m_child.Finish();
                break;
            case MdbMessage::kError:
                throw CDatabaseError(in.Text());
            default:
                throw CWireReader::CWireClosed{};
            }
        });
    } catch (...) {
        m_eof = true;
        m_child.Finish();
        throw;
    }
}
