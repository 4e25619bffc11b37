// The document's database import: what a load puts into the document, the
// records it skips, and that a load which cannot finish changes nothing.
#include <filesystem>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "tests/support/FakeDatabase.h"
#include "platform/HeadlessUi.h"
#include "document/KestrinDoc.h"
#include "tests/support/TestSupport.h"

namespace database_import_test {

namespace {

std::vector<std::pair<double, double>> Points(const CKestrinDoc& doc)
{
    std::vector<std::pair<double, double>> v;
    for (const CSeriesPoint& p : doc.m_points)
        v.emplace_back(p.m_dX, p.m_dY);
    return v;
}

// Seq 0..9, Val Seq squared.
std::vector<std::pair<double, double>> SquaresRows()
{
    std::vector<std::pair<double, double>> rows;
    for (int i = 0; i < 10; ++i)
        rows.emplace_back(i, i * i);
    return rows;
}

// The estimate of values with D 4 and M 3, computed on its own.
CHDataSet Estimate(const std::vector<double>& values)
{
    CHDataSet set({.nD = 4, .nM = 3});
    set.m_bAutoCompute = 0;
    for (double v : values)
        set.AddValue(v);
    set.Compute();
    return set;
}

// Everything of the document a failed import must leave as it was.
struct DocState
{
    explicit DocState(const CKestrinDoc& doc)
        : points(Points(doc)), names{doc.m_strDatabase, doc.m_strTable, doc.m_strXField, doc.m_strYField},
          modified(doc.IsModified()), hasData(doc.m_bHasData), nD(doc.m_nD), nM(doc.m_nM),
          setD(doc.m_globalSet.GetD()), setM(doc.m_globalSet.GetM()), count(doc.m_globalSet.GetCount()),
          h(doc.m_globalSet.GetH()), r(doc.m_globalSet.GetR()), autoCompute(doc.m_globalSet.m_bAutoCompute)
    {
    }
    bool operator==(const DocState&) const = default;

    std::vector<std::pair<double, double>> points;
    std::vector<std::string> names;
    bool modified;
    int hasData, nD, nM, setD, setM, count;
    double h, r;
    int autoCompute;
};

class DatabaseImportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        FakeFile file;
        file.tables.push_back(RealTable("Squares", "Seq", "Val", SquaresRows()));
        file.tables.push_back(RealTable("Unsorted", "X", "Y", {{5, 50}, {3, 30}, {9, 90}, {3, 31}, {1, 10}, {7, 70}}));
        FakeTable broken = RealTable("Broken", "X", "Y", {{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}});
        broken.breaksAfter = 3;
        file.tables.push_back(broken);
        file.tables.push_back(FakeTable("Empty", {"X", "Y"}));
        db.files["/data/series.mdb"] = file;
        doc.m_openDatabase = db.Opener();
        doc.OnNewDocument();
    }

    // A loaded document, saved as it were.
    void LoadSquares()
    {
        ASSERT_TRUE(doc.ImportDatabase("/data/series.mdb", "Squares", "Seq", "Val"));
        doc.SetModifiedFlag(false);
        ui.messages.clear();
        ui.statusTexts.clear();
    }

    CFakeDatabases db;
    CHeadlessUi ui;
    CKestrinDoc doc{ui};
};

} // namespace

