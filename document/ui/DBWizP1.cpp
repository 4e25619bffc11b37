#include "document/ui/DBWizP1.h"

#include <exception>

#include <QLineEdit>
#include <QPushButton>

#include "document/ui/DBWiz.h"
#include "platform/TextEncoding.h"
#include "platform/UiServices.h"

CDBWizP1::CDBWizP1() : CDBWizPage(131, "Select Database")
{
    AddStatic("labelStep", "Step 1: Select a Database", 7, 7, 230, 8);
    m_select = new QPushButton(QStringLiteral("&Select"), this);
    m_select->setObjectName(QStringLiteral("button1001"));
    m_select->setAutoDefault(false);
    Place(m_select, 7, 24, 50, 14);
    m_editPath = new QLineEdit(this);
    m_editPath->setObjectName(QStringLiteral("edit1000"));
    m_editPath->setReadOnly(true);
    Place(m_editPath, 7, 44, 230, 14);
    SetPageSize(244, 140);
    connect(m_select, &QPushButton::clicked, this, &CDBWizP1::OnSelect);
}

void CDBWizP1::ShowPath()
{
    m_editPath->setText(QString::fromStdString(DisplayText(m_strDatabase)));
}

bool CDBWizP1::OnSetActive()
{
    CDBWiz& wiz = Wizard();
    if (wiz.m_strDatabase.empty()) {
        SetWizardButtons(kWizNone);
        ShowPath();
        return true;
    }
    m_strDatabase = wiz.m_strDatabase;
    if (!wiz.IsDatabaseOpen() && !OpenWizardDatabase())
        Message("Unable to connect to database!");
    SetWizardButtons(wiz.IsDatabaseOpen() ? kWizNext : kWizNone);
    ShowPath();
    return true;
}

void CDBWizP1::OnSelect()
{
    FileDialogOptions options;
    options.defaultExtension = ".mdb";
    options.fileName = "*.mdb";
    options.filter = DatabaseFileFilter();
    options.kind = FileKind::databases;
    const std::optional<std::string> chosen = Ui().ChooseOpenFile(options);
    if (!chosen)
        return;
    Wizard().CloseDatabase();
    m_strDatabase = *chosen;
    if (OpenWizardDatabase()) {
        SetWizardButtons(kWizNext);
    } else {
        Message("Unable to connect to database!");
        SetWizardButtons(kWizNone);
    }
    ShowPath();
}

bool CDBWizP1::OpenWizardDatabase()
{
    CDBWiz& wiz = Wizard();
    if (wiz.IsDatabaseOpen())
        return true;
    std::string reason;
    {
        CWaitCursor wait(Ui());
        try {
            wiz.OpenDatabaseFile(m_strDatabase);
        } catch (const std::exception& e) {
            wiz.CloseDatabase();
            reason = DisplayText(e.what());
            if (reason.empty())
                reason = "The file could not be opened.";
        }
    }
    if (!reason.empty()) {
        // The layer's reason goes on a second line: which file, and why.
        Message("Unable to open database!\n" + reason);
        return false;
    }
    return wiz.IsDatabaseOpen();
}

bool CDBWizP1::OnWizardNext()
{
    Wizard().m_strDatabase = m_strDatabase;
    return true;
}
