#include "Legend.h"

#include <QPainter>

#include "KestrinDoc.h"
#include "KestrinView.h"
#include "LegendRender.h"

void CLegend::Create(const QRect& rect, CKestrinView* view)
{
    CChildWindow::Create("CLegend", 105, rect, view);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void CLegend::Move(const QRect& rect)
{
    if (IsCreated())
        setGeometry(rect);
}

void CLegend::SetData(const std::string& bottomTitle, const std::string& leftTitle, double xMax, double xMin,
                      double yMax, double yMin)
{
    m_strBottomTitle = bottomTitle;
    m_strLeftTitle = leftTitle;
    m_dXMax = xMax;
    m_dXMin = xMin;
    m_dYMax = yMax;
    m_dYMin = yMin;
}

void CLegend::paintEvent(QPaintEvent*)
{
    if (!IsCreated() || View()->GetDocument().m_bHasData == 0)
        return;
    // The legend covers the view's whole client area.
    QPainter painter(this);
    painter.setFont(font());
    DrawLegend(painter, width(), height(), View()->LegendData());
}
