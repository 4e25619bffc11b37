// L(r) of one series: the estimator's curve lengths.

#include "core/HDataSet.h"
#include "core/simd/KernelSets.h"

namespace simd {

double CurveLengthPlain(const double* x, std::int64_t segments, int nD, std::ptrdiff_t r)
{
    double sum = 0.0;
    const double* a = x;
    for (std::int64_t j = 0; j < segments; ++j, a += r)
        sum += SegmentLength(a, r, nD);
    return sum;
}

#if KESTRIN_SIMD_X86

namespace {

// L(r) over `segments` segments, two neighbouring segments at a time: lane 0
// holds segment j, lane 1 segment j + 1. Each lane performs exactly the
// operations of SegmentLength (the same subtractions, products and additions
// from 0.0 in k order, then a correctly rounded square root), and the two
// lengths are added to the sum one after the other, segment j first, so the
// result is the plain sequential sum bit for bit. What is gained is that the
// square roots, which dominate, run two to an instruction. (For D = 1 the one
// addition, 0.0 + d * d, gives d * d exactly, a square never being -0, so
// this is also sqrt(d * d) itself.)
//
// kD > 0 fixes the dimension at compile time (the inner loop unrolls); 0 takes
// it from nDRuntime. kUnitStep is lag 1, where both lanes load as one.
template <int kD, bool kUnitStep>
double PairSum(const double* x, std::int64_t segments, int nDRuntime, std::ptrdiff_t r)
{
    const int nD = kD > 0 ? kD : nDRuntime;
    const std::ptrdiff_t step = kUnitStep ? 1 : r;
    double sum = 0.0;
    const double* a = x;
    std::int64_t j = 0;
    for (; j + 2 <= segments; j += 2, a += 2 * step) {
        __m128d sq = _mm_setzero_pd();
        for (int k = 0; k < nD; ++k) {
            __m128d from, to;
            if constexpr (kUnitStep) {
                from = _mm_loadu_pd(a + k);   // a[k], a[k + 1]
                to = _mm_loadu_pd(a + 1 + k); // a[k + 1], a[k + 2]
            } else {
                // The end of segment j is the start of segment j + 1.
                const __m128d middle = _mm_load1_pd(a + step + k);
                from = _mm_loadl_pd(middle, a + k);
                to = _mm_loadh_pd(middle, a + 2 * step + k);
            }
            const __m128d d = _mm_sub_pd(from, to);
            sq = _mm_add_pd(sq, _mm_mul_pd(d, d));
        }
        const __m128d len = _mm_sqrt_pd(sq);
        sum += _mm_cvtsd_f64(len);
        sum += _mm_cvtsd_f64(_mm_unpackhi_pd(len, len));
    }
    if (j < segments)
        sum += SegmentLength(a, step, nD);
    return sum;
}

template <int kD>
double PairSumOfStep(const double* x, std::int64_t segments, int nD, std::ptrdiff_t r)
{
    return r == 1 ? PairSum<kD, true>(x, segments, nD, r) : PairSum<kD, false>(x, segments, nD, r);
}

} // namespace

double CurveLengthSse2(const double* x, std::int64_t segments, int nD, std::ptrdiff_t r)
{
    switch (nD) {
    case 1: return PairSumOfStep<1>(x, segments, nD, r);
    case 2: return PairSumOfStep<2>(x, segments, nD, r);
    case 3: return PairSumOfStep<3>(x, segments, nD, r);
    case 4: return PairSumOfStep<4>(x, segments, nD, r);
    case 5: return PairSumOfStep<5>(x, segments, nD, r);
    case 6: return PairSumOfStep<6>(x, segments, nD, r);
    case 7: return PairSumOfStep<7>(x, segments, nD, r);
    case 8: return PairSumOfStep<8>(x, segments, nD, r);
    default: return PairSumOfStep<0>(x, segments, nD, r);
    }
}

// Segments r apart share no load a wider register could take at once: the
// pairs are as fast as it gets here.
double CurveLengthAvx2(const double* x, std::int64_t segments, int nD, std::ptrdiff_t r)
{
    return CurveLengthSse2(x, segments, nD, r);
}

#endif

} // namespace simd
