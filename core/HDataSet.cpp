#include "HDataSet.h"

#include <algorithm>
#include <cstdint>
#include <cmath>
#include <thread>
#include <vector>

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

double CurveLength(const double* x, int n, int nD, int r)
{
    // 64-bit so that an absurd D (from a damaged file) cannot overflow.
    const std::int64_t segments = (static_cast<std::int64_t>(n) - nD) / r;
    double sum = 0.0;
    if (segments <= 0 || nD <= 0)
        return sum; // no segment, or every segment has length 0
    const std::ptrdiff_t step = r;
    if (nD == 1) {
        const double* a = x;
        for (std::int64_t j = 0; j < segments; ++j, a += step) {
            const double d = a[0] - a[step];
            sum += std::sqrt(d * d);
        }
        return sum;
    }
    const double* a = x;
    for (std::int64_t j = 0; j < segments; ++j, a += step) {
        const double* b = a + step;
        double sq = 0.0;
        for (int k = 0; k < nD; ++k) {
            const double d = a[k] - b[k];
            sq += d * d;
        }
        sum += std::sqrt(sq);
    }
    return sum;
}

namespace {

// Work below which spreading the lags over threads costs more than it saves.
constexpr double kParallelWork = 400000.0;

// Fills L(r) for r = 1..M. Each lag's sum is taken in segment order; lags are
// independent, so on a long series they are shared between two threads.
void ComputeCurveLengths(const double* x, int n, int nD, int nM, double* out)
{
    if (nM <= 0)
        return;
    double work = 0.0;
    for (int r = 1; r <= nM; ++r)
        work += static_cast<double>(std::max<std::int64_t>(static_cast<std::int64_t>(n) - nD, 0) / r) * std::max(nD, 1);
    const unsigned hw = std::thread::hardware_concurrency();
    if (work < kParallelWork || nM < 2 || hw < 2) {
        for (int r = 1; r <= nM; ++r)
            out[r - 1] = CurveLength(x, n, nD, r);
        return;
    }
    // Lag 1 is the longest; hand lags to the less loaded of two workers,
    // largest first (greedy balance on the segment count).
    std::vector<int> mine, theirs;
    double loadMine = 0.0, loadTheirs = 0.0;
    for (int r = 1; r <= nM; ++r) {
        const double cost = static_cast<double>(std::max<std::int64_t>(static_cast<std::int64_t>(n) - nD, 0) / r) + 1.0;
        if (loadMine <= loadTheirs) {
            mine.push_back(r);
            loadMine += cost;
        } else {
            theirs.push_back(r);
            loadTheirs += cost;
        }
    }
    std::thread helper([&] {
        for (int r : theirs)
            out[r - 1] = CurveLength(x, n, nD, r);
    });
    for (int r : mine)
        out[r - 1] = CurveLength(x, n, nD, r);
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
        const double q = m_L[i] / r;
        if (q != 0.0 && !std::isnan(q)) {
            const double y = std::log10(q);
            if (std::isfinite(y))
                m_logL[i] = y;
        }
        sx += m_logR[i];
        sy += m_logL[i];
        sxy += m_logR[i] * m_logL[i];
        sxx += m_logR[i] * m_logR[i];
        syy += m_logL[i] * m_logL[i];
    }

    const double count = nM;
    const double den = sxx - sx * sx / count;
    double b = 0.0;
    if (den != 0.0 && !std::isnan(den))
        b = (sxy - sy * sx / count) / den;
    m_dB = b;
    m_dH = b + 2.0;

    const double k = 1.0 / count;
    const double mean = sy * k;
    const double q = std::sqrt((sxx - k * sx * sx) * (syy - mean * sy));
    if (q == 0.0 || std::isnan(q))
        m_dR = 0.0;
    else
        m_dR = (sxy - mean * sx) / q;
    return true;
}
