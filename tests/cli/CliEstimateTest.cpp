// kestrin-cli estimate: the global estimate of a text file, in both output
// forms, against values worked out independently.
#include <cmath>
#include <regex>

#include "tests/support/CliRunner.h"
#include "platform/HeadlessUi.h"
#include "document/KestrinDoc.h"

namespace cli_estimate_test {

namespace {

using CliEstimate = CliTest;

const std::vector<double> kRamp{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
const std::vector<double> kZigzag{1, 3, 2, 5, 4, 6, 5, 8, 7, 9};
const std::vector<double> kAlternating{0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1};

TEST_F(CliEstimate, RampWithD1M2GivesExactGoldenNumbers)
{
    const JsonValue j = RunJson({"estimate", WriteValues("ramp.txt", kRamp), "--D", "1", "--M", "2", "--json"});
    EXPECT_EQ(j["n"].Number(), 10);
    EXPECT_EQ(j["D"].Number(), 1);
    EXPECT_EQ(j["M"].Number(), 2);
    EXPECT_EQ(j["H"].Number(), 0.8300749985576876);
    EXPECT_EQ(j["b"].Number(), -1.1699250014423124);
    EXPECT_NEAR(j["r"].Number(), -1.0, 1e-14);
    ASSERT_EQ(j["lags"].Size(), 2u);
    EXPECT_EQ(j["lags"][0]["r"].Number(), 1);
    EXPECT_EQ(j["lags"][0]["L"].Number(), 9);
    EXPECT_EQ(j["lags"][0]["log10_r"].Number(), 0);
    EXPECT_EQ(j["lags"][0]["log10_L_over_r"].Number(), std::log10(9.0));
    EXPECT_EQ(j["lags"][1]["L"].Number(), 8);
    EXPECT_EQ(j["lags"][1]["log10_r"].Number(), std::log10(2.0));
    EXPECT_EQ(j["lags"][1]["log10_L_over_r"].Number(), std::log10(4.0));
}

TEST_F(CliEstimate, ZigzagAndAlternatingSeriesGiveExactGoldenNumbers)
{
    const JsonValue zigzag =
        RunJson({"estimate", WriteValues("zigzag.txt", kZigzag), "--D", "2", "--M", "3", "--json"});
    EXPECT_EQ(zigzag["H"].Number(), 0.06898713444565008);
    EXPECT_EQ(zigzag["r"].Number(), -0.990237242199398);
    ASSERT_EQ(zigzag["lags"].Size(), 3u);
    EXPECT_NEAR(zigzag["lags"][0]["L"].Number(), 21.593383, 5e-7);
    EXPECT_NEAR(zigzag["lags"][1]["L"].Number(), 8.944272, 5e-7);
    EXPECT_NEAR(zigzag["lags"][2]["L"].Number(), 8.123106, 5e-7);

    const JsonValue alternating =
        RunJson({"estimate", WriteValues("alternating.txt", kAlternating), "--D", "1", "--M", "3", "--json"});
    EXPECT_EQ(alternating["n"].Number(), 12);
    EXPECT_EQ(alternating["H"].Number(), -0.32014388502043456);
    EXPECT_EQ(alternating["r"].Number(), -0.9310375777196573);
}

TEST_F(CliEstimate, TextOutputHasSixDecimalsAndAlignedTable)
{
    const CliResult r = Run({"estimate", WriteValues("ramp.txt", kRamp), "--D", "1", "--M", "2"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "kestrin-cli: estimate: warning: Estimates from fewer than 128 values vary by 0.1 or more; use the bootstrap to see how far.\n");
    EXPECT_EQ(r.out,
              "n           10\n"
              "D           1\n"
              "M           2\n"
              "H           0.830075\n"
              "b           -1.169925\n"
              "r           -1.000000\n"
              "\n"
              "r      L(r)   log10 r  log10(L(r)/r)\n"
              "1  9.000000  0.000000       0.954243\n"
              "2  8.000000  0.301030       0.602060\n");

    const CliResult zigzag = Run({"estimate", WriteValues("zigzag.txt", kZigzag), "--D", "2", "--M", "3"});
    EXPECT_NE(zigzag.out.find("1  21.593383  0.000000"), std::string::npos) << zigzag.out;
    EXPECT_NE(zigzag.out.find("2   8.944272  0.301030"), std::string::npos) << zigzag.out;
    EXPECT_NE(zigzag.out.find("3   8.123106  0.477121"), std::string::npos) << zigzag.out;
}

TEST_F(CliEstimate, ParametersDefaultToTheImportsAndChangeOneAtATime)
{
    const std::string file = WriteValues("zigzag.txt", kZigzag);
    const JsonValue plain = RunJson({"estimate", file, "--json"});
    EXPECT_EQ(plain["D"].Number(), 4);
    EXPECT_EQ(plain["M"].Number(), 3);
    EXPECT_EQ(plain["lags"].Size(), 3u);

    const JsonValue onlyM = RunJson({"estimate", file, "--M", "5", "--json"});
    EXPECT_EQ(onlyM["D"].Number(), 4);
    EXPECT_EQ(onlyM["M"].Number(), 5);
    EXPECT_EQ(onlyM["lags"].Size(), 5u);

    // Options may come before the file, in the --name=value form, and a
    // repeated option keeps its last value.
    const JsonValue onlyD = RunJson({"estimate", "--D=2", "--D", "1", "--json", file});
    EXPECT_EQ(onlyD["D"].Number(), 1);
    EXPECT_EQ(onlyD["M"].Number(), 3);
}

TEST_F(CliEstimate, MatchesTheDocumentOnTheBundledSample)
{
    const std::string sample = KESTRIN_SAMPLES_DIR "/nile-minima-profile.txt";
    const JsonValue j = RunJson({"estimate", sample, "--D", "2", "--M", "5", "--json"});

    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    ASSERT_TRUE(doc.ImportTextFile(sample, 0, 0, false));
    doc.SetHParameters({.nD = 2, .nM = 5});
    EXPECT_EQ(j["n"].Number(), 663);
    EXPECT_EQ(j["H"].Number(), doc.m_globalSet.GetH());
    EXPECT_EQ(j["b"].Number(), doc.m_globalSet.GetB());
    EXPECT_EQ(j["r"].Number(), doc.m_globalSet.GetR());
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(j["lags"][static_cast<std::size_t>(i)]["L"].Number(), doc.m_globalSet.GetL(i)) << "r = " << i + 1;
}

TEST_F(CliEstimate, FilterKeepsValuesStrictlyBetweenItsBounds)
{
    // 0..9 between 2 and 7: 3, 4, 5, 6, a ramp whose lags are 3 and 2.
    const JsonValue j =
        RunJson({"estimate", WriteValues("ramp.txt", kRamp), "--filter", "2", "7", "--D", "1", "--M", "2", "--json"});
    EXPECT_EQ(j["n"].Number(), 4);
    EXPECT_EQ(j["lags"][0]["L"].Number(), 3);
    EXPECT_EQ(j["lags"][1]["L"].Number(), 2);
}

TEST_F(CliEstimate, WindowsLineEndsAndAMissingLastLineEndReadAlike)
{
    const JsonValue lf = RunJson({"estimate", WriteFile("lf.txt", "1\n3\n2\n5\n4\n6\n5\n8\n7\n9\n"), "--json"});
    const JsonValue crlf =
        RunJson({"estimate", WriteFile("crlf.txt", "1\r\n3\r\n2\r\n5\r\n4\r\n6\r\n5\r\n8\r\n7\r\n9"), "--json"});
    EXPECT_EQ(crlf["n"].Number(), 10);
    EXPECT_EQ(crlf["H"].Number(), lf["H"].Number());
    EXPECT_EQ(crlf["r"].Number(), lf["r"].Number());
}

TEST_F(CliEstimate, NonFiniteNumbersBecomeNullInJsonAndStayReadableInText)
{
    // 1e999 overflows to infinity: L(1) is infinite.
    const std::string file = WriteFile("overflow.txt", "0\n1e999\n0\n1\n");
    const JsonValue j = RunJson({"estimate", file, "--D", "1", "--M", "2", "--json"});
    EXPECT_TRUE(j["lags"][0]["L"].IsNull());
    EXPECT_EQ(j["lags"][1]["L"].Number(), 0);

    const CliResult text = Run({"estimate", file, "--D", "1", "--M", "2"});
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_NE(text.out.find("1       inf"), std::string::npos) << text.out;
}

TEST_F(CliEstimate, SeriesTooShortForTheLagsStillAnswersButWarns)
{
    const CliResult empty = Run({"estimate", WriteFile("empty.txt", ""), "--json"});
    EXPECT_EQ(empty.exitCode, 0);
    EXPECT_EQ(JsonValue::Parse(empty.out)["n"].Number(), 0);
    EXPECT_NE(empty.err.find("no values were imported"), std::string::npos) << empty.err;

    const CliResult filtered = Run({"estimate", WriteValues("ramp.txt", kRamp), "--filter", "100", "200"});
    EXPECT_EQ(filtered.exitCode, 0);
    EXPECT_NE(filtered.err.find("none passed the filter"), std::string::npos) << filtered.err;

    // Ten values with D 4 leave six for the lags: L(7) has no segment.
    const CliResult shortSeries = Run({"estimate", WriteValues("ramp.txt", kRamp), "--M", "7"});
    EXPECT_EQ(shortSeries.exitCode, 0);
    EXPECT_NE(shortSeries.err.find("L(r) is 0 for every r > 6"), std::string::npos) << shortSeries.err;

    const CliResult enough = Run({"estimate", WriteValues("ramp.txt", kRamp), "--M", "6"});
    EXPECT_EQ(enough.err, "kestrin-cli: estimate: warning: Estimates from fewer than 128 values vary by 0.1 or more; use the bootstrap to see how far.\n");
}

// The fit's details in the JSON output against a plain two-pass least-squares
// fit of the points it lists: slope from centred sums, intercept from the
// means, the slope's standard error from the residuals.
void ExpectFitDetails(const JsonValue& e)
{
    const std::size_t m = e["fit"]["log_r"].Size();
    ASSERT_EQ(e["fit"]["log_L_over_r"].Size(), m);
    EXPECT_EQ(e["r_min"].Number(), 1);
    std::vector<double> x, y;
    double mx = 0, my = 0;
    for (std::size_t i = 0; i < m; ++i) {
        x.push_back(e["fit"]["log_r"][i].Number());
        y.push_back(e["fit"]["log_L_over_r"][i].Number());
        EXPECT_EQ(x.back(), std::log10(static_cast<double>(i + 1)));
        mx += x[i] / m;
        my += y[i] / m;
    }
    double sxx = 0, sxy = 0;
    for (std::size_t i = 0; i < m; ++i) {
        sxx += (x[i] - mx) * (x[i] - mx);
        sxy += (x[i] - mx) * (y[i] - my);
    }
    const double slope = sxy / sxx;
    EXPECT_NEAR(e["intercept"].Number(), my - slope * mx, 1e-12);
    if (m < 3) {
        EXPECT_TRUE(e["slope_se"].IsNull());
        return;
    }
    double ssr = 0;
    for (std::size_t i = 0; i < m; ++i) {
        const double residual = y[i] - (my - slope * mx) - slope * x[i];
        ssr += residual * residual;
    }
    EXPECT_NEAR(e["slope_se"].Number(), std::sqrt(ssr / (m - 2.0) / sxx), 1e-12);
}

TEST_F(CliEstimate, JsonGivesTheFitsInterceptStandardErrorPointsAndVersion)
{
    std::vector<double> wave;
    for (int i = 0; i < 300; ++i)
        wave.push_back(std::sin(0.37 * i) + 0.01 * ((i * 7919) % 13));
    const struct
    {
        std::vector<double> values;
        const char* m;
    } cases[] = {{kRamp, "2"}, {kZigzag, "3"}, {kAlternating, "5"}, {wave, "12"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.m);
        const JsonValue j = RunJson({"estimate", WriteValues("s.txt", c.values), "--M", c.m, "--json"});
        EXPECT_TRUE(std::regex_match(j["version"].String(), std::regex("[0-9]+\\.[0-9]+\\.[0-9]+")));
        ExpectFitDetails(j);
        for (std::size_t i = 0; i < j["lags"].Size(); ++i)
            EXPECT_EQ(j["fit"]["log_L_over_r"][i].Number(), j["lags"][i]["log10_L_over_r"].Number());
    }
    const JsonValue tabs = RunJson({"tabs", WriteValues("w.txt", wave), "--at", "150", "--M", "6", "--json"});
    EXPECT_FALSE(tabs["version"].String().empty());
    ASSERT_EQ(tabs["intervals"].Size(), 2u);
    for (const JsonValue& interval : tabs["intervals"].Items()) {
        EXPECT_EQ(interval["fit"]["log_r"].Size(), 6u);
        ExpectFitDetails(interval);
    }
}

} // namespace

} // namespace cli_estimate_test
