#include "WindowLanes.h"

#include <cmath>
#include <cstring>

#include <emmintrin.h>
#if defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {

// GCC and Clang vector types: arithmetic on them is lane by lane, each lane
// rounded as a plain double operation (no fused multiply-add: the project
// compiles with contraction off).
typedef double Vec2 __attribute__((vector_size(2 * sizeof(double))));
typedef double Vec4 __attribute__((vector_size(4 * sizeof(double))));

template <class V>
constexpr int kLanesOf = static_cast<int>(sizeof(V) / sizeof(double));

// Loads and stores through memcpy: any alignment, no aliasing questions. (By
// reference, not by value: a 256-bit value crossing a call boundary outside
// an AVX function would change the calling convention.)
template <class V>
__attribute__((always_inline)) inline void Load(V& v, const double* p)
{
    std::memcpy(&v, p, sizeof v);
}

template <class V>
__attribute__((always_inline)) inline void Store(double* p, const V& v)
{
    std::memcpy(p, &v, sizeof v);
}

// The sums of squares of the segments starting at a[0], a[1], ... (one per
// lane), each exactly as SegmentLength takes it: from 0.0, in k order.
template <class V>
__attribute__((always_inline)) inline void StoreSquareSums(const double* a, std::ptrdiff_t r, int nD, double* out)
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
__attribute__((always_inline)) inline void LaneSquareSums(const double* y, std::int64_t count, std::ptrdiff_t r,
                                                          int nD, double* out)
{
    constexpr int L = kLanesOf<V>;
    std::int64_t i = 0;
    for (; i + L <= count; i += L)
        StoreSquareSums<V>(y + i, r, nD, out + i);
    for (; i < count; ++i)
        StoreSquareSums<double>(y + i, r, nD, out + i);
}

// Adds the kVectors * lanes lengths at p to the sums, lane by lane.
template <class V, int kVectors>
__attribute__((always_inline)) inline void AddLengths(V (&acc)[kVectors], const double* p)
{
    constexpr int L = kLanesOf<V>;
    for (int v = 0; v < kVectors; ++v) {
        V length;
        Load(length, p + v * L);
        acc[v] += length;
    }
}

// The sums of kVectors * lanes neighbouring windows: lane w adds the lengths
// of window w from 0.0 in segment order, as the estimator adds them.
template <class V, int kVectors>
__attribute__((always_inline)) inline void SumGroup(const double* table, std::ptrdiff_t rows, std::ptrdiff_t stride,
                                                    std::int64_t segments, std::ptrdiff_t r, double* out)
{
    constexpr int L = kLanesOf<V>;
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
__attribute__((always_inline)) inline void LaneLagSums(const double* table, std::ptrdiff_t rows, std::ptrdiff_t stride,
                                                       std::int64_t windows, std::int64_t segments, std::ptrdiff_t r,
                                                       double* out)
{
    constexpr int L = kLanesOf<V>;
    constexpr int kVectors = 8;
    std::int64_t w = 0;
    for (; w + kVectors * L <= windows; w += kVectors * L)
        SumGroup<V, kVectors>(table + w, rows, stride, segments, r, out + w);
    for (; w + L <= windows; w += L)
        SumGroup<V, 1>(table + w, rows, stride, segments, r, out + w);
    for (; w < windows; ++w)
        SumGroup<double, 1>(table + w, rows, stride, segments, r, out + w);
}

// Square roots in place, correctly rounded as std::sqrt is.
void SquareRootsSse2(double* a, std::int64_t count)
{
    std::int64_t i = 0;
    for (; i + 2 <= count; i += 2)
        _mm_storeu_pd(a + i, _mm_sqrt_pd(_mm_loadu_pd(a + i)));
    for (; i < count; ++i)
        a[i] = std::sqrt(a[i]);
}

void SegmentLengthsSse2(const double* y, std::int64_t count, std::ptrdiff_t r, int nD, double* out)
{
    LaneSquareSums<Vec2>(y, count, r, nD, out);
    SquareRootsSse2(out, count);
}

void LagSumsSse2(const double* table, std::ptrdiff_t rows, std::ptrdiff_t stride, std::int64_t windows,
                 std::int64_t segments, std::ptrdiff_t r, double* out)
{
    LaneLagSums<Vec2>(table, rows, stride, windows, segments, r, out);
}

constexpr CWindowLaneKernels kSse2Kernels = {SegmentLengthsSse2, LagSumsSse2};

#if defined(__GNUC__) && defined(__x86_64__)
#define KESTRIN_AVX2_LANES 1

__attribute__((target("avx2"))) void SquareRootsAvx2(double* a, std::int64_t count)
{
    std::int64_t i = 0;
    for (; i + 4 <= count; i += 4)
        _mm256_storeu_pd(a + i, _mm256_sqrt_pd(_mm256_loadu_pd(a + i)));
    for (; i < count; ++i)
        a[i] = std::sqrt(a[i]);
}

__attribute__((target("avx2"))) void SegmentLengthsAvx2(const double* y, std::int64_t count, std::ptrdiff_t r,
                                                        int nD, double* out)
{
    LaneSquareSums<Vec4>(y, count, r, nD, out);
    SquareRootsAvx2(out, count);
}

__attribute__((target("avx2"))) void LagSumsAvx2(const double* table, std::ptrdiff_t rows, std::ptrdiff_t stride,
                                                 std::int64_t windows, std::int64_t segments, std::ptrdiff_t r,
                                                 double* out)
{
    LaneLagSums<Vec4>(table, rows, stride, windows, segments, r, out);
}

constexpr CWindowLaneKernels kAvx2Kernels = {SegmentLengthsAvx2, LagSumsAvx2};
#endif

} // namespace

bool HasAvx2Lanes()
{
#if defined(KESTRIN_AVX2_LANES)
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return has;
#else
    return false;
#endif
}

const CWindowLaneKernels& WindowLaneKernels(WindowLaneSet set)
{
#if defined(KESTRIN_AVX2_LANES)
    if (set != WindowLaneSet::Sse2 && HasAvx2Lanes())
        return kAvx2Kernels;
#else
    (void)set;
#endif
    return kSse2Kernels;
}
