#pragma once

#include "core/GrowArray.h"

// Least-squares slope of m_dY on m_dX over all elements; 0.0 for an empty
// array or a zero / undefined denominator. For a series and for window
// results alike.
template <class Points>
double LeastSquaresSlope(const Points& points);

extern template double LeastSquaresSlope(const CSeriesArray&);
extern template double LeastSquaresSlope(const CHPointArray&);

// The least-squares slope from the sums over count points (sx = sum of X,
// sy = sum of Y, sxx = sum of X*X, sxy = sum of X*Y): the last step of
// LeastSquaresSlope, for callers that accumulate the sums themselves. Sums
// taken from 0.0 in point order give exactly LeastSquaresSlope's result.
double SlopeFromSums(double sx, double sy, double sxx, double sxy, int count);

// Pearson correlation between m_dX and m_dY over all elements; 0.0 for an
// empty array or a zero / undefined denominator.
template <class Points>
double PearsonCorrelation(const Points& points);

extern template double PearsonCorrelation(const CSeriesArray&);
extern template double PearsonCorrelation(const CHPointArray&);
