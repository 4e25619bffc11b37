#include "SeriesGraph.h"

#include "KestrinView.h"

void CSeriesGraph::Create(const QRect& rect, CKestrinView* view)
{
    CChildWindow::Create("CSeriesGraph", 104, rect, view);
}

void CSeriesGraph::Move(const QRect& rect)
{
    if (!IsCreated())
        return;
    m_bRegenerate = 1;
    setGeometry(rect);
}

void CSeriesGraph::paintEvent(QPaintEvent*)
{
}
