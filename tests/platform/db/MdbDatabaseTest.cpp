#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "tests/platform/db/CommaLocale.h"
#include "tests/platform/db/CsvTwin.h"
#include "platform/db/OpenDatabase.h"
#include "tests/support/TestSupport.h"

namespace mdb_database_test {

namespace {

CsvTwin Twin(const std::string& name) { return ReadCsvTwin(DbFixture(name)); }

// Every record of one field, in table order.
std::vector<CDbVariant> Column(IDatabase& db, const std::string& table, const std::string& field)
{
    std::vector<CDbVariant> values;
    auto rs = db.OpenRecordset(table);
    const int index = rs->FieldIndex(field);
    for (; !rs->IsEOF(); rs->MoveNext())
        values.push_back(rs->GetFieldValue(index));
    return values;
}

// A copy of a fixture cut to its first `bytes` bytes.
std::string TruncatedCopy(const TempDir& dir, const std::string& fixture, std::size_t bytes)
{
    const std::string path = dir.File("cut-" + std::to_string(bytes) + ".mdb");
    std::filesystem::copy_file(DbFixture(fixture), path);
    std::filesystem::resize_file(path, bytes);
    return path;
}

// Every field of every record of every table as text, table by table in the
// file's order, each table's records in order.
std::vector<std::string> EveryValueText(IDatabase& db)
{
    std::vector<std::string> values;
    for (const std::string& table : db.TableNames()) {
        const std::size_t fields = db.FieldNames(table).size();
        values.push_back("table " + table);
        auto rs = db.OpenRecordset(table);
        for (; !rs->IsEOF(); rs->MoveNext())
            for (std::size_t i = 0; i < fields; ++i)
                values.push_back(VariantToText(rs->GetFieldValue(static_cast<int>(i))));
    }
    return values;
}

// Reads every field of every record of every table; returns how many values.
std::size_t ReadEverything(IDatabase& db)
{
    const std::vector<std::string> values = EveryValueText(db);
    return static_cast<std::size_t>(
        std::count_if(values.begin(), values.end(), [](const std::string& v) { return v.rfind("table ", 0) != 0; }));
}

void ExpectReadingsMatchTwin(IDatabase& db)
{
    const CsvTwin twin = Twin("types.Readings.csv");
    ASSERT_EQ(twin.rows.size(), 20u);
    auto rs = db.OpenRecordset("Readings");
    for (const CsvTwin::Row& row : twin.rows) {
        ASSERT_FALSE(rs->IsEOF());
        auto cell = [&](const char* name) { return row[static_cast<std::size_t>(twin.Column(name))]; };
        const std::int64_t id = TwinInteger(*cell("ID"));
        SCOPED_TRACE("ID " + std::to_string(id));
        const bool nullRow = id == 7 || id == 13;

        const CDbVariant idValue = rs->GetFieldValue("ID");
        EXPECT_EQ(idValue.vt, kVtI4);
        EXPECT_EQ(idValue.i, id);

        const CDbVariant stamp = rs->GetFieldValue("Stamp");
        const CDbVariant value = rs->GetFieldValue("Value");
        const CDbVariant level = rs->GetFieldValue("Level");
        const CDbVariant price = rs->GetFieldValue("Price");
        const CDbVariant label = rs->GetFieldValue("Label");
        if (nullRow) {
            for (const CDbVariant* v : {&stamp, &value, &level, &price, &label}) {
                EXPECT_EQ(v->vt, kVtNull);
                EXPECT_FALSE(VariantToDouble(*v));
                EXPECT_EQ(VariantToText(*v), "----");
            }
            EXPECT_FALSE(cell("Stamp_oadate"));
        } else {
            EXPECT_EQ(stamp.vt, kVtDate);
            EXPECT_EQ(Bits(*VariantToDouble(stamp)), Bits(TwinDouble(*cell("Stamp_oadate"))));
            // The twin's "yyyy-MM-ddTHH:mm:ss", with the time left out at midnight.
            std::string iso = *cell("Stamp");
            iso[10] = ' ';
            if (iso.ends_with(" 00:00:00"))
                iso.resize(10);
            EXPECT_EQ(VariantToText(stamp), iso);

            EXPECT_EQ(value.vt, kVtR8);
            EXPECT_EQ(Bits(*VariantToDouble(value)), Bits(TwinDouble(*cell("Value"))));

            EXPECT_EQ(level.vt, kVtR4);
            EXPECT_EQ(Bits(*VariantToDouble(level)), Bits(TwinDouble(*cell("Level"))));

            EXPECT_EQ(price.vt, kVtCy);
            EXPECT_EQ(price.i, TwinCurrency(*cell("Price")));
            EXPECT_EQ(*VariantToDouble(price), TwinDouble(*cell("Price")));

            EXPECT_EQ(label.vt, kVtBstr);
            EXPECT_EQ(label.s, *cell("Label"));
        }

        const CDbVariant flag = rs->GetFieldValue("Flag");
        EXPECT_EQ(flag.vt, kVtBool);
        EXPECT_EQ(*VariantToDouble(flag), *cell("Flag") == "true" ? -1.0 : 0.0);
        EXPECT_EQ(VariantToText(flag), *cell("Flag") == "true" ? "TRUE" : "FALSE");

        const CDbVariant small = rs->GetFieldValue("Small");
        EXPECT_EQ(small.vt, kVtI2);
        EXPECT_EQ(small.i, TwinInteger(*cell("Small")));
        EXPECT_EQ(VariantToText(small), *cell("Small"));

        const CDbVariant tiny = rs->GetFieldValue("Tiny");
        EXPECT_EQ(tiny.vt, kVtUi1);
        EXPECT_EQ(*VariantToDouble(tiny), TwinDouble(*cell("Tiny")));
        EXPECT_EQ(VariantToText(tiny), "Unknown type 17\n");
        rs->MoveNext();
    }
    EXPECT_TRUE(rs->IsEOF());
}

} // namespace

TEST(MdbTables, EveryTableInCatalogOrderWithSystemTables)
{
    auto types = OpenDatabase(DbFixture("types.mdb"));
    EXPECT_EQ(types->TableNames(), (std::vector<std::string>{"MSysObjects", "MSysACEs", "MSysQueries",
                                                             "MSysRelationships", "MSysAccessObjects",
                                                             "Readings", "Empty"}));
    auto series = OpenDatabase(DbFixture("series.mdb"));
    std::vector<std::string> names = series->TableNames();
    ASSERT_GE(names.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(names.end() - 5, names.end()),
              (std::vector<std::string>{"Series", "Tiny", "Temp", "Temperature", "Daily Flow"}));
    EXPECT_EQ(names.front(), "MSysObjects");
}

TEST(MdbTables, FieldsInTableOrder)
{
    auto db = OpenDatabase(DbFixture("types.mdb"));
    EXPECT_EQ(db->FieldNames("Readings"), (std::vector<std::string>{"ID", "Stamp", "Value", "Level", "Flag",
                                                                    "Price", "Small", "Tiny", "Label"}));
    EXPECT_EQ(db->FieldNames("Empty"), (std::vector<std::string>{"X", "Y"}));
    auto series = OpenDatabase(DbFixture("series.mdb"));
    EXPECT_EQ(series->FieldNames("Daily Flow"), (std::vector<std::string>{"Day", "Flow"}));
    EXPECT_FALSE(series->FieldNames("MSysObjects").empty());
}

TEST(MdbTables, NamesMatchWholeIgnoringCaseButNeverAsPrefix)
{
    auto db = OpenDatabase(DbFixture("series.mdb"));
    EXPECT_EQ(db->FieldNames("Temp"), (std::vector<std::string>{"T", "V"}));
    EXPECT_EQ(db->FieldNames("Temperature"), (std::vector<std::string>{"TT", "VV"}));
    EXPECT_EQ(db->FieldNames("temp"), (std::vector<std::string>{"T", "V"}));
    EXPECT_THROW(db->FieldNames("Tem"), CDatabaseError);
    EXPECT_THROW(db->OpenRecordset("Tem"), CDatabaseError);
    EXPECT_THROW(db->OpenRecordset("Daily"), CDatabaseError);

    auto rs = db->OpenRecordset("Temp");
    EXPECT_THROW(rs->FieldIndex("VV"), CDatabaseError);
    EXPECT_THROW(rs->FieldIndex(""), CDatabaseError);
    EXPECT_EQ(rs->FieldIndex("v"), 1);
    EXPECT_THROW(rs->GetFieldValue(2), CDatabaseError);
    EXPECT_THROW(rs->GetFieldValue(-1), CDatabaseError);
}

TEST(MdbTables, TempAndTemperatureAreDistinctTables)
{
    auto db = OpenDatabase(DbFixture("series.mdb"));
    for (const char* name : {"Temp", "Temperature"}) {
        SCOPED_TRACE(name);
        const CsvTwin twin = Twin(std::string("series.") + name + ".csv");
        const auto xs = Column(*db, name, twin.header[0]);
        const auto ys = Column(*db, name, twin.header[1]);
        ASSERT_EQ(xs.size(), twin.rows.size());
        for (std::size_t i = 0; i < xs.size(); ++i) {
            EXPECT_EQ(xs[i].i, TwinInteger(*twin.rows[i][0]));
            EXPECT_EQ(*VariantToDouble(ys[i]), TwinDouble(*twin.rows[i][1]));
        }
    }
}

TEST(MdbValues, ReadingsMatchTheirTwinInEveryColumn)
{
    auto db = OpenDatabase(DbFixture("types.mdb"));
    ExpectReadingsMatchTwin(*db);
}

TEST(MdbValues, ReadingsTextsAsShownInSampleLists)
{
    auto db = OpenDatabase(DbFixture("types.mdb"));
    auto rs = db->OpenRecordset("Readings");
    EXPECT_EQ(VariantToText(rs->GetFieldValue("Value")), "     -5.75");
    EXPECT_EQ(VariantToText(rs->GetFieldValue("Level")), "      0.25");
    EXPECT_EQ(VariantToText(rs->GetFieldValue("Price")), "1224.5578");
    EXPECT_EQ(VariantToText(rs->GetFieldValue("Stamp")), "2001-03-04 06:00:00");
    EXPECT_EQ(VariantToText(rs->GetFieldValue("ID")), "1");
    rs->MoveNext();
    rs->MoveNext();
    EXPECT_EQ(VariantToText(rs->GetFieldValue("Label")), "café");
}

TEST(MdbValues, SeriesIsBitExactAgainstItsTwin)
{
    const CsvTwin twin = Twin("series.Series.csv");
    ASSERT_EQ(twin.rows.size(), 100000u);
    auto db = OpenDatabase(DbFixture("series.mdb"));
    auto rs = db->OpenRecordset("Series");
    const int seq = rs->FieldIndex("Seq");
    const int val = rs->FieldIndex("Val");
    std::size_t n = 0;
    std::size_t mismatches = 0;
    std::vector<double> ys;
    for (; !rs->IsEOF(); rs->MoveNext(), ++n) {
        ASSERT_LT(n, twin.rows.size());
        const CDbVariant x = rs->GetFieldValue(seq);
        const CDbVariant y = rs->GetFieldValue(val);
        ASSERT_EQ(x.vt, kVtI4);
        ASSERT_EQ(y.vt, kVtR8);
        if (x.i != static_cast<std::int64_t>(n) || Bits(y.d) != Bits(TwinDouble(*twin.rows[n][1])))
            ++mismatches;
        ys.push_back(*VariantToDouble(y));
    }
    EXPECT_EQ(n, 100000u);
    EXPECT_EQ(mismatches, 0u);
    ASSERT_EQ(ys.size(), 100000u);
    EXPECT_EQ(ys[0], 0.0);
    EXPECT_EQ(ys[1], 0.0682303266439076);
    EXPECT_EQ(ys[2], -0.2063062444083411);
    EXPECT_EQ(ys[99999], -60.264636933423475);
    EXPECT_EQ(*std::min_element(ys.begin(), ys.end()), -136.1003779823581);
    EXPECT_EQ(*std::max_element(ys.begin(), ys.end()), 24.82126008061519);
}

TEST(MdbValues, DatesAsSequenceGiveDayNumbers)
{
    auto db = OpenDatabase(DbFixture("series.mdb"));
    const CsvTwin twin = Twin("series.Daily_Flow.csv");
    const auto days = Column(*db, "Daily Flow", "Day");
    const auto flows = Column(*db, "Daily Flow", "Flow");
    ASSERT_EQ(days.size(), 30u);
    for (std::size_t d = 0; d < days.size(); ++d) {
        EXPECT_EQ(days[d].vt, kVtDate);
        EXPECT_EQ(*VariantToDouble(days[d]), 18264.0 + static_cast<double>(d));
        EXPECT_EQ(*VariantToDouble(flows[d]), TwinDouble(*twin.rows[d][2]));
    }
    EXPECT_EQ(VariantToText(days[0]), "1950-01-01");
}

TEST(MdbValues, TextKeepsEmptyApartFromMissingAndCoercesOnlyPlainNumbers)
{
    auto db = OpenDatabase(DbFixture("mixed.mdb"));
    const auto texts = Column(*db, "Mixed", "S");
    ASSERT_EQ(texts.size(), 8u);
    const std::vector<std::string> expected{"12.5", "  7", "abc", "", "-3e2", "", "1,5", "0x10"};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(texts[i].vt, i == 3 ? kVtNull : kVtBstr);
        EXPECT_EQ(texts[i].s, expected[i]);
    }
    EXPECT_EQ(VariantToText(texts[3]), "----");
    EXPECT_EQ(VariantToText(texts[5]), "");
    EXPECT_EQ(VariantToDouble(texts[0]), 12.5);
    EXPECT_EQ(VariantToDouble(texts[1]), 7.0);
    EXPECT_EQ(VariantToDouble(texts[4]), -300.0);
    for (std::size_t i : {2u, 3u, 5u, 6u, 7u})
        EXPECT_FALSE(VariantToDouble(texts[i])) << i;
}

