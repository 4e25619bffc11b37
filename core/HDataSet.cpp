#include "HDataSet.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cmath>
#include <system_error>
#include <thread>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

void CHDataSet::Reset(int nD, int nM)
{
    m_nD = nD;
    m_nM = nM;
    m_nCount = 0;
    m_dH = m_dB = m_dR = 0.0;
    m_values.RemoveAll();
    m_L.RemoveAll();
    m_logR.RemoveAll();
    m_logL.RemoveAll();
    m_L.SetSize(nM);
    m_logR.SetSize(nM);
    m_logL.SetSize(nM);
}

bool CHDataSet::AddValue(double x)
{
    m_values.Add(x);
    if (m_bAutoCompute)
        Compute();
    return true;
}

void CHDataSet::SetD(int nD)
{
    m_nD = nD;
    if (m_bAutoCompute)
        Compute();
}

void CHDataSet::SetM(int nM)
{
    m_nM = nM;
    if (m_bAutoCompute)
        Compute();
}

namespace {

#if defined(__SSE2__)

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
double LagSum(const double* x, std::int64_t segments, int nDRuntime, std::ptrdiff_t r)
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
double LagSumOfStep(const double* x, std::int64_t segments, int nD, std::ptrdiff_t r)
{
    return r == 1 ? LagSum<kD, true>(x, segments, nD, r) : LagSum<kD, false>(x, segments, nD, r);
}

double LagSum(const double* x, std::int64_t segments, int nD, std::ptrdiff_t r)
{
    switch (nD) {
    case 1: return LagSumOfStep<1>(x, segments, nD, r);
    case 2: return LagSumOfStep<2>(x, segments, nD, r);
    case 3: return LagSumOfStep<3>(x, segments, nD, r);
    case 4: return LagSumOfStep<4>(x, segments, nD, r);
    case 5: return LagSumOfStep<5>(x, segments, nD, r);
    case 6: return LagSumOfStep<6>(x, segments, nD, r);
    case 7: return LagSumOfStep<7>(x, segments, nD, r);
    case 8: return LagSumOfStep<8>(x, segments, nD, r);
    default: return LagSumOfStep<0>(x, segments, nD, r);
    }
}

#else

double LagSum(const double* x, std::int64_t segments, int nD, std::ptrdiff_t r)
{
    double sum = 0.0;
    const double* a = x;
    for (std::int64_t j = 0; j < segments; ++j, a += r)
        sum += SegmentLength(a, r, nD);
    return sum;
}

#endif

} // namespace

double CurveLength(const double* x, int n, int nD, int r)
{
    // 64-bit so that an absurd D (from a damaged file) cannot overflow.
    const std::int64_t segments = (static_cast<std::int64_t>(n) - nD) / r;
    if (segments <= 0 || nD <= 0)
        return 0.0; // no segment, or every segment has length 0
    return LagSum(x, segments, nD, r);
}

namespace {

// Fixed cost of a segment next to the cost of one of its dimensions.
constexpr double kSegmentCost = 4.0;

// Cost of a lag in rough units of time: per segment a fixed part (square
// root, sum) and a part per dimension (loads, difference, square).
double LagCost(int n, int nD, int r)
{
    const std::int64_t segments = std::max<std::int64_t>(static_cast<std::int64_t>(n) - nD, 0) / r;
    return static_cast<double>(segments) * (kSegmentCost + std::max(nD, 1));
}

// Below this total cost (about a third of a millisecond of work on one core)
// a second thread saves too little for what it costs to start. The
// sliding-window analysis computes thousands of small sets: those never
// start a thread.
constexpr double kParallelCost = 2.0e6;

unsigned HardwareThreads()
{
    // hardware_concurrency reads the system's CPU list on every call; ask
    // once.
    static const unsigned count = std::thread::hardware_concurrency();
    return count;
}

// Fills L(r) for r = 1..M. Each lag's sum is taken in segment order by one
// thread; lags are independent, so on a long series two threads take them in
// turn, longest (lag 1) first, each taking the next lag when it is done with
// one. Which thread sums a lag does not change its result, and a helper that
// starts late simply takes fewer lags.
void ComputeCurveLengths(const double* x, int n, int nD, int nM, double* out)
{
    if (nM <= 0)
        return;
    double work = 0.0;
    if (nM >= 2) {
        for (int r = 1; r <= nM; ++r)
            work += LagCost(n, nD, r);
    }
    if (work < kParallelCost || HardwareThreads() < 2) {
        for (int r = 1; r <= nM; ++r)
            out[r - 1] = CurveLength(x, n, nD, r);
        return;
    }
    std::atomic<int> next{1};
    auto takeLags = [&] {
        for (int r = next.fetch_add(1); r <= nM; r = next.fetch_add(1))
            out[r - 1] = CurveLength(x, n, nD, r);
    };
    std::thread helper;
    try {
        helper = std::thread(takeLags);
    } catch (const std::system_error&) {
        // No thread to be had: this one takes every lag.
    }
    takeLags();
    if (helper.joinable())
        helper.join();
}

} // namespace

bool CHDataSet::Compute()
{
    const int n = m_values.GetSize();
    m_nCount = n;
    const int nM = m_nM;

    m_L.RemoveAll();
    m_L.SetSize(nM);
    ComputeCurveLengths(m_values.GetData(), n, m_nD, nM, m_L.GetData());

    m_logR.RemoveAll();
    m_logL.RemoveAll();
    m_logR.SetSize(nM);
    m_logL.SetSize(nM);

    double sx = 0.0, sy = 0.0, sxx = 0.0, syy = 0.0, sxy = 0.0;
    for (int r = 1; r <= nM; ++r) {
        const int i = r - 1;
        m_logR[i] = std::log10(static_cast<double>(r));
        m_logL[i] = LogLengthPerLag(m_L[i], r);
        sx += m_logR[i];
        sy += m_logL[i];
        sxy += m_logR[i] * m_logL[i];
        sxx += m_logR[i] * m_logR[i];
        syy += m_logL[i] * m_logL[i];
    }

    const CLagFit fit = FitLagSums(sx, sy, sxx, syy, sxy, nM);
    m_dB = fit.b;
    m_dH = fit.h;
    m_dR = fit.r;
    return true;
}

double LogLengthPerLag(double lengthSum, int r)
{
    const double q = lengthSum / r;
    if (q != 0.0 && !std::isnan(q)) {
        const double y = std::log10(q);
        if (std::isfinite(y))
            return y;
    }
    return 0.0;
}

CLagFit FitLagSums(double sx, double sy, double sxx, double syy, double sxy, int nM)
{
    CLagFit fit;
    const double count = nM;
    const double den = sxx - sx * sx / count;
    if (den != 0.0 && !std::isnan(den))
        fit.b = (sxy - sy * sx / count) / den;
    fit.h = fit.b + 2.0;

    const double k = 1.0 / count;
    const double mean = sy * k;
    const double q = std::sqrt((sxx - k * sx * sx) * (syy - mean * sy));
    if (q != 0.0 && !std::isnan(q))
        fit.r = (sxy - mean * sx) / q;
    return fit;
}
