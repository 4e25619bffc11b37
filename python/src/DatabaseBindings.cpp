// What a database file offers to read_table: kestrin.tables and fields, as
// kestrin-cli tables and fields list it.
#include <functional>

#include <pybind11/stl.h>

#include "platform/db/OpenDatabase.h"
#include "python/src/Bindings.h"
#include "python/src/ModuleErrors.h"

namespace {

// The names list gives, as Python text (a byte that is not UTF-8 replaced);
// OSError when the file cannot be opened, kestrin.FormatError when it is
// not what its extension says or has no such table.
std::vector<py::str> Names(const std::string& path, const std::function<std::vector<std::string>(IDatabase&)>& list)
{
    std::vector<std::string> names;
    CModuleUi told;
    {
        py::gil_scoped_release release;
        try {
            names = list(*OpenDatabase(path));
        } catch (const CDatabaseError& e) {
            told.failures.push_back(e.what());
        }
    }
    if (!told.failures.empty())
        RaiseFileFailure(path, told, false);
    std::vector<py::str> out;
    for (const std::string& name : names)
        out.push_back(py::bytes(name).attr("decode")("utf-8", "replace"));
    return out;
}

} // namespace

void RegisterDatabases(py::module_& m)
{
    m.def(
        "tables",
        [](const std::string& db) {
            return Names(db, [](IDatabase& d) {
                std::vector<std::string> names = d.TableNames();
                for (std::string& view : d.ViewNames())
                    names.push_back(std::move(view));
                return names;
            });
        },
        py::arg("db"), R"(tables(db) -> list[str]

The tables of a database file (Access .mdb/.accdb, SQLite, or a delimited
text file: one table named after the file), in the file's order, then
SQLite's views: what kestrin-cli tables DB lists, and read_table reads.

    >>> kestrin.tables("series.mdb")
)");
    m.def(
        "fields",
        [](const std::string& db, const std::string& table) {
            return Names(db, [&table](IDatabase& d) { return d.FieldNames(table); });
        },
        py::arg("db"), py::arg("table"), R"(fields(db, table) -> list[str]

The fields of a table, in the table's order, as kestrin-cli fields DB TABLE
lists them: the names read_table takes as x and y.

    >>> kestrin.fields("series.mdb", "Series")
)");
}
