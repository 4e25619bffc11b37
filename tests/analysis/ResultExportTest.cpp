#include <csignal>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/resource.h>

#include <gtest/gtest.h>

#include "platform/HeadlessUi.h"
#include "document/KestrinDoc.h"
#include "analysis/ResultExport.h"
#include "tests/support/TestSupport.h"
#include "tests/support/SeriesBuilders.h"

namespace result_export_test {

namespace {

std::string FileText(const std::string& path)
{
    const std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

TEST(ResultExport, SlidingResultsTextByteForByte)
{
    CHPointArray windows;
    windows.Add(MakeWindow(50, 0.75, 0.9, -1.25, 100));
    windows.Add(MakeWindow(51, 0.5, 0.99995, -1.5, 100));
    windows.Add(MakeWindow(52, 0.123449, -0.00001, 2, 100));
    // The Y column is the series value of the result's own index, not the
    // one at its plot position.
    const CSeriesArray series = MakeSeriesFrom(1900.0, {10.5, -3.25, 7.0, 8.0, 9.0});
    EXPECT_EQ(FormatSlidingResultsText(windows, series, 1900.0),
              "X\tY\tH\tr\tb\r\n"
              "1950.0000,10.5000,0.7500,0.9000,-1.2500\r\n"
              "1951.0000,-3.2500,0.5000,1.0000,-1.5000\r\n"
              "1952.0000,7.0000,0.1234,-0.0000,2.0000\r\n");
    // No results: the header alone.
    EXPECT_EQ(FormatSlidingResultsText(CHPointArray(), series, 1900.0), "X\tY\tH\tr\tb\r\n");
}

TEST(ResultExport, ResultsBeyondTheSeriesLeaveYEmpty)
{
    // A document read from a file may hold more results than points.
    CHPointArray windows;
    windows.Add(MakeWindow(50, 0.5, 0.9, -1.5, 100));
    windows.Add(MakeWindow(51, 0.5, 0.9, -1.5, 100));
    windows.Add(MakeWindow(52, 0.5, 0.9, -1.5, 100));
    EXPECT_EQ(FormatSlidingResultsText(windows, MakeSeriesFrom(1900.0, {1.0, 2.0}), 1900.0),
              "X\tY\tH\tr\tb\r\n"
              "1950.0000,1.0000,0.5000,0.9000,-1.5000\r\n"
              "1951.0000,2.0000,0.5000,0.9000,-1.5000\r\n"
              "1952.0000,,0.5000,0.9000,-1.5000\r\n");
    EXPECT_EQ(FormatSlidingResultsText(windows, CSeriesArray(), 0.0).substr(11), "50.0000,,0.5000,0.9000,-1.5000\r\n"
                                                                                  "51.0000,,0.5000,0.9000,-1.5000\r\n"
                                                                                  "52.0000,,0.5000,0.9000,-1.5000\r\n");
}

TEST(ResultExport, CorrelationPairsTextByteForByte)
{
    CHPointArray pairs;
    pairs.Add(MakePoint(0.75, -0.125));
    pairs.Add(MakePoint(0.8, 2));
    EXPECT_EQ(FormatCorrelationPairsText(pairs), "H\tSlope\r\n0.7500\t-0.1250\r\n0.8000\t2.0000\r\n");
    EXPECT_EQ(FormatCorrelationPairsText(CHPointArray()), "H\tSlope\r\n");
}

TEST(ResultExport, ExportsWriteTheFileWithTheirStatusTexts)
{
    TempDir dir;
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    doc.m_points = MakeSeriesFrom(1900.0, {10.5, 11.0, 12.0, 13.0});
    doc.m_windows.Add(MakeWindow(1, 0.625, 0.5, -1.375, 100));

    const std::string results = dir.File("results.txt");
    WriteFile(results, std::string(500, 'x')); // replaced whole
    ASSERT_TRUE(ExportSlidingResults(doc, 1900.0, results));
    EXPECT_EQ(FileText(results), "X\tY\tH\tr\tb\r\n1901.0000,10.5000,0.6250,0.5000,-1.3750\r\n");
    EXPECT_EQ(ui.statusTexts, (std::vector<std::string>{"Saving results...", "Ready"}));
    EXPECT_EQ(ui.m_waitBegins, 1);
    EXPECT_EQ(ui.m_waitDepth, 0);
    EXPECT_FALSE(doc.IsModified());

    // Save Data before any Apply: the header alone.
    ui.statusTexts.clear();
    const std::string data = dir.File("pairs.txt");
    ASSERT_TRUE(SaveCorrelationPairs(ui, CHPointArray(), data));
    EXPECT_EQ(FileText(data), "H\tSlope\r\n");
    EXPECT_EQ(ui.statusTexts, (std::vector<std::string>{"Saving data...", "Ready"}));

    CHPointArray pairs;
    pairs.Add(MakePoint(0.75, -0.125));
    ASSERT_TRUE(SaveCorrelationPairs(ui, pairs, data));
    EXPECT_EQ(FileText(data), "H\tSlope\r\n0.7500\t-0.1250\r\n");
    EXPECT_TRUE(ui.messages.empty());
    // Nothing is left beside the files.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), std::filesystem::directory_iterator()),
              2);
}

TEST(ResultExport, FailedWriteIsReportedAndChangesNothing)
{
    TempDir dir;
    CHeadlessUi ui;

    // A folder that does not exist.
    const std::string missing = dir.File("no-such-folder/pairs.txt");
    EXPECT_FALSE(SaveCorrelationPairs(ui, CHPointArray(), missing));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::error);
    EXPECT_EQ(ui.messages[0].buttons, MsgButtons::ok);
    EXPECT_NE(ui.messages[0].text.find(missing), std::string::npos) << ui.messages[0].text;
    EXPECT_NE(ui.messages[0].text.find("No such file or directory"), std::string::npos) << ui.messages[0].text;
    EXPECT_EQ(ui.statusTexts, (std::vector<std::string>{"Saving data...", "Ready"}));
    EXPECT_EQ(ui.m_waitDepth, 0);
    EXPECT_FALSE(std::filesystem::exists(missing));

    // A file that cannot grow past a few bytes (as on a full disk): the old
    // file stays as it was, and no temporary file is left behind.
    const std::string existing = dir.File("results.txt");
    WriteFile(existing, "old contents\r\n");
    CKestrinDoc doc(ui);
    doc.m_points = MakeSeriesFrom(1900.0, {1.0, 2.0, 3.0});
    for (int i = 0; i < 1000; ++i)
        doc.m_windows.Add(MakeWindow(i, 0.5, 0.5, 0.5, 100));
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = ExportSlidingResults(doc, 0.0, existing);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].icon, MsgIcon::error);
    EXPECT_NE(ui.messages[1].text.find(existing), std::string::npos) << ui.messages[1].text;
    EXPECT_NE(ui.messages[1].text.find("File too large"), std::string::npos) << ui.messages[1].text;
    EXPECT_EQ(FileText(existing), "old contents\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), std::filesystem::directory_iterator()),
              1);
    EXPECT_EQ(ui.LastStatus(), "Ready");

    // A folder where the file should be: the folder is left alone.
    const std::string folder = dir.File("folder.txt");
    std::filesystem::create_directory(folder);
    WriteFile(folder + "/inside", "kept");
    EXPECT_FALSE(SaveCorrelationPairs(ui, CHPointArray(), folder));
    EXPECT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(FileText(folder + "/inside"), "kept");
}

} // namespace result_export_test
