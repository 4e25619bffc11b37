#include "core/HDataSet.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>
#include <cmath>

#include "core/simd/SimdKernels.h"
#include "core/WorkSplit.h"

void CHDataSet::Reset(CEstimatorSetting setting)
{
    m_nD = setting.nD;
    m_nM = setting.nM;
    m_nRMin = setting.nRMin;
    m_nCount = 0;
    m_dH = m_dB = m_dR = 0.0;
    m_values.reset();
    m_L.RemoveAll();
    m_logR.RemoveAll();
    m_logL.RemoveAll();
    m_L.SetSize(setting.nM);
    m_logR.SetSize(setting.nM);
    m_logL.SetSize(setting.nM);
}

const CDoubleArray& CHDataSet::EmptyValues()
{
    static const CDoubleArray empty;
    return empty;
}

CDoubleArray& CHDataSet::Values()
{
    return OwnValues(m_values);
}

bool CHDataSet::AddValue(double x)
{
    Values().Add(x);
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

void CHDataSet::SetRMin(int nRMin)
{
    m_nRMin = nRMin;
    if (m_bAutoCompute)
        Compute();
}

double CurveLength(const double* x, int n, int nD, int r)
{
    // 64-bit so that an absurd D (from a damaged file) cannot overflow.
    const std::int64_t segments = (static_cast<std::int64_t>(n) - nD) / r;
    if (segments <= 0 || nD <= 0)
        return 0.0; // no segment, or every segment has length 0
    return SimdKernels().curveLength(x, segments, nD, r);
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
// a second worker saves too little for what it costs to start. The
// sliding-window analysis computes thousands of small sets: those never
// start a thread.
constexpr double kParallelCost = 2.0e6;

// Fills L(r) for r = 1..M. Each lag's sum is taken in segment order by one
// worker; lags are independent, so on a long series the workers take them in
// turn, longest (lag 1) first, each taking the next lag when it is done with
// one. Which worker sums a lag does not change its result, and a worker that
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
    if (work < kParallelCost) {
        for (int r = 1; r <= nM; ++r)
            out[r - 1] = CurveLength(x, n, nD, r);
        return;
    }
    CWorkSplit(nM).Run([&](std::int64_t lag, unsigned) {
        const int r = static_cast<int>(lag) + 1;
        out[r - 1] = CurveLength(x, n, nD, r);
    });
}

} // namespace

bool CHDataSet::Compute()
{
    const CDoubleArray& values = std::as_const(*this).Values();
    const int n = values.GetSize();
    m_nCount = n;
    const int nM = m_nM;

    m_L.RemoveAll();
    m_L.SetSize(nM);
    ComputeCurveLengths(values.GetData(), n, m_nD, nM, m_L.GetData());

    m_logR.RemoveAll();
    m_logL.RemoveAll();
    m_logR.SetSize(nM);
    m_logL.SetSize(nM);

    // Every lag's point is kept; only those from the first lag on are fitted.
    double sx = 0.0, sy = 0.0, sxx = 0.0, syy = 0.0, sxy = 0.0;
    for (int r = 1; r <= nM; ++r) {
        const int i = r - 1;
        m_logR[i] = std::log10(static_cast<double>(r));
        m_logL[i] = LogLengthPerLag(m_L[i], r);
        if (r < m_nRMin)
            continue;
        sx += m_logR[i];
        sy += m_logL[i];
        sxy += m_logR[i] * m_logL[i];
        sxx += m_logR[i] * m_logR[i];
        syy += m_logL[i] * m_logL[i];
    }

    const CLagFit fit = FitLagSums(sx, sy, sxx, syy, sxy, FittedLagCount(GetSetting()));
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

CLagFit FitLagSums(double sx, double sy, double sxx, double syy, double sxy, int nLags)
{
    CLagFit fit;
    const double count = nLags;
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
