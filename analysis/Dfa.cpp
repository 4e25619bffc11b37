#include "analysis/Dfa.h"

#include <cmath>
#include <limits>

#include "analysis/SeriesProfile.h"
#include "core/simd/SimdKernels.h"

bool CDfaResult::Valid() const
{
    return std::isfinite(alpha) && scales.size() >= 2;
}

std::vector<int> DfaScales(std::size_t count, int minScale)
{
    std::vector<int> scales;
    const int least = minScale < 3 ? 3 : minScale;
    const std::size_t top = count / 4;
    for (int k = 0;; ++k) {
        const double s = least * std::exp2(static_cast<double>(k) / kDfaScalesPerOctave);
        const auto rounded = static_cast<std::size_t>(std::llround(s));
        if (rounded > top)
            break;
        if (scales.empty() || static_cast<std::size_t>(scales.back()) != rounded)
            scales.push_back(static_cast<int>(rounded));
    }
    return scales;
}

double DfaFluctuation(const double* profile, std::size_t count, int s)
{
    if (s < 3 || static_cast<std::size_t>(s) > count)
        return std::numeric_limits<double>::quiet_NaN();
    const std::size_t windows = count / static_cast<std::size_t>(s);
    const std::size_t offset = count - windows * static_cast<std::size_t>(s);
    // Every kernel set gives the same bits.
    const auto residualSquares = SimdKernels().residualSquares;
    double fromStart = 0.0;
    for (std::size_t w = 0; w < windows; ++w)
        fromStart += residualSquares(profile + w * s, s);
    // When s divides count the windows from the end are those from the start.
    double fromEnd = fromStart;
    if (offset != 0) {
        fromEnd = 0.0;
        for (std::size_t w = 0; w < windows; ++w)
            fromEnd += residualSquares(profile + offset + w * s, s);
    }
    const double meanSquare = (fromStart + fromEnd) / (2.0 * static_cast<double>(windows) * s);
    return std::sqrt(meanSquare);
}

CDfaResult Dfa1(const double* series, std::size_t count, int minScale)
{
    CDfaResult result;
    std::vector<double> profile(series, series + count);
    ProfileInPlace(profile.data(), profile.size());
    double sx = 0.0, sy = 0.0, sxx = 0.0, sxy = 0.0;
    for (const int s : DfaScales(count, minScale)) {
        const double f = DfaFluctuation(profile.data(), count, s);
        if (!(f > 0.0) || !std::isfinite(f))
            continue;
        result.scales.push_back(s);
        result.fluctuations.push_back(f);
        const double x = std::log10(static_cast<double>(s));
        const double y = std::log10(f);
        sx += x;
        sy += y;
        sxx += x * x;
        sxy += x * y;
    }
    const double k = static_cast<double>(result.scales.size());
    const double denominator = k * sxx - sx * sx;
    result.alpha = (k >= 2 && denominator > 0.0) ? (k * sxy - sx * sy) / denominator
                                                 : std::numeric_limits<double>::quiet_NaN();
    return result;
}
