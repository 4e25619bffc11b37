#pragma once

#include <optional>
#include <string>
#include <vector>

class CHDataSet;

// What the fit plot draws of one estimator: its M points (log10 r,
// log10(L(r)/r)) for r = 1..M, the least-squares line through them (slope
// b, intercept a, the slope's standard error) and the numbers H, b, r and n.
struct CFitPlotData
{
    std::string label;
    std::vector<double> x;
    std::vector<double> y;
    double intercept = 0.0;
    // The ordinary least-squares standard error of the slope,
    // sqrt(sum of squared residuals / (M - 2) / Sxx); nothing for M < 3.
    std::optional<double> slopeError;
    double b = 0.0;
    double h = 0.0;
    double r = 0.0;
    int n = 0;
};

// The plot data of an estimator as last computed. The intercept is that of
// the estimator's own fit: mean(y) - b * mean(x) over the M points.
CFitPlotData FitPlotDataOf(const CHDataSet& set, const std::string& label);
