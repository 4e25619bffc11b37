// kestrin-cli estimate and tabs with --bootstrap, and profile: what the
// tool prints against the analysis library's own results.
#include <cctype>
#include <fstream>
#include <sstream>

#include "analysis/Bootstrap.h"
#include "analysis/BootstrapLimits.h"
#include "tests/support/CliRunner.h"
#include "analysis/FbmSimulation.h"
#include "core/HDataSet.h"

namespace cli_bootstrap_test {

namespace {

using CliBootstrap = CliTest;

void ExpectSame(const JsonValue& j, const CBootstrapResult& expected)
{
    EXPECT_EQ(j["replicates"].Number(), expected.replicates);
    EXPECT_EQ(j["seed"].Number(), static_cast<double>(expected.seed));
    EXPECT_EQ(j["level"].Number(), 0.95);
    EXPECT_EQ(j["H_corrected"].Number(), *expected.corrected);
    // Too few replicates for a 95 % interval: none is given.
    if (expected.replicates < MinIntervalReplicates(0.95)) {
        EXPECT_TRUE(j["low"].IsNull());
        EXPECT_TRUE(j["high"].IsNull());
        return;
    }
    EXPECT_EQ(j["low"].Number(), *expected.low);
    EXPECT_EQ(j["high"].Number(), *expected.high);
}

CBootstrapResult Expected(const std::vector<double>& values, int replicates, std::uint64_t seed)
{
    CHDataSet set({.nD = 4, .nM = 3});
    set.m_bAutoCompute = 0;
    set.Values().Storage() = values;
    set.Compute();
    CBootstrapRequest request = BootstrapRequestFor(set);
    request.replicates = replicates;
    request.seed = seed;
    return RunBootstrap(request);
}

TEST_F(CliBootstrap, EstimateAndTabsReportTheLibrarysNumbers)
{
    const std::vector<double> walk = SimulateFbm(600, 0.6, 5);
    const std::string file = WriteValues("fbm.txt", walk);
    const JsonValue j = RunJson({"estimate", file, "--bootstrap", "--replicates", "8", "--seed", "11", "--json"});
    ExpectSame(j["bootstrap"], Expected(walk, 8, 11));

    const CliResult text = Run({"estimate", file, "--bootstrap", "--replicates", "8", "--seed", "11"});
    EXPECT_NE(text.out.find("\nbootstrap   H corrected "), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("(8 replicates, seed 11)\n"), std::string::npos) << text.out;
    EXPECT_EQ(Run({"estimate", file}).out.find("bootstrap"), std::string::npos);

    const JsonValue tabs = RunJson({"tabs", file, "--at", "300", "--bootstrap", "--replicates", "6", "--json"});
    ASSERT_EQ(tabs["intervals"].Size(), 2u);
    const std::vector<double> first(walk.begin(), walk.begin() + 300);
    ExpectSame(tabs["intervals"][0]["bootstrap"], Expected(first, 6, kDefaultBootstrapSeed));
}

// The grid lets a reviewer redo the interval: each end lies between two h's
// tried close together whose quantile falls either side of the observed H.
TEST_F(CliBootstrap, JsonGridBracketsTheCorrectedHAndTheInterval)
{
    const std::vector<double> walk = SimulateFbm(600, 0.6, 5);
    const JsonValue j = RunJson({"estimate", WriteValues("fbm.txt", walk), "--bootstrap", "--replicates", "40",
                                 "--json"});
    const JsonValue& b = j["bootstrap"];
    ASSERT_EQ(b["grid_quantiles"].Size(), 3u);
    EXPECT_EQ(b["grid_quantiles"][1].Number(), 0.5);
    const std::vector<JsonValue> grid = b["grid"].Items();
    ASSERT_GT(grid.size(), 2u);
    EXPECT_EQ(grid.front()["h"].Number(), kBootstrapLowestH);
    EXPECT_EQ(grid.back()["h"].Number(), kBootstrapHighestH);
    const double observed = j["H"].Number();
    // Quantile 2 (the upper one) gives the low end, 1 the corrected H, 0 the high end.
    const struct
    {
        const char* key;
        std::size_t quantile;
    } ends[] = {{"low", 2}, {"H_corrected", 1}, {"high", 0}};
    for (const auto& end : ends) {
        SCOPED_TRACE(end.key);
        const double h = b[end.key].Number();
        bool bracketed = false;
        for (const JsonValue& below : grid)
            for (const JsonValue& above : grid)
                bracketed = bracketed || (below["h"].Number() <= h && h <= above["h"].Number() &&
                                          above["h"].Number() - below["h"].Number() < 1e-3 &&
                                          below["quantiles"][end.quantile].Number() < observed &&
                                          above["quantiles"][end.quantile].Number() >= observed);
        EXPECT_TRUE(bracketed) << h;
    }
}

// Neighbouring intervals whose 95 % intervals share no point are marked, in
// the text and in the JSON; others are not.
TEST_F(CliBootstrap, TabsMarkNeighboursWhoseIntervalsDoNotOverlap)
{
    std::vector<double> rough = SimulateFbm(300, 0.2, 3);
    const std::vector<double> smooth = SimulateFbm(300, 0.9, 4);
    std::vector<double> joined = rough;
    joined.insert(joined.end(), smooth.begin(), smooth.end());
    const struct
    {
        const char* name;
        std::vector<double> values;
        std::string replicates;
        bool differs;
        bool known; // both intervals give a 95 % interval
    } cases[] = {
        {"H 0.2 then 0.9", joined, "40", true, true},
        {"one fBm", SimulateFbm(600, 0.5, 6), "40", false, true},
        {"too few replicates for an interval", joined, "8", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = WriteValues("s.txt", c.values);
        const std::vector<std::string> args{"tabs", file, "--at", "300", "--bootstrap", "--replicates", c.replicates};
        const CliResult text = Run(args);
        EXPECT_EQ(text.out.find("\ndiffers 599.000000 from 300.000000: the 95 % intervals do not overlap\n") !=
                      std::string::npos,
                  c.differs)
            << text.out;
        std::vector<std::string> json = args;
        json.push_back("--json");
        const JsonValue j = RunJson(json);
        EXPECT_FALSE(j["intervals"][0].Has("differs_from_previous"));
        const JsonValue differs = j["intervals"][1]["differs_from_previous"];
        EXPECT_EQ(differs.IsNull(), !c.known);
        if (c.known) {
            EXPECT_EQ(differs.Dump(), c.differs ? "true" : "false");
        }
    }
}

TEST_F(CliBootstrap, UnreachableEstimateIsNullAndSaidSo)
{
    std::vector<double> ramp;
    for (int i = 0; i < 100; ++i)
        ramp.push_back(i * i * 0.01); // smooth: H above 1
    const std::string file = WriteValues("ramp.txt", ramp);
    const JsonValue j = RunJson({"estimate", file, "--bootstrap", "--replicates", "4", "--json"});
    EXPECT_TRUE(j["bootstrap"]["H_corrected"].IsNull());
    const CliResult text = Run({"estimate", file, "--bootstrap", "--replicates", "4"});
    EXPECT_NE(text.out.find("cannot be reached by any H in [0.008, 0.992]"), std::string::npos) << text.out;

    // Too few values for a bootstrap: said so, exit 1.
    const CliResult tooFew = Run({"estimate", WriteValues("three.txt", {1, 2, 3}), "--bootstrap"});
    EXPECT_EQ(tooFew.exitCode, 1);
    EXPECT_NE(tooFew.err.find("A bootstrap takes from 4 to"), std::string::npos) << tooFew.err;

    for (const auto& args : std::vector<std::vector<std::string>>{
             {"estimate", file, "--seed", "3"}, {"estimate", file, "--bootstrap", "--replicates", "0"}})
        EXPECT_EQ(Run(args).exitCode, 2);
}

// The series is decided noise or motion first: the raw Nile minima read as
// a noise (said so, simulated as fGn), a motion as fBm, and --input
// overrides. Values carry at most three decimals, the model check its
// numbers.
TEST_F(CliBootstrap, NoiseOrMotionModelAndCheckAreReported)
{
    const std::string nile = KESTRIN_SAMPLES_DIR "/nile-minima.txt";
    const CliResult text = Run({"estimate", nile, "--bootstrap", "--replicates", "20"});
    ASSERT_EQ(text.exitCode, 0) << text.err;
    EXPECT_NE(text.err.find("The series reads as a noise (\xCE\xB1 0.89): the curve-length H of a noise is not its "
                            "Hurst exponent. Estimate its profile instead (File > Profile; kestrin-cli profile)."),
              std::string::npos)
        << text.err;
    EXPECT_NE(text.out.find("\nmodel       fractional Gaussian noise (the series: noise, \xCE\xB1 0.89)\n"),
              std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("\ncheck       "), std::string::npos);
    EXPECT_NE(text.out.find("\nprecision   Monte-Carlo error \xC2\xB1"), std::string::npos);
    // "H corrected 0.86, 95 % interval 0.765 to 0.95": no value with more
    // than three decimals.
    const std::size_t line = text.out.find("bootstrap   H corrected ");
    const std::string bootstrap = text.out.substr(line, text.out.find(" (20 replicates") - line);
    for (std::size_t dot = bootstrap.find('.'); dot != std::string::npos; dot = bootstrap.find('.', dot + 1)) {
        std::size_t digits = 0;
        while (dot + 1 + digits < bootstrap.size() && std::isdigit(bootstrap[dot + 1 + digits]))
            ++digits;
        EXPECT_LE(digits, 3u) << bootstrap;
    }

    const std::string file = WriteValues("fbm.txt", SimulateFbm(1024, 0.5, 2));
    const JsonValue j = RunJson({"estimate", file, "--bootstrap", "--replicates", "40", "--json"});
    const JsonValue b = j["bootstrap"];
    EXPECT_EQ(b["model"].String(), "fractional Brownian motion");
    EXPECT_EQ(b["input"].String(), "auto");
    EXPECT_EQ(b["series_kind"].String(), "motion");
    EXPECT_GT(b["alpha"].Number(), 1.1);
    EXPECT_EQ(b["H_corrected_bound"].String(), "value");
    EXPECT_GT(b["mc_error"]["H_corrected"].Number(), 0.0);
    const JsonValue check = b["model_check"];
    ASSERT_EQ(check["settings"].Size(), 3u);
    EXPECT_EQ(check["settings"][2]["M"].Number(), 32.0);
    EXPECT_EQ(check["passed"].Dump(), check["statistic"].Number() <= check["threshold"].Number() ? "true" : "false");
    EXPECT_EQ(j["warnings"].Size(), 0u);

    const JsonValue given = RunJson({"estimate", file, "--bootstrap", "--replicates", "4", "--input", "noise", "--json"});
    EXPECT_EQ(given["bootstrap"]["model"].String(), "fractional Gaussian noise");
    EXPECT_EQ(given["bootstrap"]["input"].String(), "noise");
    const JsonValue tabs =
        RunJson({"tabs", file, "--at", "500", "--bootstrap", "--replicates", "4", "--input", "motion", "--json"});
    EXPECT_EQ(tabs["intervals"][1]["bootstrap"]["series_label"].String().rfind("motion (as given)", 0), 0u);

    for (const auto& args : std::vector<std::vector<std::string>>{{"estimate", file, "--input", "noise"},
                                                                   {"estimate", file, "--bootstrap", "--input", "both"},
                                                                   {"tabs", file, "--at", "5", "--input", "auto"}})
        EXPECT_EQ(Run(args).exitCode, 2) << args.back();
}

// The profile of the Nile minima is the bundled profile sample.
TEST_F(CliBootstrap, ProfileOfTheNileMinimaIsTheBundledProfile)
{
    const CliResult r = Run({"profile", KESTRIN_SAMPLES_DIR "/nile-minima.txt", "-o", "p.kst"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const JsonValue doc = RunJson({"info", Path("p.kst"), "--points", "--json"});
    std::ifstream sample(KESTRIN_SAMPLES_DIR "/nile-minima-profile.txt");
    std::size_t i = 0;
    for (double y; sample >> y; ++i) {
        ASSERT_LT(i, doc["points"].Size());
        EXPECT_NEAR(doc["points"][i]["Y"].Number(), y, 1e-9 * (1.0 + std::abs(y))) << i;
        EXPECT_EQ(doc["points"][i]["X"].Number(), static_cast<double>(i));
    }
    EXPECT_EQ(i, 663u);
    EXPECT_NE(Run({"--help"}).out.find("\"Kestrin Help\""), std::string::npos);
}

// A document made by Profile is bootstrapped as the profile of fGn, by
// estimate, tabs and a batch alike; a batch row's numbers are a single run's.
TEST_F(CliBootstrap, DocumentMadeByProfileIsBootstrappedAsAProfile)
{
    const std::string nile = KESTRIN_SAMPLES_DIR "/nile-minima.txt";
    ASSERT_EQ(Run({"profile", nile, "-o", "p.kst"}).exitCode, 0);
    const std::string doc = Path("p.kst");
    const std::vector<std::string> boot{"--bootstrap", "--replicates", "40"};
    const auto single = [&](const std::string& file, std::vector<std::string> more) {
        std::vector<std::string> args{"estimate", file, "--json"};
        args.insert(args.end(), boot.begin(), boot.end());
        args.insert(args.end(), more.begin(), more.end());
        return RunJson(args);
    };
    const JsonValue profile = single(doc, {});
    EXPECT_EQ(profile["n"].Number(), 663.0);
    EXPECT_EQ(profile["bootstrap"]["model"].String(), "profile of fractional Gaussian noise");
    EXPECT_EQ(profile["bootstrap"]["series_label"].String(), "profile of a noise, \xCE\xB1 0.89");
    EXPECT_EQ(single(doc, {"--input", "motion"})["bootstrap"]["model"].String(), "fractional Brownian motion");
    // The same values from a text file are not known to be a profile.
    EXPECT_EQ(single(KESTRIN_SAMPLES_DIR "/nile-minima-profile.txt", {})["bootstrap"]["model"].String(),
              "fractional Brownian motion");
    const JsonValue tabs = RunJson({"tabs", doc, "--at", "300", "--bootstrap", "--replicates", "4", "--json"});
    EXPECT_EQ(tabs["intervals"][0]["bootstrap"]["model"].String(), "profile of fractional Gaussian noise");

    for (const std::vector<std::string>& more : {std::vector<std::string>{}, {"--input", "motion"}}) {
        std::vector<std::string> args{"estimate", nile, doc, "--format", "jsonl"};
        args.insert(args.end(), boot.begin(), boot.end());
        args.insert(args.end(), more.begin(), more.end());
        const CliResult batch = Run(args);
        ASSERT_EQ(batch.exitCode, 0) << batch.err;
        std::istringstream rows(batch.out);
        for (const std::string& file : {nile, doc}) {
            std::string row;
            ASSERT_TRUE(std::getline(rows, row)) << batch.out;
            const JsonValue cells = JsonValue::Parse(row);
            const JsonValue one = single(file, more)["bootstrap"];
            for (const char* name : {"H_corrected", "low", "high"})
                EXPECT_EQ(cells[name].Number(), one[name].Number()) << file << " " << name;
        }
    }
}

} // namespace

} // namespace cli_bootstrap_test
