// The tabs saved with a document: the round trip, readers of the base layout,
// a damaged, cut-off or unknown tab section and stray bytes (the document
// opens without its tabs, saying so), values no dialog gives (the document
// is refused), and that an import never saves over the file it replaced.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Archive.h"
#include "tests/support/FakeDatabase.h"
#include "platform/HeadlessUi.h"
#include "document/KestrinDoc.h"
#include "document/TabParameters.h"
#include "tests/document/FileBytes.h"
#include "tests/support/TestSupport.h"

namespace saved_tabs_test {

namespace {

using Bytes = std::vector<std::uint8_t>;

// 40 points, X 0..39, tabs given right to left, intervals with D and M of
// their own.
struct TabbedDoc
{
    TempDir dir;
    CHeadlessUi ui;
    CKestrinDoc doc{ui};

    TabbedDoc()
    {
        doc.OnNewDocument();
        for (int i = 0; i < 40; ++i) {
            CSeriesPoint p;
            p.m_dX = i;
            p.m_dY = (i * 7) % 11;
            doc.m_points.Add(p);
        }
        doc.m_bHasData = 1;
        doc.RecalculateH();
        const std::vector<CTabInterval> intervals = {{2, 4}, {3, 2}, {5, 3}};
        doc.SetTabs({25.5, 12.25}, &intervals);
    }

    Bytes Save(const std::string& name = "doc.kst")
    {
        EXPECT_TRUE(doc.OnSaveDocument(dir.File(name)));
        return ReadFileBytes(dir.File(name));
    }
};

// Opens bytes as a document file; the messages it gave are in ui.
bool Open(const Bytes& bytes, CKestrinDoc& doc, const TempDir& dir)
{
    const std::string path = dir.File("open.kst");
    WriteFile(path, std::string(bytes.begin(), bytes.end()));
    return doc.OnOpenDocument(path);
}

void ExpectBaseOf(const CKestrinDoc& original, const CKestrinDoc& back)
{
    ASSERT_EQ(back.m_points.GetSize(), original.m_points.GetSize());
    EXPECT_EQ(back.m_bHasData, 1);
    EXPECT_EQ(Bits(back.m_globalSet.GetH()), Bits(original.m_globalSet.GetH()));
    EXPECT_EQ(back.m_globalSet.GetValueCount(), original.m_globalSet.GetValueCount());
}

// One message, a warning that names the file.
void ExpectOneNote(const CHeadlessUi& ui, const std::string& words)
{
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::warning);
    EXPECT_NE(ui.messages[0].text.find("open.kst"), std::string::npos) << ui.messages[0].text;
    EXPECT_NE(ui.messages[0].text.find(words), std::string::npos) << words << " in " << ui.messages[0].text;
}

} // namespace

TEST(SavedTabs, RoundTripKeepsTabsAndEachIntervalsParameters)
{
    TabbedDoc t;
    EXPECT_TRUE(t.doc.IsModified()); // new tabs are a change to save
    const Bytes bytes = t.Save();

    CHeadlessUi ui;
    CKestrinDoc back(ui);
    ASSERT_TRUE(back.OnOpenDocument(t.dir.File("doc.kst")));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(back.m_tabValues, (std::vector<double>{25.5, 12.25})); // the ruler's order
    EXPECT_TRUE(back.m_tabSets.empty());                              // until the tabs are placed
    ASSERT_TRUE(back.CalculateSavedTabH());
    EXPECT_FALSE(back.CalculateSavedTabH()); // handed over once
    EXPECT_FALSE(back.IsModified());
    ASSERT_EQ(back.m_tabSets.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const CHDataSet& a = *t.doc.m_tabSets[i];
        const CHDataSet& b = *back.m_tabSets[i];
        EXPECT_EQ(b.GetD(), a.GetD()) << i;
        EXPECT_EQ(b.GetM(), a.GetM()) << i;
        EXPECT_EQ(b.GetCount(), a.GetCount()) << i;
        EXPECT_EQ(Bits(b.GetH()), Bits(a.GetH())) << i;
        EXPECT_EQ(b.m_strLabel, a.m_strLabel) << i;
    }
    EXPECT_EQ(back.m_tabSets[1]->GetD(), 3);
    EXPECT_EQ(back.m_tabSets[1]->GetM(), 2);
    ASSERT_TRUE(back.OnSaveDocument(t.dir.File("again.kst")));
    EXPECT_EQ(ReadFileBytes(t.dir.File("again.kst")), bytes);
}

