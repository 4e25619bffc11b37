// The first lags of the fits in the document file: written after the tabs
// and the profile record only when one is not 1, read back bit for bit, and
// skipped with a message when damaged.
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "document/KestrinDoc.h"
#include "platform/HeadlessUi.h"
#include "tests/document/FileBytes.h"
#include "tests/support/SeriesBuilders.h"
#include "tests/support/TestSupport.h"

namespace first_lag_section_test {

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Section(std::int32_t version, std::int32_t own, std::int32_t global, const std::vector<std::int32_t>& intervals)
{
    Bytes b{'K', 'L', 'A', 'G'};
    PutInt(b, version);
    PutInt(b, static_cast<std::int32_t>(12 + 4 * intervals.size()));
    PutInt(b, own);
    PutInt(b, global);
    PutInt(b, static_cast<std::int32_t>(intervals.size()));
    for (const std::int32_t r : intervals)
        PutInt(b, r);
    return b;
}

struct Docs
{
    TempDir dir;
    CHeadlessUi ui;
    CKestrinDoc doc{ui};
    CHeadlessUi backUi;
    CKestrinDoc back{backUi};

    Docs()
    {
        doc.OnNewDocument();
        doc.m_points = MakeSeriesFrom(0.0, RandomWalk(200, 7));
        doc.m_bHasData = 1;
        doc.SetHParameters({.nD = 4, .nM = 6});
        doc.SetTabs({80.0, 150.0});
    }

    Bytes Save(const std::string& name) { return SaveDocumentBytes(doc, dir.File(name)); }

    bool Open(const Bytes& bytes) { return OpenDocumentBytes(back, backUi, dir.File("open.kst"), bytes); }
};

} // namespace

TEST(FirstLagSection, WrittenLastOnlyForALagOtherThanOneAndReadBack)
{
    Docs d;
    const Bytes plain = d.Save("plain.kst");
    d.doc.SetHParameters({.nD = 4, .nM = 6, .nRMin = 2});
    ASSERT_TRUE(d.doc.SetIntervalSetting(1, {.nD = 3, .nM = 8, .nRMin = 5}));
    ASSERT_TRUE(d.doc.SetIntervalSetting(2, {.nD = 4, .nM = 6, .nRMin = 1}));
    const Bytes lagged = d.Save("lagged.kst");
    // The estimators' values differ; the last section is the first lags.
    const Bytes section = Section(1, 2, 2, {1, 5, 1});
    ASSERT_GT(lagged.size(), section.size());
    EXPECT_EQ(Bytes(lagged.end() - static_cast<long>(section.size()), lagged.end()), section);

    ASSERT_TRUE(d.back.OnOpenDocument(d.dir.File("lagged.kst")));
    EXPECT_TRUE(d.backUi.messages.empty());
    EXPECT_EQ(d.back.m_nRMin, 2);
    EXPECT_EQ(d.back.m_globalSet.GetRMin(), 2);
    EXPECT_TRUE(SameBits(d.doc.m_globalSet.GetH(), d.back.m_globalSet.GetH()));
    ASSERT_TRUE(d.back.CalculateSavedTabH());
    ASSERT_EQ(d.back.m_tabSets.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(d.back.m_tabSets[i]->GetSetting(), d.doc.m_tabSets[i]->GetSetting()) << i;
        EXPECT_TRUE(SameBits(d.doc.m_tabSets[i]->GetH(), d.back.m_tabSets[i]->GetH())) << i;
    }
    ASSERT_TRUE(d.back.OnSaveDocument(d.dir.File("again.kst")));
    EXPECT_EQ(ReadFileBytes(d.dir.File("again.kst")), lagged);

    // Every fit from lag 1 again: the file is byte for byte the plain one.
    d.doc.SetHParameters({.nD = 4, .nM = 6});
    ASSERT_TRUE(d.doc.SetIntervalSetting(1, {.nD = 4, .nM = 6}));
    EXPECT_EQ(d.Save("plain-again.kst"), plain);
}

TEST(FirstLagSection, AnUnreadSectionLeavesNoEstimateFittedFromItsLag)
{
    Docs d;
    const double fromLagOne = d.doc.m_globalSet.GetH();
    d.doc.SetHParameters({.nD = 4, .nM = 6, .nRMin = 2});
    ASSERT_FALSE(SameBits(d.doc.m_globalSet.GetH(), fromLagOne));
    const Bytes lagged = d.Save("lagged.kst");
    const std::size_t section = lagged.size() - Section(1, 2, 2, {1, 1, 1}).size();
    Bytes unknownVersion = lagged;
    unknownVersion[section + 4] = 9;
    const Bytes cutOff(lagged.begin(), lagged.end() - 1);
    for (const Bytes& file : {unknownVersion, cutOff}) {
        ASSERT_TRUE(d.Open(file));
        ASSERT_EQ(d.backUi.messages.size(), 1u);
        EXPECT_EQ(d.back.m_globalSet.GetRMin(), 1);
        EXPECT_TRUE(SameBits(d.back.m_globalSet.GetH(), fromLagOne));
    }
}

TEST(FirstLagSection, DamagedSectionIsSkippedWithAMessage)
{
    Docs d;
    const Bytes plain = d.Save("plain.kst");
    struct Case
    {
        const char* name;
        Bytes tail;
        const char* words;
    };
    const std::vector<Case> cases = {
        {"beyond M - 1", Section(1, 1, 6, {1, 1, 1}), "a first lag leaves fewer than two lags to fit"},
        {"below 1", Section(1, 0, 1, {1, 1, 1}), "a first lag is below 1"},
        {"intervals do not match", Section(1, 2, 2, {2, 2}), "do not match the saved intervals"},
        {"unknown version", Section(2, 2, 2, {2, 2, 2}), "of version 2"},
        {"none", Bytes(), nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes file = plain;
        file.insert(file.end(), c.tail.begin(), c.tail.end());
        ASSERT_TRUE(d.Open(file));
        EXPECT_EQ(d.back.m_globalSet.GetRMin(), 1);
        EXPECT_EQ(d.back.m_nRMin, 1);
        EXPECT_TRUE(SameBits(d.doc.m_globalSet.GetH(), d.back.m_globalSet.GetH()));
        if (!c.words) {
            EXPECT_TRUE(d.backUi.messages.empty());
            continue;
        }
        ASSERT_EQ(d.backUi.messages.size(), 1u);
        EXPECT_NE(d.backUi.messages[0].text.find(c.words), std::string::npos) << d.backUi.messages[0].text;
        EXPECT_NE(d.backUi.messages[0].text.find("the fits start at lag 1"), std::string::npos);
    }
}

} // namespace first_lag_section_test
