#pragma once

#include <memory>

#include <mdbtools.h>

// Owners for mdbtools' handles, so every path out of a call releases them.
struct MdbHandleCloser
{
    void operator()(MdbHandle* mdb) const { mdb_close(mdb); }
};
using MdbHandlePtr = std::unique_ptr<MdbHandle, MdbHandleCloser>;

struct MdbTableDefFreer
{
    void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
};
using MdbTableDefPtr = std::unique_ptr<MdbTableDef, MdbTableDefFreer>;