// The intervals' D and M are saved with the tabs: changing them is a change
// to save, and setting what they already hold is not.
TEST(SavedTabs, ChangedIntervalParametersAreAChangeToSave)
{
    TabbedDoc t;
    t.Save();
    ASSERT_FALSE(t.doc.IsModified());
    ASSERT_TRUE(SetAllTabParameters(t.doc, false, true, {.nD = 5, .nM = 0}, false)); // D 2, 3, 5 -> 5
    EXPECT_TRUE(t.doc.IsModified());
    t.Save();
    ASSERT_TRUE(SetAllTabParameters(t.doc, false, true, {.nD = 5, .nM = 0}, false));
    EXPECT_FALSE(t.doc.IsModified());
}

// The section comes after the base layout, which is unchanged: a reader that
// stops after the estimator's values reads the same document.
TEST(SavedTabs, BaseLayoutIsUnchangedAndComesFirst)
{
    TabbedDoc t;
    const Bytes tabbed = t.Save("tabbed.kst");
    t.doc.SetTabs({});
    const Bytes plain = t.Save("plain.kst");
    ASSERT_EQ(tabbed.size(), plain.size() + 12 + 4 + 2 * 8 + 4 + 3 * 8);
    EXPECT_TRUE(std::equal(plain.begin(), plain.end(), tabbed.begin()));
    EXPECT_EQ(std::memcmp(tabbed.data() + plain.size(), "KTAB", 4), 0);

    CHeadlessUi ui;
    CKestrinDoc base(ui);
    CMemorySource source(tabbed.data(), plain.size());
    CArchive ar(source);
    base.Serialize(ar);
    ExpectBaseOf(t.doc, base);
    EXPECT_TRUE(base.m_loadNotes.empty());
}

TEST(SavedTabs, EveryCutOfTheSectionOpensTheDocumentWithoutTabs)
{
    TabbedDoc t;
    const Bytes tabbed = t.Save("tabbed.kst");
    const std::size_t base = tabbed.size() - (12 + 4 + 16 + 4 + 24);
    for (std::size_t size = base + 1; size < tabbed.size(); ++size) {
        CHeadlessUi ui;
        CKestrinDoc back(ui);
        ASSERT_TRUE(Open(Bytes(tabbed.begin(), tabbed.begin() + static_cast<long>(size)), back, t.dir)) << size;
        ExpectBaseOf(t.doc, back);
        EXPECT_FALSE(back.CalculateSavedTabH()) << size;
        EXPECT_TRUE(back.m_tabValues.empty()) << size;
        ExpectOneNote(ui, "opens without them");
    }
}

