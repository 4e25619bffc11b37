#include <limits>
#include <string>
#include <vector>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "platform/HeadlessUi.h"
#include "document/KestrinDoc.h"
#include "tests/support/TestSupport.h"

namespace text_import_test {

namespace {

std::vector<double> Ys(const CKestrinDoc& doc)
{
    std::vector<double> ys;
    for (int i = 0; i < doc.m_points.GetSize(); ++i) {
        EXPECT_EQ(doc.m_points[i].m_dX, i);
        ys.push_back(doc.m_points[i].m_dY);
    }
    return ys;
}

const char* kFiveLines = "5\n7.5\nabc\n3e2\n\n";

} // namespace

TEST(TextImport, OneNumberPerLine)
{
    TempDir dir;
    WriteFile(dir.File("a.txt"), kFiveLines);
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    doc.OnNewDocument();
    ASSERT_TRUE(doc.ImportTextFile(dir.File("a.txt"), 0, 0, false));
    EXPECT_EQ(Ys(doc), (std::vector<double>{5, 7.5, 0, 300, 0}));
    EXPECT_EQ(doc.m_bHasData, 1);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.m_nD, 4);
    EXPECT_EQ(doc.m_nM, 3);
    EXPECT_EQ(doc.m_globalSet.GetD(), 4);
    EXPECT_EQ(doc.m_globalSet.GetM(), 3);
    EXPECT_EQ(doc.m_globalSet.GetCount(), 5);
    EXPECT_EQ(doc.m_globalSet.m_bAutoCompute, 0);
    EXPECT_EQ(ui.statusTexts, (std::vector<std::string>{"Loading Records from File...", "Ready"}));
    EXPECT_EQ(ui.m_waitDepth, 0);
    // The letters and the empty last line are told of once.
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::warning);
}

TEST(TextImport, FilterLimitsAreStrict)
{
    TempDir dir;
    WriteFile(dir.File("a.txt"), kFiveLines);
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    ASSERT_TRUE(doc.ImportTextFile(dir.File("a.txt"), 0, 100, true));
    EXPECT_EQ(Ys(doc), (std::vector<double>{5, 7.5}));
    ASSERT_TRUE(doc.ImportTextFile(dir.File("a.txt"), 5, 300, true));
    EXPECT_EQ(Ys(doc), (std::vector<double>{7.5}));
    ASSERT_TRUE(doc.ImportTextFile(dir.File("a.txt"), 0, 0, true));
    EXPECT_TRUE(doc.m_points.IsEmpty());
    EXPECT_EQ(doc.m_bHasData, 1);
    EXPECT_EQ(doc.m_globalSet.GetCount(), 0);
}

TEST(TextImport, LineEndsAndPrefixes)
{
    TempDir dir;
    WriteFile(dir.File("b.txt"), "12.5 8\r\n1,5\r\n  -2e-1\r\n0x10\r\nnan\r\ninf\r\n42");
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    ASSERT_TRUE(doc.ImportTextFile(dir.File("b.txt"), 0, 0, false));
    EXPECT_EQ(Ys(doc), (std::vector<double>{12.5, 1, -0.2, 0, 0, 0, 42}));

    WriteFile(dir.File("empty.txt"), "");
    ASSERT_TRUE(doc.ImportTextFile(dir.File("empty.txt"), 0, 0, false));
    EXPECT_TRUE(doc.m_points.IsEmpty());
    EXPECT_EQ(doc.m_bHasData, 1);
    EXPECT_EQ(doc.m_globalSet.GetH(), 2.0);
}

TEST(TextImport, LongLinesAndManyChunks)
{
    TempDir dir;
    std::string text;
    text += "1" + std::string(3 << 20, ' ') + "\n"; // one line longer than any read
    for (int i = 0; i < 200000; ++i)
        text += std::to_string(i % 97) + ".25\n";
    WriteFile(dir.File("c.txt"), text);
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    ASSERT_TRUE(doc.ImportTextFile(dir.File("c.txt"), 0, 0, false));
    ASSERT_EQ(doc.m_points.GetSize(), 200001);
    EXPECT_EQ(doc.m_points[0].m_dY, 1.0);
    EXPECT_EQ(doc.m_points[200000].m_dY, (199999 % 97) + 0.25);
}

