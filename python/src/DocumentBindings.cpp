#include "Bindings.h"

void RegisterDocuments(py::module_&) {}
