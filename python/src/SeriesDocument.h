#pragma once

#include <memory>
#include <string>
#include <vector>

#include <pybind11/pybind11.h>

#include "document/KestrinDoc.h"
#include "python/src/ModuleErrors.h"

namespace py = pybind11;

// A document with its own UI, as kestrin.Document holds it.
struct DocumentHolder
{
    CModuleUi ui;
    CKestrinDoc doc{ui};
    // The file it was read from or last written to, "" for none.
    std::string path;
};

// The document an analysis runs on: y itself when it is a kestrin.Document
// (whose results the analysis replaces, as the workbench's do), otherwise a
// new document holding the series y (X from x, or the positions 0, 1, ...
// as the text import numbers them), its global estimator computed as the
// import computes it. Values of y that are not a number are left out with
// their X. warnings receives the command line's warnings about the series.
std::shared_ptr<DocumentHolder> DocumentArgument(py::handle y, py::handle x, std::vector<std::string>& warnings);

// Takes what the document's UI was told: its warnings are appended to
// warnings, and the UI's lists are emptied.
void TakeUiWarnings(DocumentHolder& holder, std::vector<std::string>& warnings);

// A new document made from source by build(source, target), as the command
// line saves it; what its UI was told is issued as warnings.
template <class Build>
std::shared_ptr<DocumentHolder> NewDocument(const DocumentHolder& source, Build build)
{
    auto target = std::make_shared<DocumentHolder>();
    {
        py::gil_scoped_release release;
        target->doc.OnNewDocument();
        build(source.doc, target->doc);
    }
    std::vector<std::string> warnings;
    TakeUiWarnings(*target, warnings);
    IssueWarnings(warnings);
    return target;
}
