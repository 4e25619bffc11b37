// The record that Profile made a document: its bytes after the base layout
// (and after the saved tabs), the round trip, files without it unchanged,
// a damaged record skipped with a message, and the mutator.
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/HeadlessUi.h"
#include "document/KestrinDoc.h"
#include "tests/support/SeriesBuilders.h"
#include "tests/document/FileBytes.h"
#include "tests/support/TestSupport.h"

namespace profile_record_test {

namespace {

using Bytes = std::vector<std::uint8_t>;

// The section as its layout describes it, built byte by byte.
Bytes Section(const char* tag, std::int32_t version, std::int32_t length, const std::string& title, double mean,
              std::int32_t titleLength = -2)
{
    Bytes b(tag, tag + 4);
    PutInt(b, version);
    PutInt(b, length);
    PutInt(b, titleLength == -2 ? static_cast<std::int32_t>(title.size()) : titleLength);
    b.insert(b.end(), title.begin(), title.end());
    PutDouble(b, mean);
    return b;
}

Bytes Record(const std::string& title, double mean)
{
    return Section("KPRF", 1, static_cast<std::int32_t>(4 + title.size() + 8), title, mean);
}

struct Docs
{
    TempDir dir;
    CHeadlessUi ui;
    CKestrinDoc doc{ui};

    Docs()
    {
        doc.OnNewDocument();
        doc.m_points = MakeSeriesFrom(0.0, RandomWalk(30, 3));
        doc.m_bHasData = 1;
        doc.RecalculateH();
    }

    Bytes Save(const std::string& name) { return SaveDocumentBytes(doc, dir.File(name)); }

    // Opens bytes as a document file into back; the messages are in backUi.
    bool Open(const Bytes& bytes) { return OpenDocumentBytes(back, backUi, dir.File("open.kst"), bytes); }

