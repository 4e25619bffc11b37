#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Archive.h"
#include "platform/HeadlessUi.h"
#include "document/KestrinDoc.h"
#include "tests/document/FileBytes.h"
#include "tests/support/TestSupport.h"
#include "tests/support/SeriesBuilders.h"

namespace document_file_test {

namespace {

std::vector<std::uint8_t> Saved(CKestrinDoc& doc, const TempDir& dir)
{
    const std::string path = dir.File("doc.kst");
    EXPECT_TRUE(doc.OnSaveDocument(path));
    return ReadFileBytes(path);
}

// A document with something in every saved field.
void Fill(CKestrinDoc& doc)
{
    doc.OnNewDocument();
    doc.m_nD = 3;
    doc.m_nM = 7;
    doc.m_strDatabase = "C:\\data\\caf\xe9.mdb"; // Windows-1252 bytes kept as they are
    doc.m_strTable = "Daily Flow";
    doc.m_strXField = "Tag";
    doc.m_strYField = "Durchfluss \xc3\xa4";
    doc.m_bHasData = 1;
    doc.m_bHSeries = 1;
    doc.m_nSpacing = 12;
    const double special[] = {0.0, -0.0, std::numeric_limits<double>::infinity(),
                              -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN(),
                              1e-310, 0.1, -123456.789};
    for (int i = 0; i < 8; ++i) {
        CSeriesPoint p;
        p.m_dX = i == 4 ? std::numeric_limits<double>::quiet_NaN() : i * 1.5;
        p.m_dY = special[i];
        doc.m_points.Add(p);
        doc.m_globalSet.AddValue(special[(i + 3) % 8]);
    }
    doc.m_windows.Add(MakeWindow(1.0, 0.7, -0.99, -1.3, 64));
    doc.m_windows.Add(MakeWindow(-0.0, std::numeric_limits<double>::quiet_NaN(), 0.5, 2.5, 0));
    doc.m_globalSet.SetD(4);
    doc.m_globalSet.SetM(6);
    doc.m_globalSet.Compute();
}

void ExpectSameSavedFields(const CKestrinDoc& a, const CKestrinDoc& b)
{
    EXPECT_EQ(a.m_nD, b.m_nD);
    EXPECT_EQ(a.m_nM, b.m_nM);
    EXPECT_EQ(a.m_strDatabase, b.m_strDatabase);
    EXPECT_EQ(a.m_strTable, b.m_strTable);
    EXPECT_EQ(a.m_strXField, b.m_strXField);
    EXPECT_EQ(a.m_strYField, b.m_strYField);
    EXPECT_EQ(a.m_bHasData, b.m_bHasData);
    EXPECT_EQ(a.m_bHSeries, b.m_bHSeries);
    EXPECT_EQ(a.m_nSpacing, b.m_nSpacing);
    ASSERT_EQ(a.m_points.GetSize(), b.m_points.GetSize());
    for (int i = 0; i < a.m_points.GetSize(); ++i) {
        EXPECT_EQ(Bits(a.m_points[i].m_dX), Bits(b.m_points[i].m_dX));
        EXPECT_EQ(Bits(a.m_points[i].m_dY), Bits(b.m_points[i].m_dY));
    }
    ASSERT_EQ(a.m_windows.GetSize(), b.m_windows.GetSize());
    for (int i = 0; i < a.m_windows.GetSize(); ++i) {
        EXPECT_EQ(Bits(a.m_windows[i].m_dX), Bits(b.m_windows[i].m_dX));
        EXPECT_EQ(Bits(a.m_windows[i].m_dY), Bits(b.m_windows[i].m_dY));
        EXPECT_EQ(Bits(a.m_windows[i].m_dR), Bits(b.m_windows[i].m_dR));
        EXPECT_EQ(Bits(a.m_windows[i].m_dB), Bits(b.m_windows[i].m_dB));
        EXPECT_EQ(a.m_windows[i].m_nCount, b.m_windows[i].m_nCount);
    }
    const CHDataSet& g = a.m_globalSet;
    const CHDataSet& h = b.m_globalSet;
    EXPECT_EQ(g.GetCount(), h.GetCount());
    EXPECT_EQ(g.GetD(), h.GetD());
    EXPECT_EQ(g.GetM(), h.GetM());
    EXPECT_EQ(Bits(g.GetH()), Bits(h.GetH()));
    EXPECT_EQ(Bits(g.GetB()), Bits(h.GetB()));
    EXPECT_EQ(Bits(g.GetR()), Bits(h.GetR()));
    for (int i = 0; i < g.GetM(); ++i) {
        EXPECT_EQ(Bits(g.GetL(i)), Bits(h.GetL(i)));
        EXPECT_EQ(Bits(g.GetLogR(i)), Bits(h.GetLogR(i)));
        EXPECT_EQ(Bits(g.GetLogL(i)), Bits(h.GetLogL(i)));
    }
    ASSERT_EQ(g.GetValueCount(), h.GetValueCount());
    for (int i = 0; i < g.GetValueCount(); ++i)
        EXPECT_EQ(Bits(g.GetValue(i)), Bits(h.GetValue(i)));
}

} // namespace

TEST(DocumentFile, NewDocumentIsExactly188Bytes)
{
    TempDir dir;
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    ASSERT_TRUE(doc.OnNewDocument());
    std::vector<std::uint8_t> expected;
    PutInt(expected, 4); // D
    PutInt(expected, 3); // M
    for (int i = 0; i < 4; ++i)
        expected.push_back(0); // four empty strings
    PutInt(expected, 0);       // has data
    PutInt(expected, 0);       // H series
    PutInt(expected, 1);       // spacing
    PutInt(expected, 0);       // points
    PutInt(expected, 0);       // windows
    ASSERT_EQ(expected.size(), 32u);
    PutInt(expected, 0);       // n
    PutDouble(expected, 0.0);  // b
    PutDouble(expected, 0.0);  // r
    PutDouble(expected, 0.0);  // H
    PutInt(expected, 5);       // M'
    PutInt(expected, 4);       // D'
    expected.resize(expected.size() + 120, 0);
    const std::vector<std::uint8_t> bytes = Saved(doc, dir);
    ASSERT_EQ(bytes.size(), 188u);
    EXPECT_EQ(bytes, expected);
}

TEST(DocumentFile, ThreePointsTwoWindowsIs332Bytes)
{
    TempDir dir;
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    doc.OnNewDocument();
    for (double y : {2.5, -1.0, 4.0}) {
        CSeriesPoint p;
        p.m_dX = doc.m_points.GetSize();
        p.m_dY = y;
        doc.m_points.Add(p);
        doc.m_globalSet.AddValue(y);
    }
    doc.m_globalSet.Compute();
    doc.m_windows.Add(MakeWindow(0.0, 0.75, -0.5, -1.25, 10));
    doc.m_windows.Add(MakeWindow(5.0, 0.25, 0.5, 1.25, 11));
    const std::vector<std::uint8_t> bytes = Saved(doc, dir);
    ASSERT_EQ(bytes.size(), 332u);

    std::vector<std::uint8_t> points;
    PutInt(points, 3);
    for (int i = 0; i < 3; ++i) {
        PutDouble(points, i);
        PutDouble(points, doc.m_points[i].m_dY);
    }
    EXPECT_TRUE(std::equal(points.begin(), points.end(), bytes.begin() + 24));
    std::vector<std::uint8_t> window;
    PutInt(window, 2);
    PutDouble(window, 0.0);
    PutDouble(window, 0.75);
    PutDouble(window, -0.5); // r before b
    PutDouble(window, -1.25);
    PutInt(window, 10);
    EXPECT_TRUE(std::equal(window.begin(), window.end(), bytes.begin() + 76));
    std::vector<std::uint8_t> estimator;
    PutInt(estimator, 3);
    PutDouble(estimator, doc.m_globalSet.GetB());
    PutDouble(estimator, doc.m_globalSet.GetR());
    PutDouble(estimator, doc.m_globalSet.GetH());
    PutInt(estimator, 5); // M' before D'
    PutInt(estimator, 4);
    EXPECT_TRUE(std::equal(estimator.begin(), estimator.end(), bytes.begin() + 152));
    std::vector<std::uint8_t> values;
    for (double y : {2.5, -1.0, 4.0})
        PutDouble(values, y);
    EXPECT_TRUE(std::equal(values.begin(), values.end(), bytes.end() - 24));
}

TEST(DocumentFile, StringLengthPrefixes)
{
    TempDir dir;
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    doc.OnNewDocument();
    doc.m_strDatabase = std::string(300, 'p');
    doc.m_strTable = std::string(254, 't');
    doc.m_strXField = std::string(255, 'x');
    doc.m_strYField = std::string(0x10000, 'y');
    const std::vector<std::uint8_t> bytes = Saved(doc, dir);
    ASSERT_GT(bytes.size(), 11u);
    EXPECT_EQ(bytes[8], 0xFF);
    EXPECT_EQ(bytes[9], 0x2C);
    EXPECT_EQ(bytes[10], 0x01);
    EXPECT_EQ(bytes[11], 'p');
    std::size_t at = 11 + 300;
    EXPECT_EQ(bytes[at], 254); // below 255: one byte
    at += 1 + 254;
    EXPECT_EQ(bytes[at], 0xFF); // 255: the 16-bit form
    EXPECT_EQ(bytes[at + 1], 0xFF);
    EXPECT_EQ(bytes[at + 2], 0x00);
    at += 3 + 255;
    const std::vector<std::uint8_t> longForm = {0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00};
    EXPECT_TRUE(std::equal(longForm.begin(), longForm.end(), bytes.begin() + static_cast<long>(at)));

    CKestrinDoc back(ui);
    ASSERT_TRUE(back.OnOpenDocument(dir.File("doc.kst")));
    ExpectSameSavedFields(doc, back);
}

TEST(DocumentFile, RoundTripBitForBit)
{
    TempDir dir;
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    Fill(doc);
    const std::vector<std::uint8_t> first = Saved(doc, dir);
    EXPECT_FALSE(doc.IsModified());

    CKestrinDoc back(ui);
    back.m_globalSet.m_strLabel = "Global";
    ASSERT_TRUE(back.OnOpenDocument(dir.File("doc.kst")));
    ExpectSameSavedFields(doc, back);
    EXPECT_EQ(back.m_globalSet.m_strLabel, "Global");
    EXPECT_FALSE(back.IsModified());
    EXPECT_EQ(back.GetPathName(), dir.File("doc.kst"));
    EXPECT_EQ(back.GetTitle(), "doc.kst");
    EXPECT_TRUE(back.m_tabSets.empty());
    EXPECT_TRUE(back.m_slopes.IsEmpty());

    // Saved again, the same bytes.
    ASSERT_TRUE(back.OnSaveDocument(dir.File("again.kst")));
    EXPECT_EQ(ReadFileBytes(dir.File("again.kst")), first);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(DocumentFile, LoadKeepsSavedResultsWithoutRecomputing)
{
    TempDir dir;
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    doc.OnNewDocument();
    for (int i = 0; i < 10; ++i)
        doc.m_globalSet.AddValue(i * i % 7);
    doc.m_globalSet.Compute();
    const double h = doc.m_globalSet.GetH();
    doc.m_globalSet.m_bAutoCompute = 0;
    doc.m_globalSet.SetM(2); // never recomputed
    Saved(doc, dir);
    CKestrinDoc back(ui);
    ASSERT_TRUE(back.OnOpenDocument(dir.File("doc.kst")));
    EXPECT_EQ(back.m_globalSet.GetH(), h);
    EXPECT_EQ(back.m_globalSet.GetM(), 2);
}

TEST(DocumentFile, EveryTruncationFailsCleanly)
{
    TempDir dir;
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    Fill(doc);
    const std::vector<std::uint8_t> bytes = Saved(doc, dir);
    const std::string path = dir.File("cut.kst");
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        WriteFile(path, std::string(bytes.begin(), bytes.begin() + static_cast<long>(size)));
        CHeadlessUi quiet;
        CKestrinDoc back(quiet);
        back.OnNewDocument();
        ASSERT_FALSE(back.OnOpenDocument(path)) << size;
        EXPECT_TRUE(back.m_points.IsEmpty());
        EXPECT_TRUE(back.m_windows.IsEmpty());
        EXPECT_EQ(back.m_bHasData, 0);
        EXPECT_EQ(back.m_nD, 4);
        EXPECT_FALSE(back.IsModified());
        ASSERT_EQ(quiet.messages.size(), 1u);
        EXPECT_NE(quiet.messages[0].text.find("cut.kst"), std::string::npos);
    }
}

// The bundled sample saved as a document, cut at every length: every cut is
// refused and leaves the receiving document exactly as it was.
TEST(DocumentFile, EveryTruncationOfTheSampleDocumentIsRefused)
{
    TempDir dir;
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    ASSERT_TRUE(doc.ImportTextFile(KESTRIN_SAMPLES_DIR "/nile-minima-profile.txt", 0, 0, false));
    doc.m_strYField = "Level";
    doc.m_windows.Add(MakeWindow(3.0, 0.8, -0.99, -1.2, 30));
    const std::vector<std::uint8_t> bytes = Saved(doc, dir);
    ASSERT_EQ(bytes.size(), 32u + 663 * 16 + 36 + 36 + 3 * 24 + 663 * 8 + 5);

    CKestrinDoc back(ui);
    back.OnNewDocument();
    back.m_strTable = "untouched";
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        CMemorySource source(bytes.data(), size);
        CArchive ar(source);
        ASSERT_THROW(back.Serialize(ar), CArchiveException) << size;
        ASSERT_TRUE(back.m_points.IsEmpty()) << size;
        ASSERT_EQ(back.m_strTable, "untouched") << size;
        ASSERT_EQ(back.m_globalSet.GetValueCount(), 0) << size;
    }
    CMemorySource whole(bytes);
    CArchive ar(whole);
    back.Serialize(ar);
    ExpectSameSavedFields(doc, back);
}