TEST(MdbValues, RecordsComeInStoredOrderUnsorted)
{
    auto db = OpenDatabase(DbFixture("mixed.mdb"));
    std::vector<double> xs, ys;
    for (const auto& v : Column(*db, "Unsorted", "X"))
        xs.push_back(*VariantToDouble(v));
    for (const auto& v : Column(*db, "Unsorted", "Y"))
        ys.push_back(*VariantToDouble(v));
    EXPECT_EQ(xs, (std::vector<double>{5, 3, 9, 3, 1, 7}));
    EXPECT_EQ(ys, (std::vector<double>{50, 30, 90, 31, 10, 70}));
}

TEST(MdbRecordset, EmptyTableHasNoRecord)
{
    auto db = OpenDatabase(DbFixture("types.mdb"));
    auto rs = db->OpenRecordset("Empty");
    EXPECT_TRUE(rs->IsEOF());
    EXPECT_THROW(rs->GetFieldValue("X"), CDatabaseError);
    EXPECT_THROW(rs->MoveNext(), CDatabaseError);
}

TEST(MdbRecordset, WalksInterleaveAndOutliveTheirDatabase)
{
    auto db = OpenDatabase(DbFixture("series.mdb"));
    auto series = db->OpenRecordset("Series");
    auto tiny = db->OpenRecordset("Tiny");
    EXPECT_EQ(db->FieldNames("Daily Flow"), (std::vector<std::string>{"Day", "Flow"}));
    db.reset();
    for (int i = 0; i < 10; ++i) {
        ASSERT_FALSE(tiny->IsEOF());
        EXPECT_EQ(tiny->GetFieldValue("Val").d, static_cast<double>(i * i));
        EXPECT_EQ(series->GetFieldValue("Seq").i, i);
        tiny->MoveNext();
        series->MoveNext();
    }
    EXPECT_TRUE(tiny->IsEOF());
    EXPECT_EQ(series->GetFieldValue("Seq").i, 10);
}

