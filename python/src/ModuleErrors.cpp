#include "python/src/ModuleErrors.h"

#include <cerrno>
#include <filesystem>
#include <unistd.h>

namespace {

// Owned by the module for the life of the process (no destructor may run
// after the interpreter has finished).
py::handle g_warning;
py::handle g_formatError;

// A leading "Kestrin: " belongs to the workbench's message boxes.
std::string WithoutProgramName(const std::string& text)
{
    const std::string own = "Kestrin: ";
    return text.rfind(own, 0) == 0 ? text.substr(own.size()) : text;
}

} // namespace

void RegisterErrors(py::module_& m)
{
    g_warning = py::handle(
        PyErr_NewExceptionWithDoc("kestrin.KestrinWarning",
                                  "A result that is computed but means less than it seems (a constant series, too few "
                                  "values for the lags, infinite values...). The text says what to do.",
                                  PyExc_UserWarning, nullptr));
    g_formatError = py::handle(
        PyErr_NewExceptionWithDoc("kestrin.FormatError",
                                  "A file that was read but is not what it should be: a damaged or foreign document, "
                                  "a table without the fields named, a text file with a line too long.",
                                  PyExc_ValueError, nullptr));
    if (!g_warning || !g_formatError)
        throw py::error_already_set();
    m.attr("KestrinWarning") = g_warning;
    m.attr("FormatError") = g_formatError;
}

py::handle KestrinWarningType() { return g_warning; }
py::handle FormatErrorType() { return g_formatError; }

void IssueWarnings(const std::vector<std::string>& texts)
{
    for (const std::string& text : texts)
        if (PyErr_WarnEx(g_warning.ptr(), text.c_str(), 1) != 0)
            throw py::error_already_set();
}

MsgResult CModuleUi::MessageBox(const std::string& text, MsgButtons buttons, MsgIcon icon)
{
    if (icon == MsgIcon::warning)
        warnings.push_back(WithoutProgramName(text));
    else if (icon == MsgIcon::error)
        failures.push_back(WithoutProgramName(text));
    return CHeadlessUi::MessageBox(text, buttons, icon);
}

void RaiseFileFailure(const std::string& path, const CModuleUi& ui, bool writing)
{
    std::string text = ui.failures.empty() ? "cannot " + std::string(writing ? "write" : "read") + " \"" + path + "\""
                                           : ui.failures.front();
    for (std::size_t i = 1; i < ui.failures.size(); ++i)
        text += "\n" + ui.failures[i];
    // The file's own state decides the kind: one that cannot be opened is an
    // OSError with its errno, one that was read but refused a FormatError.
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    int error = 0;
    if (!writing) {
        if (!std::filesystem::exists(status))
            error = ENOENT;
        else if (std::filesystem::is_directory(status))
            error = EISDIR;
        else if (::access(path.c_str(), R_OK) != 0)
            error = EACCES;
        else if (!std::filesystem::is_regular_file(status))
            error = EINVAL;
    } else if (std::filesystem::is_directory(status)) {
        error = EISDIR;
    } else {
        const auto folder = std::filesystem::path(path).parent_path();
        const std::string dir = folder.empty() ? "." : folder.string();
        if (!std::filesystem::is_directory(dir, ec))
            error = ENOENT;
        else if (::access(dir.c_str(), W_OK) != 0)
            error = EACCES;
        else
            error = EIO;
    }
    if (error != 0) {
        py::object exc = py::reinterpret_borrow<py::object>(PyExc_OSError)(error, text, path);
        PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(exc.ptr())), exc.ptr());
        throw py::error_already_set();
    }
    PyErr_SetString(g_formatError.ptr(), text.c_str());
    throw py::error_already_set();
}
