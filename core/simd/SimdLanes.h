#pragma once

// The lane types the kernels are written with, and the only place that
// names vector instructions. A kernel is a template over its lane type V:
//   double  one lane, plain C++ (every processor);
//   Vec2    two lanes, SSE2 (x86-64 only);
//   Vec4    four lanes, AVX2 (x86-64 only, in functions marked
//           KESTRIN_TARGET_AVX2, called only when the processor has it).
// Arithmetic on a lane type is lane by lane, each lane rounded as the plain
// double operation (the project compiles with -ffp-contract=off: no fused
// multiply-add), so a kernel computes the same bits with every type.
// Included only by the kernels' own .cpp files.

#include <cmath>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define KESTRIN_SIMD_X86 1
#include <immintrin.h>
#define KESTRIN_TARGET_AVX2 __attribute__((target("avx2")))
#else
#define KESTRIN_SIMD_X86 0
#endif

// Inlined into the (target-specific) kernel that calls it.
#define KESTRIN_LANE_INLINE __attribute__((always_inline)) inline

namespace simd {

#if KESTRIN_SIMD_X86
typedef double Vec2 __attribute__((vector_size(2 * sizeof(double))));
typedef double Vec4 __attribute__((vector_size(4 * sizeof(double))));
#endif

template <class V>
constexpr int kLanes = static_cast<int>(sizeof(V) / sizeof(double));

// Loads and stores through memcpy: any alignment, no aliasing questions. (By
// reference, not by value: a 256-bit value crossing a call boundary outside
// an AVX function would change the calling convention.)
template <class V>
KESTRIN_LANE_INLINE void Load(V& v, const double* p)
{
    std::memcpy(&v, p, sizeof v);
}

template <class V>
KESTRIN_LANE_INLINE void Store(double* p, const V& v)
{
    std::memcpy(p, &v, sizeof v);
}

// Lane i of v.
template <class V>
KESTRIN_LANE_INLINE double Lane(const V& v, int i)
{
    if constexpr (kLanes<V> == 1) {
        (void)i;
        return v;
    } else {
        return v[i];
    }
}

#if KESTRIN_SIMD_X86
// Square roots four at a time, in a function of its own: the AVX
// instructions cannot be inlined into code built for every processor.
inline KESTRIN_TARGET_AVX2 std::int64_t SquareRootsAvx2(double* a, std::int64_t count)
{
    std::int64_t i = 0;
    for (; i + 4 <= count; i += 4)
        _mm256_storeu_pd(a + i, _mm256_sqrt_pd(_mm256_loadu_pd(a + i)));
    return i;
}
#endif

// a[i] = sqrt(a[i]) for i < count, correctly rounded as std::sqrt is, kLanes
// at a time.
template <class V>
KESTRIN_LANE_INLINE void SquareRoots(double* a, std::int64_t count)
{
    std::int64_t i = 0;
#if KESTRIN_SIMD_X86
    if constexpr (kLanes<V> == 2) {
        for (; i + 2 <= count; i += 2)
            _mm_storeu_pd(a + i, _mm_sqrt_pd(_mm_loadu_pd(a + i)));
    } else if constexpr (kLanes<V> == 4) {
        i = SquareRootsAvx2(a, count);
    }
#endif
    for (; i < count; ++i)
        a[i] = std::sqrt(a[i]);
}

} // namespace simd
