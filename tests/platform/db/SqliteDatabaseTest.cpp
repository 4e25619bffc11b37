#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "platform/db/OpenDatabase.h"
#include "platform/db/OleDate.h"
#include "tests/support/TestSupport.h"

namespace sqlite_database_test {

namespace {

// Writes a database file by running a script through SQLite itself.
void MakeDatabase(const std::string& path, const std::string& script)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    const int rc = sqlite3_exec(db, script.c_str(), nullptr, nullptr, &error);
    const std::string message = error ? error : "";
    sqlite3_free(error);
    sqlite3_close(db);
    ASSERT_EQ(rc, SQLITE_OK) << message;
}

// Walks every record; throws what the walk throws.
int CountRecords(IDatabase& db, const std::string& table)
{
    auto rs = db.OpenRecordset(table);
    int n = 0;
    for (; !rs->IsEOF(); rs->MoveNext())
        ++n;
    return n;
}

std::vector<std::string> FilesIn(const TempDir& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(SqliteDatabase, ListsEveryTableInFileOrderAndFieldsInTableOrder)
{
    TempDir dir;
    const std::string path = dir.File("names.sqlite");
    MakeDatabase(path,
                 "CREATE TABLE zeta (id INTEGER PRIMARY KEY AUTOINCREMENT, v REAL);"
                 "CREATE TABLE \"with space\" (x);"
                 "CREATE INDEX zeta_v ON zeta (v);"
                 "CREATE VIEW zv AS SELECT v FROM zeta;"
                 "CREATE TABLE \"quo\"\"te\" (\"b b\" TEXT, \"a\"\"x\" INTEGER, c);"
                 "CREATE TABLE alpha (k);"
                 "INSERT INTO \"quo\"\"te\" VALUES ('one', 1, 1.5), ('two', 2, NULL);");
    auto db = OpenDatabase(path);
    EXPECT_EQ(db->TableNames(),
              (std::vector<std::string>{"zeta", "sqlite_sequence", "with space", "quo\"te", "alpha"}));
    EXPECT_EQ(db->FieldNames("zeta"), (std::vector<std::string>{"id", "v"}));
    EXPECT_EQ(db->FieldNames("quo\"te"), (std::vector<std::string>{"b b", "a\"x", "c"}));
    EXPECT_EQ(db->FieldNames("sqlite_sequence"), (std::vector<std::string>{"name", "seq"}));

    auto rs = db->OpenRecordset("quo\"te");
    EXPECT_EQ(rs->FieldIndex("a\"x"), 1);
    EXPECT_EQ(rs->GetFieldValue("b b").s, "one");
    EXPECT_EQ(rs->GetFieldValue("a\"x").i, 1);
    rs->MoveNext();
    EXPECT_EQ(rs->GetFieldValue("b b").s, "two");
    EXPECT_EQ(rs->GetFieldValue("c").vt, kVtNull);
    rs->MoveNext();
    EXPECT_TRUE(rs->IsEOF());
    EXPECT_THROW(rs->MoveNext(), CDatabaseError);
    EXPECT_THROW(rs->GetFieldValue(0), CDatabaseError);
    EXPECT_EQ(CountRecords(*db, "with space"), 0);
}

TEST(SqliteDatabase, VariantTypeFollowsDeclaredType)
{
    TempDir dir;
    const std::string path = dir.File("types.db");
    MakeDatabase(path,
                 "CREATE TABLE t (i INTEGER, big BIGINT, r REAL, s TEXT, b BOOLEAN, d DATETIME, c MONEY, n NUMERIC, u);"
                 "INSERT INTO t VALUES (42, 1099511627776, 2.5, 'abc', 1, '2001-03-04 06:00:00', 12.3456, 7, 7);"
                 "INSERT INTO t VALUES (NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL);"
                 "INSERT INTO t VALUES ('x', -3, 4, '12', 'false', '1899-12-29 06:00', 5, 7.25, x'00ff');"
                 "INSERT INTO t VALUES (-7, 0, -0.5, 'é', 0, 36954.25, -0.0001, 'q', 'text');"
                 "INSERT INTO t VALUES (0, 0, 0, '', 'yes', 'soon', 'n/a', 0, 2.5);"
                 "INSERT INTO t VALUES (0, 0, 0, '', 2, '2001-03-04T06:00:00.500Z', 0, 0, 0);"
                 "INSERT INTO t VALUES (0, 0, 0, '', 0, '2001-02-29', 0, 0, 0);");
    auto db = OpenDatabase(path);
    auto rs = db->OpenRecordset("t");
    const auto vt = [&rs](const char* field) { return rs->GetFieldValue(field).vt; };

    EXPECT_EQ(vt("i"), kVtI4);
    EXPECT_EQ(rs->GetFieldValue("i").i, 42);
    EXPECT_EQ(vt("big"), kVtI4); // integers keep all 64 bits
    EXPECT_EQ(rs->GetFieldValue("big").i, std::int64_t(1) << 40);
    EXPECT_EQ(vt("r"), kVtR8);
    EXPECT_EQ(rs->GetFieldValue("r").d, 2.5);
    EXPECT_EQ(vt("s"), kVtBstr);
    EXPECT_EQ(rs->GetFieldValue("s").s, "abc");
    EXPECT_EQ(vt("b"), kVtBool);
    EXPECT_EQ(rs->GetFieldValue("b").i, 1);
    EXPECT_EQ(vt("d"), kVtDate);
    EXPECT_EQ(rs->GetFieldValue("d").d, 36954.25);
    EXPECT_EQ(vt("c"), kVtCy);
    EXPECT_EQ(rs->GetFieldValue("c").i, 123456);
    EXPECT_EQ(vt("n"), kVtI4);
    EXPECT_EQ(vt("u"), kVtI4);

    rs->MoveNext();
    for (const auto& name : db->FieldNames("t"))
        EXPECT_EQ(vt(name.c_str()), kVtNull) << name;

    rs->MoveNext();
    EXPECT_EQ(vt("i"), kVtBstr); // text that is no number stays text
    EXPECT_EQ(rs->GetFieldValue("i").s, "x");
    EXPECT_EQ(rs->GetFieldValue("big").i, -3);
    EXPECT_EQ(vt("r"), kVtR8); // an integer stored in a REAL column
    EXPECT_EQ(rs->GetFieldValue("r").d, 4.0);
    EXPECT_EQ(vt("s"), kVtBstr);
    EXPECT_EQ(rs->GetFieldValue("s").s, "12");
    EXPECT_EQ(vt("b"), kVtBool);
    EXPECT_EQ(rs->GetFieldValue("b").i, 0);
    EXPECT_EQ(rs->GetFieldValue("d").d, -1.25); // the day counts back, the hours forward
    EXPECT_EQ(rs->GetFieldValue("c").i, 50000);
    EXPECT_EQ(vt("n"), kVtR8);
    EXPECT_EQ(rs->GetFieldValue("n").d, 7.25);
    EXPECT_EQ(vt("u"), kVtEmpty); // bytes have no numeric reading

    rs->MoveNext();
    EXPECT_EQ(rs->GetFieldValue("i").i, -7);
    EXPECT_EQ(rs->GetFieldValue("r").d, -0.5);
    EXPECT_EQ(rs->GetFieldValue("s").s, "é");
    EXPECT_EQ(vt("d"), kVtDate); // a number is the day number itself
    EXPECT_EQ(rs->GetFieldValue("d").d, 36954.25);
    EXPECT_EQ(rs->GetFieldValue("c").i, -1);
    EXPECT_EQ(vt("n"), kVtBstr);
    EXPECT_EQ(vt("u"), kVtBstr);
    EXPECT_EQ(rs->GetFieldValue("u").s, "text");

    rs->MoveNext();
    EXPECT_EQ(vt("b"), kVtBstr);
    EXPECT_EQ(rs->GetFieldValue("b").s, "yes");
    EXPECT_EQ(vt("d"), kVtBstr);
    EXPECT_EQ(rs->GetFieldValue("d").s, "soon");
    EXPECT_EQ(vt("c"), kVtBstr);
    EXPECT_EQ(vt("u"), kVtR8);

    rs->MoveNext();
    EXPECT_EQ(rs->GetFieldValue("b").i, 1);
    EXPECT_DOUBLE_EQ(rs->GetFieldValue("d").d, 36954.25 + 0.5 / 86400);

    rs->MoveNext();
    EXPECT_EQ(vt("d"), kVtBstr); // no such day
    rs->MoveNext();
    EXPECT_TRUE(rs->IsEOF());
}

TEST(SqliteDatabase, MissingTableAndFieldFail)
{
    TempDir dir;
    const std::string path = dir.File("one.sqlite3");
    MakeDatabase(path, "CREATE TABLE t (a); INSERT INTO t VALUES (1);");
    auto db = OpenDatabase(path);
    EXPECT_THROW(db->FieldNames("nope"), CDatabaseError);
    EXPECT_THROW(db->OpenRecordset("nope"), CDatabaseError);
    EXPECT_THROW(db->FieldNames("t\"; DROP TABLE t; --"), CDatabaseError);
    EXPECT_THROW(db->FieldNames(std::string("t\0x", 3)), CDatabaseError);
    auto rs = db->OpenRecordset("t");
    EXPECT_THROW(rs->FieldIndex("b"), CDatabaseError);
    EXPECT_THROW(rs->GetFieldValue(1), CDatabaseError);
    EXPECT_THROW(rs->GetFieldValue(-1), CDatabaseError);
    EXPECT_EQ(db->TableNames(), std::vector<std::string>{"t"});
}

TEST(SqliteDatabase, RecordsetOutlivesDatabase)
{
    TempDir dir;
    const std::string path = dir.File("a.db");
    MakeDatabase(path, "CREATE TABLE t (a INTEGER); INSERT INTO t VALUES (1), (2);");
    auto db = OpenDatabase(path);
    auto rs = db->OpenRecordset("t");
    db.reset();
    rs->MoveNext();
    EXPECT_EQ(rs->GetFieldValue("a").i, 2);
}

TEST(SqliteDatabase, FileThatIsNotSqliteFailsAndStaysUnchanged)
{
    TempDir dir;
    std::string text = "Year,Level\n";
    for (int i = 0; i < 100; ++i)
        text += std::to_string(622 + i) + ",1100\n";
    std::string fakeHeader("SQLite format 3\0", 16);
    fakeHeader += std::string(4080, '\x5a');
    for (const auto& [name, bytes] : {std::pair<std::string, std::string>{"text.sqlite", text},
                                      {"empty.db", ""},
                                      {"header-only.sqlite3", fakeHeader}}) {
        const std::string path = dir.File(name);
        WriteFile(path, bytes);
        const auto before = ReadFileBytes(path);
        EXPECT_THROW(OpenDatabase(path), CDatabaseError) << name;
        EXPECT_EQ(ReadFileBytes(path), before) << name;
    }
    EXPECT_EQ(FilesIn(dir), (std::vector<std::string>{"empty.db", "header-only.sqlite3", "text.sqlite"}));
}

TEST(SqliteDatabase, MissingFileFailsAndIsNotCreated)
{
    TempDir dir;
    const std::string path = dir.File("absent.sqlite");
    try {
        OpenDatabase(path);
        ADD_FAILURE() << "a missing file opened";
    } catch (const CDatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("does not exist"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(FilesIn(dir).empty());
    EXPECT_THROW(OpenDatabase(dir.Path().string() + "/"), CDatabaseError);
    std::filesystem::create_directory(dir.File("folder.db"));
    EXPECT_THROW(OpenDatabase(dir.File("folder.db")), CDatabaseError);
}

TEST(SqliteDatabase, DamagedPagesFailInsteadOfShorteningTheTable)
{
    TempDir dir;
    const std::string intact = dir.File("intact.sqlite");
    MakeDatabase(intact,
                 "PRAGMA page_size = 4096;"
                 "CREATE TABLE s (seq INTEGER, val REAL, note TEXT);"
                 "WITH RECURSIVE n(k) AS (SELECT 1 UNION ALL SELECT k + 1 FROM n WHERE k < 20000) "
                 "INSERT INTO s SELECT k, k * 0.5, printf('record %08d of the series', k) FROM n;");
    {
        auto db = OpenDatabase(intact);
        ASSERT_EQ(CountRecords(*db, "s"), 20000);
    }
    const auto bytes = ReadFileBytes(intact);
    const std::size_t pages = bytes.size() / 4096;
    ASSERT_GT(pages, 100u);

    // Zeros, and a pattern that leaves the page type byte a leaf's (0x0D),
    // over four pages from the middle of the table.
    for (const std::uint8_t fill : {std::uint8_t(0x00), std::uint8_t(0x0D)}) {
        std::vector<std::uint8_t> damaged = bytes;
        for (std::size_t p = pages / 2; p < pages / 2 + 4; ++p)
            std::fill(damaged.begin() + static_cast<std::ptrdiff_t>(p * 4096),
                      damaged.begin() + static_cast<std::ptrdiff_t>((p + 1) * 4096), fill);
        const std::string path = dir.File("damaged-" + std::to_string(fill) + ".sqlite");
        WriteFile(path, std::string(damaged.begin(), damaged.end()));
        auto db = OpenDatabase(path);
        EXPECT_THROW(CountRecords(*db, "s"), CDatabaseError) << int(fill);
    }
}

TEST(SqliteDatabase, IsoDateTextToDayNumber)
{
    EXPECT_EQ(IsoTextToDayNumber("1899-12-30"), 0.0);
    EXPECT_EQ(IsoTextToDayNumber("1900-01-01"), 2.0);
    EXPECT_EQ(IsoTextToDayNumber("2000-02-29 12:00"), 36585.5);
    EXPECT_EQ(IsoTextToDayNumber("2001-03-04 06:00:00Z"), 36954.25);
    EXPECT_EQ(IsoTextToDayNumber("9999-12-31"), 2958465.0);
    EXPECT_EQ(IsoTextToDayNumber("0100-01-01"), -657434.0);
    EXPECT_EQ(IsoTextToDayNumber("18:00"), 0.75);
    for (const char* bad : {"1900-02-29", "2001-13-01", "2001-04-31", "0099-12-31", "2001-03-04 24:00",
                            "2001-03-04 6:00", "2001-03-04 06:00:", "2001-03-04 06:00:00.", "2001-03-04 06:00+01:00",
                            "2001-3-4", "", "36954.25"})
        EXPECT_FALSE(IsoTextToDayNumber(bad).has_value()) << bad;
}

} // namespace sqlite_database_test
