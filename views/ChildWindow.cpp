#include "ChildWindow.h"

#include "KestrinView.h"

void CChildWindow::Create(const char* windowName, int childId, const QRect& rect, CKestrinView* view)
{
    m_view = view;
    m_nChildId = childId;
    setObjectName(QString::fromLatin1(windowName));
    setProperty("childId", childId);
    setAutoFillBackground(false);
    setParent(view);
    setGeometry(rect);
    show();
}
