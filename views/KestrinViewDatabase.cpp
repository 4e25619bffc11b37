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
    // The document updates every window on it.
    m_doc.ImportDatabase(wizard.m_strDatabase, wizard.m_strTable, wizard.m_strXField, wizard.m_strYField);
}
