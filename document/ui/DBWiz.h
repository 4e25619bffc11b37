#pragma once

#include <memory>
#include <string>

#include <QWizard>

#include "document/DatabaseOpener.h"

class CDBWizP1;
class CDBWizP2;
class CDBWizP3;
class CDBWizP4;
class CKestrinDoc;
class IUiServices;

// "Database Selection Wizard": four steps choosing a database file, one of
// its tables, the field read as X (the sequence) and the field read as Y
// (the series). It browses the file through a connection of its own, open
// from step 1 until another file is chosen, Finish or the wizard's end.
class CDBWiz : public QWizard
{
    Q_OBJECT

public:
    static constexpr const char* kCaption = "Database Selection Wizard";

    explicit CDBWiz(IUiServices& ui, QWidget* parent = nullptr, DatabaseOpener opener = OpenDatabase);
    ~CDBWiz() override;

    // Copies the names the document holds (when m_pDoc is set) and runs the
    // wizard modally; QDialog::Accepted only on Finish.
    int DoModal();

    IUiServices& Ui() const { return m_ui; }
    bool IsDatabaseOpen() const { return m_database != nullptr; }
    // Opens the browsing connection on path; throws CDatabaseError.
    void OpenDatabaseFile(const std::string& path);
    void CloseDatabase() { m_database.reset(); }

    std::unique_ptr<IDatabase> m_database;
    std::string m_strXField;
    std::string m_strYField;
    std::string m_strTable;
    std::string m_strDatabase;
    CKestrinDoc* m_pDoc = nullptr;
    // Owned by the wizard as its pages; added in the order 1, 2, 3, 4.
    CDBWizP4* m_page4 = nullptr;
    CDBWizP3* m_page3 = nullptr;
    CDBWizP2* m_page2 = nullptr;
    CDBWizP1* m_page1 = nullptr;

    void done(int result) override;

protected:
    // Next and Finish: the page copies its choice, and a page about to be
    // shown is activated first, so that one refusing its activation keeps
    // the user where they are.
    bool validateCurrentPage() override;

private:
    void OnCurrentIdChanged(int id);

    IUiServices& m_ui;
    DatabaseOpener m_opener;
    // The page already activated by the move now under way.
    int m_nActivated = -1;
};
