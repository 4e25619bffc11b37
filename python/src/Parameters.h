#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <pybind11/pybind11.h>

namespace py = pybind11;

// The checks of the command line's options, with its words: the option
// "--D" is the argument "D" here, and a value out of range is refused with
// "D: 0 is out of range (allowed: 1 to 1000)" (ValueError). A value that is
// not a whole number (a float, text, a bool) is a TypeError.
std::int64_t WholeNumber(py::handle value, const char* name, std::int64_t lowest, std::int64_t highest);

// M as the estimate takes it: a whole number in 2..100000, or "best" (or
// None) for the optimum M of the values, which is returned as nothing.
std::optional<int> LagCountArgument(py::handle value, const char* name);

// A finite real number; ValueError "name: ... is not a number" otherwise.
double RealNumber(py::handle value, const char* name);
