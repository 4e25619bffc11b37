#include "document/ui/DBWizP2.h"

#include <exception>
#include <vector>

#include <QListWidget>

#include "document/ui/DBWiz.h"
#include "platform/UiServices.h"

CDBWizP2::CDBWizP2() : CDBWizPage(132, "Select Table")
{
    AddStatic("labelStep", "Step 2: Select Table from Database", 7, 7, 230, 8);
    AddStatic("labelTables", "Tables", 7, 22, 110, 8);
    AddStatic("labelFields", "Fields", 127, 22, 110, 8);
    m_lbTables = AddListBox(1002, 7, 32, 110, 100);
    m_lbFields = AddListBox(1003, 127, 32, 110, 100);
    m_lbFields->setEnabled(false);
    SetPageSize(244, 140);
    connect(m_lbTables, &QListWidget::itemSelectionChanged, this, &CDBWizP2::OnSelChangeTables);
}

bool CDBWizP2::OnSetActive()
{
    CDBWiz& wiz = Wizard();
    m_lbTables->clear();
    // The fields shown belong to the table chosen below, if any.
    m_lbFields->clear();
    bool failed = false;
    {
        CWaitCursor wait(Ui());
        try {
            if (!wiz.m_database)
                throw CDatabaseError("no database is open");
            for (const std::string& name : wiz.m_database->TableNames())
                AddListEntry(*m_lbTables, name);
        } catch (const std::exception&) {
            failed = true;
        }
    }
    if (failed) {
        Message("GetTableDefInfo Error!");
        // Reached with Back the page shows anyway, with nothing to go on.
        SetWizardButtons(kWizBack);
        return false;
    }
    SetWizardButtons(kWizBack);
    m_strTable = wiz.m_strTable;
    if (SelectStringPrefix(*m_lbTables, m_strTable) >= 0) {
        ListTableFields();
        SetWizardButtons(kWizBack | kWizNext);
    }
    return true;
}

void CDBWizP2::OnSelChangeTables()
{
    const int row = m_lbTables->currentRow();
    if (row < 0 || !m_lbTables->item(row)->isSelected())
        return;
    SetWizardButtons(kWizBack | kWizNext);
    m_strTable = ListEntry(*m_lbTables, row);
    ListTableFields();
}

void CDBWizP2::ListTableFields()
{
    m_lbFields->clear();
    bool failed = false;
    {
        CWaitCursor wait(Ui());
        try {
            if (!Wizard().m_database)
                throw CDatabaseError("no database is open");
            for (const std::string& name : Wizard().m_database->FieldNames(m_strTable))
                AddListEntry(*m_lbFields, name);
        } catch (const std::exception&) {
            failed = true;
        }
    }
    if (failed)
        Message("Cannot open table!");
}

bool CDBWizP2::OnWizardNext()
{
    Wizard().m_strTable = m_strTable;
    return true;
}
