// Noise or motion, decided by DFA-1 before a series is estimated.
#include <gtest/gtest.h>

#include <vector>

#include "analysis/Bootstrap.h"
#include "analysis/FbmSimulation.h"
#include "core/Format.h"
#include "analysis/SeriesKind.h"
#include "analysis/SeriesProfile.h"

namespace series_kind_test {

namespace {

std::vector<double> Fgn(int n, double h, std::uint64_t seed)
{
    std::vector<double> motion = SimulateFbm(n, h, seed);
    for (std::size_t i = motion.size(); i-- > 1;)
        motion[i] -= motion[i - 1];
    return motion;
}

CSeriesDecision Decide(const std::vector<double>& x, ESeriesInput input = ESeriesInput::Auto, bool isProfile = false)
{
    return DecideSeriesKind(x.data(), x.size(), input, isProfile);
}

} // namespace

// Exact fGn reads as a noise and exact fBm as a motion, a few seeds and
// lengths each; the model follows.
TEST(SeriesKind, ExactNoiseAndMotionAreToldApart)
{
    for (const int n : {1024, 4096}) {
        for (const std::uint64_t seed : {1u, 2u}) {
            for (const double h : {0.3, 0.5, 0.75}) {
                const CSeriesDecision noise = Decide(Fgn(n, h, seed));
                EXPECT_EQ(noise.measured, ESeriesKind::Noise) << n << " fGn " << h << " alpha " << noise.alpha;
                EXPECT_EQ(BootstrapModelFor(noise), EBootstrapModel::Noise);
                const CSeriesDecision motion = Decide(SimulateFbm(n, h, seed));
                EXPECT_EQ(motion.measured, ESeriesKind::Motion) << n << " fBm " << h << " alpha " << motion.alpha;
                EXPECT_EQ(BootstrapModelFor(motion), EBootstrapModel::Motion);
            }
        }
    }
}

// The grey zone, the user's choice, and a profile judged by its increments.
TEST(SeriesKind, GreyZoneChoiceAndProfile)
{
    EXPECT_EQ(SeriesKindOfAlpha(1.0 - kSeriesKindGrey - 1e-9), ESeriesKind::Noise);
    EXPECT_EQ(SeriesKindOfAlpha(1.0), ESeriesKind::Unclear);
    EXPECT_EQ(SeriesKindOfAlpha(1.0 + kSeriesKindGrey + 1e-9), ESeriesKind::Motion);

    const std::vector<double> noise = Fgn(1024, 0.5, 3);
    const CSeriesDecision asNoise = Decide(noise);
    EXPECT_EQ(SeriesKindLabel(asNoise), "noise, \xCE\xB1 " + FormatFixed(asNoise.alpha, 2));
    ASSERT_TRUE(SeriesKindWarning(asNoise, "x").has_value());
    EXPECT_NE(SeriesKindWarning(asNoise, "x")->find("is not its Hurst exponent"), std::string::npos);

    const CSeriesDecision given = Decide(noise, ESeriesInput::Motion);
    EXPECT_EQ(given.measured, ESeriesKind::Noise);
    EXPECT_EQ(given.estimatedAs, ESeriesKind::Motion);
    EXPECT_EQ(BootstrapModelFor(given), EBootstrapModel::Motion);
    EXPECT_FALSE(SeriesKindWarning(given, "x").has_value());
    EXPECT_NE(SeriesKindLabel(given).find("motion (as given)"), std::string::npos);

    // The profile of a noise: a profile of a noise, simulated as such, no
    // warning; the profile of a motion is warned about.
    std::vector<double> profile = noise;
    ProfileInPlace(profile.data(), profile.size());
    const CSeriesDecision ofNoise = Decide(profile, ESeriesInput::Auto, true);
    EXPECT_EQ(ofNoise.measured, ESeriesKind::Noise);
    EXPECT_EQ(BootstrapModelFor(ofNoise), EBootstrapModel::ProfileOfNoise);
    EXPECT_FALSE(SeriesKindWarning(ofNoise, "x").has_value());
    EXPECT_EQ(SeriesKindLabel(ofNoise).rfind("profile of a noise, \xCE\xB1 ", 0), 0u);
    std::vector<double> ofMotion = SimulateFbm(1024, 0.5, 4);
    ProfileInPlace(ofMotion.data(), ofMotion.size());
    const auto warning = SeriesKindWarning(Decide(ofMotion, ESeriesInput::Auto, true), "x");
    ASSERT_TRUE(warning.has_value());
    EXPECT_NE(warning->find("the profile of a motion is not what to estimate"), std::string::npos);

    // Too short for DFA: unclear, estimated as a motion, said so.
    const CSeriesDecision tiny = Decide({1, 3, 2, 5, 4});
    EXPECT_EQ(tiny.measured, ESeriesKind::Unclear);
    EXPECT_EQ(tiny.estimatedAs, ESeriesKind::Motion);
    EXPECT_EQ(SeriesKindLabel(tiny), "unclear, \xCE\xB1 n/a (estimated as a motion)");
    ASSERT_TRUE(SeriesKindWarning(tiny, "--input noise|motion").has_value());
    EXPECT_NE(SeriesKindWarning(tiny, "--input noise|motion")->find("Choose (--input noise|motion)"),
              std::string::npos);
}

} // namespace series_kind_test
