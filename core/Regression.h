#pragma once

#include "GrowArray.h"

// Least-squares slope of m_dY on m_dX over all elements; 0.0 for an empty
// array or a zero / undefined denominator.
double LeastSquaresSlope(const CHPointArray& points);

// Pearson correlation between m_dX and m_dY over all elements; 0.0 for an
// empty array or a zero / undefined denominator.
double PearsonCorrelation(const CHPointArray& points);
