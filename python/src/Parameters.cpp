#include "python/src/Parameters.h"

#include <cmath>

#include "core/OptimumM.h"

std::int64_t WholeNumber(py::handle value, const char* name, std::int64_t lowest, std::int64_t highest)
{
    if (PyLong_CheckExact(value.ptr())) {
        // The common case, a plain int, without temporaries.
        int overflow = 0;
        const long long v = PyLong_AsLongLongAndOverflow(value.ptr(), &overflow);
        if (overflow == 0 && v >= lowest && v <= highest)
            return v;
    }
    const std::string range = " (allowed: " + std::to_string(lowest) + " to " + std::to_string(highest) + ")";
    if (PyBool_Check(value.ptr()) || !PyIndex_Check(value.ptr()))
        throw py::type_error(std::string(name) + ": " + py::repr(value).cast<std::string>() + " is not a whole number");
    const py::int_ number = py::reinterpret_steal<py::int_>(PyNumber_Index(value.ptr()));
    if (!number)
        throw py::error_already_set();
    int overflow = 0;
    const long long v = PyLong_AsLongLongAndOverflow(number.ptr(), &overflow);
    if (overflow != 0 || v < lowest || v > highest)
        throw py::value_error(std::string(name) + ": " + py::repr(py::handle(number.ptr())).cast<std::string>() + " is out of range" + range);
    return v;
}

std::optional<int> LagCountArgument(py::handle value, const char* name)
{
    if (value.is_none())
        return std::nullopt;
    if (py::isinstance<py::str>(value)) {
        if (value.cast<std::string>() == "best")
            return std::nullopt;
        throw py::value_error(std::string(name) + ": \"" + value.cast<std::string>() +
                              "\" is not a whole number (give a number or \"best\")");
    }
    return static_cast<int>(WholeNumber(value, name, 2, kMaxLagCount));
}

double RealNumber(py::handle value, const char* name)
{
    if (PyBool_Check(value.ptr()) || !PyNumber_Check(value.ptr()) || PyComplex_Check(value.ptr()))
        throw py::type_error(std::string(name) + ": " + py::repr(value).cast<std::string>() + " is not a number");
    const double v = PyFloat_AsDouble(value.ptr());
    if (v == -1.0 && PyErr_Occurred())
        throw py::error_already_set();
    if (!std::isfinite(v))
        throw py::value_error(std::string(name) + ": \"" + py::str(value).cast<std::string>() + "\" is not a number");
    return v;
}