TEST(MdbRecordset, EveryTableOfEveryFixtureReadsCompletely)
{
    for (const char* name : {"types.mdb", "series.mdb", "mixed.mdb"}) {
        auto db = OpenDatabase(DbFixture(name));
        EXPECT_GT(ReadEverything(*db), 0u) << name;
    }
}

TEST(MdbLocale, ValuesDoNotDependOnACommaLocale)
{
    CommaLocale locale;
    if (!locale.Active())
        GTEST_SKIP() << "no locale with a decimal comma on this machine";
    auto db = OpenDatabase(DbFixture("types.mdb"));
    ExpectReadingsMatchTwin(*db);
    auto rs = db->OpenRecordset("Readings");
    EXPECT_EQ(VariantToText(rs->GetFieldValue("Value")), "     -5.75");
    EXPECT_EQ(VariantToText(rs->GetFieldValue("Stamp")), "2001-03-04 06:00:00");
    auto mixed = OpenDatabase(DbFixture("mixed.mdb"));
    EXPECT_EQ(VariantToDouble(Column(*mixed, "Mixed", "S")[0]), 12.5);
}

TEST(MdbDamage, ATruncatedFileNeverLoadsAsAShorterSeries)
{
    TempDir dir;
    const std::size_t full = std::filesystem::file_size(DbFixture("series.mdb"));
    // Cuts inside the Series data pages: the definition is readable, the
    // records end early.
    for (std::size_t bytes : {std::size_t{1000000}, std::size_t{300000}, full / 2 + 1234}) {
        SCOPED_TRACE(bytes);
        auto db = OpenDatabase(TruncatedCopy(dir, "series.mdb", bytes));
        std::size_t rows = 0;
        try {
            for (auto rs = db->OpenRecordset("Series"); !rs->IsEOF(); rs->MoveNext())
                ++rows;
            ADD_FAILURE() << "read " << rows << " records without an error";
        } catch (const CDatabaseError& e) {
            EXPECT_NE(std::string(e.what()).find("of its 100000 records"), std::string::npos) << e.what();
            EXPECT_LT(rows, 100000u);
        }
    }
    // Cuts before the catalog or inside the first pages fail at the opening.
    for (std::size_t bytes : {std::size_t{20000}, std::size_t{9000}, std::size_t{5000}, std::size_t{100},
                              std::size_t{0}}) {
        SCOPED_TRACE(bytes);
        EXPECT_THROW(OpenDatabase(TruncatedCopy(dir, "series.mdb", bytes)), CDatabaseError);
    }
}

