#pragma once

#include <pybind11/pybind11.h>

namespace py = pybind11;

struct EstimateResult;

// The parts of the module, each registered from its own file.
void RegisterEstimate(py::module_& m);                                    // EstimateBinding.cpp
void RegisterBootstrap(py::module_& m, py::class_<EstimateResult>& cls); // BootstrapBinding.cpp
void RegisterMethods(py::class_<EstimateResult>& cls);                   // MethodsBinding.cpp
void RegisterBatches(py::module_& m);                                     // BatchBindings.cpp
void RegisterWindows(py::module_& m);                                     // WindowBindings.cpp
void RegisterDocuments(py::module_& m);                                   // DocumentBindings.cpp
void RegisterDatabases(py::module_& m);                                   // DatabaseBindings.cpp
