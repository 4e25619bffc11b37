// The Python module kestrin: Kestrin's Qt-free libraries, the numbers bit for
// bit those of the workbench and of kestrin-cli.
#include "python/src/Bindings.h"
#include "python/src/ModuleErrors.h"

PYBIND11_MODULE(kestrin, m)
{
    m.doc() = R"(Scaling analysis of 1-D series by the curve-length estimate of H.

The same computations as kestrin-cli and the workbench, through the same
library functions: every number is bit for bit theirs.

    >>> import kestrin, numpy as np
    >>> y = np.cumsum(np.random.default_rng(1).standard_normal(1000))
    >>> r = kestrin.estimate(y, D=4, M=3)
    >>> r.H, r.r

Functions: estimate, estimate_many, bootstrap_many, tabs, sliding, meta_h,
slopes, correlate, h_data, profile, extract, read_document, write_document,
read_text, read_table, tables, fields. Warnings are kestrin.KestrinWarning; a file that is
not what it should be raises kestrin.FormatError (a ValueError).)";
    m.attr("__version__") = "0.1.0";
    // Every docstring starts with the call as Python users write it.
    py::options options;
    options.disable_function_signatures();
    RegisterErrors(m);
    RegisterEstimate(m);
    RegisterBatches(m);
    RegisterWindows(m);
    RegisterDocuments(m);
    RegisterDatabases(m);
}
