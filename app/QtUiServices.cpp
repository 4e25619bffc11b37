#include "app/QtUiServices.h"

#include <algorithm>

#include <QApplication>
#include <QBackingStore>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSettings>
#include <QStatusBar>

namespace {

QString NameFilters(const FileDialogOptions& options)
{
    // A wildcard file name ("*.txt") stands for the filter when none is given.
    QString filters = QString::fromStdString(options.filter);
    const QString name = QString::fromStdString(options.fileName);
    if (filters.isEmpty() && name.contains(QLatin1Char('*')))
        filters = name;
    if (!options.allFilesFilter)
        return filters;
    if (!filters.isEmpty())
        filters += QStringLiteral(";;");
    filters += QStringLiteral("All Files (*)");
    return filters;
}

// The extension of a filter of one pattern, "Name (*.ext)"; empty otherwise.
QString FilterSuffix(const QString& filter)
{
    static const QRegularExpression onePattern(QStringLiteral("\\(\\*\\.([A-Za-z0-9]+)\\)$"));
    const QRegularExpressionMatch match = onePattern.match(filter);
    return match.hasMatch() ? match.captured(1) : QString();
}

constexpr const char* kFolderGroup = "Folders";

// The folder last used for a kind of file, or empty.
QString LastFolder(const std::string& kind)
{
    if (kind.empty())
        return QString();
    QSettings settings;
    settings.beginGroup(QLatin1String(kFolderGroup));
    const QString folder = settings.value(QString::fromStdString(kind)).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

void RememberFolder(const std::string& kind, const std::string& chosen)
{
    if (kind.empty())
        return;
    QSettings settings;
    settings.beginGroup(QLatin1String(kFolderGroup));
    settings.setValue(QString::fromStdString(kind), QFileInfo(QString::fromStdString(chosen)).absolutePath());
}

void Prepare(QFileDialog& dialog, const FileDialogOptions& options)
{
    if (const QString folder = LastFolder(options.kind); !folder.isEmpty())
        dialog.setDirectory(folder);
    if (!options.title.empty())
        dialog.setWindowTitle(QString::fromStdString(options.title));
    dialog.setNameFilters(NameFilters(options).split(QStringLiteral(";;")));
    QString suffix = QString::fromStdString(options.defaultExtension);
    if (suffix.startsWith(QLatin1Char('.')))
        suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);
    // A name typed without an extension takes that of the chosen filter.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        const QString chosen = FilterSuffix(filter);
        if (!chosen.isEmpty())
            dialog.setDefaultSuffix(chosen);
    });
    const QString name = QString::fromStdString(options.fileName);
    if (!name.isEmpty() && !name.contains(QLatin1Char('*')))
        dialog.selectFile(name);
}

} // namespace

QWidget* CQtUiServices::DialogParent() const
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return m_mainWindow.data();
}

void CQtUiServices::SetStatusText(const std::string& text)
{
    if (!m_mainWindow)
        return;
    QStatusBar* bar = m_mainWindow->statusBar();
    bar->showMessage(QString::fromStdString(text));
    // Long work keeps the event loop busy: paint the text now. Not while a
    // painter is open on the main window's picture, though: the nested
    // repaint of the same window would cut that painter off. The text then
    // shows as soon as that paint ends.
    if (!bar->isVisible())
        return;
    QBackingStore* store = m_mainWindow->backingStore();
    const bool painting = store && store->paintDevice() && store->paintDevice()->paintingActive();
    if (painting)
        bar->update();
    else
        bar->repaint();
}

void CQtUiServices::BeginWaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void CQtUiServices::EndWaitCursor()
{
    QApplication::restoreOverrideCursor();
}

MsgResult CQtUiServices::MessageBox(const std::string& text, MsgButtons buttons, MsgIcon icon)
{
    QMessageBox box(DialogParent());
    box.setWindowTitle(QString::fromLatin1(kTitle));
    box.setText(QString::fromStdString(text));
    switch (icon) {
    case MsgIcon::information: box.setIcon(QMessageBox::Information); break;
    case MsgIcon::warning: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::error: box.setIcon(QMessageBox::Critical); break;
    case MsgIcon::question: box.setIcon(QMessageBox::Question); break;
    }
    switch (buttons) {
    case MsgButtons::ok: box.setStandardButtons(QMessageBox::Ok); break;
    case MsgButtons::okCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MsgButtons::yesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case MsgButtons::yesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    // A message during long work must not show the busy cursor.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int answer = box.exec();
    QApplication::restoreOverrideCursor();
    switch (answer) {
    case QMessageBox::Ok: return MsgResult::ok;
    case QMessageBox::Yes: return MsgResult::yes;
    case QMessageBox::No: return MsgResult::no;
    default: return MsgResult::cancel;
    }
}

MsgResult CQtUiServices::AskSaveChanges(const std::string& title)
{
    return MessageBox("Save changes to " + title + "?", MsgButtons::yesNoCancel, MsgIcon::warning);
}

std::optional<std::string> CQtUiServices::ChooseOpenFile(const FileDialogOptions& options)
{
    QFileDialog dialog(DialogParent());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return RunFileDialog(dialog, options);
}

std::optional<std::string> CQtUiServices::ChooseSaveFile(const FileDialogOptions& options)
{
    QFileDialog dialog(DialogParent());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!options.overwritePrompt)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    return RunFileDialog(dialog, options);
}

std::optional<std::string> CQtUiServices::RunFileDialog(QFileDialog& dialog, const FileDialogOptions& options)
{
    Prepare(dialog, options);
    const std::optional<std::string> chosen = ExecFileDialog(dialog);
    if (chosen && !chosen->empty())
        RememberFolder(options.kind, *chosen);
    return chosen;
}

std::optional<std::string> CQtUiServices::ExecFileDialog(QFileDialog& dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}
