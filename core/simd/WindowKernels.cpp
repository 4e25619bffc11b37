// The sliding-window kernels: segment lengths computed several positions at
// a time, and the curve lengths L(r) of several windows summed side by side,
// one window per lane.

#include "core/simd/KernelSets.h"

namespace simd {

namespace {

// The sums of squares of the segments starting at a[0], a[1], ... (one per
// lane), each exactly as SegmentLength takes it: from 0.0, in k order.
template <class V>
KESTRIN_LANE_INLINE void StoreSquareSums(const double* a, std::ptrdiff_t r, int nD, double* out)
{
    V sq = {};
    for (int k = 0; k < nD; ++k) {
        V from, to;
        Load(from, a + k);
        Load(to, a + r + k);
        const V d = from - to;
        sq += d * d;
    }
    Store(out, sq);
}

template <class V>
KESTRIN_LANE_INLINE void LaneSegmentLengths(const double* y, std::int64_t count, std::ptrdiff_t r, int nD,
                                            double* out)
{
    constexpr int L = kLanes<V>;
    std::int64_t i = 0;
    for (; i + L <= count; i += L)
        StoreSquareSums<V>(y + i, r, nD, out + i);
    for (; i < count; ++i)
        StoreSquareSums<double>(y + i, r, nD, out + i);
    SquareRoots<V>(out, count);
}

// Adds the kVectors * lanes lengths at p to the sums, lane by lane.
template <class V, int kVectors>
KESTRIN_LANE_INLINE void AddLengths(V (&acc)[kVectors], const double* p)
{
    constexpr int L = kLanes<V>;
    for (int v = 0; v < kVectors; ++v) {
        V length;
        Load(length, p + v * L);
        acc[v] += length;
    }
}

// The sums of kVectors * lanes neighbouring windows: lane w adds the lengths
// of window w from 0.0 in segment order, as the estimator adds them.
template <class V, int kVectors>
KESTRIN_LANE_INLINE void SumGroup(const double* table, std::ptrdiff_t rows, std::ptrdiff_t stride,
                                  std::int64_t segments, std::ptrdiff_t r, double* out)
{
    constexpr int L = kLanes<V>;
    V acc[kVectors] = {};
    if (stride == 1) {
        // One residue: segment j of window 0 is at j r.
        const double* p = table;
        for (std::int64_t j = 0; j < segments; ++j, p += r)
            AddLengths<V, kVectors>(acc, p);
    } else {
        // Segment j of window 0 is at residue (j r) % stride, row
        // (j r) / stride; both followed without dividing.
        const std::ptrdiff_t rowStep = r / stride;
        const std::ptrdiff_t residueStep = r % stride;
        const std::ptrdiff_t end = stride * rows;
        std::ptrdiff_t offset = 0;
        for (std::int64_t j = 0; j < segments; ++j) {
            AddLengths<V, kVectors>(acc, table + offset);
            offset += rowStep + residueStep * rows;
            if (offset >= end) // past the last residue: next row, residue 0
                offset -= end - 1;
        }
    }
    for (int v = 0; v < kVectors; ++v)
        Store(out + v * L, acc[v]);
}

// Eight registers of windows at a time keep eight independent additions in
// flight; the windows left over go one register, then one window, at a time.
template <class V>
KESTRIN_LANE_INLINE void LaneWindowLagSums(const double* table, std::ptrdiff_t rows, std::ptrdiff_t stride,
                                           std::int64_t windows, std::int64_t segments, std::ptrdiff_t r, double* out)
{
    constexpr int L = kLanes<V>;
    constexpr int kVectors = 8;
    std::int64_t w = 0;
    for (; w + kVectors * L <= windows; w += kVectors * L)
        SumGroup<V, kVectors>(table + w, rows, stride, segments, r, out + w);
    for (; w + L <= windows; w += L)
        SumGroup<V, 1>(table + w, rows, stride, segments, r, out + w);
    for (; w < windows; ++w)
        SumGroup<double, 1>(table + w, rows, stride, segments, r, out + w);
}

} // namespace

#define KESTRIN_WINDOW_KERNELS(Level, V, TARGET)                                                                     \
    TARGET void SegmentLengths##Level(const double* y, std::int64_t count, std::ptrdiff_t r, int nD, double* out)    \
    {                                                                                                                \
        LaneSegmentLengths<V>(y, count, r, nD, out);                                                                 \
    }                                                                                                                \
    TARGET void WindowLagSums##Level(const double* table, std::ptrdiff_t rows, std::ptrdiff_t stride,                \
                                     std::int64_t windows, std::int64_t segments, std::ptrdiff_t r, double* out)     \
    {                                                                                                                \
        LaneWindowLagSums<V>(table, rows, stride, windows, segments, r, out);                                        \
    }

KESTRIN_WINDOW_KERNELS(Plain, double, )
#if KESTRIN_SIMD_X86
KESTRIN_WINDOW_KERNELS(Sse2, Vec2, )
KESTRIN_WINDOW_KERNELS(Avx2, Vec4, KESTRIN_TARGET_AVX2)
#endif

} // namespace simd