TEST(TextImport, SameGlobalHAsTheEstimatorOverTheValues)
{
    TempDir dir;
    WriteFile(dir.File("d.txt"), "1\n3\n2\n5\n4\n6\n5\n8\n7\n9\n");
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    ASSERT_TRUE(doc.ImportTextFile(dir.File("d.txt"), 0, 0, false));
    doc.SetHParameters({.nD = 2, .nM = 3});
    EXPECT_EQ(doc.m_globalSet.GetH(), 0.06898713444565008);
    EXPECT_EQ(doc.m_globalSet.GetR(), -0.990237242199398);
}

TEST(TextImport, FailureLeavesTheDocumentAsItWas)
{
    TempDir dir;
    WriteFile(dir.File("a.txt"), kFiveLines);
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    ASSERT_TRUE(doc.ImportTextFile(dir.File("a.txt"), 0, 0, false));
    doc.m_strTable = "kept";
    const double h = doc.m_globalSet.GetH();
    ui.statusTexts.clear();

    // A missing file, no file at all, and a directory (which opens but
    // cannot be read).
    for (const std::string& path : {dir.File("missing.txt"), std::string(), dir.Path().string()}) {
        ui.messages.clear();
        EXPECT_FALSE(doc.ImportTextFile(path, 0, 0, false)) << path;
        ASSERT_EQ(ui.messages.size(), 1u) << path;
        EXPECT_EQ(ui.messages[0].icon, MsgIcon::error);
        EXPECT_EQ(doc.m_points.GetSize(), 5);
        EXPECT_EQ(doc.m_globalSet.GetH(), h);
        EXPECT_EQ(doc.m_strTable, "kept");
        EXPECT_EQ(doc.m_bHasData, 1);
        EXPECT_TRUE(doc.IsModified());
        EXPECT_EQ(ui.LastStatus(), "Ready");
        EXPECT_EQ(ui.m_waitDepth, 0);
    }
    EXPECT_NE(std::string::npos, std::string(ui.messages[0].text).find(dir.Path().string()));
}

TEST(TextImport, SavePromptComesFirst)
{
    TempDir dir;
    WriteFile(dir.File("a.txt"), kFiveLines);
    WriteFile(dir.File("b.txt"), "1\n2\n");
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    doc.SetTitle("Kestrn1");
    ASSERT_TRUE(doc.ImportTextFile(dir.File("a.txt"), 0, 0, false));
    EXPECT_TRUE(ui.savePrompts.empty()); // nothing to lose yet

    ui.saveAnswers.push_back(MsgResult::cancel);
    EXPECT_FALSE(doc.ImportTextFile(dir.File("b.txt"), 0, 0, false));
    // The imported document is named for its file.
    EXPECT_EQ(ui.savePrompts, std::vector<std::string>{"a.txt"});
    EXPECT_EQ(doc.m_points.GetSize(), 5);

    // Yes with no file name: the save dialog is cancelled, so nothing changes.
    ui.saveAnswers.push_back(MsgResult::yes);
    EXPECT_FALSE(doc.ImportTextFile(dir.File("b.txt"), 0, 0, false));
    EXPECT_EQ(doc.m_points.GetSize(), 5);

    // Yes and a file name: saved, then imported.
    ui.saveAnswers.push_back(MsgResult::yes);
    ui.saveChoices.push_back(dir.File("saved.kst"));
    EXPECT_TRUE(doc.ImportTextFile(dir.File("b.txt"), 0, 0, false));
    EXPECT_EQ(doc.m_points.GetSize(), 2);
    EXPECT_EQ(ReadFileBytes(dir.File("saved.kst")).size(), 28u + 5 * 16 + 4 + 36 + 3 * 24 + 5 * 8);
    // The import then takes the document away from the file it was saved to.
    EXPECT_EQ(doc.GetPathName(), "");
    EXPECT_EQ(doc.GetTitle(), "b.txt");

    // No: discarded.
    ui.saveAnswers.push_back(MsgResult::no);
    EXPECT_TRUE(doc.ImportTextFile(dir.File("a.txt"), 0, 0, false));
    EXPECT_EQ(doc.m_points.GetSize(), 5);
}