TEST(DocumentFile, CountsAreCheckedBeforeAllocating)
{
    TempDir dir;
    const std::string path = dir.File("claims.kst");
    auto header = [] {
        std::vector<std::uint8_t> b;
        PutInt(b, 4);
        PutInt(b, 3);
        for (int i = 0; i < 4; ++i)
            b.push_back(0);
        PutInt(b, 1);
        PutInt(b, 0);
        PutInt(b, 1);
        return b;
    };
    struct Case
    {
        const char* name;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<Case> cases;
    {
        auto b = header();
        PutInt(b, 0x7FFFFFFF); // points
        b.resize(b.size() + 64, 0);
        cases.push_back({"huge point count", b});
    }
    {
        auto b = header();
        PutInt(b, -1);
        cases.push_back({"negative point count", b});
    }
    {
        auto b = header();
        PutInt(b, 0);
        PutInt(b, 0x7FFFFFFF); // windows
        b.resize(b.size() + 100, 0);
        cases.push_back({"huge window count", b});
    }
    {
        auto b = header();
        PutInt(b, 0);
        PutInt(b, 0);
        PutInt(b, 0x7FFFFFFF); // n
        b.resize(b.size() + 24, 0);
        PutInt(b, 0);
        PutInt(b, 4);
        cases.push_back({"huge value count", b});
    }
    {
        auto b = header();
        PutInt(b, 0);
        PutInt(b, 0);
        PutInt(b, 0);
        b.resize(b.size() + 24, 0);
        PutInt(b, 0x40000000); // M'
        PutInt(b, 4);
        cases.push_back({"huge lag count", b});
    }
    {
        // Whole and well formed, but with an M that would ask the next
        // computation for gigabytes of lag tables.
        std::vector<std::uint8_t> b;
        PutInt(b, 4);
        PutInt(b, 2000000000);
        for (int i = 0; i < 4; ++i)
            b.push_back(0);
        PutInt(b, 1);
        PutInt(b, 0);
        PutInt(b, 1);
        PutInt(b, 0); // points
        PutInt(b, 0); // windows
        PutInt(b, 0); // n
        b.resize(b.size() + 24, 0);
        PutInt(b, 0); // M'
        PutInt(b, 4);
        cases.push_back({"absurd M", b});
    }
    {
        std::vector<std::uint8_t> b;
        PutInt(b, 4);
        PutInt(b, 3);
        b.push_back(0xFF); // a string claiming 0xFFFFFFFF bytes
        b.push_back(0xFF);
        b.push_back(0xFF);
        PutInt(b, -1);
        cases.push_back({"huge string", b});
    }
    {
        const std::string text = "Year,Level\n622,1157\n623,1088\n624,1169\n625,1169\n626,984\n";
        cases.push_back({"foreign file", std::vector<std::uint8_t>(text.begin(), text.end())});
    }
    for (const Case& c : cases) {
        WriteFile(path, std::string(c.bytes.begin(), c.bytes.end()));
        CHeadlessUi ui;
        CKestrinDoc doc(ui);
        EXPECT_FALSE(doc.OnOpenDocument(path)) << c.name;
        EXPECT_TRUE(doc.m_points.IsEmpty()) << c.name;
        EXPECT_EQ(ui.messages.size(), 1u) << c.name;
    }
}

TEST(DocumentFile, MissingFileIsReported)
{
    TempDir dir;
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    EXPECT_FALSE(doc.OnOpenDocument(dir.File("nowhere.kst")));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find("nowhere.kst"), std::string::npos);
}

} // namespace document_file_test
