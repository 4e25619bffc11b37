#include "views/SeriesGraph.h"

#include <QPainter>

#include "views/PictureSource.h"
#include "platform/StatusOperation.h"

void CSeriesGraph::Create(const QRect& rect, QWidget* parent, const IPictureSource& source)
{
    // Not marked as painting opaquely, although a picture covers the whole
    // window: Qt then leaves it out when the view repaints itself with the
    // transparent H graph and legend over it, and the view's update must
    // redraw the series at once.
    CChildWindow::Create("CSeriesGraph", 104, rect, parent, source);
    // The view takes the mouse over the plot: it zooms and reads out values.
    setAttribute(Qt::WA_TransparentForMouseEvents);
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
    const IPictureSource* source = Source();
    // Without data nothing is drawn and the status bar is left alone.
    if (!source || !source->HasData())
        return;

    // The status bar repaints at once when its text changes, inside this
    // paint of the same top-level window: no painter may be open on this
    // window across a status change, or the nested repaint ends it.
    const QSize size = this->size();
    const bool snapshotFits = !m_snapshot.isNull() && m_snapshot.deviceIndependentSize().toSize() == size;
    // (A snapshot of another size than the window, after a resize that
    // bypassed Move, cannot stand in for it.)
    if (m_bRegenerate == 0 && snapshotFits) {
        {
            QPainter painter(this);
            painter.drawPixmap(0, 0, m_snapshot);
        }
        source->PictureUi().SetStatusText(CStatusOperation::kReady);
        return;
    }

    CStatusOperation status(source->PictureUi(), "Generating Series Graph...");
    // Drawn off-screen over the view's white background (nothing else lies
    // beneath the plot rectangle), then shown; the bitmap is the snapshot.
    const qreal ratio = devicePixelRatioF();
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    if (!pixmap.isNull()) {
        const QWidget* view = parentWidget();
        pixmap.fill(view->palette().color(view->backgroundRole()));
        QPainter offscreen(&pixmap);
        offscreen.setFont(font());
        DrawSeriesGraph(offscreen, size.width(), size.height(), source->SeriesGraphData());
    }
    m_snapshot = std::move(pixmap);
    m_bRegenerate = 0;
    {
        QPainter painter(this);
        painter.drawPixmap(0, 0, m_snapshot);
    }
    // Leaving the scope writes "Ready" and ends the wait cursor.
}
