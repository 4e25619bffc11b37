#include "python/src/SeriesArgument.h"

#include <cmath>

namespace {

// dtype kinds that hold real numbers: floats, signed and unsigned integers.
bool IsRealKind(char kind)
{
    return kind == 'f' || kind == 'i' || kind == 'u';
}

[[noreturn]] void RefuseKind(const py::array& array, const char* name)
{
    const char kind = array.dtype().kind();
    const std::string dtype = py::str(array.dtype()).cast<std::string>();
    if (kind == 'c')
        throw py::type_error(std::string(name) + " holds complex numbers (dtype " + dtype +
                             "); give the real part or the magnitude");
    if (kind == 'U' || kind == 'S')
        throw py::type_error(std::string(name) + " holds text (dtype " + dtype +
                             "), not numbers; convert it with float() first");
    if (kind == 'b')
        throw py::type_error(std::string(name) + " holds truth values (dtype bool), not numbers");
    throw py::type_error(std::string(name) + " must hold real numbers, not values of dtype " + dtype);
}

py::array AsRealArray(py::handle obj, const char* name)
{
    // Kept for the life of the process: no destructor runs after the
    // interpreter has finished.
    static const py::handle numpy = py::module_::import("numpy").release();
    py::array array = py::isinstance<py::array>(obj) ? py::reinterpret_borrow<py::array>(obj)
                                                      : py::array(numpy.attr("asarray")(obj));
    if (array.dtype().kind() == 'O') {
        // Objects (Decimal, Fraction, None, text...): real numbers only.
        static const py::handle real = py::object(py::module_::import("numbers").attr("Real")).release();
        const py::list items = array.attr("ravel")().attr("tolist")();
        for (std::size_t i = 0; i < items.size(); ++i)
            if (!py::isinstance(items[i], real) || PyBool_Check(items[i].ptr()))
                throw py::type_error(std::string(name) + " must hold real numbers only; item " + std::to_string(i) +
                                     " is " + py::repr(items[i]).cast<std::string>());
        array = py::array(numpy.attr("asarray")(obj, py::arg("dtype") = "float64"));
    }
    if (!IsRealKind(array.dtype().kind()))
        RefuseKind(array, name);
    return array;
}

} // namespace

SeriesArgument ReadSeriesArgument(py::handle obj, const char* name)
{
    if (obj.is_none())
        throw py::type_error(std::string(name) + " must be a series of real numbers, not None");
    if (py::isinstance<py::str>(obj) || py::isinstance<py::bytes>(obj))
        throw py::type_error(std::string(name) + " must be a series of real numbers, not text");
    // The common case first: a contiguous 1-D float64 array is read in place.
    if (py::isinstance<py::array>(obj)) {
        const auto* proxy = py::detail::array_proxy(obj.ptr());
        const auto* descr = py::detail::array_descriptor_proxy(proxy->descr);
        const bool native = descr->byteorder == '=' || descr->byteorder == '<';
        if (descr->type_num == py::detail::npy_api::NPY_DOUBLE_ && native && proxy->nd == 1 &&
            (proxy->flags & py::detail::npy_api::NPY_ARRAY_C_CONTIGUOUS_))
            return {py::reinterpret_borrow<py::array>(obj), static_cast<const double*>(static_cast<void*>(proxy->data)),
                    static_cast<std::size_t>(proxy->dimensions[0])};
    }
    py::array array = AsRealArray(obj, name);
    if (array.ndim() == 0)
        throw py::type_error(std::string(name) + " must be a series of real numbers, not a single number");
    if (array.ndim() != 1)
        throw py::value_error(std::string(name) + " must be one series (1-D), not an array of " +
                              std::to_string(array.ndim()) + " dimensions with shape " +
                              py::str(array.attr("shape")).cast<std::string>() +
                              "; give several series to estimate_many");
    auto values = py::array_t<double, py::array::c_style | py::array::forcecast>::ensure(array);
    if (!values)
        throw py::error_already_set();
    return {values, values.data(), static_cast<std::size_t>(values.shape(0))};
}

std::vector<SeriesArgument> ReadSeriesList(py::handle obj, const char* name)
{
    std::vector<SeriesArgument> list;
    if (py::isinstance<py::array>(obj)) {
        py::array array = AsRealArray(obj, name);
        if (array.ndim() != 2)
            throw py::value_error(std::string(name) + " must be a 2-D array (one series per row) or a list of series, "
                                  "not an array of " + std::to_string(array.ndim()) + " dimensions");
        auto values = py::array_t<double, py::array::c_style | py::array::forcecast>::ensure(array);
        if (!values)
            throw py::error_already_set();
        const std::size_t rows = static_cast<std::size_t>(values.shape(0));
        const std::size_t columns = static_cast<std::size_t>(values.shape(1));
        list.reserve(rows);
        for (std::size_t i = 0; i < rows; ++i)
            list.push_back({values, values.data() + i * columns, columns});
        return list;
    }
    if (py::isinstance<py::str>(obj) || !py::isinstance<py::sequence>(obj))
        throw py::type_error(std::string(name) + " must be a list of series or a 2-D array");
    const py::sequence items = py::reinterpret_borrow<py::sequence>(obj);
    list.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string item = std::string(name) + "[" + std::to_string(i) + "]";
        list.push_back(ReadSeriesArgument(items[i], item.c_str()));
    }
    return list;
}

SeriesScan ScanSeries(const double* data, std::size_t size)
{
    // One pass: counts, and whether the values kept (all but NaN) are equal.
    SeriesScan scan;
    std::size_t kept = 0;
    double first = 0.0;
    bool allEqual = true;
    for (std::size_t i = 0; i < size; ++i) {
        const double v = data[i];
        if (v != v) {
            ++scan.notANumber;
            continue;
        }
        if (std::isinf(v))
            ++scan.infinite;
        if (kept++ == 0)
            first = v;
        else
            allEqual = allEqual && v == first;
    }
    scan.constant = allEqual && kept >= 2;
    scan.first = first;
    scan.kept = kept;
    return scan;
}

void CopyNumbers(const double* data, std::size_t size, std::vector<double>& out)
{
    out.clear();
    out.reserve(size);
    for (std::size_t i = 0; i < size; ++i)
        if (data[i] == data[i])
            out.push_back(data[i]);
}
