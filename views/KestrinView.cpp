#include "views/KestrinView.h"

#include <cstring>

#include <QResizeEvent>

#include "dialogs/HParamsDlg.h"
#include "document/ui/ImportTextDlg.h"
#include "document/KestrinDoc.h"

namespace {

bool SameExtents(const CPlotExtents& a, const CPlotExtents& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

CKestrinView::CKestrinView(CKestrinDoc& doc, QWidget* parent) : QWidget(parent), m_doc(doc)
{
    // The picture's background: the layers paint none of their own.
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    // The readout follows the pointer over the plot.
    setMouseTracking(true);
    m_doc.AddView(this);
}

CKestrinView::~CKestrinView()
{
    DestroyParamsDlg();
    // The tabs go first, without recalculating anything: the view is closing.
    // The document's results stay with the document.
    m_ruler.DestroyTabs();
    m_doc.RemoveView(this);
}

void CKestrinView::OnInitialUpdate()
{
    const int cx = width();
    const int cy = height();
    const QRect plot = PlotRect(cx, cy);
    m_seriesGraph.Create(plot, this, *this);
    m_ruler.Create(RulerRect(cx), this, *this);
    ConnectRulerTabs();
    m_hGraph.Create(plot, this, *this);
    m_legend.Create(QRect(0, 0, cx, cy), this, *this);
    CreateParamsDlg();
    OnUpdate(nullptr, 0, nullptr);
    // An opened document's saved tabs go onto the ruler of its first view,
    // each interval with its saved D and M.
    const std::vector<CView*>& views = m_doc.GetViews();
    if (!views.empty() && views.front() == this) {
        if (const std::optional<CSavedTabs> saved = m_doc.TakeSavedTabs(); saved && PlaceTabs(saved->values))
            OnTabsChanged(CollectTabValues(), &saved->intervals);
    }
}

void CKestrinView::OnUpdate(CView*, long hint, void*)
{
    if (hint == CKestrinDoc::kHintIntervals || hint == CKestrinDoc::kHintIntervalSetting) {
        // The whole picture at once: the H graph draws one line per interval.
        update();
        if (isVisible())
            repaint();
        // One interval's new D and M leave the intervals as they were: the
        // parameters dialog stays on what it shows, with its new numbers.
        if (hint == CKestrinDoc::kHintIntervalSetting && m_pParamsDlg)
            m_pParamsDlg->RefreshKeepingSelection();
        else
            RefreshParamsDlg();
        emit commandStateChanged();
        return;
    }
    const CPlotExtents before = m_extents;
    RecalculateExtents();
    // Another series (or other extremes): the window shows all of it again.
    m_summary.reset();
    if (IsZoomed() && !SameExtents(before, m_extents)) {
        m_window.m_zoom.clear();
        m_bWheelRun = false;
        PlaceRulerTabs();
    }
    m_seriesGraph.m_bRegenerate = 1;
    m_ruler.SetEnabledFlag(m_doc.m_bHasData != 0);
    // The parameters dialog shows the document's estimates as they are now.
    RefreshParamsDlg();
    // At once when on screen; a hidden view paints when it is shown.
    if (isVisible())
        repaint();
    else
        update();
    // What the whole series' H must be read with, after the picture's own
    // status texts.
    if (m_doc.m_bHasData != 0)
        m_estimateStatus.Announce(m_doc.Ui(), m_doc.m_globalSet);
    else
        m_estimateStatus.Clear();
    emit commandStateChanged();
}

void CKestrinView::RecalculateExtents()
{
    UpdatePlotExtents(m_doc.m_points, m_doc.m_bHSeries == 1, m_extents);
}

void CKestrinView::OnTabsChanged(const std::vector<double>& values, const std::vector<CTabInterval>* intervals)
{
    // This window draws its own tabs' positions; the document keeps the
    // values for saving, rebuilds its intervals and tells every view.
    m_window.m_tabPositions = CKestrinDoc::TabPositions(values);
    m_doc.SetTabs(values, intervals);
}

void CKestrinView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int cx = event->size().width();
    const int cy = event->size().height();
    const QRect plot = PlotRect(cx, cy);
    m_ruler.Move(RulerRect(cx));
    MoveRulerTabsToValues();
    m_hGraph.Move(plot);
    m_seriesGraph.Move(plot);
    m_legend.Move(QRect(0, 0, cx, cy));
}

CPlotRect CKestrinView::ToPlotRect(const QRect& r)
{
    return PlotRectOf(r);
}

CPixel CKestrinView::ValueToPixel(const QRect& rect, double x, double y) const
{
    return ::ValueToPixel(ToPlotRect(rect), m_extents, x, y);
}

double CKestrinView::PixelToValue(const QRect& rect, int px) const
{
    return ::PixelToValue(ToPlotRect(rect), m_extents, px);
}

int CKestrinView::HToPixel(const QRect& rect, double h) const
{
    return ::HToPixel(ToPlotRect(rect), h);
}

CPixel CKestrinView::SlidingResultToPixel(const QRect& rect, const CHPoint& result) const
{
    return ::SlidingResultToPixel(ToPlotRect(rect), m_extents, result.m_dX, result.m_dY);
}

void CKestrinView::OnImportTextFile()
{
    CImportTextDlg dlg(m_doc.Ui(), this);
    if (dlg.exec() != QDialog::Accepted)
        return;
    // The document updates every window on it.
    m_doc.ImportTextFile(dlg.m_strPath, dlg.m_nUnder, dlg.m_nOver, dlg.m_bFilter != 0);
}

void CKestrinView::OnShowSeriesGraph()
{
    m_seriesGraph.setVisible(!m_seriesGraph.isVisibleTo(this));
}

void CKestrinView::OnShowHGraph()
{
    m_hGraph.setVisible(!m_hGraph.isVisibleTo(this));
    m_ruler.setVisible(!m_ruler.isVisibleTo(this));
}

void CKestrinView::OnShowLegend()
{
    m_legend.setVisible(!m_legend.isVisibleTo(this));
}
