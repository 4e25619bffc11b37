// kestrin-cli's window analyses end to end: sliding, meta-h, slopes,
// correlate, h-data and extract, checked against the analysis library run
// in the test on the same series.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <tuple>

#include "tests/support/CliRunner.h"
#include "core/HDataSet.h"
#include "platform/HeadlessUi.h"
#include "document/KestrinDoc.h"
#include "analysis/IntervalBand.h"
#include "analysis/MatchPairs.h"
#include "analysis/MetaH.h"
#include "core/OptimumM.h"
#include "core/Regression.h"
#include "analysis/ResultExport.h"
#include "analysis/SlidingWindows.h"
#include "analysis/SlopeWindows.h"
#include "tests/support/SeriesBuilders.h"

namespace cli_analysis_test {

namespace {

using CliAnalysis = CliTest;

// A wandering series with no two windows alike.
std::vector<double> Walk(int n)
{
    std::vector<double> values;
    double v = 10.0;
    for (int i = 0; i < n; ++i) {
        v += static_cast<double>((i * 7919 + 13) % 17 - 8) * 0.125 + (i % 5 == 0 ? 0.3 : 0.0);
        values.push_back(v);
    }
    return values;
}

// The series exactly as the tool reads the text file.
CSeriesArray Imported(const std::string& path)
{
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    doc.OnNewDocument();
    EXPECT_TRUE(doc.ImportTextFile(path, 0, 0, false));
    return doc.m_points;
}

SlidingWindowParams Params(int width, int spacing)
{
    SlidingWindowParams params;
    params.width = width;
    params.spacing = spacing;
    return params;
}

// Saves a document holding the given points and sliding-window results.
void SaveDocument(const std::string& path, const CSeriesArray& points, const CHPointArray& windows, int spacing)
{
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    doc.OnNewDocument();
    doc.m_points = points;
    doc.m_windows = windows;
    doc.m_nSpacing = spacing;
    doc.m_bHasData = 1;
    doc.RecalculateH();
    ASSERT_TRUE(doc.OnSaveDocument(path));
}

std::size_t CountLines(const std::string& text)
{
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST_F(CliAnalysis, SlidingGivesOneResultPerWindowAtItsPlotPosition)
{
    const std::string file = WriteValues("walk.txt", Walk(200));
    const CHPointArray expected = ComputeSlidingWindowResults(Imported(file), Params(100, 1));

    const JsonValue j = RunJson({"sliding", file, "--width", "100", "--spacing", "1", "--json"});
    EXPECT_EQ(j["windows"]["source"].String(), "computed");
    EXPECT_EQ(j["windows"]["M"].Number(), 10); // "Use Best": the square root of 100
    EXPECT_EQ(j["windows"]["D"].Number(), 6);
    EXPECT_EQ(j["windows"]["count"].Number(), 100);
    const JsonValue& results = j["results"];
    ASSERT_EQ(results.Size(), 100u);
    EXPECT_EQ(results[0]["X"].Number(), 50.0);
    EXPECT_EQ(results[99]["X"].Number(), 149.0);
    ASSERT_EQ(expected.GetSize(), 100);
    for (int i = 0; i < 100; ++i) {
        const JsonValue& r = results[static_cast<std::size_t>(i)];
        EXPECT_EQ(r["offset"].Number(), expected[i].m_dX) << i;
        EXPECT_EQ(r["H"].Number(), expected[i].m_dY) << i;
        EXPECT_EQ(r["r"].Number(), expected[i].m_dR) << i;
        EXPECT_EQ(r["b"].Number(), expected[i].m_dB) << i;
        EXPECT_EQ(r["n"].Number(), 100) << i;
    }

    // Text: a heading and one line per window; the plot point moves them.
    const CliResult text = Run({"sliding", file, "--width", "100", "--spacing", "1"});
    EXPECT_EQ(text.exitCode, 0) << text.err;
    EXPECT_EQ(CountLines(text.out), 101u);
    std::string heading = text.out.substr(0, text.out.find('\n'));
    std::erase(heading, ' ');
    EXPECT_EQ(heading, "XHrbn");
    const JsonValue early = RunJson({"sliding", file, "--width", "99", "--spacing", "10", "--window-M", "5",
                                     "--window-D", "3", "--plot-point", "0", "--json"});
    ASSERT_EQ(early["results"].Size(), 11u); // starts 0, 10, ..., 100 (100 + 99 < 200)
    EXPECT_EQ(early["results"][1]["X"].Number(), 10.0);
    EXPECT_EQ(early["windows"]["M"].Number(), 5);

    // A width of the series' length or more gives no window.
    const CliResult none = Run({"sliding", file, "--width", "200", "--spacing", "1"});
    EXPECT_EQ(none.exitCode, 0);
    EXPECT_TRUE(none.out.starts_with("No sliding-window results")) << none.out;
}

TEST_F(CliAnalysis, SlidingOutputFileIsTheTextFileExport)
{
    const std::string file = WriteValues("walk.txt", Walk(200));
    const CSeriesArray series = Imported(file);
    const CHPointArray results = ComputeSlidingWindowResults(series, Params(100, 1));

    const CliResult r = Run({"sliding", file, "--width", "100", "--spacing", "1", "-o", "h.txt"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Wrote 100 sliding-window results to \"h.txt\".\n");
    const std::string written = ReadFile(Path("h.txt"));
    EXPECT_EQ(written, FormatSlidingResultsText(results, series, 0.0));
    EXPECT_TRUE(written.starts_with("X\tY\tH\tr\tb\r\n50.0000,")) << written.substr(0, 40);
    EXPECT_EQ(CountLines(written), 101u);
}

// --bootstrap appends each window's corrected H, low and high (the band's
// own numbers) to the text, the JSON and the file, with the band's statement.
TEST_F(CliAnalysis, SlidingBootstrapAppendsTheIntervalBand)
{
    const std::string file = WriteValues("walk.txt", Walk(300));
    const CSeriesArray series = Imported(file);
    const CHPointArray windows = ComputeSlidingWindowResults(series, Params(100, 50));
    CIntervalBandOptions options;
    options.replicates = 20;
    options.seed = 3;
    const std::optional<CIntervalBand> band = ComputeIntervalBand(series, windows, Params(100, 50), options);
    ASSERT_TRUE(band);
    const std::vector<std::string> args = {"sliding", file,  "--width",      "100", "--spacing",
                                           "50",      "--bootstrap", "--replicates", "20",  "--seed", "3"};

    std::vector<std::string> json = args;
    json.push_back("--json");
    const JsonValue j = RunJson(json);
    ASSERT_EQ(j["results"].Size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        const CBandWindow& v = band->windows[i];
        const JsonValue& r = j["results"][i];
        ASSERT_EQ(r["H_corrected"].IsNull(), !v.Reached()) << i;
        if (v.Reached()) {
            EXPECT_EQ(r["H_corrected"].Number(), v.corrected) << i;
            EXPECT_EQ(r["low"].Number(), v.low) << i;
            EXPECT_EQ(r["high"].Number(), v.high) << i;
        }
    }
    EXPECT_EQ(j["band"]["replicates"].Number(), 20);
    EXPECT_EQ(j["band"]["model"].String(), "fractional Brownian motion");
    EXPECT_EQ(j["band"]["statement"].String(), BandStatement(*band));

    const CliResult text = Run(args);
    EXPECT_EQ(text.exitCode, 0) << text.err;
    std::string heading = text.out.substr(0, text.out.find('\n'));
    std::erase(heading, ' ');
    EXPECT_EQ(heading, "XHrbnHcorrectedlowhigh");
    EXPECT_NE(text.out.find("\nband  20 replicates, seed 3, level 0.95; " + BandStatement(*band) + "\n"),
              std::string::npos)
        << text.out;

    std::vector<std::string> toFile = args;
    toFile.insert(toFile.end(), {"-o", "h.txt"});
    EXPECT_EQ(Run(toFile).exitCode, 0);
    EXPECT_EQ(ReadFile(Path("h.txt")), FormatSlidingResultsText(windows, series, 0.0, &*band));

    EXPECT_NE(Run({"sliding", file, "--width", "100", "--spacing", "50", "--replicates", "20"}).err.find(
                  "--replicates is taken only with --bootstrap"),
              std::string::npos);
}

TEST_F(CliAnalysis, DocumentWithoutWidthUsesItsStoredResults)
{
    // Three results plotted at 50, 51, 52 over a series whose smallest X is
    // 1900: the export's X column reads 1950.0000, 1951.0000, 1952.0000.
    CSeriesArray points;
    for (int i = 0; i < 10; ++i)
        points.Add(MakeSeriesPoint(1900.0 + i, 0.5 * i));
    CHPointArray windows;
    windows.Add(MakePoint(50.0, 0.75, 100, -1.25, -0.5));
    windows.Add(MakePoint(51.0, 0.8, 100, -1.2, -0.25));
    windows.Add(MakePoint(52.0, 0.85, 100, -1.15, 0.125));
    SaveDocument(Path("stored.kst"), points, windows, 5);

    const JsonValue j = RunJson({"sliding", Path("stored.kst"), "--json"});
    EXPECT_EQ(j["windows"]["source"].String(), "document");
    EXPECT_EQ(j["windows"]["spacing"].Number(), 5);
    EXPECT_EQ(j["x_min"].Number(), 1900.0);
    ASSERT_EQ(j["results"].Size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const CHPoint& w = windows[static_cast<int>(i)];
        EXPECT_EQ(j["results"][i]["X"].Number(), 1900.0 + w.m_dX);
        EXPECT_EQ(j["results"][i]["offset"].Number(), w.m_dX);
        EXPECT_EQ(j["results"][i]["H"].Number(), w.m_dY);
        EXPECT_EQ(j["results"][i]["r"].Number(), w.m_dR);
        EXPECT_EQ(j["results"][i]["b"].Number(), w.m_dB);
    }

    const CliResult r = Run({"sliding", Path("stored.kst"), "-o", "stored.txt"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadFile(Path("stored.txt")), "X\tY\tH\tr\tb\r\n"
                                             "1950.0000,0.0000,0.7500,-0.5000,-1.2500\r\n"
                                             "1951.0000,0.5000,0.8000,-0.2500,-1.2000\r\n"
                                             "1952.0000,1.0000,0.8500,0.1250,-1.1500\r\n");

    // --plot-point alone moves the stored results as Set Plot Point does:
    // m_dX = m_nCount * plot point + i * the document's spacing.
    const JsonValue moved = RunJson({"sliding", Path("stored.kst"), "--plot-point", "0.25", "--json"});
    ASSERT_EQ(moved["results"].Size(), 3u);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(moved["results"][i]["offset"].Number(), 25.0 + 5.0 * static_cast<double>(i)) << i;

    // With --width the document's series is computed afresh.
    const JsonValue fresh = RunJson({"sliding", Path("stored.kst"), "--width", "4", "--spacing", "2", "--json"});
    EXPECT_EQ(fresh["windows"]["source"].String(), "computed");
    ASSERT_EQ(fresh["results"].Size(), 3u); // starts 0, 2, 4 (4 + 4 < 10)
    EXPECT_EQ(fresh["results"][0]["X"].Number(), 1902.0);
}

TEST_F(CliAnalysis, MetaHRunsOverEveryResultWithItsOwnParameters)
{
    const std::string file = WriteValues("walk.txt", Walk(200));
    const CHPointArray results = ComputeSlidingWindowResults(Imported(file), Params(100, 1));
    CHeadlessUi ui;
    CHDataSet best;
    ASSERT_TRUE(ComputeMetaH(ui, results, {.nD = 6, .nM = 0}, true, best));

    const JsonValue j = RunJson({"meta-h", file, "--width", "100", "--spacing", "1", "--json"});
    EXPECT_EQ(j["n"].Number(), 100);
    EXPECT_EQ(j["D"].Number(), 6);
    EXPECT_EQ(j["M"].Number(), 100); // "Use Best M": the number of results itself
    EXPECT_EQ(j["H"].Number(), best.GetH());
    EXPECT_EQ(j["b"].Number(), best.GetB());
    EXPECT_EQ(j["r"].Number(), best.GetR());

    CHDataSet set;
    ASSERT_TRUE(ComputeMetaH(ui, results, {.nD = 3, .nM = 5}, false, set));
    const JsonValue given =
        RunJson({"meta-h", file, "--width", "100", "--spacing", "1", "--D", "3", "--M", "5", "--json"});
    EXPECT_EQ(given["D"].Number(), 3);
    EXPECT_EQ(given["M"].Number(), 5);
    EXPECT_EQ(given["H"].Number(), set.GetH());

    const CliResult text = Run({"meta-h", file, "--width", "100", "--spacing", "1"});
    EXPECT_EQ(text.exitCode, 0) << text.err;
    EXPECT_NE(text.out.find("\nn           100\nD           6\nM           100\nH  "), std::string::npos) << text.out;

    // No results, no Meta H.
    const CliResult none = Run({"meta-h", file, "--width", "200", "--spacing", "1"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.out, "");
    EXPECT_NE(none.err.find("no sliding-window results"), std::string::npos) << none.err;
    RunJson({"import", file, "-o", "plain.kst", "--json"});
    const CliResult empty = Run({"meta-h", Path("plain.kst")});
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_NE(empty.err.find("the document holds none"), std::string::npos) << empty.err;
}

TEST_F(CliAnalysis, SlopesGiveOneResultPerWindowAtItsMiddle)
{
    // Y = 2X + 1: every window's slope is 2.
    std::vector<double> line;
    for (int i = 0; i < 1000; ++i)
        line.push_back(2.0 * i + 1.0);
    const std::string file = WriteValues("line.txt", line);
    const JsonValue j = RunJson({"slopes", file, "--size", "10", "--json"});
    EXPECT_EQ(j["count"].Number(), 990);
    ASSERT_EQ(j["results"].Size(), 990u);
    EXPECT_EQ(j["results"][0]["offset"].Number(), 5.0);
    EXPECT_EQ(j["results"][989]["X"].Number(), 994.0);
    for (std::size_t i = 0; i < 990; ++i)
        ASSERT_EQ(j["results"][i]["slope"].Number(), 2.0) << i;

    const std::string walk = WriteValues("walk.txt", Walk(300));
    const CHPointArray expected = ComputeSlopeWindowResults(Imported(walk), 11);
    const JsonValue w = RunJson({"slopes", walk, "--size", "11", "--json"});
    ASSERT_EQ(w["results"].Size(), 289u);
    ASSERT_EQ(expected.GetSize(), 289);
    EXPECT_EQ(w["results"][0]["offset"].Number(), 5.0); // 11 / 2 = 5
    for (int i = 0; i < 289; ++i)
        EXPECT_EQ(w["results"][static_cast<std::size_t>(i)]["slope"].Number(), expected[i].m_dY) << i;

    const CliResult text = Run({"slopes", file, "--size", "10"});
    EXPECT_EQ(CountLines(text.out), 991u);
    EXPECT_NE(text.out.find("\n  5       5  2.000000\n"), std::string::npos) << text.out.substr(0, 100);
    const CliResult none = Run({"slopes", file, "--size", "1000"});
    EXPECT_EQ(none.exitCode, 0);
    EXPECT_TRUE(none.out.starts_with("No slope-window results")) << none.out;
}

TEST_F(CliAnalysis, CorrelatePairsEachHWithTheSlopeAtItsPositionMinusTheOffset)
{
    const std::string file = WriteValues("walk.txt", Walk(1000));
    const CSeriesArray series = Imported(file);
    const CHPointArray windows = ComputeSlidingWindowResults(series, Params(100, 1));
    const CHPointArray slopes = ComputeSlopeWindowResults(series, 10);

    // Plot positions 50..949, slope positions 5..994: at offset 0 and 20
    // every sliding result finds its slope.
    for (const int offset : {0, 20}) {
        const CHPointArray pairs = MatchPairs(windows, slopes, 0.0, offset);
        const std::string out = "pairs" + std::to_string(offset) + ".txt";
        const JsonValue j = RunJson({"correlate", file, "--width", "100", "--spacing", "1", "--size", "10",
                                     "--offset", std::to_string(offset), "-o", out, "--json"});
        EXPECT_EQ(j["matches"].Number(), 900) << offset;
        EXPECT_EQ(pairs.GetSize(), 900);
        EXPECT_EQ(j["correlation"].Number(), PearsonCorrelation(pairs)) << offset;
        EXPECT_EQ(j["slope_count"].Number(), 990);
        EXPECT_EQ(j["offset"].Number(), offset);
        EXPECT_EQ(ReadFile(Path(out)), FormatCorrelationPairsText(pairs)) << offset;
        EXPECT_TRUE(ReadFile(Path(out)).starts_with("H\tSlope\r\n")) << offset;
    }

    const CliResult text = Run({"correlate", file, "--width", "100", "--spacing", "1", "--size", "10"});
    EXPECT_EQ(text.exitCode, 0) << text.err;
    EXPECT_NE(text.out.find("\nmatches     900\n"), std::string::npos) << text.out;
    // A slope size of the series' length: nothing to pair, said on stderr.
    const JsonValue none =
        RunJson({"correlate", file, "--width", "100", "--spacing", "1", "--size", "1000", "--json"});
    EXPECT_EQ(none["matches"].Number(), 0);
    EXPECT_EQ(none["correlation"].Number(), 0.0);
}

TEST_F(CliAnalysis, HDataAndExtractSaveDocumentsInfoReadsBack)
{
    const std::string file = WriteValues("walk.txt", Walk(200));
    const CHPointArray windows = ComputeSlidingWindowResults(Imported(file), Params(100, 1));

    const JsonValue made = RunJson({"h-data", file, "--width", "100", "--spacing", "1", "-o", "h.kst", "--json"});
    EXPECT_EQ(made["points"].Number(), 100);
    const JsonValue h = RunJson({"info", Path("h.kst"), "--points", "--json"});
    EXPECT_EQ(h["point_count"].Number(), 100);
    EXPECT_EQ(h["h_series"].Number(), 1);
    EXPECT_EQ(h["has_data"].Number(), 1);
    EXPECT_EQ(h["x_field"].String(), "H");
    EXPECT_EQ(h["y_field"].String(), "Series");
    EXPECT_EQ(h["D"].Number(), 4); // the source's, as imported
    EXPECT_EQ(h["M"].Number(), OptimumM(100));
    EXPECT_EQ(h["estimator"]["n"].Number(), 100);
    for (int i = 0; i < 100; i += 33) {
        EXPECT_EQ(h["points"][static_cast<std::size_t>(i)]["X"].Number(), windows[i].m_dX) << i;
        EXPECT_EQ(h["points"][static_cast<std::size_t>(i)]["Y"].Number(), windows[i].m_dY) << i;
    }
    const CliResult nothing = Run({"h-data", file, "--width", "200", "--spacing", "1", "-o", "none.kst"});
    EXPECT_EQ(nothing.exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(Path("none.kst")));

    // Truncated X 9, 10, 10, 20, 20: From 10 To 20 takes the last four.
    CSeriesArray points;
    for (const double x : {9.5, 10.0, 10.9, 20.0, 20.5})
        points.Add(MakeSeriesPoint(x, x * 3.0));
    SaveDocument(Path("src.kst"), points, {}, 1);
    const CliResult r = Run({"extract", Path("src.kst"), "--from", "10", "--to", "20", "-o", "part.kst"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Saved 4 points from \"" + Path("src.kst") + "\" into \"part.kst\".\n");
    const JsonValue part = RunJson({"info", Path("part.kst"), "--points", "--json"});
    ASSERT_EQ(part["points"].Size(), 4u);
    EXPECT_EQ(part["points"][0]["X"].Number(), 10.0);
    EXPECT_EQ(part["points"][3]["X"].Number(), 20.5);
    EXPECT_EQ(part["has_data"].Number(), 1);
    EXPECT_EQ(part["estimator"]["n"].Number(), 4);

    // The default range is the whole series; a smallest X of 9.5 still
    // leaves out the first point, whose truncated X is 9.
    const JsonValue whole = RunJson({"extract", Path("src.kst"), "-o", "whole.kst", "--json"});
    EXPECT_EQ(whole["from"].Number(), 9.5);
    EXPECT_EQ(whole["to"].Number(), 20.5);
    EXPECT_EQ(whole["points"].Number(), 4);
}

struct Refusal
{
    std::vector<std::string> args;
    std::string message;
};

TEST_F(CliAnalysis, BadParametersAreRefusedBeforeAnythingIsComputed)
{
    const std::string file = WriteValues("walk.txt", Walk(200));
    const std::vector<Refusal> refusals{
        {{"sliding", file, "--width", "-5", "--spacing", "1"}, "Width must be greater than 0."},
        {{"sliding", file, "--width", "0", "--spacing", "1"}, "Width must be greater than 0."},
        {{"sliding", file, "--width", "100", "--spacing", "0"}, "Spacing must be greater than 0."},
        {{"sliding", file, "--width", "0", "--spacing", "-1"}, "Spacing must be greater than 0."},
        {{"sliding", file, "--width", "2147483648", "--spacing", "1"}, "--width: 2147483648 is out of range"},
        {{"sliding", file, "--width", "100"}, "missing --spacing S"},
        {{"sliding", file}, "missing --width W and --spacing S"},
        {{"sliding", file, "--spacing", "1"}, "--spacing needs --width W"},
        {{"sliding", file, "--width", "100", "--spacing", "1", "--plot-point", "1.5"},
         "--plot-point: 1.5 is out of range (allowed: 0 to 1)"},
        {{"sliding", file, "--width", "100", "--spacing", "1", "--plot-point", "half"},
         "--plot-point: \"half\" is not a number"},
        {{"sliding", file, "--width", "100", "--spacing", "1", "--plot-point", "nan"},
         "--plot-point: \"nan\" is not a number"},
        {{"sliding", file, "--width", "100", "--spacing", "1", "--window-M", "5", "--window-best-m"},
         "--window-M and --window-best-m exclude each other"},
        {{"sliding", file, "--width", "100", "--spacing", "1", "--window-D", "0"}, "--window-D: 0 is out of range"},
        {{"sliding", file, "--width", "100", "--spacing", "1", "-o", file}, "is the INPUT file"},
        {{"meta-h", file, "--width", "100", "--spacing", "1", "--M", "5", "--best-m"},
         "--M and --best-m exclude each other"},
        {{"meta-h", file, "--width", "100", "--spacing", "1", "--M", "1"}, "--M: 1 is out of range"},
        {{"slopes", file}, "missing --size N"},
        {{"slopes", file, "--size", "0"}, "--size: 0 is out of range (allowed: 2 to 5000)"},
        {{"slopes", file, "--size", "5001"}, "--size: 5001 is out of range"},
        {{"correlate", file, "--width", "100", "--spacing", "1", "--size", "10", "--offset", "5001"},
         "--offset: 5001 is out of range (allowed: 0 to 5000)"},
        {{"correlate", file, "--width", "100", "--spacing", "1", "--size", "10", "--offset", "-1"},
         "--offset: -1 is out of range"},
        {{"h-data", file, "--width", "100", "--spacing", "1"}, "missing -o DOC.kst"},
        {{"extract", file, "--from", "x", "-o", "e.kst"}, "--from: \"x\" is not a number"},
        {{"extract", "doc.kst", "--filter", "1", "5", "-o", "e.kst"}, "--filter applies to text files only"},
    };
    for (const Refusal& refusal : refusals) {
        const CliResult r = Run(refusal.args);
        const std::string command = refusal.args.front();
        EXPECT_EQ(r.exitCode, 2) << refusal.message << "\n" << r.err;
        EXPECT_EQ(r.out, "") << refusal.message;
        EXPECT_NE(r.err.find("kestrin-cli: " + command + ": "), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(refusal.message), std::string::npos)
            << "expected: " << refusal.message << "\ngot: " << r.err;
    }
    // Nothing was written by any of them.
    for (const auto& entry : std::filesystem::directory_iterator(Path(".")))
        EXPECT_TRUE(entry.path().filename() == "walk.txt" || entry.path().filename().string().starts_with(".std"))
            << entry.path();
}

TEST_F(CliAnalysis, ExtractRangeIsCheckedAgainstTheSeries)
{
    const std::string file = WriteValues("walk.txt", Walk(50)); // X 0..49
    for (const auto& [from, to, message] : std::vector<std::tuple<std::string, std::string, std::string>>{
             {"30", "20", ""},
             {"-1", "20", "The From value must be greater than the Min value."},
             {"10", "50", "The To value must be less than the Max value."}}) {
        const CliResult r = Run({"extract", file, "--from", from, "--to", to, "-o", "e.kst"});
        EXPECT_EQ(r.exitCode, 2) << from << " " << to << ": " << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("the series' X runs from 0 to 49"), std::string::npos) << r.err;
        if (!message.empty()) {
            EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
        }
        EXPECT_FALSE(std::filesystem::exists(Path("e.kst")));
    }
    // The bounds themselves are accepted, and a single X too.
    const JsonValue one = RunJson({"extract", file, "--from", "7", "--to", "7", "-o", "one.kst", "--json"});
    EXPECT_EQ(one["points"].Number(), 1);
    const JsonValue all = RunJson({"extract", file, "--from", "0", "--to", "49", "-o", "all.kst", "--json"});
    EXPECT_EQ(all["points"].Number(), 50);
}

// A document whose first X is not a number opens, but its X range is
// undefined: the refusal names the bounds the user typed, never "nan".
TEST_F(CliAnalysis, ExtractFromASeriesWithoutAnXRangeNamesNoInventedBounds)
{
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    doc.OnNewDocument();
    for (int i = 0; i < 5; ++i) {
        CSeriesPoint p;
        p.m_dX = i == 0 ? std::nan("") : i;
        p.m_dY = i;
        doc.m_points.Add(p);
    }
    doc.m_bHasData = 1;
    doc.RecalculateH();
    ASSERT_TRUE(doc.OnSaveDocument(Path("nan.kst")));
    for (const auto& [args, named] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"extract", Path("nan.kst"), "-o", "e.kst"}, "no --from, no --to"},
             {{"extract", Path("nan.kst"), "--from", "2", "-o", "e.kst"}, "--from 2, no --to"}}) {
        const CliResult r = Run(args);
        EXPECT_EQ(r.exitCode, 2) << r.err;
        EXPECT_NE(r.err.find(named), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("its first X is not a number"), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("nan"), std::string::npos) << r.err;
    }
}

TEST_F(CliAnalysis, FailedWritesExitWithOneAndLeaveTargetsAsTheyWere)
{
    const std::string file = WriteValues("walk.txt", Walk(1000));
    const std::vector<std::string> window{"--width", "100", "--spacing", "1"};
    auto with = [&](std::vector<std::string> args, const std::vector<std::string>& more) {
        args.insert(args.begin() + 2, window.begin(), window.end());
        args.insert(args.end(), more.begin(), more.end());
        return args;
    };
    // A directory that does not exist, and a target that is a directory.
    std::filesystem::create_directory(Path("taken"));
    WriteFile("taken/keep.txt", "kept");
    for (const std::string target : {"missing/out.txt", "taken"}) {
        for (const auto& args : {with({"sliding", file}, {"-o", target}),
                                 with({"correlate", file}, {"--size", "10", "-o", target}),
                                 with({"h-data", file}, {"-o", target}),
                                 std::vector<std::string>{"extract", file, "-o", target}}) {
            const CliResult r = Run(args);
            EXPECT_EQ(r.exitCode, 1) << args.front() << " " << target;
            EXPECT_EQ(r.out, "") << args.front();
            EXPECT_NE(r.err, "") << args.front();
        }
    }
    EXPECT_FALSE(std::filesystem::exists(Path("missing")));
    EXPECT_TRUE(std::filesystem::is_directory(Path("taken")));
    EXPECT_EQ(ReadFile(Path("taken/keep.txt")), "kept");

    // An unreadable INPUT fails the same way, before anything is written.
    const CliResult absent = Run({"sliding", Path("absent.txt"), "--width", "10", "--spacing", "1", "-o", "o.txt"});
    EXPECT_EQ(absent.exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(Path("o.txt")));
}

TEST_F(CliAnalysis, EveryCommandHasHelpAndIsListed)
{
    const std::vector<std::string> commands{"sliding", "meta-h", "slopes", "correlate", "h-data", "extract", "profile"};
    const CliResult tool = Run({"--help"});
    for (const std::string& command : commands) {
        EXPECT_NE(tool.out.find("\n  " + command + " INPUT"), std::string::npos) << command;
        for (const auto& args : std::vector<std::vector<std::string>>{{command, "--help"}, {"help", command}}) {
            const CliResult r = Run(args);
            EXPECT_EQ(r.exitCode, 0) << command;
            EXPECT_TRUE(r.out.starts_with("Usage: kestrin-cli " + command + " ")) << r.out;
            EXPECT_NE(r.out.find("--json"), std::string::npos) << command;
        }
    }
    // meta-h's --D and --M are its own, which the help must say.
    EXPECT_NE(Run({"meta-h", "--help"}).out.find("not the series' global ones"), std::string::npos);
}

} // namespace

} // namespace cli_analysis_test
