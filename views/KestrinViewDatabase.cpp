#include "views/KestrinView.h"

#include "document/ui/DBWiz.h"
#include "document/KestrinDoc.h"

void CKestrinView::OnImportDatabase()
{
    // The wizard browses with the same kind of connection the document
    // loads with.
    CDBWiz wizard(m_doc.Ui(), this, m_doc.m_openDatabase);
    wizard.m_pDoc = &m_doc;
    if (wizard.DoModal() != QDialog::Accepted)
        return;
    if (m_doc.ImportDatabase(wizard.m_strDatabase, wizard.m_strTable, wizard.m_strXField, wizard.m_strYField)) {
        // Every window on the document shows the new series, not only this one.
        m_doc.UpdateAllViews(nullptr);
    }
}
