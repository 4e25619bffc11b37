#include "HGraph.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <QPainter>
#include <QPen>

#include "Format.h"
#include "KestrinDoc.h"
#include "KestrinView.h"
#include "StatusOperation.h"

namespace {

const QColor kIntervalColour(255, 0, 255);
const QColor kSlidingColour(0, 255, 0);

QPen SolidPen(const QColor& colour)
{
    return QPen(colour, 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
}

} // namespace

void CHGraph::Create(const QRect& rect, CKestrinView* view)
{
    CChildWindow::Create("CHGraph", 103, rect, view);
}

void CHGraph::Move(const QRect& rect)
{
    if (IsCreated())
        setGeometry(rect);
}

void CHGraph::paintEvent(QPaintEvent*)
{
    CKestrinView* view = View();
    if (!view)
        return;
    const CKestrinDoc& doc = view->GetDocument();
    const std::vector<std::int32_t>& tabs = view->Ruler().TabPositions();
    const std::size_t tabCount = tabs.size();
    const int slidingCount = doc.m_windows.GetSize();
    if (doc.m_bHasData == 0 || (tabCount == 0 && slidingCount == 0))
        return;

    // The status bar repaints at once, inside this paint of the same
    // top-level window: its text changes only while no painter is open here.
    CStatusOperation status(doc.Ui(), "Generating H Graph...");
    const QRect client = rect();
    const int w = client.width();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setBrush(Qt::NoBrush);
    painter.setFont(font());

    if (tabCount > 0) {
        // One more interval than tabs, each with its estimator; the document's
        // list may come from another window's ruler and hold fewer.
        const std::size_t intervals = std::min(tabCount + 1, doc.m_tabSets.size());
        painter.setPen(SolidPen(kIntervalColour));
        const int ascent = painter.fontMetrics().ascent();
        int xStart = 0;
        for (std::size_t i = 0; i < intervals; ++i) {
            const int xEnd = i == tabCount ? w : view->ValueToPixel(client, static_cast<double>(tabs[i]), 0.0).x;
            const double h = doc.m_tabSets[i] ? doc.m_tabSets[i]->GetH() : 0.0;
            if (std::isfinite(h)) {
                const int yH = view->HToPixel(client, h);
                painter.drawLine(QPoint(xStart, yH), QPoint(xEnd, yH));
            }
            painter.drawText(QPoint(xStart, ascent), QString::fromStdString("H: " + FormatFixed(h, 2)));
            xStart = xEnd + 1;
        }
    }

    if (slidingCount > 1) {
        painter.setPen(SolidPen(kSlidingColour));
        QPolygon curve;
        curve.reserve(slidingCount);
        for (const CHPoint& result : doc.m_windows) {
            const CPixel px = view->SlidingResultToPixel(client, result);
            curve.append(QPoint(px.x, px.y));
        }
        painter.drawPolyline(curve);
    }
    painter.end();
    // Leaving the scope writes "Ready" and ends the wait cursor.
}
