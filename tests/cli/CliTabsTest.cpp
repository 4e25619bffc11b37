// kestrin-cli tabs: intervals between tab positions, as the ruler makes them.
#include <gmock/gmock.h>

#include "tests/support/CliRunner.h"
#include "platform/HeadlessUi.h"
#include "document/KestrinDoc.h"

namespace cli_tabs_test {

namespace {

using CliTabs = CliTest;

const std::vector<double> kRamp{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};

struct Interval
{
    std::string label;
    double n;
};

std::vector<Interval> Intervals(const JsonValue& j)
{
    std::vector<Interval> list;
    for (const JsonValue& item : j["intervals"].Items())
        list.push_back({item["label"].String(), item["n"].Number()});
    return list;
}

MATCHER_P2(IsInterval, label, n, "")
{
    return arg.label == label && arg.n == n;
}

TEST_F(CliTabs, TwoTabsSplitTenValuesIntoThreeAndLeaveTheLastXOut)
{
    const std::string file = WriteValues("ramp.txt", kRamp);
    const JsonValue j = RunJson({"tabs", file, "--at", "3,6", "--json"});
    EXPECT_THAT(Intervals(j), ::testing::ElementsAre(IsInterval("3.000000", 3), IsInterval("6.000000", 3),
                                                     IsInterval("9.000000", 3)));
    EXPECT_EQ(j["D"].Number(), 4);
    EXPECT_EQ(j["M"].Number(), 3);

    const CliResult text = Run({"tabs", file, "--at", "3,6"});
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_NE(text.out.find("upper bound  D  M  n         H         b         r\n"
                            "   3.000000  4  3  3  2.000000  0.000000  0.000000\n"
                            "   6.000000  4  3  3  2.000000  0.000000  0.000000\n"
                            "   9.000000  4  3  3  2.000000  0.000000  0.000000\n"),
              std::string::npos)
        << text.out;
    // Three values cannot fill D 4 + M 3; the user is told why H reads 2.
    EXPECT_NE(text.err.find("3 of 3 intervals hold fewer than D + M = 7 values"), std::string::npos) << text.err;
}

TEST_F(CliTabs, EveryPlacesTheTabsAutoTabPlaces)
{
    const std::string file = WriteValues("ramp.txt", kRamp);
    const JsonValue every = RunJson({"tabs", file, "--every", "2.5", "--json"});
    ASSERT_EQ(every["tabs"].Size(), 3u); // 2.5, 5, 7.5 truncated
    EXPECT_EQ(every["tabs"][0].Number(), 2);
    EXPECT_EQ(every["tabs"][1].Number(), 5);
    EXPECT_EQ(every["tabs"][2].Number(), 7);
    const JsonValue at = RunJson({"tabs", file, "--at", "2,5,7", "--json"});
    EXPECT_EQ(every["intervals"].Dump(), at["intervals"].Dump());

    const struct
    {
        std::vector<std::string> args;
        std::string message;
    } refusals[] = {
        {{"--every", "0"}, "The tab interval must be a number greater than 0."},
        {{"--every", "0.0001"}, "would create 89999 tabs; at most 10000"},
        {{"--every", "x"}, "--every: \"x\" is not a number"},
        {{"--every", "2", "--at", "3"}, "--at and --every cannot be given together"},
    };
    for (const auto& refusal : refusals) {
        std::vector<std::string> args{"tabs", file};
        args.insert(args.end(), refusal.args.begin(), refusal.args.end());
        const CliResult r = Run(args);
        EXPECT_NE(r.exitCode, 0) << refusal.message;
        EXPECT_NE(r.err.find(refusal.message), std::string::npos) << r.err;
    }
}

TEST_F(CliTabs, TabsAreSortedAndMayBeNegative)
{
    const std::string file = WriteValues("ramp.txt", kRamp);
    const JsonValue sorted = RunJson({"tabs", file, "--at", "6, 3", "--json"});
    ASSERT_EQ(sorted["tabs"].Size(), 2u);
    EXPECT_EQ(sorted["tabs"][0].Number(), 3);
    EXPECT_EQ(sorted["tabs"][1].Number(), 6);
    EXPECT_EQ(Intervals(sorted)[0].label, "3.000000");

    // A tab left of the series makes an empty first interval.
    const JsonValue negative = RunJson({"tabs", file, "--at=3,-5", "--json"});
    EXPECT_THAT(Intervals(negative), ::testing::ElementsAre(IsInterval("-5.000000", 0), IsInterval("3.000000", 3),
                                                            IsInterval("9.000000", 6)));
    // A negative value after a space is the option's value, not an option.
    const JsonValue alone = RunJson({"tabs", file, "--at", "-5", "--json"});
    EXPECT_THAT(Intervals(alone), ::testing::ElementsAre(IsInterval("-5.000000", 0), IsInterval("9.000000", 9)));
}

TEST_F(CliTabs, IntervalEstimateEqualsTheEstimateOfItsValuesAlone)
{
    const JsonValue tabs = RunJson({"tabs", WriteValues("ramp.txt", kRamp), "--at", "5", "--D", "1", "--M", "2",
                                    "--json"});
    const JsonValue alone = RunJson({"estimate", WriteValues("head.txt", {0, 1, 2, 3, 4}), "--D", "1", "--M", "2",
                                     "--json"});
    const JsonValue& first = tabs["intervals"][0];
    EXPECT_EQ(first["n"].Number(), 5);
    EXPECT_EQ(first["H"].Number(), alone["H"].Number());
    EXPECT_EQ(first["b"].Number(), alone["b"].Number());
    EXPECT_EQ(first["r"].Number(), alone["r"].Number());
}

TEST_F(CliTabs, NoTabsMeansNoIntervals)
{
    const std::string file = WriteValues("ramp.txt", kRamp);
    for (const auto& args : std::vector<std::vector<std::string>>{{"tabs", file}, {"tabs", file, "--at", ""}}) {
        const CliResult text = Run(args);
        EXPECT_EQ(text.exitCode, 0);
        EXPECT_NE(text.out.find("No intervals: no tab positions were given"), std::string::npos) << text.out;
    }
    const JsonValue j = RunJson({"tabs", file, "--at", " ", "--json"});
    EXPECT_EQ(j["tabs"].Size(), 0u);
    EXPECT_EQ(j["intervals"].Size(), 0u);

    const CliResult empty = Run({"tabs", WriteFile("empty.txt", ""), "--at", "3"});
    EXPECT_EQ(empty.exitCode, 0);
    EXPECT_NE(empty.out.find("No intervals: the series is empty"), std::string::npos) << empty.out;
}

TEST_F(CliTabs, MalformedTabListsAreRefused)
{
    const std::string file = WriteValues("ramp.txt", kRamp);
    for (const std::string list : {"3,,6", "3,", ",3", "3;6", "3.5", "x", "2147483648", "3 6"}) {
        const CliResult r = Run({"tabs", file, "--at", list});
        EXPECT_EQ(r.exitCode, 2) << list;
        EXPECT_EQ(r.out, "") << list;
        EXPECT_NE(r.err.find("--at"), std::string::npos) << list << ": " << r.err;
    }
    const CliResult missing = Run({"tabs", file, "--at"});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.err.find("--at needs a value"), std::string::npos) << missing.err;
}

// Tabs saved with a document: made by import --at or by the workbench (each
// interval with a D and M of its own), listed by info and used by tabs when
// no --at is given, with the numbers the document's own calculation gives.
TEST_F(CliTabs, SavedTabsAreListedAndUsed)
{
    std::vector<double> values;
    for (int i = 0; i < 40; ++i)
        values.push_back((i * 7) % 11);
    const std::string series = WriteValues("series.txt", values);
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    ASSERT_TRUE(doc.ImportTextFile(series, 0, 0, false));
    const std::vector<CTabInterval> params = {{2, 4}, {3, 2}, {5, 3}};
    doc.SetTabs({25.5, 12.25}, &params);
    ASSERT_TRUE(doc.OnSaveDocument(Path("workbench.kst")));

    const JsonValue info = RunJson({"info", Path("workbench.kst"), "--json"});
    ASSERT_EQ(info["tabs"].Size(), 2u);
    EXPECT_EQ(info["tabs"][0].Number(), 25.5); // the ruler's order
    EXPECT_EQ(info["tabs"][1].Number(), 12.25);
    const JsonValue tabs = RunJson({"tabs", Path("workbench.kst"), "--json"});
    for (const JsonValue* j : {&info, &tabs}) {
        const JsonValue& intervals = (*j)["intervals"];
        ASSERT_EQ(intervals.Size(), 3u);
        const double upper[] = {12, 25, 39};
        for (std::size_t i = 0; i < 3; ++i) {
            const CHDataSet& set = *doc.m_tabSets[i];
            EXPECT_EQ(intervals[i]["upper_bound"].Number(), upper[i]);
            EXPECT_EQ(intervals[i]["D"].Number(), set.GetD());
            EXPECT_EQ(intervals[i]["M"].Number(), set.GetM());
            EXPECT_EQ(intervals[i]["n"].Number(), set.GetCount());
            EXPECT_EQ(intervals[i]["H"].Number(), set.GetH());
            EXPECT_EQ(intervals[i]["b"].Number(), set.GetB());
            EXPECT_EQ(intervals[i]["r"].Number(), set.GetR());
        }
    }
    const CliResult text = Run({"info", Path("workbench.kst")});
    EXPECT_NE(text.out.find("Tabs\nvalue\n 25.5\n12.25\n\nIntervals\nupper bound  D  M   n"), std::string::npos)
        << text.out;

    // import --at saves the tabs that tabs --at computes on the text file.
    const CliResult imported = Run({"import", series, "--at", "25,12", "-o", Path("cli.kst")});
    EXPECT_EQ(imported.exitCode, 0) << imported.err;
    EXPECT_NE(imported.out.find("with 2 tabs"), std::string::npos) << imported.out;
    const JsonValue fromText = RunJson({"tabs", series, "--at", "25,12", "--json"});
    const JsonValue fromDoc = RunJson({"tabs", Path("cli.kst"), "--json"});
    ASSERT_EQ(fromDoc["intervals"].Size(), 3u);
    for (std::size_t i = 0; i < 3; ++i)
        for (const char* field : {"upper_bound", "D", "M", "n", "H", "b", "r"})
            EXPECT_EQ(fromDoc["intervals"][i][field].Number(), fromText["intervals"][i][field].Number()) << field;
    // --at on a document takes the place of its saved tabs.
    EXPECT_EQ(RunJson({"tabs", Path("cli.kst"), "--at", "5", "--json"})["intervals"].Size(), 2u);
}

} // namespace

} // namespace cli_tabs_test
