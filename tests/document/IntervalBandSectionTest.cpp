// The interval band in the document file: written last, only when there is
// one, read back bit for bit; a damaged band or one that does not match the
// sliding-window results is skipped with a message.
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/HeadlessUi.h"
#include "document/KestrinDoc.h"
#include "tests/support/SeriesBuilders.h"
#include "tests/document/FileBytes.h"
#include "tests/support/TestSupport.h"

namespace interval_band_section_test {

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

CIntervalBand Band()
{
    CIntervalBand band;
    band.replicates = 200;
    band.seed = 0x0123456789ABCDEFull;
    band.level = 0.95;
    band.width = 10;
    band.nD = 6;
    band.nM = 3;
    band.nRMin = 2;
    band.model = 2;
    band.input = 0;
    band.isProfile = true;
    band.alpha = 0.1 / 3.0;
    band.measured = 2;
    band.estimatedAs = 1;
    band.check = {7, 2, 0.05, 0.0444, false};
    band.windows = {{0.5, 0.25, 0.75, EBandBound::Value, EBandBound::Value, EBandBound::Value},
                    {1.0 / 128.0, 1.0 / 128.0, 0.2, EBandBound::Value, EBandBound::AtOrBelow, EBandBound::Value},
                    {kNaN, kNaN, kNaN, EBandBound::Value, EBandBound::Value, EBandBound::Value},
                    {0.9, 0.7, 127.0 / 128.0, EBandBound::Value, EBandBound::Value, EBandBound::AtOrAbove}};
    return band;
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
        doc.m_points = MakeSeriesFrom(0.0, RandomWalk(30, 3));
        doc.m_bHasData = 1;
        doc.RecalculateH();
        for (int i = 0; i < 4; ++i) {
            CHPoint w;
            w.m_dX = 5.0 + i;
            w.m_dY = 0.1 * i;
            w.m_nCount = 10;
            doc.m_windows.Add(w);
        }
    }

    Bytes Save(const std::string& name)
    {
        EXPECT_TRUE(doc.OnSaveDocument(dir.File(name)));
        return ReadFileBytes(dir.File(name));
    }

    bool Open(const Bytes& bytes)
    {
        const std::string path = dir.File("open.kst");
        WriteFile(path, std::string(bytes.begin(), bytes.end()));
        backUi.messages.clear();
        return back.OnOpenDocument(path);
    }
};

} // namespace

TEST(IntervalBandSection, RoundTripLastOfAllSections)
{
    Docs d;
    d.doc.SetTabs({12.5});
    d.doc.SetProfileRecord(CProfileRecord{"a.txt", 1.5});
    const Bytes plain = d.Save("plain.kst");
    d.doc.m_band = Band();
    const Bytes banded = d.Save("banded.kst");
    ASSERT_EQ(banded.size(), plain.size() + 12 + 96 + 25 * 4);
    EXPECT_TRUE(std::equal(plain.begin(), plain.end(), banded.begin()));
    EXPECT_EQ(std::string(banded.begin() + static_cast<long>(plain.size()),
                          banded.begin() + static_cast<long>(plain.size()) + 4),
              "KBND");

    ASSERT_TRUE(d.Open(banded));
    EXPECT_TRUE(d.backUi.messages.empty());
    ASSERT_TRUE(d.back.m_band);
    const CIntervalBand& b = *d.back.m_band;
    EXPECT_EQ(b.seed, 0x0123456789ABCDEFull);
    EXPECT_TRUE(SameBits(b.alpha, 0.1 / 3.0));
    EXPECT_EQ(b.windows[1].lowBound, EBandBound::AtOrBelow);
    EXPECT_EQ(b.windows[3].highBound, EBandBound::AtOrAbove);
    EXPECT_TRUE(std::isnan(b.windows[2].corrected));
    EXPECT_FALSE(b.check.passed);
    EXPECT_TRUE(d.back.IsProfile());
    ASSERT_TRUE(d.back.OnSaveDocument(d.dir.File("again.kst")));
    EXPECT_EQ(ReadFileBytes(d.dir.File("again.kst")), banded);

    // Without the band the file is what it was.
    d.doc.m_band.reset();
    EXPECT_EQ(d.Save("plain2.kst"), plain);
}

TEST(IntervalBandSection, DamagedOrMismatchedBandIsSkippedWithAMessage)
{
    Docs d;
    const Bytes plain = d.Save("plain.kst");
    d.doc.m_band = Band();
    const Bytes banded = d.Save("banded.kst");
    const std::size_t body = plain.size() + 12;
    struct Case
    {
        const char* name;
        Bytes bytes;
        const char* words;
    };
    Bytes badBound = banded;
    badBound.back() = 0x03;
    Bytes badModel = banded;
    badModel[body + 36] = 7;
    Bytes mismatched = banded;
    mismatched[body + 92] = 3; // three windows claimed, the body holds four
    d.doc.m_band->windows.pop_back();
    const Bytes fewer = d.Save("fewer.kst");
    const std::vector<Case> cases = {
        {"cut off", Bytes(banded.begin(), banded.end() - 1), "the interval band is cut off"},
        {"bad bound", badBound, "the interval band is damaged"},
        {"unknown model", badModel, "the model 7 is unknown"},
        {"length short of the count", mismatched, "the interval band is damaged"},
        {"fewer windows than results", fewer, "does not match the sliding-window results"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(d.Open(c.bytes));
        EXPECT_EQ(d.back.m_windows.GetSize(), 4);
        EXPECT_FALSE(d.back.m_band);
        ASSERT_EQ(d.backUi.messages.size(), 1u);
        EXPECT_NE(d.backUi.messages[0].text.find(c.words), std::string::npos) << d.backUi.messages[0].text;
    }
}

} // namespace interval_band_section_test
