#include "platform/db/MdbReaderTasks.h"

#include <vector>

#include "platform/db/Database.h"
#include "platform/db/MdbHandles.h"
#include "platform/db/MdbTableWalk.h"

namespace {

// An Access file opened read-only with its table catalog read.
class CMdbFile
{
public:
    explicit CMdbFile(const std::string& path) : m_mdb(mdb_open(path.c_str(), MDB_NOFLAGS))
    {
        if (!m_mdb)
            throw CDatabaseError("Unable to open \"" + path + "\": mdbtools cannot read it as an Access database.");
        GPtrArray* catalog = mdb_read_catalog(m_mdb.get(), MDB_TABLE);
        if (!catalog)
            throw CDatabaseError("Unable to open \"" + path + "\": its list of tables cannot be read; "
                                 "the file is damaged or incomplete.");
        for (unsigned i = 0; i < catalog->len; ++i) {
            auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(catalog, i));
            if (entry->object_type == MDB_TABLE)
                m_tables.push_back(entry);
        }
    }

    std::vector<std::string> TableNames() const
    {
        std::vector<std::string> names;
        for (const MdbCatalogEntry* entry : m_tables)
            names.emplace_back(entry->object_name);
        return names;
    }

    MdbCatalogEntry* Table(const std::string& name) const
    {
        for (MdbCatalogEntry* entry : m_tables)
            if (name == entry->object_name)
                return entry;
        throw CDatabaseError("There is no table \"" + name + "\".");
    }

private:
    MdbHandlePtr m_mdb;
    std::vector<MdbCatalogEntry*> m_tables; // owned by the handle's catalog
};

template <typename Work>
void Answer(CWireWriter& out, Work work)
{
    try {
        work();
        out.Tag(MdbMessage::kEnd);
    } catch (const CDatabaseError& e) {
        out.Tag(MdbMessage::kError);
        out.Text(e.what());
    }
}

} // namespace

void SendTableNames(const std::string& path, CWireWriter& out)
{
    Answer(out, [&] { out.Names(CMdbFile(path).TableNames()); });
}

void SendFieldNames(const std::string& path, const std::string& table, CWireWriter& out)
{
    Answer(out, [&] {
        CMdbFile file(path);
        out.Names(CMdbTableWalk(file.Table(table), table).FieldNames());
    });
}

void SendRecords(const std::string& path, const std::string& table, CWireWriter& out)
{
    Answer(out, [&] {
        CMdbFile file(path);
        CMdbTableWalk walk(file.Table(table), table);
        out.Names(walk.FieldNames());
        while (walk.Next()) {
            out.Tag(MdbMessage::kRow);
            for (const CDbVariant& value : walk.Row())
                out.Value(value);
        }
    });
}