namespace {

using namespace std::string_literals;

// ASCII text as UTF-16 with its byte-order mark.
std::string Utf16(const std::string& ascii, bool little)
{
    std::string out = little ? "\xff\xfe" : "\xfe\xff";
    for (char c : ascii) {
        out += little ? c : '\0';
        out += little ? '\0' : c;
    }
    return out;
}

struct EncodedFile
{
    const char* name;
    std::string bytes;
    std::vector<double> values;
    std::size_t infinite; // the count the warning must give
};

} // namespace

TEST(TextImport, ReadsWhatTheFileHolds)
{
    const double inf = std::numeric_limits<double>::infinity();
    const std::string text = "5\r\n-2.5\r\nabc\r\n1e3\r\n";
    const EncodedFile cases[] = {
        {"utf-8 with a byte-order mark", "\xef\xbb\xbf" + text, {5, -2.5, 0, 1000}, 0},
        {"utf-16 little-endian", Utf16(text, true), {5, -2.5, 0, 1000}, 0},
        {"utf-16 big-endian", Utf16(text, false), {5, -2.5, 0, 1000}, 0},
        // 7, é, U+1F600 (a surrogate pair), 8
        {"utf-16 beyond ASCII", "\xff\xfe" "7\0\n\0\xe9\0\n\0\x3d\xd8\0\xde\n\0" "8\0"s, {7, 0, 0, 8}, 0},
        {"lone CRs", "1\r2\r\r3", {1, 2, 0, 3}, 0},
        {"CR LF split by no line", "1\r\n\r\n2\n", {1, 0, 2}, 0},
        {"overflow", "1e400\n-1e400\n2\n1e-400\n", {inf, -inf, 2, 0}, 2},
        {"one overflow", "1e309", {inf}, 1},
    };
    TempDir dir;
    for (const EncodedFile& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(dir.File("e.txt"), c.bytes);
        CHeadlessUi ui;
        CKestrinDoc doc(ui);
        ASSERT_TRUE(doc.ImportTextFile(dir.File("e.txt"), 0, 0, false));
        EXPECT_EQ(Ys(doc), c.values);
        // The lines that are not numbers are told of in a message of their own.
        std::erase_if(ui.messages, [](const auto& m) { return m.text.find("not wholly a number") != std::string::npos; });
        if (c.infinite == 0) {
            EXPECT_TRUE(ui.messages.empty());
            continue;
        }
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].icon, MsgIcon::warning);
        EXPECT_TRUE(ui.messages[0].text.starts_with(std::to_string(c.infinite) + (c.infinite == 1 ? " value" : " values")))
            << ui.messages[0].text;
        EXPECT_NE(ui.messages[0].text.find("infinity"), std::string::npos);
    }
}

TEST(TextImport, OnlyRegularFilesAreRead)
{
    TempDir dir;
    const std::string fifo = dir.File("pipe.txt");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    WriteFile(dir.File("a.txt"), kFiveLines);
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    ASSERT_TRUE(doc.ImportTextFile(dir.File("a.txt"), 0, 0, false));
    // No writer ever opens the pipe: reading it would wait for ever.
    for (const std::string& path : {fifo, std::string("/dev/zero"), dir.Path().string()}) {
        SCOPED_TRACE(path);
        ui.messages.clear();
        EXPECT_FALSE(doc.ImportTextFile(path, 0, 0, false));
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_NE(ui.messages[0].text.find(path), std::string::npos) << ui.messages[0].text;
        EXPECT_EQ(doc.m_points.GetSize(), 5);
    }
}