TEST_F(DatabaseImportTest, LoadFillsTheDocumentAndComputesTheGlobalEstimate)
{
    // Parameters changed before the import are replaced by D 4 and M 3.
    doc.SetHParameters({.nD = 3, .nM = 10});
    doc.SetModifiedFlag(false);
    ui.statusTexts.clear();
    ASSERT_TRUE(doc.ImportDatabase("/data/series.mdb", "Squares", "Seq", "Val"));

    EXPECT_EQ(Points(doc), SquaresRows());
    EXPECT_EQ(doc.m_strDatabase, "/data/series.mdb");
    EXPECT_EQ(doc.m_strTable, "Squares");
    EXPECT_EQ(doc.m_strXField, "Seq");
    EXPECT_EQ(doc.m_strYField, "Val");
    EXPECT_EQ(doc.m_bHasData, 1);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.m_nD, 4);
    EXPECT_EQ(doc.m_nM, 3);
    EXPECT_EQ(doc.m_globalSet.GetD(), 4);
    EXPECT_EQ(doc.m_globalSet.GetM(), 3);
    EXPECT_EQ(doc.m_globalSet.m_bAutoCompute, 1);
    EXPECT_EQ(doc.m_globalSet.GetCount(), 10);
    const CHDataSet expected = Estimate({0, 1, 4, 9, 16, 25, 36, 49, 64, 81});
    EXPECT_EQ(Bits(doc.m_globalSet.GetH()), Bits(expected.GetH()));
    EXPECT_EQ(Bits(doc.m_globalSet.GetR()), Bits(expected.GetR()));
    EXPECT_NEAR(doc.m_globalSet.GetH(), 0.998520, 5e-7);

    EXPECT_EQ(ui.statusTexts, (std::vector<std::string>{"Loading Records...", "Ready"}));
    EXPECT_EQ(ui.m_waitDepth, 0);
    EXPECT_TRUE(ui.messages.empty());
    // The connection was open only while reading.
    EXPECT_EQ(db.opens, 1);
    EXPECT_EQ(db.live, 0);
    EXPECT_EQ(doc.m_database, nullptr);
}

TEST_F(DatabaseImportTest, RecordsKeepTheTableOrderAndEqualXs)
{
    ASSERT_TRUE(doc.ImportDatabase("/data/series.mdb", "Unsorted", "X", "Y"));
    EXPECT_EQ(Points(doc), (std::vector<std::pair<double, double>>{{5, 50}, {3, 30}, {9, 90}, {3, 31}, {1, 10}, {7, 70}}));
    // Said once, at the first record whose X is below the one before it.
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "X decreases at record 2: is the sequence field right?");
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::warning);
    // The same field may serve as X and Y.
    ASSERT_TRUE(doc.ImportDatabase("/data/series.mdb", "Unsorted", "Y", "Y"));
    EXPECT_EQ(doc.m_points[3].m_dX, 31.0);
    EXPECT_EQ(doc.m_points[3].m_dY, 31.0);
}

TEST_F(DatabaseImportTest, RecordsWithoutNumericXOrYAreSkippedAndCountedOnce)
{
    FakeTable mixed("Mixed", {"K", "S"});
    const std::vector<CDbVariant> values{CDbVariant::Text("12.5"), CDbVariant::Text("  7"), CDbVariant::Text("abc"),
                                         CDbVariant::Null(),       CDbVariant::Text("-3e2"), CDbVariant::Text(""),
                                         CDbVariant::Text("1,5"),  CDbVariant::Real8(std::numeric_limits<double>::infinity())};
    for (std::size_t i = 0; i < values.size(); ++i)
        mixed.rows.push_back({CDbVariant::Int32(static_cast<std::int64_t>(i) + 1), values[i]});
    // A Null X skips the record as well.
    mixed.rows.push_back({CDbVariant::Null(), CDbVariant::Real8(4)});
    db.files["/data/mixed.mdb"].tables.push_back(mixed);

    ASSERT_TRUE(doc.ImportDatabase("/data/mixed.mdb", "Mixed", "K", "S"));
    EXPECT_EQ(Points(doc), (std::vector<std::pair<double, double>>{{1, 12.5}, {2, 7}, {5, -300}}));
    EXPECT_EQ(doc.m_globalSet.GetCount(), 3);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "6 records were skipped because their X or Y value is empty or not a number.");
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::warning);
    EXPECT_EQ(doc.m_bHasData, 1);

    // One skipped record is said in the singular.
    FakeTable one = RealTable("One", "X", "Y", {{1, 1}, {2, 2}});
    one.rows.push_back({CDbVariant::Real8(3), CDbVariant::Null()});
    db.files["/data/mixed.mdb"].tables.push_back(one);
    ASSERT_TRUE(doc.ImportDatabase("/data/mixed.mdb", "One", "X", "Y"));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].text, "1 record was skipped because its X or Y value is empty or not a number.");
}

