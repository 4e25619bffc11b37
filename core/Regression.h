#pragma once

#include "core/GrowArray.h"

// Least-squares slope of m_dY on m_dX over all elements; 0.0 for an empty
// array or a zero / undefined denominator.
double LeastSquaresSlope(const CHPointArray& points);

// The least-squares slope from the sums over count points (sx = sum of X,
// sy = sum of Y, sxx = sum of X*X, sxy = sum of X*Y): the last step of
// LeastSquaresSlope, for callers that accumulate the sums themselves. Sums
// taken from 0.0 in point order give exactly LeastSquaresSlope's result.
double SlopeFromSums(double sx, double sy, double sxx, double sxy, int count);

// Pearson correlation between m_dX and m_dY over all elements; 0.0 for an
// empty array or a zero / undefined denominator.
double PearsonCorrelation(const CHPointArray& points);