    CHeadlessUi backUi;
    CKestrinDoc back{backUi};
};

const CProfileRecord kRecord{"r\xc3\xa9sum\xc3\xa9 \"2024\".txt", -0.1 / 3.0};

class CountingView : public CView
{
public:
    void OnUpdate(CView*, long, void*) override { ++updates; }
    int updates = 0;
};

} // namespace

// The record is written after the base layout and the tabs; a document
// without it is byte for byte what it was, and the record comes back bit
// for bit, saved again to the same bytes.
TEST(ProfileRecord, RoundTripAfterTheBaseLayoutAndTheTabs)
{
    for (const bool tabs : {false, true}) {
        SCOPED_TRACE(tabs ? "with tabs" : "without tabs");
        Docs d;
        if (tabs)
            d.doc.SetTabs({12.5});
        const Bytes plain = d.Save("plain.kst");
        EXPECT_FALSE(d.doc.IsProfile());
        d.doc.SetProfileRecord(kRecord);
        const Bytes marked = d.Save("marked.kst");
        Bytes expected = plain;
        const Bytes record = Record(kRecord.source, kRecord.mean);
        expected.insert(expected.end(), record.begin(), record.end());
        EXPECT_EQ(marked, expected);

        ASSERT_TRUE(d.back.OnOpenDocument(d.dir.File("marked.kst")));
        EXPECT_TRUE(d.backUi.messages.empty());
        ASSERT_TRUE(d.back.IsProfile());
        EXPECT_EQ(d.back.ProfileRecord()->source, kRecord.source);
        EXPECT_TRUE(SameBits(kRecord.mean, d.back.ProfileRecord()->mean));
        EXPECT_EQ(d.back.CalculateSavedTabH(), tabs);
        EXPECT_FALSE(d.back.IsModified());
        ASSERT_TRUE(d.back.OnSaveDocument(d.dir.File("again.kst")));
        EXPECT_EQ(ReadFileBytes(d.dir.File("again.kst")), marked);

        // Forgetting the record gives the plain file back.
        d.doc.SetProfileRecord(std::nullopt);
        EXPECT_EQ(d.Save("forgotten.kst"), plain);
    }
}

// A record that cannot be read is skipped with one message: the document
// opens whole, as no profile; sound sections before and after are kept.
TEST(ProfileRecord, DamagedRecordIsSkippedWithAMessage)
{
    Docs d;
    d.doc.SetTabs({12.5});
    const Bytes tabbed = d.Save("tabbed.kst");
    d.doc.SetTabs({});
    const Bytes plain = d.Save("plain.kst");
    const Bytes tabSection(tabbed.begin() + static_cast<long>(plain.size()), tabbed.end());
    const Bytes sound = Record("a.txt", 2.5);
    auto join = [](std::initializer_list<Bytes> parts) {
        Bytes b;
        for (const Bytes& p : parts)
            b.insert(b.end(), p.begin(), p.end());
        return b;
    };
    Bytes unknownTabs = tabSection;
    unknownTabs[4] = 9; // version 9
    Bytes damagedTabs = tabSection;
    damagedTabs[12] = 5; // five tabs claimed in a body that holds one
    struct Case
    {
        const char* name;
        Bytes tail;
        const char* words; // nullptr: no message
        bool tabs;
        bool profile;
    };
    const std::vector<Case> cases = {
        {"sound", sound, nullptr, false, true},
        {"cut within the tag", Bytes(sound.begin(), sound.begin() + 3), "is cut off; the document opens without it",
         false, false},
        {"cut within the header", Bytes(sound.begin(), sound.begin() + 9), "is cut off", false, false},
        {"cut within the body", Bytes(sound.begin(), sound.end() - 1), "is cut off", false, false},
        {"unknown version", Section("KPRF", 2, 17, "a.txt", 2.5), "of version 2", false, false},
        {"negative length", Section("KPRF", 1, -4, "a.txt", 2.5), "its length is negative", false, false},
        {"title past the body", Section("KPRF", 1, 17, "a.txt", 2.5, 400), "claims 400 entries", false, false},
        {"negative title length", Section("KPRF", 1, 17, "a.txt", 2.5, -1), "damaged", false, false},
        {"length short of the contents", Section("KPRF", 1, 16, "a.txt", 2.5), "damaged", false, false},
        {"stray byte after", join({sound, Bytes{7}}), "1 byte after the record that the series is a profile",
         false, true},
        {"a second record", join({sound, sound}), "bytes after the record", false, true},
        {"tabs after the record", join({sound, tabSection}), "belong to no part of the document", false, true},
        {"tabs then record", join({tabSection, sound}), nullptr, true, true},
        {"unknown tabs then record", join({unknownTabs, sound}), "saved tabs are of version 9", false, true},
        {"damaged tabs then record", join({damagedTabs, sound}), "saved tabs are damaged", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(d.Open(join({plain, c.tail})));
        EXPECT_EQ(d.back.m_points.GetSize(), 30);
        EXPECT_EQ(Bits(d.back.m_globalSet.GetH()), Bits(d.doc.m_globalSet.GetH()));
        EXPECT_EQ(d.back.CalculateSavedTabH(), c.tabs);
        ASSERT_EQ(d.back.IsProfile(), c.profile);
        if (c.profile) {
            EXPECT_EQ(d.back.ProfileRecord()->source, "a.txt");
            EXPECT_EQ(d.back.ProfileRecord()->mean, 2.5);
        }
        if (!c.words) {
            EXPECT_TRUE(d.backUi.messages.empty());
            continue;
        }
        ASSERT_EQ(d.backUi.messages.size(), 1u);
        EXPECT_EQ(d.backUi.messages[0].icon, MsgIcon::warning);
        EXPECT_NE(d.backUi.messages[0].text.find(c.words), std::string::npos) << d.backUi.messages[0].text;
    }
}

// Setting the record is a change to save that the views are told of;
// setting what it already holds is not; emptying the document forgets it.
TEST(ProfileRecord, MutatorMarksAndNotifiesOnlyAChange)
{
    Docs d;
    CountingView view;
    d.doc.AddView(&view);
    d.doc.SetModifiedFlag(false);
    const CProfileRecord nanMean{"x", std::numeric_limits<double>::quiet_NaN()};
    d.doc.SetProfileRecord(nanMean);
    EXPECT_TRUE(d.doc.IsModified());
    EXPECT_EQ(view.updates, 1);
    d.doc.SetModifiedFlag(false);
    d.doc.SetProfileRecord(nanMean);
    EXPECT_FALSE(d.doc.IsModified());
    EXPECT_EQ(view.updates, 1);
    d.doc.SetProfileRecord(CProfileRecord{"y", 0.0});
    EXPECT_EQ(view.updates, 2);
    d.doc.RemoveView(&view);
    d.doc.DeleteContents();
    EXPECT_FALSE(d.doc.IsProfile());
}

} // namespace profile_record_test
