#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "core/EstimatorSetting.h"
#include "core/GrowArray.h"

// The H estimator over one ordered run of values, by the curve-length method:
// for each lag r = 1..M the distances between successive D-dimensional delay
// vectors taken r values apart are summed into L(r); a least-squares line
// through (log10 r, log10(L(r)/r)) for r = r_min..M gives the slope b,
// H = b + 2 and the correlation r of the fit. L(r) is computed and kept for
// every lag 1..M whatever the first lag r_min of the fit (1 by default).
class CHDataSet
{
public:
    CHDataSet() : CHDataSet(CEstimatorSetting{.nD = 5, .nM = 5}) {}
    explicit CHDataSet(CEstimatorSetting setting) : m_nD(setting.nD), m_nM(setting.nM), m_nRMin(setting.nRMin) {}

    void Reset(CEstimatorSetting setting);
    bool AddValue(double x);
    double GetValue(int i) const { return Values().GetAt(i); }
    int GetValueCount() const { return Values().GetSize(); }

    void SetD(int nD);
    void SetM(int nM);
    // The first lag of the fit (see IsUsableFirstLag for what makes sense).
    void SetRMin(int nRMin);
    int GetD() const { return m_nD; }
    int GetM() const { return m_nM; }
    int GetRMin() const { return m_nRMin; }
    CEstimatorSetting GetSetting() const { return {.nD = m_nD, .nM = m_nM, .nRMin = m_nRMin}; }
    int GetCount() const { return m_nCount; }
    double GetH() const { return m_dH; }
    double GetB() const { return m_dB; }
    double GetR() const { return m_dR; }
    double GetL(int i) const { return TableAt(m_L, i); }
    double GetLogR(int i) const { return TableAt(m_logR, i); }
    double GetLogL(int i) const { return TableAt(m_logL, i); }

    bool Compute();

    // Saves or restores the persistent state: n, b, r, H, M, D, the M lag
    // triples (L, log10 r, log10(L/r)) and the n values. The label and the
    // automatic-computation switch are neither saved nor touched; the first
    // lag is not part of this layout (the document keeps one other than 1 in
    // a section of its own) and reads back as 1.
    template <class Archive>
    void Serialize(Archive& ar);

    // The input values, for bulk readers and loaders. The changeable ones are
    // this set's own: values shared with others are copied first.
    const CDoubleArray& Values() const { return m_values ? *m_values : EmptyValues(); }
    CDoubleArray& Values();
    // Reads its values from storage shared with others (a series' Y, another
    // set), which it never changes: the next change takes a copy first.
    void ShareValues(CSharedValues values) { m_values = std::move(values); }

    std::string m_strLabel;
    int m_bAutoCompute = 1;

private:
    static double TableAt(const CDoubleArray& a, int i)
    {
        return (i >= 0 && i < a.GetSize()) ? a[i] : 0.0;
    }

    static const CDoubleArray& EmptyValues();

    CSharedValues m_values; // null when there are none
    CDoubleArray m_L;
    CDoubleArray m_logR;
    CDoubleArray m_logL;
    std::int32_t m_nD;
    std::int32_t m_nM;
    std::int32_t m_nRMin = 1;
    std::int32_t m_nCount = 0;
    double m_dH = 0.0;
    double m_dB = 0.0;
    double m_dR = 0.0;
};

// Whether n values are too few for every lag: L(r) is 0 when no segment of
// D values r apart fits, that is for r > n - D, and the fit then reads
// log10(L(r)/r) as 0.
inline bool TooFewForLags(int n, CEstimatorSetting setting)
{
    return static_cast<long long>(n) - setting.nD < setting.nM;
}

// log10(L(r) / r) as the fit reads it: 0.0 where L(r) / r is 0, NaN, or has
// no finite logarithm.
double LogLengthPerLag(double lengthSum, int r);

// The line fitted through nLags points (log10 r, log10(L(r)/r)), r = r_min..M
// (nLags = M - r_min + 1), from its sums taken from 0.0 in r order: slope b,
// H = b + 2 and correlation r (0.0 where a denominator is 0 or undefined).
struct CLagFit
{
    double b = 0.0;
    double h = 0.0;
    double r = 0.0;
};
CLagFit FitLagSums(double sx, double sy, double sxx, double syy, double sxy, int nLags);

// How many lags the fit of a setting runs through: M - r_min + 1 (a first
// lag below 1 reads as 1, which counts M as the estimator always has; none
// when r_min is beyond M).
inline int FittedLagCount(CEstimatorSetting setting)
{
    if (setting.nRMin <= 1)
        return setting.nM;
    return setting.nRMin <= setting.nM ? setting.nM - setting.nRMin + 1 : 0;
}

// Length of one segment: from the vector at a[0..D) to the one at
// a[step..step + D). The squares are summed in k order from 0.0, so every
// caller gets the estimator's own lengths bit for bit.
inline double SegmentLength(const double* a, std::ptrdiff_t step, int nD)
{
    double sq = 0.0;
    for (int k = 0; k < nD; ++k) {
        const double d = a[k] - a[step + k];
        sq += d * d;
    }
    return std::sqrt(sq);
}

// Sum of the curve lengths of one lag: L(r) of n values with vectors of D
// values. Exposed for the benchmarks and the tests of the lag scheduling.
double CurveLength(const double* x, int n, int nD, int r);

template <class Archive>
void CHDataSet::Serialize(Archive& ar)
{
    if (ar.IsStoring()) {
        ar << m_nCount << m_dB << m_dR << m_dH << m_nM << m_nD;
        for (int i = 0; i < m_nM; ++i)
            ar << GetL(i) << GetLogR(i) << GetLogL(i);
        for (int i = 0; i < m_nCount; ++i)
            ar << (i < GetValueCount() ? GetValue(i) : 0.0);
        return;
    }
    std::int32_t n = 0, nM = 0, nD = 0;
    double b = 0.0, r = 0.0, h = 0.0;
    ar >> n >> b >> r >> h >> nM >> nD;
    // Both counts are checked against what is left of the file before any
    // storage is allocated for them.
    ar.CheckCount(nM, 24, "lag table");
    CDoubleArray lagL, lagLogR, lagLogL;
    lagL.SetSize(nM);
    lagLogR.SetSize(nM);
    lagLogL.SetSize(nM);
    for (int i = 0; i < nM; ++i)
        ar >> lagL[i] >> lagLogR[i] >> lagLogL[i];
    ar.CheckCount(n, 8, "value list");
    CDoubleArray values;
    values.SetSize(n);
    ar.ReadDoubles(values.GetData(), static_cast<std::size_t>(n));
    m_nCount = n;
    m_dB = b;
    m_dR = r;
    m_dH = h;
    m_nM = nM;
    m_nD = nD;
    m_nRMin = 1;
    m_L = std::move(lagL);
    m_logR = std::move(lagLogR);
    m_logL = std::move(lagLogL);
    m_values = std::make_shared<CDoubleArray>(std::move(values));
}
