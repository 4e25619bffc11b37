#include "views/HGraph.h"

#include <QPainter>

#include "views/PictureSource.h"
#include "platform/StatusOperation.h"

void CHGraph::Create(const QRect& rect, QWidget* parent, const IPictureSource& source)
{
    CChildWindow::Create("CHGraph", 103, rect, parent, source);
    // The view takes the mouse over the plot: it zooms and reads out values.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void CHGraph::Move(const QRect& rect)
{
    if (IsCreated())
        setGeometry(rect);
}

void CHGraph::paintEvent(QPaintEvent*)
{
    const IPictureSource* source = Source();
    if (!source || !source->HasData())
        return;
    const CHGraphData data = source->HGraphData();
    if (data.IsEmpty())
        return;

    // The status bar repaints at once, inside this paint of the same
    // top-level window: its text changes only while no painter is open here.
    CStatusOperation status(source->PictureUi(), "Generating H Graph...");
    QPainter painter(this);
    painter.setFont(font());
    DrawHGraph(painter, width(), height(), data);
    painter.end();
    // Leaving the scope writes "Ready" and ends the wait cursor.
}
