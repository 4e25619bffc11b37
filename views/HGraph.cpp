#include "HGraph.h"

#include <QPainter>

#include "HGraphRender.h"
#include "KestrinDoc.h"
#include "KestrinView.h"
#include "MetaH.h"
#include "SlidingWindows.h"
#include "StatusOperation.h"

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
    if (doc.m_bHasData == 0)
        return;
    const CHGraphData data = view->HGraphData();
    if (data.IsEmpty())
        return;

    // The status bar repaints at once, inside this paint of the same
    // top-level window: its text changes only while no painter is open here.
    CStatusOperation status(doc.Ui(), "Generating H Graph...");
    QPainter painter(this);
    painter.setFont(font());
    DrawHGraph(painter, width(), height(), data);
    painter.end();
    // Leaving the scope writes "Ready" and ends the wait cursor.
}