TEST_F(DatabaseImportTest, FailedLoadLeavesALoadedDocumentAsItWas)
{
    LoadSquares();
    doc.m_globalSet.SetM(4); // as the parameters dialog leaves it
    const DocState before(doc);

    struct Case
    {
        const char* file;
        const char* table;
        const char* x;
        const char* y;
        const char* reason;
    };
    const Case cases[] = {
        {"/data/missing.mdb", "Squares", "Seq", "Val", "does not exist"},
        {"/data/series.mdb", "Nope", "Seq", "Val", "no table \"Nope\""},
        {"/data/series.mdb", "Squares", "Seq", "Value", "no field \"Value\""},
        {"/data/series.mdb", "Broken", "X", "Y", "is damaged"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.table) + " " + c.reason);
        ui.messages.clear();
        ui.statusTexts.clear();
        EXPECT_FALSE(doc.ImportDatabase(c.file, c.table, c.x, c.y));
        ASSERT_EQ(ui.messages.size(), 1u);
        const std::string& text = ui.messages[0].text;
        EXPECT_EQ(text.substr(0, text.find('\n')), "Kestrin: Unable to open database!");
        EXPECT_NE(text.find(c.reason), std::string::npos) << text;
        EXPECT_EQ(ui.messages[0].icon, MsgIcon::error);
        EXPECT_TRUE(DocState(doc) == before);
        EXPECT_EQ(ui.LastStatus(), "Ready");
        EXPECT_EQ(ui.m_waitDepth, 0);
        EXPECT_EQ(db.live, 0);
    }
    // No name at all is refused the same way.
    EXPECT_FALSE(doc.ImportDatabase("/data/series.mdb", "Squares", "", "Val"));
    EXPECT_TRUE(DocState(doc) == before);
}

TEST_F(DatabaseImportTest, KeepingUnsavedChangesStopsTheImportBeforeOpening)
{
    LoadSquares();
    doc.SetModifiedFlag(true);
    const DocState before(doc);
    ui.saveAnswers.push_back(MsgResult::cancel);
    EXPECT_FALSE(doc.ImportDatabase("/data/series.mdb", "Unsorted", "X", "Y"));
    EXPECT_EQ(ui.savePrompts.size(), 1u);
    EXPECT_TRUE(DocState(doc) == before);
    EXPECT_EQ(db.opens, 1); // only the first load
    EXPECT_TRUE(ui.messages.empty());

    // Discarding the changes lets it go on.
    ui.saveAnswers.push_back(MsgResult::no);
    EXPECT_TRUE(doc.ImportDatabase("/data/series.mdb", "Unsorted", "X", "Y"));
    EXPECT_EQ(doc.m_strTable, "Unsorted");
}

