#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "core/GrowArray.h"
#include "core/HDataSet.h"
#include "core/HPoint.h"

// Points and series as the tests build them again and again.

// One point; the fields a test does not name are zero.
CHPoint MakePoint(double x, double y, int count = 0, double b = 0.0, double r = 0.0);

// One point of a series.
CSeriesPoint MakeSeriesPoint(double x, double y);

// A sliding-window result as the document stores it: X the plot position, Y
// the H, with the fit's r and b and the number of values.
CHPoint MakeWindow(double x, double h, double r, double b, int count);

// Points (xs[i], ys[i]); the two vectors have the same length.
CSeriesArray MakeSeries(const std::vector<double>& xs, const std::vector<double>& ys);

// Points (x0, ys[0]), (x0 + 1, ys[1]), ...
CSeriesArray MakeSeriesFrom(double x0, const std::vector<double>& ys);

// A Gaussian random walk of n values from a fixed seed: the same values in
// every run.
std::vector<double> RandomWalk(int n, std::uint64_t seed);

// The estimator with setting computed once over values.
CHDataSet EstimatorOver(const std::vector<double>& values, CEstimatorSetting setting);
