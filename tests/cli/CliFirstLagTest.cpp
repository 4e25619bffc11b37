// --r-min and --window-r-min: the first lag of the fit on the command line,
// the JSON "r_min" and the points fitted, and the refusals.
#include <string>
#include <vector>

#include "analysis/SlidingWindows.h"
#include "core/HDataSet.h"
#include "tests/support/CliRunner.h"
#include "tests/support/SeriesBuilders.h"

namespace cli_first_lag_test {

namespace {

using CliFirstLag = CliTest;

const std::vector<double> kZigzag{1, 3, 2, 5, 4, 6, 5, 8, 7, 9};

} // namespace

TEST_F(CliFirstLag, EstimateFitsFromTheFirstLagAndListsThePointsFitted)
{
    const std::string file = WriteValues("zigzag.txt", kZigzag);
    const JsonValue one = RunJson({"estimate", file, "--D", "2", "--M", "4", "--json"});
    EXPECT_EQ(one["r_min"].Number(), 1);
    EXPECT_EQ(one["fit"]["log_r"].Size(), 4u);

    const JsonValue later = RunJson({"estimate", file, "--D", "2", "--M", "4", "--r-min", "2", "--json"});
    const CHDataSet expected = EstimatorOver(kZigzag, {.nD = 2, .nM = 4, .nRMin = 2});
    EXPECT_EQ(later["r_min"].Number(), 2);
    EXPECT_EQ(later["H"].Number(), expected.GetH());
    EXPECT_EQ(later["r"].Number(), expected.GetR());
    ASSERT_EQ(later["lags"].Size(), 4u);
    ASSERT_EQ(later["fit"]["log_r"].Size(), 3u);
    EXPECT_EQ(later["fit"]["log_r"][0].Number(), expected.GetLogR(1));
    EXPECT_EQ(later["fit"]["log_L_over_r"][2].Number(), expected.GetLogL(3));

    const CliResult text = Run({"estimate", file, "--D", "2", "--M", "4", "--r-min", "2"});
    EXPECT_NE(text.out.find("M           4\nfirst lag   2\nH"), std::string::npos) << text.out;
    EXPECT_EQ(Run({"estimate", file, "--D", "2", "--M", "4"}).out.find("first lag"), std::string::npos);
}

TEST_F(CliFirstLag, FirstLagThatLeavesFewerThanTwoLagsIsRefused)
{
    const std::string file = WriteValues("zigzag.txt", kZigzag);
    struct Case
    {
        std::vector<std::string> args;
        const char* words;
    };
    const std::vector<Case> cases = {
        {{"estimate", file, "--M", "3", "--r-min", "3"}, "The first lag must be between 1 and M - 1 (2 for M = 3)"},
        {{"estimate", file, "--r-min", "3"}, "The first lag must be between 1 and M - 1 (2 for M = 3)"},
        {{"estimate", file, "--r-min", "0"}, "--r-min"},
        {{"tabs", file, "--at", "5", "--M", "2", "--r-min", "2"}, "The first lag must be between 1 and M - 1"},
        {{"sliding", file, "--width", "8", "--spacing", "1", "--window-M", "3", "--window-r-min", "3"},
         "The first lag must be between 1 and M - 1"},
    };
    for (const Case& c : cases) {
        const CliResult r = Run(c.args);
        EXPECT_NE(r.exitCode, 0) << c.words;
        EXPECT_NE(r.err.find(c.words), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty()) << r.out;
    }
}

TEST_F(CliFirstLag, TabsAndSlidingFitFromTheFirstLag)
{
    const std::vector<double> walk = RandomWalk(300, 5);
    const std::string file = WriteValues("walk.txt", walk);
    const JsonValue tabs = RunJson({"tabs", file, "--at", "150", "--M", "6", "--r-min", "3", "--json"});
    ASSERT_EQ(tabs["intervals"].Size(), 2u);
    const std::vector<double> first(walk.begin(), walk.begin() + 150);
    EXPECT_EQ(tabs["intervals"][0]["H"].Number(), EstimatorOver(first, {.nD = 4, .nM = 6, .nRMin = 3}).GetH());
    EXPECT_EQ(tabs["intervals"][0]["r_min"].Number(), 3);

    const JsonValue sliding =
        RunJson({"sliding", file, "--width", "100", "--spacing", "20", "--window-r-min", "2", "--json"});
    EXPECT_EQ(sliding["windows"]["r_min"].Number(), 2);
    SlidingWindowParams params;
    params.width = 100;
    params.spacing = 20;
    params.nRMin = 2;
    const CHPointArray expected = ComputeSlidingWindowResults(MakeSeriesFrom(0.0, walk), params);
    ASSERT_EQ(sliding["results"].Size(), static_cast<std::size_t>(expected.GetSize()));
    for (int i = 0; i < expected.GetSize(); ++i)
        EXPECT_EQ(sliding["results"][static_cast<std::size_t>(i)]["H"].Number(), expected[i].m_dY) << i;
    EXPECT_FALSE(RunJson({"sliding", file, "--width", "100", "--spacing", "20", "--json"})["windows"].Has("r_min"));
}

} // namespace cli_first_lag_test
