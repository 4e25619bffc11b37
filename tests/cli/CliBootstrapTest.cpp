// kestrin-cli estimate and tabs with --bootstrap, and profile: what the
// tool prints against the analysis library's own results.
#include <fstream>

#include "Bootstrap.h"
#include "BootstrapLimits.h"
#include "CliRunner.h"
#include "FbmSimulation.h"
#include "HDataSet.h"

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
    CHDataSet set(4, 3);
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

TEST_F(CliBootstrap, UnreachableEstimateIsNullAndSaidSo)
{
    std::vector<double> ramp;
    for (int i = 0; i < 100; ++i)
        ramp.push_back(i * i * 0.01); // smooth: H above 1
    const std::string file = WriteValues("ramp.txt", ramp);
    const JsonValue j = RunJson({"estimate", file, "--bootstrap", "--replicates", "4", "--json"});
    EXPECT_TRUE(j["bootstrap"]["H_corrected"].IsNull());
    const CliResult text = Run({"estimate", file, "--bootstrap", "--replicates", "4"});
    EXPECT_NE(text.out.find("cannot be reached by any H in (0, 1)"), std::string::npos) << text.out;

    // Too few values for a bootstrap: said so, exit 1.
    const CliResult tooFew = Run({"estimate", WriteValues("three.txt", {1, 2, 3}), "--bootstrap"});
    EXPECT_EQ(tooFew.exitCode, 1);
    EXPECT_NE(tooFew.err.find("A bootstrap takes from 4 to"), std::string::npos) << tooFew.err;

    for (const auto& args : std::vector<std::vector<std::string>>{
             {"estimate", file, "--seed", "3"}, {"estimate", file, "--bootstrap", "--replicates", "0"}})
        EXPECT_EQ(Run(args).exitCode, 2);
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

} // namespace

} // namespace cli_bootstrap_test
