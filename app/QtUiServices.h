#pragma once

#include <QMainWindow>
#include <QPointer>

#include "app/LockKeys.h"
#include "platform/UiServices.h"

class QFileDialog;
class QWidget;

// The user-interface services of the workbench: the main window's status
// bar, the wait cursor, message boxes titled "Kestrin" and the file dialogs.
// Tests derive from it to script the answers a person would give.
class CQtUiServices : public IUiServices
{
public:
    static constexpr const char* kTitle = "Kestrin";

    void SetMainWindow(QMainWindow* window) { m_mainWindow = window; }

    void SetStatusText(const std::string& text) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    MsgResult MessageBox(const std::string& text, MsgButtons buttons, MsgIcon icon) override;
    MsgResult AskSaveChanges(const std::string& title) override;
    std::optional<std::string> ChooseOpenFile(const FileDialogOptions& options) override;
    std::optional<std::string> ChooseSaveFile(const FileDialogOptions& options) override;
    // The lock keys' states for the status bar; none where the platform
    // cannot say.
    virtual std::optional<CLockKeyState> LockKeys() const { return ReadLockKeyState(); }

protected:
    QWidget* DialogParent() const;
    // Shows the file dialog, prepared, and returns the file chosen; a test
    // answers in its place.
    virtual std::optional<std::string> ExecFileDialog(QFileDialog& dialog);

private:
    // Opens the dialog in the folder last used for its kind of file, and
    // remembers the folder of the file chosen.
    std::optional<std::string> RunFileDialog(QFileDialog& dialog, const FileDialogOptions& options);

    QPointer<QMainWindow> m_mainWindow;
};