TEST(SavedTabs, DamagedSectionsAndStrayBytesAreSkippedWithAMessage)
{
    TabbedDoc t;
    t.doc.SetTabs({});
    const Bytes plain = t.Save("plain.kst");
    auto section = [](std::int32_t version, std::int32_t length, const std::function<void(Bytes&)>& body) {
        Bytes b = {'K', 'T', 'A', 'B'};
        PutInt(b, version);
        PutInt(b, length);
        body(b);
        return b;
    };
    // One tab at 10, two intervals with the given D and M.
    auto oneTab = [](double x, std::int32_t d, std::int32_t m, std::int32_t intervals) {
        return [=](Bytes& b) {
            PutInt(b, 1);
            PutDouble(b, x);
            PutInt(b, intervals);
            for (int i = 0; i < 2; ++i) {
                PutInt(b, d);
                PutInt(b, m);
            }
        };
    };
    struct Case
    {
        const char* name;
        Bytes tail;
        const char* words;
        bool keepsTabs = false;
    };
    const std::vector<Case> cases = {
        {"stray bytes", {'h', 'e', 'l', 'l', 'o', '\n'}, "6 bytes after the document's data"},
        {"one stray byte", {0}, "1 byte after"},
        {"bad tag", section(1, 32, oneTab(10, 4, 3, 2)), "belong to no part"},
        {"unknown version", section(2, 32, oneTab(10, 4, 3, 2)), "version 2"},
        {"negative length", section(1, -1, oneTab(10, 4, 3, 2)), "length is negative"},
        {"length past the end", section(1, 33, oneTab(10, 4, 3, 2)), "cut off"},
        {"length short of the contents", section(1, 24, oneTab(10, 4, 3, 2)), "damaged"},
        {"tab count past the section", section(1, 28, [](Bytes& b) { PutInt(b, 0x7FFFFFFF); b.resize(b.size() + 24); }),
         "claims 2147483647 entries"},
        {"negative tab count", section(1, 28, [](Bytes& b) { PutInt(b, -5); b.resize(b.size() + 24); }),
         "negative length"},
        {"intervals not one more than the tabs", section(1, 32, oneTab(10, 4, 3, 1)), "does not match the tabs"},
        {"tab not a number", section(1, 32, oneTab(std::nan(""), 4, 3, 2)), "not a finite number"},
        {"interval D beyond 1000", section(1, 32, oneTab(10, 1001, 3, 2)), "D of 1001"},
        {"interval M beyond the limit", section(1, 32, oneTab(10, 4, 100001, 2)), "M of 100001"},
        {"negative interval M", section(1, 32, oneTab(10, 4, -1, 2)), "M of -1"},
        // D and M that give H 2 with r 0 whatever the values, refused as the
        // command line refuses them.
        {"interval D 0", section(1, 32, oneTab(10, 0, 3, 2)), "an interval's D of 0 is outside 1 to 1000"},
        {"interval M 0", section(1, 32, oneTab(10, 4, 0, 2)), "an interval's M of 0 is outside 2 to 100000"},
        {"interval M 1", section(1, 32, oneTab(10, 4, 1, 2)), "an interval's M of 1 is outside 2 to 100000"},
        {"more tabs than a document keeps", section(1, 8 + 8 * 10001, [](Bytes& b) {
             PutInt(b, 10001);
             for (int i = 0; i < 10001; ++i)
                 PutDouble(b, i);
             PutInt(b, 0);
         }), "they are 10001 tabs, more than the 10000 a document keeps"},
        {"stray bytes after a sound section", [&] {
             Bytes b = section(1, 32, oneTab(10, 4, 3, 2));
             b.push_back(7);
             return b;
         }(), "1 byte after the saved tabs", true},
    };
    for (const Case& c : cases) {
        Bytes bytes = plain;
        bytes.insert(bytes.end(), c.tail.begin(), c.tail.end());
        if (std::string(c.name) == "bad tag")
            bytes[plain.size() + 1] = 'X';
        CHeadlessUi ui;
        CKestrinDoc back(ui);
        ASSERT_TRUE(Open(bytes, back, t.dir)) << c.name;
        ExpectBaseOf(t.doc, back);
        EXPECT_EQ(back.CalculateSavedTabH(), c.keepsTabs) << c.name;
        SCOPED_TRACE(c.name);
        ExpectOneNote(ui, c.words);
    }
}