TEST(MdbDamage, EveryCutOfASmallFileFailsCleanlyOrReadsWhole)
{
    TempDir dir;
    const std::vector<std::string> whole = EveryValueText(*OpenDatabase(DbFixture("types.mdb")));
    const std::size_t full = std::filesystem::file_size(DbFixture("types.mdb"));
    int failed = 0;
    for (std::size_t bytes = 0; bytes < full; bytes += 7919) {
        SCOPED_TRACE(bytes);
        try {
            auto db = OpenDatabase(TruncatedCopy(dir, "types.mdb", bytes));
            EXPECT_EQ(EveryValueText(*db), whole) << "a cut file read as something else";
        } catch (const CDatabaseError& e) {
            EXPECT_STRNE(e.what(), "");
            ++failed;
        }
    }
    // The empty file and the first pages alone cannot be read.
    EXPECT_GT(failed, 0);
}

TEST(MdbDamage, ADamagedPageThatCrashesTheLibraryEndsOnlyItsReader)
{
    // The catalog table's pointer to its page usage map, made to point
    // nowhere, sends mdbtools through a null pointer.
    TempDir dir;
    std::vector<std::uint8_t> bytes = ReadFileBytes(DbFixture("types.mdb"));
    bytes[2 * 4096 + 55] = 0xff;
    const std::string path = dir.File("crash.mdb");
    WriteFile(path, std::string(bytes.begin(), bytes.end()));
    try {
        auto db = OpenDatabase(path);
        ReadEverything(*db);
        ADD_FAILURE() << "the damaged file was read";
    } catch (const CDatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("the file is damaged"), std::string::npos) << e.what();
    }
    // The program goes on reading sound files.
    auto db = OpenDatabase(DbFixture("types.mdb"));
    EXPECT_EQ(Column(*db, "Readings", "ID").size(), 20u);
}

