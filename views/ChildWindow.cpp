#include "views/ChildWindow.h"

void CChildWindow::Create(const char* windowName, int childId, const QRect& rect, QWidget* parent,
                          const IPictureSource& source)
{
    m_source = &source;
    m_nChildId = childId;
    setObjectName(QString::fromLatin1(windowName));
    setProperty("childId", childId);
    setAutoFillBackground(false);
    setParent(parent);
    setGeometry(rect);
    show();
}
