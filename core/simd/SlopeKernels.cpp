// The slope-window kernel: the least-squares slopes of a block of windows.

#include "core/simd/KernelSets.h"
#include "core/Regression.h"
#include "core/simd/SimdKernels.h"

namespace simd {

namespace {

// Slopes of the 2 * lanes windows of `size` points starting at x, x + 1, ...,
// two registers of them side by side. Each lane adds its window's points in
// point order from 0.0, exactly as LeastSquaresSlope does over a copy of the
// window; the lanes only run side by side (one vector operation per sum and
// point), so the lane type changes no result. Two registers per sum keep
// independent additions in flight, and all eight sums stay in registers.
template <class V>
KESTRIN_LANE_INLINE void LaneSlopes(const double* x, const double* y, int size, double* out)
{
    constexpr int L = kLanes<V>;
    V sx0 = {}, sy0 = {}, sxx0 = {}, sxy0 = {};
    V sx1 = {}, sy1 = {}, sxx1 = {}, sxy1 = {};
    for (int k = 0; k < size; ++k) {
        V x0, x1, y0, y1;
        Load(x0, x + k);
        Load(x1, x + k + L);
        Load(y0, y + k);
        Load(y1, y + k + L);
        sx0 += x0;
        sx1 += x1;
        sy0 += y0;
        sy1 += y1;
        sxx0 += x0 * x0;
        sxx1 += x1 * x1;
        sxy0 += x0 * y0;
        sxy1 += x1 * y1;
    }
    for (int w = 0; w < L; ++w) {
        out[w] = SlopeFromSums(Lane(sx0, w), Lane(sy0, w), Lane(sxx0, w), Lane(sxy0, w), size);
        out[L + w] = SlopeFromSums(Lane(sx1, w), Lane(sy1, w), Lane(sxx1, w), Lane(sxy1, w), size);
    }
}

template <class V>
KESTRIN_LANE_INLINE void LaneBlockSlopes(const double* x, const double* y, int size, double* out)
{
    constexpr int kPerCall = 2 * kLanes<V>;
    static_assert(kSlopeBlock % kPerCall == 0);
    for (int w = 0; w < kSlopeBlock; w += kPerCall)
        LaneSlopes<V>(x + w, y + w, size, out + w);
}

} // namespace

void BlockSlopesPlain(const double* x, const double* y, int size, double* out)
{
    LaneBlockSlopes<double>(x, y, size, out);
}

#if KESTRIN_SIMD_X86
void BlockSlopesSse2(const double* x, const double* y, int size, double* out)
{
    LaneBlockSlopes<Vec2>(x, y, size, out);
}

KESTRIN_TARGET_AVX2 void BlockSlopesAvx2(const double* x, const double* y, int size, double* out)
{
    LaneBlockSlopes<Vec4>(x, y, size, out);
}
#endif

} // namespace simd
