#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "analysis/HMethods.h"

class CHDataSet;

// What the fit plot draws of one estimator: its M points (log10 r,
// log10(L(r)/r)) for r = 1..M, the least-squares line through those fitted
// (r = r_min..M; slope b, intercept a, the slope's standard error) and the
// numbers H, b, r and n.
struct CFitPlotData
{
    std::string label;
    std::vector<double> x;
    std::vector<double> y;
    // The index of the first point fitted (r_min - 1): the points before it
    // were left out of the fit and are drawn hollow. 0 fits them all.
    int firstFitted = 0;
    double intercept = 0.0;
    // The ordinary least-squares standard error of the slope over the k
    // points fitted, sqrt(sum of squared residuals / (k - 2) / Sxx); nothing
    // for k < 3.
    std::optional<double> slopeError;
    double b = 0.0;
    double h = 0.0;
    double r = 0.0;
    int n = 0;
    // Another method's plot says what it shows: the axes' titles, the line
    // of numbers above the plot, and, for a fit that is not a line, the
    // fitted values at each x (drawn as a curve instead of the line).
    // Empty for the curve length's own plot.
    std::string xTitle;
    std::string yTitle;
    std::string caption;
    std::vector<double> fitted;
};

// The plot data of an estimator as last computed. The intercept is that of
// the estimator's own fit: mean(y) - b * mean(x) over the points fitted.
CFitPlotData FitPlotDataOf(const CHDataSet& set, const std::string& label);

// The fit plot of one method's estimate of count values read as kind, as
// EstimateByMethod fits it (set is the estimator over the same values, for
// the curve length):
//  - curve length: FitPlotDataOf(set, label);
//  - DFA-1: (log10 s, log10 F(s)) at its scales, the line of slope alpha;
//  - Whittle (fGn): (log10 lambda_k, log10 I_k) of the series it reads (the
//    increments of a motion), and log10 of the fitted spectral density.
CFitPlotData MethodFitPlotDataOf(EHMethod method, const CHDataSet& set, const double* values, std::size_t count,
                                 ESeriesKind kind, const std::string& label);
