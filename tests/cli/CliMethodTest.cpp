// kestrin-cli estimate and tabs with --method: each method's H and, with
// --bootstrap, its corrected H and interval, against the analysis library.
#include "tests/support/CliRunner.h"
#include "analysis/FbmSimulation.h"
#include "core/Format.h"
#include "core/HDataSet.h"
#include "analysis/MethodComparison.h"

namespace cli_method_test {

namespace {

using CliMethod = CliTest;

CMethodComparison Expected(const std::vector<double>& values, const CSeriesBootstrapOptions* bootstrap)
{
    CHDataSet set({.nD = 4, .nM = 3});
    set.m_bAutoCompute = 0;
    set.Values().Storage() = values;
    set.Compute();
    return CompareMethods(set, {std::begin(kAllHMethods), std::end(kAllHMethods)}, ESeriesInput::Auto, false,
                          bootstrap);
}

TEST_F(CliMethod, EstimatePrintsEachMethodsH)
{
    const std::vector<double> walk = SimulateFbm(600, 0.6, 5);
    const std::string file = WriteValues("fbm.txt", walk);
    const CMethodComparison expected = Expected(walk, nullptr);
    const JsonValue j = RunJson({"estimate", file, "--method", "all", "--json"});
    ASSERT_EQ(j["methods"].Size(), 3u);
    EXPECT_EQ(j["methods"][0]["method"].String(), "curve");
    EXPECT_EQ(j["methods"][0]["H"].Number(), j["H"].Number());
    EXPECT_EQ(j["methods"][1]["method"].String(), "dfa");
    EXPECT_EQ(j["methods"][1]["H"].Number(), expected.rows[1].estimate.h);
    EXPECT_EQ(j["methods"][1]["alpha"].Number(), expected.rows[1].estimate.alpha);
    EXPECT_EQ(j["methods"][1]["scales"].Number(), expected.rows[1].estimate.scales);
    EXPECT_EQ(j["methods"][2]["method"].String(), "whittle");
    EXPECT_EQ(j["methods"][2]["H"].Number(), expected.rows[2].estimate.h);
    EXPECT_EQ(j["methods"][2]["standard_error"].Number(), expected.rows[2].estimate.standardError);

    // Without --method nothing changes; with it one line per method
    // follows the fields.
    const std::string plain = Run({"estimate", file}).out;
    EXPECT_EQ(plain.find("method"), std::string::npos);
    const std::string dfa = Run({"estimate", file, "--method", "dfa"}).out;
    const std::string line = "method      dfa  H " + FormatFixed(expected.rows[1].estimate.h, 6) + " (\xCE\xB1 ";
    EXPECT_NE(dfa.find(line), std::string::npos) << dfa;
    const auto blank = dfa.find("\n\n");
    EXPECT_EQ(dfa.substr(blank), plain.substr(plain.find("\n\n"))) << dfa;
    const std::string all = Run({"estimate", file, "--method", "all"}).out;
    EXPECT_NE(all.find("\nmethod      whittle  H "), std::string::npos) << all;
    EXPECT_NE(all.find(", standard error "), std::string::npos) << all;
    EXPECT_NE(all.find("\nseries      motion, \xCE\xB1 "), std::string::npos) << all;
    EXPECT_EQ(j["methods_series"].String(), SeriesKindLabel(expected.decision));
}

TEST_F(CliMethod, BootstrapOfEveryMethodComesFromTheSameReplicates)
{
    const std::vector<double> walk = SimulateFbm(64, 0.7, 9);
    const std::string file = WriteValues("fbm.txt", walk);
    CSeriesBootstrapOptions options;
    options.replicates = 40;
    options.seed = 11;
    const CMethodComparison expected = Expected(walk, &options);
    const JsonValue j =
        RunJson({"estimate", file, "--method", "all", "--bootstrap", "--replicates", "40", "--seed", "11", "--json"});
    // The curve length's own bootstrap is today's, bit for bit.
    const JsonValue plain = RunJson({"estimate", file, "--bootstrap", "--replicates", "40", "--seed", "11", "--json"});
    EXPECT_EQ(j["bootstrap"]["H_corrected"].Number(), plain["bootstrap"]["H_corrected"].Number());
    EXPECT_EQ(j["bootstrap"]["low"].Number(), plain["bootstrap"]["low"].Number());
    for (std::size_t m = 0; m < 3; ++m) {
        const CBootstrapResult& b = *expected.rows[m].bootstrap;
        ASSERT_TRUE(b.Reached()) << m;
        EXPECT_EQ(j["methods"][m]["H_corrected"].Number(), *b.corrected) << m;
        EXPECT_EQ(j["methods"][m]["low"].Number(), *b.low) << m;
        EXPECT_EQ(j["methods"][m]["high"].Number(), *b.high) << m;
    }
    EXPECT_EQ(j["methods"][0]["H_corrected"].Number(), plain["bootstrap"]["H_corrected"].Number());
    EXPECT_EQ(j["intervals_overlap"].Dump(), *IntervalsOverlap(expected) ? "true" : "false");
}

TEST_F(CliMethod, TabsGiveEachIntervalsMethodsAndBadWordsAreRefused)
{
    const std::vector<double> walk = SimulateFbm(600, 0.4, 3);
    const std::string file = WriteValues("fbm.txt", walk);
    const JsonValue tabs = RunJson({"tabs", file, "--at", "300", "--method", "whittle", "--json"});
    ASSERT_EQ(tabs["methods"].Size(), 2u);
    EXPECT_EQ(tabs["methods"][0]["label"].String(), tabs["intervals"][0]["label"].String());
    const std::vector<double> first(walk.begin(), walk.begin() + 300);
    EXPECT_EQ(tabs["methods"][0]["methods"][0]["H"].Number(), Expected(first, nullptr).rows[2].estimate.h);
    const CliResult text = Run({"tabs", file, "--at", "300", "--method", "curve"});
    EXPECT_NE(text.out.find("\nmethod " + tabs["intervals"][1]["label"].String()), std::string::npos) << text.out;

    const CliResult bad = Run({"estimate", file, "--method", "hurst"});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.err.find("--method must be curve, dfa, whittle or all, not \"hurst\""), std::string::npos);
    // --input decides the methods' reading without a bootstrap.
    const JsonValue noise = RunJson({"estimate", file, "--method", "dfa", "--input", "noise", "--json"});
    EXPECT_EQ(noise["methods"][0]["H"].Number(), noise["methods"][0]["alpha"].Number());
}

// A run over several series takes --method too: one row per method of each
// series (or interval), in the order curve, dfa, whittle, with the single
// run's numbers; the other methods leave D, M, b and r empty.
TEST_F(CliMethod, BatchRowsAreEachMethodsSingleRunNumbers)
{
    const std::vector<std::string> files{WriteValues("a.txt", SimulateFbm(300, 0.6, 21)),
                                         WriteValues("b.txt", SimulateFbm(260, 0.3, 22))};
    const CliResult r = Run({"estimate", files[0], files[1], "--method", "all", "--bootstrap", "--replicates", "4",
                             "--format", "jsonl"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::vector<JsonValue> rows;
    for (std::size_t start = 0, end; (end = r.out.find('\n', start)) != std::string::npos; start = end + 1)
        rows.push_back(JsonValue::Parse(r.out.substr(start, end - start)));
    ASSERT_EQ(rows.size(), 6u) << r.out;
    std::vector<JsonValue> singles;
    for (const std::string& file : files)
        singles.push_back(RunJson({"estimate", file, "--method", "all", "--bootstrap", "--replicates", "4", "--json"}));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::size_t m = i % 3;
        const JsonValue& single = singles[i / 3];
        const JsonValue& row = rows[i];
        SCOPED_TRACE(row.Dump());
        EXPECT_EQ(row["source"].String(), files[i / 3]);
        EXPECT_EQ(row["method"].String(), single["methods"][m]["method"].String());
        EXPECT_EQ(row["n"].Number(), single["n"].Number());
        EXPECT_EQ(row["H"].Number(), single["methods"][m]["H"].Number());
        EXPECT_EQ(row["H_corrected"].Number(), single["methods"][m]["H_corrected"].Number());
        EXPECT_EQ(row["replicates"].Number(), 4.0);
        for (const char* key : {"D", "M", "b", "r"}) {
            if (m == 0)
                EXPECT_EQ(row[key].Number(), single[key].Number()) << key;
            else
                EXPECT_TRUE(row[key].IsNull()) << key;
        }
    }

    // Tabs: each interval's rows; the CSV header names the method column. The
    // last interval holds 109 values, which its status names.
    const CliResult tabs = Run({"tabs", files[0], files[1], "--at", "150", "--method", "dfa"});
    ASSERT_EQ(tabs.exitCode, 0) << tabs.err;
    EXPECT_EQ(tabs.out.substr(0, tabs.out.find('\n')), "source,table,field,interval,method,n,D,M,H,b,r,status");
    const JsonValue single = RunJson({"tabs", files[1], "--at", "150", "--method", "dfa", "--json"});
    const std::string last = tabs.out.substr(tabs.out.rfind('\n', tabs.out.size() - 2) + 1);
    EXPECT_EQ(last, files[1] + ",,," + single["intervals"][1]["label"].String() + ",dfa," +
                        FormatRoundTrip(single["intervals"][1]["n"].Number()) + ",,," +
                        FormatRoundTrip(single["methods"][1]["methods"][0]["H"].Number()) +
                        ",,,warning: Estimates from fewer than 128 values vary by 0.1 or more; use the bootstrap to "
                        "see how far.\n");
}

} // namespace

} // namespace cli_method_test
