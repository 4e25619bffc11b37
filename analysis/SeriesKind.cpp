#include "analysis/SeriesKind.h"

#include <cmath>
#include <vector>

#include "core/Format.h"
#include "analysis/SeriesProfile.h"

const char* SeriesKindWord(ESeriesKind kind)
{
    switch (kind) {
    case ESeriesKind::Noise: return "noise";
    case ESeriesKind::Motion: return "motion";
    case ESeriesKind::Unclear: break;
    }
    return "unclear";
}

const char* SeriesInputWord(ESeriesInput input)
{
    switch (input) {
    case ESeriesInput::Noise: return "noise";
    case ESeriesInput::Motion: return "motion";
    case ESeriesInput::Auto: break;
    }
    return "auto";
}

ESeriesKind SeriesKindOfAlpha(double alpha)
{
    if (alpha < 1.0 - kSeriesKindGrey)
        return ESeriesKind::Noise;
    if (alpha > 1.0 + kSeriesKindGrey)
        return ESeriesKind::Motion;
    return ESeriesKind::Unclear;
}

CSeriesDecision DecideSeriesKind(const double* values, std::size_t count, ESeriesInput input, bool isProfile)
{
    CSeriesDecision decision;
    decision.input = input;
    decision.isProfile = isProfile;
    if (isProfile) {
        const std::vector<double> increments = Increments(values, count);
        decision.alpha = Dfa1(increments.data(), increments.size()).alpha;
    } else {
        decision.alpha = Dfa1(values, count).alpha;
    }
    decision.measured = SeriesKindOfAlpha(decision.alpha);
    switch (input) {
    case ESeriesInput::Noise: decision.estimatedAs = ESeriesKind::Noise; break;
    case ESeriesInput::Motion: decision.estimatedAs = ESeriesKind::Motion; break;
    case ESeriesInput::Auto:
        // A profile is estimated as the motion it was made to be.
        if (isProfile || decision.measured == ESeriesKind::Unclear)
            decision.estimatedAs = ESeriesKind::Motion;
        else
            decision.estimatedAs = decision.measured;
        break;
    }
    return decision;
}

namespace {

std::string AlphaText(double alpha)
{
    return std::isfinite(alpha) ? FormatFixed(alpha, 2) : std::string("n/a");
}

} // namespace

std::string SeriesKindLabel(const CSeriesDecision& d)
{
    const std::string alpha = ", \xCE\xB1 " + AlphaText(d.alpha);
    if (d.input != ESeriesInput::Auto)
        return std::string(SeriesKindWord(d.estimatedAs)) + " (as given)" + alpha;
    if (d.isProfile)
        return std::string("profile of a ") + SeriesKindWord(d.measured) + alpha;
    if (d.measured == ESeriesKind::Unclear)
        return "unclear" + alpha + " (estimated as a motion)";
    return SeriesKindWord(d.measured) + alpha;
}

std::optional<std::string> SeriesKindWarning(const CSeriesDecision& d, const std::string& chooseHint)
{
    const std::string alpha = "\xCE\xB1 " + AlphaText(d.alpha);
    if (d.isProfile) {
        if (d.input == ESeriesInput::Auto && d.measured == ESeriesKind::Motion)
            return "This series is a profile, and the series it was made from reads as a motion (" + alpha +
                   "): the profile of a motion is not what to estimate. Estimate the series the profile was "
                   "made from instead.";
        return std::nullopt;
    }
    if (d.estimatedAs == ESeriesKind::Noise)
        return "The series reads as a noise (" + alpha +
               "): the curve-length H of a noise is not its Hurst exponent. Estimate its profile instead "
               "(File > Profile; kestrin-cli profile).";
    if (d.input == ESeriesInput::Auto && d.measured == ESeriesKind::Unclear) {
        const std::string zone =
            FormatFixed(1.0 - kSeriesKindGrey, 2) + " to " + FormatFixed(1.0 + kSeriesKindGrey, 2);
        const std::string why = std::isfinite(d.alpha) ? alpha + ", within " + zone : "too few values for DFA";
        return "Noise or motion cannot be told from the data (" + why +
               "): the series is estimated as a motion. Choose (" + chooseHint +
               "): a noise wanders around a fixed level (then estimate its profile), a motion wanders "
               "freely.";
    }
    return std::nullopt;
}
