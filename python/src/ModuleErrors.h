#pragma once

#include <string>
#include <vector>

#include <pybind11/pybind11.h>

#include "platform/HeadlessUi.h"

namespace py = pybind11;

// kestrin.KestrinWarning (a UserWarning) and kestrin.FormatError (a
// ValueError), created once by RegisterErrors.
void RegisterErrors(py::module_& m);
py::handle KestrinWarningType();
py::handle FormatErrorType();

// Issues each text as a KestrinWarning, in order. Must hold the GIL; throws
// error_already_set when a filter turns the warning into an error.
void IssueWarnings(const std::vector<std::string>& texts);

// What the document and the analyses tell the user, kept for Python: the
// warnings to issue, the first failure to raise. Nothing is printed.
class CModuleUi : public CHeadlessUi
{
public:
    MsgResult MessageBox(const std::string& text, MsgButtons buttons, MsgIcon icon) override;

    void Warn(const std::string& text) { warnings.push_back(text); }

    std::vector<std::string> warnings;
    std::vector<std::string> failures;
};

// The failure of reading or writing path: OSError when the file itself
// cannot be opened, read or written (no such file, no permission, a folder),
// kestrin.FormatError when it was read but is not what it should be.
[[noreturn]] void RaiseFileFailure(const std::string& path, const CModuleUi& ui, bool writing);