namespace {

// UTF-16 of either byte order without a byte-order mark.
std::string Utf16WithoutMark(const std::string& ascii, bool little)
{
    return Utf16(ascii, little).substr(2);
}

struct ImportCase
{
    const char* name;
    std::string bytes;
    std::vector<double> values; // empty with refused
    std::vector<std::string> messages; // exactly, in order
    bool refused = false;
};

} // namespace

// What the import reads and what it tells: binary files are refused, UTF-16
// without a mark is read, and lines that are not wholly a number are read as
// the number they start with and counted in one message.
TEST(TextImport, InputThatIsNotWhatItSeemsIsNamed)
{
    const std::string notText = "Unable to import \"FILE\". This is not a text file of numbers ";
    std::string document = {4, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0};
    document += std::string(100, '\0');
    const std::string many = [] {
        std::string text;
        for (int i = 0; i < 600; ++i)
            text += std::to_string(i) + "\n";
        return text;
    }();
    std::vector<double> upTo600(600);
    for (int i = 0; i < 600; ++i)
        upTo600[static_cast<std::size_t>(i)] = i;
    const ImportCase cases[] = {
        {"plain numbers", "1\n -2.5 \n3e2\n.5\n5.\n", {1, -2.5, 300, 0.5, 5}, {}},
        {"a document", document, {}, {notText + "(it looks like a Kestrin document: open it instead)."}, true},
        {"NUL bytes", "1\n2\n\0\n"s, {}, {notText + "(it holds NUL bytes)."}, true},
        {"NUL bytes past the first read", std::string(3u << 20, '1') + "\n"s + '\0', {}, {notText + "(it holds NUL bytes)."}, true},
        {"utf-16le without a mark", Utf16WithoutMark("1\r\n2\r\n-3", true), {1, 2, -3}, {}},
        {"utf-16be without a mark", Utf16WithoutMark("4\n5", false), {4, 5}, {}},
        {"utf-16le without a mark, longer than the sniffed bytes", Utf16WithoutMark(many, true), upTo600, {}},
        {"loose lines",
         "1,5\n1 000\n7abc\nnan\ninf\n0x1p3\n2\n\n",
         {1, 1, 7, 0, 0, 0, 2, 0},
         {"7 lines were not wholly a number and were read as the number they start with (line 1: \"1,5\" read "
          "as 1)."}},
        {"one loose line", "1\n2\n12.5 8\n", {1, 2, 12.5},
         {"1 line was not wholly a number and was read as the number it starts with (line 3: \"12.5 8\" read as "
          "12.5)."}},
        {"a long loose line is cut", "x" + std::string(50, 'y') + "\n", {0},
         {"1 line was not wholly a number and was read as the number it starts with (line 1: \"x" +
          std::string(39, 'y') + "...\" read as 0)."}},
        {"decimal commas",
         "1,5\r\n-2,25\r\n3,0\r\n",
         {1, -2, 3},
         {"Every line holds a number with a decimal comma, which the text import does not read: it reads each as "
          "the number before the comma (line 1: \"1,5\" read as 1). To read decimal commas, give the file a header "
          "row and import it as a delimited-text table with the delimiter \";\" or a tab."}},
    };
    TempDir dir;
    const std::string path = dir.File("f.txt");
    for (const ImportCase& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(path, c.bytes);
        CHeadlessUi ui;
        CKestrinDoc doc(ui);
        ASSERT_EQ(doc.ImportTextFile(path, 0, 0, false), !c.refused);
        std::vector<std::string> texts;
        for (const auto& m : ui.messages) {
            texts.push_back(m.text);
            EXPECT_EQ(m.icon, c.refused ? MsgIcon::error : MsgIcon::warning);
        }
        std::vector<std::string> expected = c.messages;
        for (std::string& text : expected)
            if (const auto at = text.find("FILE"); at != std::string::npos)
                text.replace(at, 4, path);
        EXPECT_EQ(texts, expected);
        if (!c.refused)
            EXPECT_EQ(Ys(doc), c.values);
        else
            EXPECT_EQ(doc.m_bHasData, 0);
    }
}

} // namespace text_import_test
