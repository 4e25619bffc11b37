#include "core/Regression.h"

#include <cmath>

template <class Points>
double LeastSquaresSlope(const Points& points)
{
    const int count = points.GetSize();
    if (count == 0)
        return 0.0;
    double sx = 0.0, sy = 0.0, sxx = 0.0, sxy = 0.0;
    for (const auto& p : points) {
        const double x = p.m_dX;
        const double y = p.m_dY;
        sx += x;
        sy += y;
        sxx += x * x;
        sxy += x * y;
    }
    return SlopeFromSums(sx, sy, sxx, sxy, count);
}

double SlopeFromSums(double sx, double sy, double sxx, double sxy, int count)
{
    if (count <= 0)
        return 0.0;
    const double n = count;
    const double den = sxx - sx * sx / n;
    if (den == 0.0 || std::isnan(den))
        return 0.0;
    return (sxy - sy * sx / n) / den;
}

template <class Points>
double PearsonCorrelation(const Points& points)
{
    const int count = points.GetSize();
    if (count == 0)
        return 0.0;
    double sx = 0.0, sy = 0.0, sxx = 0.0, syy = 0.0, sxy = 0.0;
    for (const auto& p : points) {
        const double x = p.m_dX;
        const double y = p.m_dY;
        sx += x;
        sy += y;
        sxx += x * x;
        syy += y * y;
        sxy += x * y;
    }
    const double k = 1.0 / count;
    const double q = std::sqrt((sxx - sx * sx * k) * (syy - sy * sy * k));
    if (q == 0.0 || std::isnan(q))
        return 0.0;
    return (sxy - (sy * k) * sx) / q;
}

template double LeastSquaresSlope(const CSeriesArray&);
template double LeastSquaresSlope(const CHPointArray&);
template double PearsonCorrelation(const CSeriesArray&);
template double PearsonCorrelation(const CHPointArray&);
