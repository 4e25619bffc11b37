#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

namespace py = pybind11;

// One series given from Python: a view of float64 values, contiguous. An
// array of float64 that is already contiguous is read where it lies; any
// other array-like of real numbers (a list, another real dtype, a strided or
// reversed view, a pandas Series) is converted once. keep holds whatever
// owns the values.
struct SeriesArgument
{
    py::array keep;
    const double* data = nullptr;
    std::size_t size = 0;
};

// Reads obj as one series, the argument named name in every message:
// TypeError for text, complex numbers, objects that are not numbers or a
// scalar; ValueError for more than one dimension.
SeriesArgument ReadSeriesArgument(py::handle obj, const char* name);

// Several series: a list (or other sequence) of series, or the rows of a
// 2-D array. name is the argument's name in messages.
std::vector<SeriesArgument> ReadSeriesList(py::handle obj, const char* name);

// What a series holds that the text import would not keep as it is: values
// that are not a number (the import skips such lines) and infinities.
struct SeriesScan
{
    std::size_t notANumber = 0;
    std::size_t infinite = 0;
    bool constant = false; // two or more values, all equal
    double first = 0.0;    // the first value kept
    std::size_t kept = 0;  // the values that are numbers
};
SeriesScan ScanSeries(const double* data, std::size_t size);

// The values without those that are not a number, in order.
void CopyNumbers(const double* data, std::size_t size, std::vector<double>& out);
