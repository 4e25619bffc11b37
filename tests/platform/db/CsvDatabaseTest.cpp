#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/db/OpenDatabase.h"
#include "tests/support/TestSupport.h"

namespace csv_database_test {

namespace {

// Every record's fields as texts, a Null as "<null>".
std::vector<std::vector<std::string>> ReadAll(const std::string& path)
{
    auto db = OpenDatabase(path);
    const auto tables = db->TableNames();
    EXPECT_EQ(tables.size(), 1u);
    const std::size_t fields = db->FieldNames(tables.at(0)).size();
    auto rs = db->OpenRecordset(tables.at(0));
    std::vector<std::vector<std::string>> rows;
    for (; !rs->IsEOF(); rs->MoveNext()) {
        rows.emplace_back();
        for (std::size_t i = 0; i < fields; ++i) {
            const CDbVariant v = rs->GetFieldValue(static_cast<int>(i));
            EXPECT_TRUE(v.vt == kVtBstr || v.vt == kVtNull);
            rows.back().push_back(v.vt == kVtNull ? "<null>" : v.s);
        }
    }
    return rows;
}

using Rows = std::vector<std::vector<std::string>>;

// The message of the CDatabaseError that reading the whole file throws.
std::string ReadError(const std::string& path)
{
    try {
        ReadAll(path);
    } catch (const CDatabaseError& e) {
        return e.what();
    }
    return "no error";
}

} // namespace

TEST(CsvDatabase, OneTableNamedAfterTheFileWithTheHeaderAsFields)
{
    TempDir dir;
    const std::string path = dir.File("river levels.v2.csv");
    WriteFile(path, "Year,Level,\"Note, long\"\n622,1157,a\n");
    auto db = OpenDatabase(path);
    EXPECT_EQ(db->TableNames(), std::vector<std::string>{"river levels.v2"});
    EXPECT_EQ(db->FieldNames("river levels.v2"), (std::vector<std::string>{"Year", "Level", "Note, long"}));
    EXPECT_THROW(db->FieldNames("river levels"), CDatabaseError);
    EXPECT_THROW(db->OpenRecordset("river levels.v2.csv"), CDatabaseError);
    auto rs = db->OpenRecordset("river levels.v2");
    EXPECT_EQ(rs->FieldIndex("Note, long"), 2);
    EXPECT_THROW(rs->FieldIndex("year"), CDatabaseError);
    EXPECT_EQ(rs->GetFieldValue("Level").s, "1157");
    EXPECT_THROW(rs->GetFieldValue(3), CDatabaseError);
    rs->MoveNext();
    EXPECT_TRUE(rs->IsEOF());
    EXPECT_THROW(rs->MoveNext(), CDatabaseError);
}

TEST(CsvDatabase, QuotedFieldsHoldDelimitersQuotesAndLineBreaks)
{
    TempDir dir;
    const std::string path = dir.File("q.csv");
    WriteFile(path,
              "a,b\n"
              "\"x, y\",\"he said \"\"hi\"\"\"\n"
              "\"two\nlines\",\"\" \n"
              "5'10\",\"\"\"\"\n");
    EXPECT_EQ(ReadAll(path), (Rows{{"x, y", "he said \"hi\""}, {"two\nlines", ""}, {"5'10\"", "\""}}));
}

TEST(CsvDatabase, DelimiterIsTheOneMostUsedInTheHeader)
{
    TempDir dir;
    WriteFile(dir.File("semi.csv"), "\"Year,AD\";Level;Note\n622;1,5;a,b\n");
    EXPECT_EQ(OpenDatabase(dir.File("semi.csv"))->FieldNames("semi"),
              (std::vector<std::string>{"Year,AD", "Level", "Note"}));
    EXPECT_EQ(ReadAll(dir.File("semi.csv")), (Rows{{"622", "1,5", "a,b"}}));

    WriteFile(dir.File("tabs.txt"), "Year\tLevel, m\n622\t1,157\n");
    EXPECT_EQ(ReadAll(dir.File("tabs.txt")), (Rows{{"622", "1,157"}}));

    WriteFile(dir.File("commas.txt"), "a,b;c,d\n1,2;3,4\n");
    EXPECT_EQ(ReadAll(dir.File("commas.txt")), (Rows{{"1", "2;3", "4"}}));

    // A .tsv file is tab-separated by its name.
    WriteFile(dir.File("named.tsv"), "a,b,c\tz\n1,2,3\t4\n");
    EXPECT_EQ(ReadAll(dir.File("named.tsv")), (Rows{{"1,2,3", "4"}}));

    // One column: every line is one field.
    WriteFile(dir.File("single.csv"), "Level\n1157\n1088\n");
    EXPECT_EQ(ReadAll(dir.File("single.csv")), (Rows{{"1157"}, {"1088"}}));
}

TEST(CsvDatabase, ByteOrderMarksLineEndsAndEncodings)
{
    TempDir dir;
    WriteFile(dir.File("bom.csv"), "\xEF\xBB\xBFYear,Level\r\n622,1157\r\n623,\"1088\"\r\n");
    EXPECT_EQ(OpenDatabase(dir.File("bom.csv"))->FieldNames("bom"), (std::vector<std::string>{"Year", "Level"}));
    EXPECT_EQ(ReadAll(dir.File("bom.csv")), (Rows{{"622", "1157"}, {"623", "1088"}}));

    WriteFile(dir.File("cr.csv"), "a,b\r1,2\r3,4");
    EXPECT_EQ(ReadAll(dir.File("cr.csv")), (Rows{{"1", "2"}, {"3", "4"}}));

    // UTF-16 as spreadsheets save "Unicode text".
    const std::string utf16le("\xFF\xFE" "T\0e\0m\0p\0\xB0\0\t\0\x29\x6E\xA6\x5E\n\0" "1\0\t\0" "2\0\n\0", 28);
    WriteFile(dir.File("unicode.txt"), utf16le);
    EXPECT_EQ(OpenDatabase(dir.File("unicode.txt"))->FieldNames("unicode"),
              (std::vector<std::string>{"Temp°", "温度"}));
    EXPECT_EQ(ReadAll(dir.File("unicode.txt")), (Rows{{"1", "2"}}));

    // Text that is not UTF-8 is Windows-1252.
    WriteFile(dir.File("latin.csv"), "Temp\xB0,Caf\xE9\n1,\x80\n");
    EXPECT_EQ(OpenDatabase(dir.File("latin.csv"))->FieldNames("latin"), (std::vector<std::string>{"Temp°", "Café"}));
    EXPECT_EQ(ReadAll(dir.File("latin.csv")), (Rows{{"1", "€"}}));
}

TEST(CsvDatabase, EmptyUnquotedFieldIsNullAndEmptyLinesHoldNoRecord)
{
    TempDir dir;
    WriteFile(dir.File("gaps.csv"), "\n\na,b,c\n,\"\",\n\n1, ,3\n\r\n\n");
    EXPECT_EQ(ReadAll(dir.File("gaps.csv")), (Rows{{"<null>", "", "<null>"}, {"1", " ", "3"}}));
    WriteFile(dir.File("end.csv"), "a,b\n1,");
    EXPECT_EQ(ReadAll(dir.File("end.csv")), (Rows{{"1", "<null>"}}));
    WriteFile(dir.File("header-only.csv"), "a,b\n");
    EXPECT_NE(ReadError(dir.File("header-only.csv")).find("holds a header row but no record below it."),
              std::string::npos);
}

TEST(CsvDatabase, RaggedRowFailsNamingItsLine)
{
    TempDir dir;
    const std::string path = dir.File("ragged.csv");
    WriteFile(path, "a,b\n1,2\n\"multi\nline\",3\n4\n5,6\n");
    auto db = OpenDatabase(path);
    auto rs = db->OpenRecordset("ragged");
    rs->MoveNext();
    EXPECT_EQ(rs->GetFieldValue("a").s, "multi\nline");
    try {
        rs->MoveNext();
        ADD_FAILURE() << "a short row was read";
    } catch (const CDatabaseError& e) {
        EXPECT_EQ(std::string(e.what()), "Line 5 of \"" + path + "\" has 1 field where the header has 2.");
    }

    WriteFile(path, "a,b\n1,2\n3,4,5\n");
    EXPECT_EQ(ReadError(path), "Line 3 of \"" + path + "\" has 3 fields where the header has 2.");
    WriteFile(path, "a,b\r\n1,2\r\n3,4,\r\n");
    EXPECT_EQ(ReadError(path), "Line 3 of \"" + path + "\" has 3 fields where the header has 2.");
    // The first record is read when the recordset opens.
    WriteFile(path, "a,b\n1\n");
    EXPECT_THROW(OpenDatabase(path)->OpenRecordset("ragged"), CDatabaseError);
}

TEST(CsvDatabase, UnclosedQuoteAndTextAfterAQuoteFail)
{
    TempDir dir;
    const std::string path = dir.File("open.csv");
    WriteFile(path, "a,b\n1,2\n3,\"open\n4,5\n6,7\n");
    EXPECT_EQ(ReadError(path), "The quoted field that starts on line 3 of \"" + path + "\" is never closed.");
    WriteFile(path, "a,\"b\n");
    EXPECT_THROW(OpenDatabase(path), CDatabaseError);
    WriteFile(path, "a,b\n\"1\"x,2\n");
    EXPECT_EQ(ReadError(path), "Line 2 of \"" + path + "\" has text after the closing quote of a field.");
}

TEST(CsvDatabase, FilesThatCannotBeReadFail)
{
    TempDir dir;
    EXPECT_THROW(OpenDatabase(dir.File("absent.csv")), CDatabaseError);
    EXPECT_FALSE(std::filesystem::exists(dir.File("absent.csv")));
    WriteFile(dir.File("empty.csv"), "");
    EXPECT_THROW(OpenDatabase(dir.File("empty.csv")), CDatabaseError);
    WriteFile(dir.File("blank.csv"), "\xEF\xBB\xBF\r\n\n");
    EXPECT_THROW(OpenDatabase(dir.File("blank.csv")), CDatabaseError);
    // A line of more fields than any table holds is refused before it is stored.
    WriteFile(dir.File("wide.csv"), std::string(70000, ',') + "\n");
    EXPECT_THROW(OpenDatabase(dir.File("wide.csv")), CDatabaseError);
    std::filesystem::create_directory(dir.File("folder.csv"));
    EXPECT_THROW(OpenDatabase(dir.File("folder.csv")), CDatabaseError);
}

TEST(CsvDatabase, NileSampleReadsEveryYear)
{
    const std::string path = std::string(KESTRIN_DB_FIXTURES_DIR) + "/nile-minima.csv";
    auto db = OpenDatabase(path);
    EXPECT_EQ(db->TableNames(), std::vector<std::string>{"nile-minima"});
    EXPECT_EQ(db->FieldNames("nile-minima"), (std::vector<std::string>{"Year", "Level"}));
    const Rows rows = ReadAll(path);
    ASSERT_EQ(rows.size(), 663u);
    EXPECT_EQ(rows.front(), (std::vector<std::string>{"622", "1157"}));
    EXPECT_EQ(rows.back(), (std::vector<std::string>{"1284", "1097"}));
}

// A file larger than the pieces it is read in: records, quoted fields with
// line breaks, CR LF pairs and characters cut by a piece's end read as in a
// small file, and an error names the right line.
TEST(CsvDatabase, LargeFilesReadAsSmallOnes)
{
    TempDir dir;
    Rows expected;
    std::string text = "Name,Value\r\n";
    for (int i = 0; i < 120000; ++i) {
        const std::string name = i % 7 == 0 ? "two\r\nlines " + std::to_string(i) : "caf\xc3\xa9 " + std::to_string(i);
        const std::string value = std::to_string(i * 3) + (i % 5 == 0 ? ",5" : "");
        text += (i % 7 == 0 ? "\"" + name + "\"" : name) + ",\"" + value + "\"\r\n";
        expected.push_back({name, value});
    }
    ASSERT_GT(text.size(), 2u << 20);
    WriteFile(dir.File("big.csv"), text);
    EXPECT_EQ(ReadAll(dir.File("big.csv")), expected);

    // Text that is not UTF-8 only near its end is Windows-1252 all through.
    WriteFile(dir.File("latin.csv"), text + "\xe9,1\r\n");
    Rows latin = expected;
    latin.push_back({"\xc3\xa9", "1"});
    for (auto& row : latin)
        if (row[0].find("caf") == 0)
            row[0] = "caf\xc3\x83\xc2\xa9" + row[0].substr(5);
    EXPECT_EQ(ReadAll(dir.File("latin.csv")), latin);

    // A ragged row after many pieces names its own line.
    const std::size_t lines = 1 + 120000 + 120000 / 7 + 1;
    WriteFile(dir.File("ragged.csv"), text + "1,2,3\r\n");
    EXPECT_EQ(ReadError(dir.File("ragged.csv")), "Line " + std::to_string(lines + 1) + " of \"" +
                                                     dir.File("ragged.csv") + "\" has 3 fields where the header has 2.");
}

} // namespace csv_database_test