TEST(MdbDamage, FilesThatAreNotAccessDatabasesFailWithAClearText)
{
    TempDir dir;
    auto message = [](const std::string& path) {
        try {
            OpenDatabase(path);
        } catch (const CDatabaseError& e) {
            return std::string(e.what());
        }
        return std::string("opened");
    };
    EXPECT_EQ(message(dir.File("missing.mdb")),
              "Unable to open \"" + dir.File("missing.mdb") + "\": the file does not exist.");

    WriteFile(dir.File("text.mdb"), "Seq,Val\n0,1.5\n1,2.5\n");
    EXPECT_EQ(message(dir.File("text.mdb")),
              "Unable to open \"" + dir.File("text.mdb") + "\": it is not an Access database.");

    WriteFile(dir.File("empty.accdb"), "");
    EXPECT_NE(message(dir.File("empty.accdb")).find("not an Access database"), std::string::npos);

    std::filesystem::create_directory(dir.File("folder.mdb"));
    EXPECT_NE(message(dir.File("folder.mdb")).find("not a file"), std::string::npos);

    // A right signature followed by noise.
    std::string header(reinterpret_cast<const char*>(ReadFileBytes(DbFixture("types.mdb")).data()), 0x20);
    std::mt19937 random(7);
    std::string noise;
    for (int i = 0; i < 16 * 4096; ++i)
        noise += static_cast<char>(random() & 0xff);
    WriteFile(dir.File("noise.mdb"), header + noise);
    try {
        auto db = OpenDatabase(dir.File("noise.mdb"));
        ReadEverything(*db);
    } catch (const CDatabaseError&) {
    }

    // A right signature with a version this reader does not know.
    std::string future = header + std::string(3 * 4096, '\0');
    future[0x14] = 0x42;
    WriteFile(dir.File("future.mdb"), future);
    EXPECT_NE(message(dir.File("future.mdb")).find("version is not known"), std::string::npos);
}