// "Set each M to optimum value" (and the auto tabs' "Use Best Value") gives
// an interval of 1 to 4 values an M of 2, not the 0 or 1 of its optimum M:
// the document saves every interval and opens again with each of them.
TEST(SavedTabs, BestMOfShortIntervalsKeepsEveryIntervalSaved)
{
    TabbedDoc t;
    // Intervals of 1 (X 0), 2, 3 and 4 values, then X 10 to 38 (the
    // largest X lies in none).
    t.doc.SetTabs({10, 6, 3, 1});
    ASSERT_TRUE(SetAllTabParameters(t.doc, true, false, {.nD = 0, .nM = 0}, true));
    struct Case
    {
        int count;
        int m;
    };
    const std::vector<Case> cases = {{1, 2}, {2, 2}, {3, 2}, {4, 2}, {29, 5}};
    ASSERT_EQ(t.doc.m_tabSets.size(), cases.size());
    t.Save();

    CHeadlessUi ui;
    CKestrinDoc back(ui);
    ASSERT_TRUE(back.OnOpenDocument(t.dir.File("doc.kst")));
    EXPECT_TRUE(ui.messages.empty());
    ASSERT_TRUE(back.CalculateSavedTabH());
    ASSERT_EQ(back.m_tabSets.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const CHDataSet& set = *back.m_tabSets[i];
        SCOPED_TRACE(cases[i].count);
        EXPECT_EQ(t.doc.m_tabSets[i]->GetCount(), cases[i].count);
        EXPECT_EQ(t.doc.m_tabSets[i]->GetM(), cases[i].m);
        EXPECT_EQ(set.GetCount(), cases[i].count);
        EXPECT_EQ(set.GetM(), cases[i].m);
        EXPECT_EQ(set.GetD(), t.doc.m_tabSets[i]->GetD());
        // Too few values for two lags is no estimate, as for any short
        // interval; the longest interval is estimated.
        EXPECT_EQ(TooFewForLags(set.GetCount(), set.GetSetting()), cases[i].count < 29);
    }
}

