// Each kind of file dialog opens in the folder last used for its kind, and
// keeps it from one run of the workbench to the next.
#include <deque>
#include <filesystem>
#include <memory>

#include <QCoreApplication>
#include <QFileDialog>
#include <QSettings>
#include <gtest/gtest.h>

#include "app/QtUiServices.h"
#include "tests/support/TestSupport.h"

namespace file_dialog_folders_test {

namespace {

// The real dialogs prepared as the workbench prepares them; the test answers
// instead of the person, and notes the folder each dialog opened in.
class CFolderUi : public CQtUiServices
{
public:
    explicit CFolderUi(std::deque<std::optional<std::string>>& answers) : m_answers(answers) {}
    QString openedIn;

protected:
    std::optional<std::string> ExecFileDialog(QFileDialog& dialog) override
    {
        openedIn = dialog.directory().absolutePath();
        std::optional<std::string> answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }

private:
    std::deque<std::optional<std::string>>& m_answers;
};

class FileDialogFolders : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // The settings the test main keeps in a directory of its own.
        QCoreApplication::setOrganizationName(QStringLiteral("Orvanel"));
        QCoreApplication::setApplicationName(QStringLiteral("Kestrin"));
        QSettings().clear();
        for (const char* name : {"a", "b", "gone"})
            std::filesystem::create_directory(m_dir.File(name));
    }
    void TearDown() override { QSettings().clear(); }

    QString Folder(const char* name) { return QString::fromStdString(m_dir.File(name)); }

    TempDir m_dir;
};

} // namespace

TEST_F(FileDialogFolders, EachKindOpensWhereItWasLastUsedAcrossRuns)
{
    struct Step
    {
        bool newRun;
        const char* kind;
        bool save;
        std::optional<std::string> answer;
        QString openedIn; // empty: a kind used for the first time opens where Qt's dialogs last were
    };
    const Step steps[] = {
        {false, "Documents", false, m_dir.File("a/one.kst"), QString()},
        {false, "Documents", true, std::nullopt, Folder("a")},
        // Cancel changes nothing; each kind keeps its own folder.
        {false, "Documents", true, m_dir.File("b/two.kst"), Folder("a")},
        {false, "Text Import", false, m_dir.File("a/values.txt"), QString()},
        {false, "Exports", true, m_dir.File("gone/h.txt"), QString()},
        {true, "Documents", false, std::nullopt, Folder("b")},
        {true, "Text Import", true, std::nullopt, Folder("a")},
        {false, "Databases", false, m_dir.File("a/x.mdb"), QString()},
        {true, "Databases", false, std::nullopt, Folder("a")},
    };
    std::deque<std::optional<std::string>> answers;
    auto ui = std::make_unique<CFolderUi>(answers);
    for (const Step& step : steps) {
        SCOPED_TRACE(std::string(step.kind) + " " + (step.answer ? *step.answer : "cancel"));
        if (step.newRun)
            ui = std::make_unique<CFolderUi>(answers);
        answers.push_back(step.answer);
        FileDialogOptions options;
        options.kind = step.kind;
        const auto chosen = step.save ? ui->ChooseSaveFile(options) : ui->ChooseOpenFile(options);
        EXPECT_EQ(chosen, step.answer);
        if (!step.openedIn.isEmpty()) {
            EXPECT_EQ(ui->openedIn.toStdString(), step.openedIn.toStdString());
        }
    }
    EXPECT_EQ(QSettings().value("Folders/Documents").toString(), Folder("b"));

    // A folder that is gone is forgotten.
    std::filesystem::remove(m_dir.File("gone"));
    answers.push_back(std::nullopt);
    FileDialogOptions exports;
    exports.kind = "Exports";
    ui->ChooseSaveFile(exports);
    EXPECT_NE(ui->openedIn.toStdString(), m_dir.File("gone"));
}

} // namespace file_dialog_folders_test
