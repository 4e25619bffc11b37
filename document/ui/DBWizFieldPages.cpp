#include "document/ui/DBWizFieldPages.h"

#include <exception>
#include <memory>

#include <QListWidget>

#include "document/ui/DBWiz.h"
#include "platform/UiServices.h"

namespace {

constexpr int kSampleCount = 7;

} // namespace

CDBWizFieldPage::CDBWizFieldPage(const Layout& layout)
    : CDBWizPage(layout.templateId, layout.title), m_forward(layout.forward)
{
    AddStatic("labelStep", layout.step, 7, 7, 230, 8);
    AddStatic("labelFields", "Fields", 7, 22, 110, 8);
    AddStatic("labelSamples", "Sample Values", 127, 22, 110, 8);
    m_lbFields = AddListBox(layout.fieldsId, 7, 32, 110, 100);
    m_lbSamples = AddListBox(layout.samplesId, 127, 32, 110, 100);
    m_lbSamples->setEnabled(false);
    SetPageSize(244, 140);
    connect(m_lbFields, &QListWidget::itemSelectionChanged, this, &CDBWizFieldPage::OnSelChangeFields);
}

bool CDBWizFieldPage::OnSetActive()
{
    CDBWiz& wiz = Wizard();
    m_strField = WizardField();
    SetWizardButtons(kWizBack);
    m_lbFields->clear();
    // Samples of an earlier table or field would mislead.
    m_lbSamples->clear();
    bool failed = false;
    {
        CWaitCursor wait(Ui());
        try {
            if (!wiz.m_database)
                throw CDatabaseError("no database is open");
            for (const std::string& name : wiz.m_database->FieldNames(wiz.m_strTable))
                AddListEntry(*m_lbFields, name);
        } catch (const std::exception&) {
            failed = true;
        }
    }
    if (failed)
        Message("Cannot open table!");
    if (SelectStringPrefix(*m_lbFields, m_strField) >= 0) {
        ShowSampleValues(m_strField);
        SetWizardButtons(kWizBack | m_forward);
    }
    return true;
}

void CDBWizFieldPage::OnSelChangeFields()
{
    const int row = m_lbFields->currentRow();
    if (row < 0 || !m_lbFields->item(row)->isSelected())
        return;
    m_strField = ListEntry(*m_lbFields, row);
    ShowSampleValues(m_strField);
    SetWizardButtons(kWizBack | m_forward);
}

void CDBWizFieldPage::ShowSampleValues(const std::string& field)
{
    CDBWiz& wiz = Wizard();
    bool failed = false;
    {
        CWaitCursor wait(Ui());
        m_lbSamples->clear();
        try {
            if (!wiz.m_database)
                throw CDatabaseError("no database is open");
            std::unique_ptr<IRecordset> records = wiz.m_database->OpenRecordset(wiz.m_strTable);
            for (int i = 0; i < kSampleCount && !records->IsEOF(); ++i) {
                AddListEntry(*m_lbSamples, VariantToText(records->GetFieldValue(field)));
                records->MoveNext();
            }
        } catch (const std::exception&) {
            failed = true;
        }
    }
    if (failed)
        Message("Cannot open table! (Or some other error)");
}

bool CDBWizFieldPage::OnWizardNext()
{
    WizardField() = m_strField;
    return true;
}

CDBWizP3::CDBWizP3()
    : CDBWizFieldPage({133, "Select Sequence", "Step 3: Select Sequence Variable from Table", 1004, 1005, kWizNext})
{
}

std::string& CDBWizP3::WizardField() const
{
    return Wizard().m_strXField;
}

CDBWizP4::CDBWizP4()
    : CDBWizFieldPage({134, "Select Series", "Step 4: Select Series Data", 1006, 1007, kWizFinish})
{
}

std::string& CDBWizP4::WizardField() const
{
    return Wizard().m_strYField;
}

bool CDBWizP4::OnWizardNext()
{
    CDBWizFieldPage::OnWizardNext();
    Wizard().CloseDatabase();
    return true;
}