// A document's D or M, or its estimator's, that measures nothing (a D of 0,
// an M of 0 or 1) is replaced by a new document's, with one message naming
// what was replaced; the rest of the file reads as before, and intervals
// made later take the replacement.
TEST(SavedTabs, GlobalParametersThatMeasureNothingAreReplacedWithAMessage)
{
    struct Case
    {
        const char* name;
        std::function<void(CKestrinDoc&)> spoil;
        CEstimatorSetting own;       // the document's D and M once read
        CEstimatorSetting estimator; // its estimator's
        const char* words;
    };
    const std::vector<Case> cases = {
        {"D 0", [](CKestrinDoc& d) { d.m_nD = 0; }, {4, 7}, {2, 7}, "its D of 0 is outside 1 to 1000, replaced by 4."},
        {"M 0", [](CKestrinDoc& d) { d.m_nM = 0; }, {2, 3}, {2, 7}, "its M of 0 is outside 2 to 100000, replaced by 3."},
        {"M 1", [](CKestrinDoc& d) { d.m_nM = 1; }, {2, 3}, {2, 7}, "its M of 1 is outside 2 to 100000, replaced by 3."},
        {"D 0 and M 1",
         [](CKestrinDoc& d) {
             d.m_nD = 0;
             d.m_nM = 1;
         },
         {4, 3},
         {2, 7},
         "its D of 0 is outside 1 to 1000, replaced by 4; its M of 1 is outside 2 to 100000, replaced by 3."},
        {"estimator D 0 and M 1",
         [](CKestrinDoc& d) {
             d.m_globalSet.SetD(0);
             d.m_globalSet.SetM(1);
         },
         {2, 7},
         {4, 5},
         "its estimator's D of 0 is outside 1 to 1000, replaced by 4; its estimator's M of 1 is outside 2 to "
         "100000, replaced by 5."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TabbedDoc t;
        t.doc.SetHParameters({.nD = 2, .nM = 7});
        const CHDataSet sound = t.doc.m_globalSet;
        c.spoil(t.doc);
        const Bytes bytes = t.Save();

        CHeadlessUi ui;
        CKestrinDoc back(ui);
        ASSERT_TRUE(Open(bytes, back, t.dir));
        ExpectOneNote(ui, c.words);
        EXPECT_EQ(back.m_nD, c.own.nD);
        EXPECT_EQ(back.m_nM, c.own.nM);
        EXPECT_EQ(back.m_globalSet.GetD(), c.estimator.nD);
        EXPECT_EQ(back.m_globalSet.GetM(), c.estimator.nM);
        // The estimator as read, or computed afresh with its replacement.
        CHDataSet fresh(c.estimator);
        fresh.m_bAutoCompute = 0;
        for (const CSeriesPoint& p : t.doc.m_points)
            fresh.AddValue(p.m_dY);
        fresh.Compute();
        const CHDataSet& expected = c.estimator.nD == 2 ? sound : fresh;
        EXPECT_EQ(Bits(back.m_globalSet.GetH()), Bits(expected.GetH()));
        EXPECT_EQ(back.m_globalSet.GetCount(), 40);
        EXPECT_EQ(back.m_points.GetSize(), 40);
        // The saved tabs and their intervals are read as before.
        ASSERT_TRUE(back.CalculateSavedTabH());
        ASSERT_EQ(back.m_tabSets.size(), 3u);
        EXPECT_EQ(back.m_tabSets[1]->GetD(), 3);
        EXPECT_EQ(back.m_tabSets[1]->GetM(), 2);
        // An interval made later takes the document's D and M.
        back.SetTabs({20.5});
        ASSERT_EQ(back.m_tabSets.size(), 2u);
        EXPECT_EQ(back.m_tabSets[0]->GetD(), c.own.nD);
        EXPECT_EQ(back.m_tabSets[0]->GetM(), c.own.nM);
    }
}

// Values that no dialog gives refuse the whole file, as an M beyond the limit
// already did; a NaN X is allowed.
TEST(SavedTabs, AbsurdParametersRefuseTheDocument)
{
    struct Case
    {
        const char* name;
        std::function<void(CKestrinDoc&)> spoil;
        const char* words;
    };
    const std::vector<Case> cases = {
        {"D 150000", [](CKestrinDoc& d) { d.m_nD = 150000; }, "its D of 150000"},
        {"D 1001", [](CKestrinDoc& d) { d.m_nD = 1001; }, "its D of 1001"},
        {"D -1", [](CKestrinDoc& d) { d.m_nD = -1; }, "its D of -1"},
        {"M -1", [](CKestrinDoc& d) { d.m_nM = -1; }, "its M is negative"},
        {"spacing -1", [](CKestrinDoc& d) { d.m_nSpacing = -1; }, "spacing is negative"},
        {"window n -1",
         [](CKestrinDoc& d) {
             CHPoint w;
             w.m_nCount = -1;
             d.m_windows.Add(w);
         },
         "counts -1 values"},
        {"estimator D 1001", [](CKestrinDoc& d) { d.m_globalSet.SetD(1001); }, "estimator's D of 1001"},
        {"estimator M beyond the limit", [](CKestrinDoc& d) { d.m_globalSet.SetM(100001); },
         "estimator's M is larger than 100000"},
    };
    TempDir dir;
    for (const Case& c : cases) {
        CHeadlessUi ui;
        CKestrinDoc doc(ui);
        doc.OnNewDocument();
        doc.m_globalSet.m_bAutoCompute = 0;
        c.spoil(doc);
        const std::string path = dir.File("absurd.kst");
        ASSERT_TRUE(doc.OnSaveDocument(path)) << c.name;
        CKestrinDoc back(ui);
        EXPECT_FALSE(back.OnOpenDocument(path)) << c.name;
        ASSERT_EQ(ui.messages.size(), 1u) << c.name;
        EXPECT_NE(ui.messages[0].text.find("it is not a Kestrin document or it is damaged"), std::string::npos);
        EXPECT_NE(ui.messages[0].text.find(c.words), std::string::npos) << ui.messages[0].text;
        EXPECT_EQ(back.m_bHasData, 0);
    }
    {
        CHeadlessUi ui;
        CKestrinDoc doc(ui);
        doc.OnNewDocument();
        CSeriesPoint p;
        p.m_dX = std::nan("");
        doc.m_points.Add(p);
        ASSERT_TRUE(doc.OnSaveDocument(dir.File("nan.kst")));
        CKestrinDoc back(ui);
        ASSERT_TRUE(back.OnOpenDocument(dir.File("nan.kst")));
        EXPECT_TRUE(std::isnan(back.m_points[0].m_dX));
    }
}

// Opening a.kst and importing into it: Save asks for a name (offering the
// import's name as a document) and a.kst keeps its bytes. A failed import
// changes nothing, the path included.
TEST(SavedTabs, MoreTabsThanADocumentKeepsAreNotSaved)
{
    TabbedDoc t;
    std::vector<double> values;
    for (int i = 0; i <= 10000; ++i)
        values.push_back(i);
    t.doc.SetTabs(values);
    EXPECT_FALSE(t.doc.OnSaveDocument(t.dir.File("many.kst")));
    ASSERT_FALSE(t.ui.messages.empty());
    EXPECT_NE(t.ui.messages.back().text.find("the document has 10001 tabs; at most 10000 can be saved"),
              std::string::npos)
        << t.ui.messages.back().text;
    values.pop_back();
    t.doc.SetTabs(values);
    EXPECT_TRUE(t.doc.OnSaveDocument(t.dir.File("many.kst")));
}

TEST(SavedTabs, AnImportNeverSavesOverTheOpenedFile)
{
    struct Case
    {
        const char* name;
        std::function<bool(CKestrinDoc&, const TempDir&)> import;
        const char* title;
        const char* offered;
    };
    const std::vector<Case> cases = {
        {"text",
         [](CKestrinDoc& d, const TempDir& dir) {
             WriteFile(dir.File("other.txt"), "1\n5\n2\n8\n");
             return d.ImportTextFile(dir.File("other.txt"), 0, 0, false);
         },
         "other.txt", "other.kst"},
        {"database",
         [](CKestrinDoc& d, const TempDir&) { return d.ImportDatabase("/data/series.mdb", "Flow", "X", "Y"); },
         "Flow", "Flow"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TabbedDoc t;
        const Bytes original = t.Save("a.kst");
        CFakeDatabases db;
        FakeFile file;
        file.tables.push_back(RealTable("Flow", "X", "Y", {{1, 3}, {2, 1}, {3, 4}, {4, 1}, {5, 5}}));
        db.files["/data/series.mdb"] = file;

        CHeadlessUi ui;
        CKestrinDoc doc(ui);
        doc.m_openDatabase = db.Opener();
        doc.m_saveDialog.defaultExtension = ".kst";
        ASSERT_TRUE(doc.OnOpenDocument(t.dir.File("a.kst")));
        // A failed import: nothing changes.
        EXPECT_FALSE(doc.ImportTextFile(t.dir.File("missing.txt"), 0, 0, false));
        EXPECT_EQ(doc.GetPathName(), t.dir.File("a.kst"));

        ASSERT_TRUE(c.import(doc, t.dir));
        EXPECT_EQ(doc.GetPathName(), "");
        EXPECT_EQ(doc.GetTitle(), c.title);
        ui.saveChoices.push_back(t.dir.File("new.kst"));
        ASSERT_TRUE(doc.DoFileSave());
        ASSERT_EQ(ui.fileDialogs.size(), 1u);
        EXPECT_EQ(ui.fileDialogs[0].fileName, c.offered);
        EXPECT_EQ(doc.GetPathName(), t.dir.File("new.kst"));
        EXPECT_EQ(ReadFileBytes(t.dir.File("a.kst")), original);
    }
}

} // namespace saved_tabs_test
