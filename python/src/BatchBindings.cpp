#include "Bindings.h"

void RegisterBatches(py::module_&) {}