TEST_F(DatabaseImportTest, ATableWhoseRecordsHoldNoNumberChangesNothing)
{
    LoadSquares();
    const DocState before(doc);
    FakeTable nulls("Nulls", {"X", "Y"});
    nulls.rows.assign(2, {CDbVariant::Int32(1), CDbVariant::Null()});
    db.files["/data/series.mdb"].tables.push_back(nulls);
    EXPECT_FALSE(doc.ImportDatabase("/data/series.mdb", "Nulls", "X", "Y"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Kestrin: no record of the table \"Nulls\" has a numeric X and Y value; nothing was imported.\n"
              "2 records were skipped because their X or Y value is empty or not a number.");
    EXPECT_TRUE(DocState(doc) == before);
}

TEST(DatabaseImportValues, OnlyFiniteNumbersBecomeCoordinates)
{
    EXPECT_EQ(CKestrinDoc::VariantToDouble(CDbVariant::Int32(-7)), -7.0);
    EXPECT_EQ(CKestrinDoc::VariantToDouble(CDbVariant::Real8(2.5)), 2.5);
    EXPECT_EQ(CKestrinDoc::VariantToDouble(CDbVariant::Bool(true)), -1.0);
    EXPECT_EQ(CKestrinDoc::VariantToDouble(CDbVariant::Date(36954.25)), 36954.25);
    EXPECT_EQ(CKestrinDoc::VariantToDouble(CDbVariant::Null()), std::nullopt);
    EXPECT_EQ(CKestrinDoc::VariantToDouble(CDbVariant()), std::nullopt);
    EXPECT_EQ(CKestrinDoc::VariantToDouble(CDbVariant::Text("n/a")), std::nullopt);
    EXPECT_EQ(CKestrinDoc::VariantToDouble(CDbVariant::Real8(-std::numeric_limits<double>::infinity())), std::nullopt);
    EXPECT_EQ(CKestrinDoc::VariantToDouble(CDbVariant::Real8(std::numeric_limits<double>::quiet_NaN())), std::nullopt);
}

// --- The real files -------------------------------------------------------

namespace {

void WriteSqlite(const std::string& path, const std::vector<std::pair<double, double>>& rows)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    std::string sql = "BEGIN; CREATE TABLE Other (A INTEGER); CREATE TABLE Tiny (Seq INTEGER, Val REAL);";
    for (const auto& [x, y] : rows)
        sql += "INSERT INTO Tiny VALUES (" + std::to_string(static_cast<long long>(x)) + ", " + std::to_string(y) + ");";
    sql += "COMMIT;";
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

} // namespace

TEST(DatabaseImportFiles, AccessSqliteAndCsvGiveTheSameSeriesAndEstimate)
{
    TempDir dir;
    const std::vector<std::pair<double, double>> rows = SquaresRows();
    std::string csv = "Seq,Val\n";
    for (const auto& [x, y] : rows)
        csv += std::to_string(static_cast<int>(x)) + "," + std::to_string(static_cast<int>(y)) + "\n";
    WriteFile(dir.File("tiny.csv"), csv);
    WriteSqlite(dir.File("tiny.sqlite"), rows);

    struct Source
    {
        std::string file;
        std::string table;
    };
    const Source sources[] = {
        {DbFixture("series.mdb"), "Tiny"},
        {dir.File("tiny.sqlite"), "Tiny"},
        {dir.File("tiny.csv"), "tiny"},
    };
    const CHDataSet expected = Estimate({0, 1, 4, 9, 16, 25, 36, 49, 64, 81});
    for (const Source& s : sources) {
        SCOPED_TRACE(s.file);
        CHeadlessUi ui;
        CKestrinDoc doc(ui);
        doc.OnNewDocument();
        ASSERT_TRUE(doc.ImportDatabase(s.file, s.table, "Seq", "Val"))
            << (ui.messages.empty() ? "" : ui.messages[0].text);
        EXPECT_EQ(Points(doc), rows);
        EXPECT_EQ(Bits(doc.m_globalSet.GetH()), Bits(expected.GetH()));
        EXPECT_EQ(Bits(doc.m_globalSet.GetB()), Bits(expected.GetB()));
        EXPECT_EQ(Bits(doc.m_globalSet.GetR()), Bits(expected.GetR()));
        EXPECT_TRUE(ui.messages.empty());
    }
}

TEST(DatabaseImportFiles, DamagedAccessFileIsAFailedLoad)
{
    TempDir dir;
    const std::vector<std::uint8_t> bytes = ReadFileBytes(DbFixture("series.mdb"));
    ASSERT_GT(bytes.size(), 64u * 1024u);
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    doc.OnNewDocument();
    ASSERT_TRUE(doc.ImportDatabase(DbFixture("series.mdb"), "Tiny", "Seq", "Val"));
    doc.SetModifiedFlag(false);
    const DocState before(doc);

    // Cut inside the big table's data, and cut to a few pages.
    for (const std::size_t size : {bytes.size() / 2, std::size_t{4096 * 3}}) {
        SCOPED_TRACE(size);
        const std::string cut = dir.File("cut" + std::to_string(size) + ".mdb");
        WriteFile(cut, std::string(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size)));
        ui.messages.clear();
        EXPECT_FALSE(doc.ImportDatabase(cut, "Series", "Seq", "Val"));
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text.substr(0, ui.messages[0].text.find('\n')), "Kestrin: Unable to open database!");
        EXPECT_TRUE(DocState(doc) == before);
        EXPECT_EQ(ui.m_waitDepth, 0);
    }
}

