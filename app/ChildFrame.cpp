#include "app/ChildFrame.h"

#include <QCloseEvent>

#include "app/KestrinApp.h"
#include "document/KestrinDoc.h"
#include "views/KestrinView.h"
#include "app/ToolbarIcons.h"

CChildFrame::CChildFrame(CKestrinApp& app, CKestrinDoc& doc)
    : m_app(app), m_doc(doc), m_view(new CKestrinView(doc))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(ApplicationIcon());
    setWidget(m_view);
}

CChildFrame::~CChildFrame()
{
    // The view leaves the document before the frame tells the application,
    // which closes the document once no view is left on it.
    CKestrinDoc* doc = &m_doc;
    delete m_view;
    m_view = nullptr;
    m_app.OnFrameDestroyed(doc);
}

void CChildFrame::closeEvent(QCloseEvent* event)
{
    if (!m_app.CanCloseFrame(this)) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}
