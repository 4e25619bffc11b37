#include "analysis/Dfa.h"

#include <cmath>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "analysis/SeriesProfile.h"

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

namespace {

// The residual sum of squares of one window of s values about its own
// least-squares line. Two passes: the line (positions centred, values taken
// from the window's first so that a far-off level costs no precision), then
// the squared residuals. Each sum runs in four lanes (positions 4k + l), so
// that the additions need not wait on each other; with SSE2 two lanes share
// an instruction, with the same operations in the same order.
double WindowResidualSquares(const double* y, int s)
{
    const double half = 0.5 * (s - 1);
    const double origin = y[0];
    double sy[4] = {0, 0, 0, 0}, sty[4] = {0, 0, 0, 0}, ss[4] = {0, 0, 0, 0};
    const int whole = s - s % 4;
#if defined(__SSE2__)
    {
        const __m128d o = _mm_set1_pd(origin);
        const __m128d step = _mm_set1_pd(4.0);
        __m128d t01 = _mm_set_pd(1.0 - half, 0.0 - half), t23 = _mm_set_pd(3.0 - half, 2.0 - half);
        __m128d sy01 = _mm_setzero_pd(), sy23 = sy01, sty01 = sy01, sty23 = sy01;
        for (int i = 0; i < whole; i += 4) {
            const __m128d d01 = _mm_sub_pd(_mm_loadu_pd(y + i), o);
            const __m128d d23 = _mm_sub_pd(_mm_loadu_pd(y + i + 2), o);
            sy01 = _mm_add_pd(sy01, d01);
            sy23 = _mm_add_pd(sy23, d23);
            sty01 = _mm_add_pd(sty01, _mm_mul_pd(t01, d01));
            sty23 = _mm_add_pd(sty23, _mm_mul_pd(t23, d23));
            t01 = _mm_add_pd(t01, step);
            t23 = _mm_add_pd(t23, step);
        }
        _mm_storeu_pd(sy, sy01);
        _mm_storeu_pd(sy + 2, sy23);
        _mm_storeu_pd(sty, sty01);
        _mm_storeu_pd(sty + 2, sty23);
    }
#else
    for (int i = 0; i < whole; i += 4) {
        for (int l = 0; l < 4; ++l) {
            const double d = y[i + l] - origin;
            sy[l] += d;
            sty[l] += (i + l - half) * d;
        }
    }
#endif
    for (int i = whole; i < s; ++i) {
        const double d = y[i] - origin;
        sy[0] += d;
        sty[0] += (i - half) * d;
    }
    const double sd = static_cast<double>(s);
    const double stt = sd * (sd * sd - 1.0) / 12.0; // sum of (i - half)^2
    const double mean = ((sy[0] + sy[1]) + (sy[2] + sy[3])) / sd;
    const double slope = ((sty[0] + sty[1]) + (sty[2] + sty[3])) / stt;
    const double level = origin + mean;
#if defined(__SSE2__)
    {
        const __m128d lv = _mm_set1_pd(level), sl = _mm_set1_pd(slope);
        const __m128d step = _mm_set1_pd(4.0);
        __m128d t01 = _mm_set_pd(1.0 - half, 0.0 - half), t23 = _mm_set_pd(3.0 - half, 2.0 - half);
        __m128d ss01 = _mm_setzero_pd(), ss23 = ss01;
        for (int i = 0; i < whole; i += 4) {
            const __m128d r01 = _mm_sub_pd(_mm_sub_pd(_mm_loadu_pd(y + i), lv), _mm_mul_pd(sl, t01));
            const __m128d r23 = _mm_sub_pd(_mm_sub_pd(_mm_loadu_pd(y + i + 2), lv), _mm_mul_pd(sl, t23));
            ss01 = _mm_add_pd(ss01, _mm_mul_pd(r01, r01));
            ss23 = _mm_add_pd(ss23, _mm_mul_pd(r23, r23));
            t01 = _mm_add_pd(t01, step);
            t23 = _mm_add_pd(t23, step);
        }
        _mm_storeu_pd(ss, ss01);
        _mm_storeu_pd(ss + 2, ss23);
    }
#else
    for (int i = 0; i < whole; i += 4) {
        for (int l = 0; l < 4; ++l) {
            const double r = y[i + l] - level - slope * (i + l - half);
            ss[l] += r * r;
        }
    }
#endif
    for (int i = whole; i < s; ++i) {
        const double r = y[i] - level - slope * (i - half);
        ss[0] += r * r;
    }
    return (ss[0] + ss[1]) + (ss[2] + ss[3]);
}

} // namespace

double DfaFluctuation(const double* profile, std::size_t count, int s)
{
    if (s < 3 || static_cast<std::size_t>(s) > count)
        return std::numeric_limits<double>::quiet_NaN();
    const std::size_t windows = count / static_cast<std::size_t>(s);
    const std::size_t offset = count - windows * static_cast<std::size_t>(s);
    double fromStart = 0.0;
    for (std::size_t w = 0; w < windows; ++w)
        fromStart += WindowResidualSquares(profile + w * s, s);
    // When s divides count the windows from the end are those from the start.
    double fromEnd = fromStart;
    if (offset != 0) {
        fromEnd = 0.0;
        for (std::size_t w = 0; w < windows; ++w)
            fromEnd += WindowResidualSquares(profile + offset + w * s, s);
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
