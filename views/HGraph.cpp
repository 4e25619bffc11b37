#include "HGraph.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <QPainter>
#include <QPen>

#include "Format.h"
#include "KestrinDoc.h"
#include "KestrinView.h"
#include "MetaH.h"
#include "SlidingWindows.h"
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

bool CHGraph::ComputeSlidingWindows(std::int32_t width, std::int32_t spacing, std::int32_t nM, std::int32_t nD,
                                    bool useBestM)
{
    CKestrinView* view = View();
    if (!view)
        return false;
    CKestrinDoc& doc = view->GetDocument();
    SlidingWindowParams params;
    params.width = width;
    params.spacing = spacing;
    params.nM = nM;
    params.nD = nD;
    params.useBestM = useBestM;
    params.plotPoint = m_dPlotPoint;
    // Refused here, before the old results are cleared: bad parameters must
    // not cost the user the curve they have.
    if (const auto reason = CheckSlidingWindowParams(params)) {
        doc.Ui().MessageBox(*reason, MsgButtons::ok, MsgIcon::warning);
        return false;
    }
    ::ComputeSlidingWindows(doc, params);
    m_nWindowWidth = width;
    return true;
}

void CHGraph::ClearSlidingWindows()
{
    if (CKestrinView* view = View())
        ::ClearSlidingWindows(view->GetDocument());
}

void CHGraph::ResetPlotPoints(double plotPoint)
{
    m_dPlotPoint = plotPoint;
    CKestrinView* view = View();
    if (!view)
        return;
    CKestrinDoc& doc = view->GetDocument();
    if (doc.m_windows.IsEmpty())
        return;
    ::ResetPlotPoints(doc, plotPoint);
    view->RepaintNow();
}

void CHGraph::ComputeMetaH(std::int32_t nD, std::int32_t nM, bool useBestM)
{
    CKestrinView* view = View();
    if (!view) {
        m_bMetaH = 0;
        return;
    }
    CKestrinDoc& doc = view->GetDocument();
    m_bMetaH = ::ComputeMetaH(doc.Ui(), doc.m_windows, nD, nM, useBestM, m_metaHSet) ? 1 : 0;
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
