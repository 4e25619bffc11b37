#pragma once

#include <optional>
#include <string>
#include <vector>

#include <pybind11/numpy.h>

#include "python/src/EstimateResult.h"
#include "python/src/SeriesArgument.h"

// The estimate of one series, as kestrin-cli estimate computes the global
// estimator of a text file holding the same values: values that are not a
// number are left out, then one CHDataSet with D and M (the optimum M of the
// values kept when M is nothing) is filled and computed. The warnings are
// kept in the result. Needs no GIL.
EstimateResult EstimateSeries(const SeriesArgument& y, const std::string& name, int nD, std::optional<int> nM,
                              int nRMin = 1);

// The r_min argument: a whole number of 1 or more, checked against an M
// given (ValueError with FirstLagRangeMessage when it leaves fewer than two
// lags to fit).
int FirstLagArgument(py::handle value, std::optional<int> nM);

// Refuses a series the estimator's counts cannot hold (ValueError).
void CheckSeriesLength(const SeriesArgument& y, const char* name);

// A new float64 numpy array holding values.
py::array_t<double> ToNumpy(const double* values, std::size_t count);
inline py::array_t<double> ToNumpy(const std::vector<double>& values)
{
    return ToNumpy(values.data(), values.size());
}
