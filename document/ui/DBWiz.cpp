#include "document/ui/DBWiz.h"

#include <utility>

#include "document/ui/DBWizFieldPages.h"
#include "document/ui/DBWizP1.h"
#include "document/ui/DBWizP2.h"
#include "document/KestrinDoc.h"

CDBWiz::CDBWiz(IUiServices& ui, QWidget* parent, DatabaseOpener opener)
    : QWizard(parent), m_ui(ui), m_opener(std::move(opener))
{
    setObjectName(QStringLiteral("CDBWiz"));
    setWindowTitle(QString::fromLatin1(kCaption));
    setWizardStyle(QWizard::ClassicStyle);
    setOption(QWizard::NoBackButtonOnStartPage, false);
    setOption(QWizard::HaveHelpButton, false);

    m_page4 = new CDBWizP4;
    m_page3 = new CDBWizP3;
    m_page2 = new CDBWizP2;
    m_page1 = new CDBWizP1;
    addPage(m_page1);
    addPage(m_page2);
    addPage(m_page3);
    addPage(m_page4);
    connect(this, &QWizard::currentIdChanged, this, &CDBWiz::OnCurrentIdChanged);
}

CDBWiz::~CDBWiz() = default;

int CDBWiz::DoModal()
{
    if (m_pDoc) {
        m_strDatabase = m_pDoc->m_strDatabase;
        m_strTable = m_pDoc->m_strTable;
        m_strYField = m_pDoc->m_strYField;
        m_strXField = m_pDoc->m_strXField;
    }
    return exec();
}

void CDBWiz::OpenDatabaseFile(const std::string& path)
{
    m_database.reset();
    if (!m_opener)
        throw CDatabaseError("no database access is available");
    m_database = m_opener(path);
    if (!m_database)
        throw CDatabaseError("the file could not be opened");
}

bool CDBWiz::validateCurrentPage()
{
    auto* page = qobject_cast<CDBWizPage*>(currentPage());
    if (!page || !page->OnWizardNext())
        return false;
    const int next = nextId();
    auto* nextPage = next >= 0 ? qobject_cast<CDBWizPage*>(this->page(next)) : nullptr;
    if (!nextPage)
        return true;
    m_nActivated = next;
    if (!nextPage->OnSetActive()) {
        m_nActivated = -1;
        return false;
    }
    return true;
}

void CDBWiz::done(int result)
{
    // Only the last page finishes the wizard; Cancel ends it anywhere.
    if (result == QDialog::Accepted && currentPage() && !currentPage()->isFinalPage())
        return;
    QWizard::done(result);
    if (result != QDialog::Accepted)
        CloseDatabase();
}

void CDBWiz::OnCurrentIdChanged(int id)
{
    if (id < 0)
        return;
    if (id == m_nActivated) {
        m_nActivated = -1;
        return;
    }
    // The first page on opening, and every page reached with Back.
    m_nActivated = -1;
    if (auto* page = qobject_cast<CDBWizPage*>(this->page(id)))
        page->OnSetActive();
}