TEST(DatabaseImportFiles, ATableWithoutRecordsLoadsAsAnEmptySeriesAsAnEmptyTextFileDoes)
{
    TempDir dir;
    WriteFile(dir.File("empty.txt"), "");
    WriteFile(dir.File("empty.csv"), "X,Y\n");
    WriteSqlite(dir.File("tiny.sqlite"), SquaresRows()); // its table Other has no rows

    CHeadlessUi textUi;
    CKestrinDoc text(textUi);
    text.OnNewDocument();
    ASSERT_TRUE(text.ImportTextFile(dir.File("empty.txt"), 0, 0, false));
    DocState expected(text);

    CFakeDatabases fakes;
    fakes.files["/data/empty.mdb"].tables.push_back(FakeTable("Empty", {"X", "Y"}));
    struct Source
    {
        std::string file, table, x, y;
    };
    const Source sources[] = {
        {"/data/empty.mdb", "Empty", "X", "Y"},
        {DbFixture("types.mdb"), "Empty", "X", "Y"},
        {dir.File("tiny.sqlite"), "Other", "A", "A"},
    };
    for (const Source& s : sources) {
        SCOPED_TRACE(s.file);
        CHeadlessUi ui;
        CKestrinDoc doc(ui);
        doc.OnNewDocument();
        // Whatever was loaded before goes.
        ASSERT_TRUE(doc.ImportDatabase(DbFixture("series.mdb"), "Tiny", "Seq", "Val"));
        doc.SetModifiedFlag(false);
        if (s.file.starts_with("/data/"))
            doc.m_openDatabase = fakes.Opener();
        ASSERT_TRUE(doc.ImportDatabase(s.file, s.table, s.x, s.y));
        EXPECT_TRUE(ui.messages.empty()) << ui.messages[0].text;
        expected.names = {s.file, s.table, s.x, s.y};
        // The database load leaves automatic computation on.
        expected.autoCompute = 1;
        EXPECT_TRUE(DocState(doc) == expected);
        EXPECT_EQ(doc.m_globalSet.GetCount(), 0);
        EXPECT_EQ(doc.m_bHasData, 1);
        EXPECT_TRUE(doc.IsModified());
    }
    // Delimited text with a header row alone is no table of values.
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    EXPECT_FALSE(doc.ImportDatabase(dir.File("empty.csv"), "empty", "X", "Y"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find("holds a header row but no record below it."), std::string::npos);
}


TEST(DatabaseImportFiles, DamagedSqlitePageIsRefusedInSqlitesWords)
{
    TempDir dir;
    std::vector<std::pair<double, double>> rows;
    for (int i = 0; i < 304; ++i)
        rows.emplace_back(i, i * 0.5);
    const std::string path = dir.File("damaged.sqlite");
    WriteSqlite(path, rows);
    // One fewer in the cell count of the first table leaf page that holds
    // records: the table would read as 303 records without an error.
    std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    std::size_t page = 0;
    for (std::size_t at = 4096; at + 4096 <= bytes.size() && page == 0; at += 4096)
        if (bytes[at] == 0x0D && (bytes[at + 3] | bytes[at + 4]) != 0)
            page = at;
    ASSERT_NE(page, 0u);
    const int cells = bytes[page + 3] << 8 | bytes[page + 4];
    bytes[page + 3] = static_cast<std::uint8_t>((cells - 1) >> 8);
    bytes[page + 4] = static_cast<std::uint8_t>(cells - 1);
    WriteFile(path, std::string(bytes.begin(), bytes.end()));

    std::string words;
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_exec(
        db, "PRAGMA quick_check;",
        [](void* out, int, char** values, char**) {
            *static_cast<std::string*>(out) += values[0];
            return 0;
        },
        &words, nullptr);
    sqlite3_close(db);
    ASSERT_NE(words, "ok");

    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    doc.OnNewDocument();
    EXPECT_FALSE(doc.ImportDatabase(path, "Tiny", "Seq", "Val"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.starts_with("Kestrin: Unable to open database!\n")) << ui.messages[0].text;
    EXPECT_NE(ui.messages[0].text.find(words), std::string::npos) << ui.messages[0].text;
    EXPECT_TRUE(doc.m_points.IsEmpty());
}

} // namespace database_import_test
