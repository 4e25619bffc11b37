#include "views/Legend.h"

#include <QPainter>

#include "views/PictureSource.h"

void CLegend::Create(const QRect& rect, QWidget* parent, const IPictureSource& source)
{
    CChildWindow::Create("CLegend", 105, rect, parent, source);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void CLegend::Move(const QRect& rect)
{
    if (IsCreated())
        setGeometry(rect);
}

void CLegend::paintEvent(QPaintEvent*)
{
    const IPictureSource* source = Source();
    if (!source || !source->HasData())
        return;
    // The legend covers the view's whole client area.
    QPainter painter(this);
    painter.setFont(font());
    DrawLegend(painter, width(), height(), source->LegendData());
}
