#include "Bindings.h"

void RegisterWindows(py::module_&) {}
