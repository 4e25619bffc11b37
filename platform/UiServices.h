#pragma once

#include <optional>
#include <string>

// Everything the document and the analyses need from the person at the
// screen. The workbench implements it with windows; tests and the command
// line implement it without one.
enum class MsgButtons { ok, okCancel, yesNo, yesNoCancel };
enum class MsgIcon { information, warning, error, question };
enum class MsgResult { ok, cancel, yes, no };

struct FileDialogOptions
{
    std::string title;
    std::string defaultExtension; // ".kst", ".txt"
    std::string fileName;         // pre-filled name
    std::string filter;           // "Kestrin Files (*.kst)"; empty for none
    bool overwritePrompt = false;
    // "All Files (*)" is offered after the filter.
    bool allFilesFilter = true;
    // The kind of file ("Documents", "Text Import", "Exports", "Databases"):
    // the dialog opens in the folder last used for this kind, across runs.
    std::string kind;
};

// The kinds of file whose dialogs remember their folder.
namespace FileKind {
inline constexpr const char* documents = "Documents";
inline constexpr const char* textImport = "Text Import";
inline constexpr const char* exports = "Exports";
inline constexpr const char* databases = "Databases";
} // namespace FileKind

class IUiServices
{
public:
    virtual ~IUiServices() = default;

    // The status bar's message pane; shown at once.
    virtual void SetStatusText(const std::string& text) = 0;
    // What a result just shown must be read with (an estimate's warnings),
    // in the status bar's message pane: said once, apart from the texts of
    // the operations, and never as a message box. By default as any status
    // text.
    virtual void ShowStatusWarning(const std::string& text) { SetStatusText(text); }
    // Nested: the cursor shows busy while any begin is not yet ended.
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
    virtual MsgResult MessageBox(const std::string& text, MsgButtons buttons, MsgIcon icon) = 0;
    // Asks whether to save changes to the document titled `title`:
    // yes (save), no (discard) or cancel (keep everything as it is).
    virtual MsgResult AskSaveChanges(const std::string& title) = 0;
    virtual std::optional<std::string> ChooseOpenFile(const FileDialogOptions& options) = 0;
    virtual std::optional<std::string> ChooseSaveFile(const FileDialogOptions& options) = 0;

    void ShowError(const std::string& text) { MessageBox(text, MsgButtons::ok, MsgIcon::error); }
};

// Wait cursor for one scope: however the scope is left, the cursor ends.
class CWaitCursor
{
public:
    explicit CWaitCursor(IUiServices& ui) : m_ui(ui) { m_ui.BeginWaitCursor(); }
    ~CWaitCursor() { m_ui.EndWaitCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    IUiServices& m_ui;
};
