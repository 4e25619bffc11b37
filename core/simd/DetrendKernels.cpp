// The detrending kernel of DFA: the residual sum of squares of one window
// about its own least-squares line.

#include "core/simd/KernelSets.h"

namespace simd {

namespace {

// Two passes: the line (positions centred, values taken from the window's
// first so that a far-off level costs no precision), then the squared
// residuals. Each sum runs in four lanes (positions 4k + l), 4 / kLanes<V>
// registers of them side by side, so that the additions need not wait on
// each other; the lane type changes no result.
template <class V>
KESTRIN_LANE_INLINE double LaneResidualSquares(const double* y, int s)
{
    constexpr int L = kLanes<V>;
    constexpr int R = 4 / L;
    const double half = 0.5 * (s - 1);
    const double origin = y[0];
    const double start[4] = {0.0 - half, 1.0 - half, 2.0 - half, 3.0 - half};
    const double fours[4] = {4.0, 4.0, 4.0, 4.0};
    const double origins[4] = {origin, origin, origin, origin};
    V step, o;
    Load(step, fours);
    Load(o, origins);
    V t[R], sy[R], sty[R];
    for (int k = 0; k < R; ++k) {
        Load(t[k], start + k * L);
        sy[k] = V{};
        sty[k] = V{};
    }
    const int whole = s - s % 4;
    for (int i = 0; i < whole; i += 4) {
        for (int k = 0; k < R; ++k) {
            V v;
            Load(v, y + i + k * L);
            const V d = v - o;
            sy[k] += d;
            sty[k] += t[k] * d;
            t[k] += step;
        }
    }
    double syl[4], styl[4];
    for (int k = 0; k < R; ++k) {
        Store(syl + k * L, sy[k]);
        Store(styl + k * L, sty[k]);
    }
    for (int i = whole; i < s; ++i) {
        const double d = y[i] - origin;
        syl[0] += d;
        styl[0] += (i - half) * d;
    }
    const double sd = static_cast<double>(s);
    const double stt = sd * (sd * sd - 1.0) / 12.0; // sum of (i - half)^2
    const double mean = ((syl[0] + syl[1]) + (syl[2] + syl[3])) / sd;
    const double slope = ((styl[0] + styl[1]) + (styl[2] + styl[3])) / stt;
    const double level = origin + mean;

    const double levels[4] = {level, level, level, level};
    const double slopes[4] = {slope, slope, slope, slope};
    V lv, sl, ss[R];
    Load(lv, levels);
    Load(sl, slopes);
    for (int k = 0; k < R; ++k) {
        Load(t[k], start + k * L);
        ss[k] = V{};
    }
    for (int i = 0; i < whole; i += 4) {
        for (int k = 0; k < R; ++k) {
            V v;
            Load(v, y + i + k * L);
            const V r = (v - lv) - sl * t[k];
            ss[k] += r * r;
            t[k] += step;
        }
    }
    double ssl[4];
    for (int k = 0; k < R; ++k)
        Store(ssl + k * L, ss[k]);
    for (int i = whole; i < s; ++i) {
        const double r = y[i] - level - slope * (i - half);
        ssl[0] += r * r;
    }
    return (ssl[0] + ssl[1]) + (ssl[2] + ssl[3]);
}

} // namespace

double ResidualSquaresPlain(const double* y, int s)
{
    return LaneResidualSquares<double>(y, s);
}

#if KESTRIN_SIMD_X86
double ResidualSquaresSse2(const double* y, int s)
{
    return LaneResidualSquares<Vec2>(y, s);
}

KESTRIN_TARGET_AVX2 double ResidualSquaresAvx2(const double* y, int s)
{
    return LaneResidualSquares<Vec4>(y, s);
}
#endif

} // namespace simd
