#include "app/MdiArrange.h"

#include <algorithm>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionTitleBar>

namespace {

// The windows to arrange, bottom of the stack first; maximised ones are
// restored first, as an arrangement needs them at their normal size. The
// area scrolls back to its origin first: the windows are placed from there,
// and a scroll position left behind would shift them all once the scroll
// bars go.
QList<QMdiSubWindow*> NormalWindows(QMdiArea& area)
{
    area.horizontalScrollBar()->setValue(0);
    area.verticalScrollBar()->setValue(0);
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* w : area.subWindowList(QMdiArea::StackingOrder)) {
        if (w->isMinimized() || w->isHidden())
            continue;
        if (w->isMaximized())
            w->showNormal();
        windows.append(w);
    }
    return windows;
}

// The height of the row of minimised windows along the bottom, if any.
int IconRowHeight(QMdiArea& area)
{
    int height = 0;
    for (QMdiSubWindow* w : area.subWindowList())
        if (w->isMinimized() && !w->isHidden())
            height = std::max(height, w->height());
    return height;
}

} // namespace

QSize ArrangeRoom(const QMdiArea& area)
{
    return area.contentsRect().size();
}

int CascadeStep(const QMdiArea& area)
{
    QStyleOptionTitleBar option;
    option.initFrom(&area);
    option.titleBarFlags = Qt::SubWindow;
    return std::max(1, area.style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, &area));
}

void TileHorizontally(QMdiArea& area)
{
    QList<QMdiSubWindow*> windows = NormalWindows(area);
    if (windows.isEmpty())
        return;
    std::reverse(windows.begin(), windows.end());
    const QSize room = ArrangeRoom(area);
    const int height = std::max(0, room.height() - IconRowHeight(area));
    const int n = static_cast<int>(windows.size());
    for (int i = 0; i < n; ++i) {
        const int top = i * height / n;
        const int bottom = (i + 1) * height / n;
        windows[i]->setGeometry(0, top, room.width(), bottom - top);
    }
}

void CascadeWindows(QMdiArea& area)
{
    const QList<QMdiSubWindow*> windows = NormalWindows(area);
    if (windows.isEmpty())
        return;
    const QSize room = ArrangeRoom(area);
    const int step = CascadeStep(area);
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* w = windows[i];
        const QSize size = QSize(room.width() * 2 / 3, room.height() * 2 / 3).expandedTo(w->minimumSizeHint());
        const int fits =
            1 + std::max(0, std::min(room.width() - size.width(), room.height() - size.height()) / step);
        const int offset = (i % fits) * step;
        w->setGeometry(offset, offset, size.width(), size.height());
        w->raise();
    }
}