TEST(MdbDamage, ATableThatYieldsMoreRecordsThanItDeclaresIsRefused)
{
    // The table definition page (type 2) of "Tiny" is the only one declaring
    // 10 records (a 32-bit count at byte 16) of 2 fields (16 bits at byte 45).
    // Declaring fewer makes the table yield more than it declares.
    constexpr std::size_t kPage = 4096;
    const auto read = [](const std::uint8_t* p, int bytes) {
        std::uint32_t v = 0;
        for (int i = bytes - 1; i >= 0; --i)
            v = (v << 8) | p[i];
        return v;
    };
    std::vector<std::uint8_t> bytes = ReadFileBytes(DbFixture("series.mdb"));
    std::vector<std::size_t> pages;
    for (std::size_t at = 0; at + kPage <= bytes.size(); at += kPage)
        if (bytes[at] == 2 && read(&bytes[at + 16], 4) == 10 && read(&bytes[at + 45], 2) == 2)
            pages.push_back(at);
    ASSERT_EQ(pages.size(), 1u);
    TempDir dir;
    for (const std::uint8_t declared : {std::uint8_t(9), std::uint8_t(1)}) {
        SCOPED_TRACE(int(declared));
        bytes[pages[0] + 16] = declared;
        const std::string path = dir.File("more-" + std::to_string(declared) + ".mdb");
        WriteFile(path, std::string(bytes.begin(), bytes.end()));
        auto db = OpenDatabase(path);
        std::size_t rows = 0;
        try {
            for (auto rs = db->OpenRecordset("Tiny"); !rs->IsEOF(); rs->MoveNext())
                ++rows;
            ADD_FAILURE() << "read " << rows << " records without an error";
        } catch (const CDatabaseError& e) {
            EXPECT_EQ(std::string(e.what()), "The table \"Tiny\" yields more than the " + std::to_string(declared) +
                                                 " records it declares: the file is damaged.");
            EXPECT_EQ(rows, declared);
        }
    }
}

} // namespace mdb_database_test
