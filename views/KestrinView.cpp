#include "KestrinView.h"

#include <QResizeEvent>

#include "CommandIds.h"
#include "ImportTextDlg.h"
#include "KestrinDoc.h"

CKestrinView::CKestrinView(CKestrinDoc& doc, QWidget* parent) : QWidget(parent), m_doc(doc)
{
    // The picture's background: the layers paint none of their own.
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
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
    m_seriesGraph.Create(plot, this);
    m_ruler.Create(RulerRect(cx), this);
    m_hGraph.Create(plot, this);
    m_legend.Create(QRect(0, 0, cx, cy), this);
    CreateParamsDlg();
    OnUpdate(nullptr, 0, nullptr);
    // An opened document's saved tabs go onto the ruler of its first view,
    // each interval with its saved D and M.
    const std::vector<CView*>& views = m_doc.GetViews();
    if (!views.empty() && views.front() == this) {
        if (const std::optional<CSavedTabs> saved = m_doc.TakeSavedTabs())
            m_ruler.PlaceTabs(saved->values, saved->intervals);
    }
}

void CKestrinView::OnUpdate(CView*, long, void*)
{
    RecalculateExtents();
    m_seriesGraph.m_bRegenerate = 1;
    m_ruler.SetEnabledFlag(m_doc.m_bHasData != 0);
    m_legend.SetData(m_doc.m_strYField, m_doc.m_strXField, m_extents.m_dXMax, m_extents.m_dXMin,
                     m_extents.m_dYMax, m_extents.m_dYMin);
    // At once when on screen; a hidden view paints when it is shown.
    if (isVisible())
        repaint();
    else
        update();
    emit commandStateChanged();
}

void CKestrinView::RecalculateExtents()
{
    UpdatePlotExtents(m_doc.m_points, m_doc.m_bHSeries == 1, m_extents);
}

void CKestrinView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int cx = event->size().width();
    const int cy = event->size().height();
    const QRect plot = PlotRect(cx, cy);
    m_ruler.Move(RulerRect(cx));
    m_hGraph.Move(plot);
    m_seriesGraph.Move(plot);
    m_legend.Move(QRect(0, 0, cx, cy));
}

CPlotRect CKestrinView::ToPlotRect(const QRect& r)
{
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
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

bool CKestrinView::RoutesCommand(int id) const
{
    switch (id) {
    case cmd::ImportDatabase:
    case cmd::ShowSeriesGraph:
    case cmd::ShowHGraph:
    case cmd::HParameters:
    case cmd::ShowLegend:
    case cmd::DeleteTabAt:
    case cmd::DeleteAllTabs:
    case cmd::AutoTab:
    case cmd::ExtractData:
    case cmd::TabSettings:
    case cmd::SetSlidingWindows:
    case cmd::ClearSlidingWindows:
    case cmd::ImportTextFile:
    case cmd::ViewMetaHData:
    case cmd::ExtractHDataDocument:
    case cmd::ExtractHDataText:
    case cmd::SetSlopeWindows:
    case cmd::Correlation:
    case cmd::SetPlotPoint:
    case cmd::ExportPicture:
    case cmd::FilePrint:
    case cmd::FilePrintPreview:
    case cmd::EditCopy:
    case cmd::Profile:
        return true;
    default:
        return false;
    }
}

CCommandState CKestrinView::GetCommandState(int id) const
{
    const bool hasData = m_doc.m_bHasData != 0;
    const bool hasWindows = !m_doc.m_windows.IsEmpty();
    const bool hasSlopes = !m_doc.m_slopes.IsEmpty();
    CCommandState state;
    switch (id) {
    case cmd::ShowSeriesGraph:
        state.checkable = true;
        state.checked = m_seriesGraph.isVisibleTo(this);
        break;
    case cmd::ShowHGraph:
        state.checkable = true;
        state.checked = m_hGraph.isVisibleTo(this);
        break;
    case cmd::ShowLegend:
        state.checkable = true;
        state.checked = m_legend.isVisibleTo(this);
        break;
    case cmd::HParameters:
    case cmd::AutoTab:
    case cmd::ExtractData:
    case cmd::Profile:
    case cmd::SetSlidingWindows:
    case cmd::SetSlopeWindows:
    case cmd::ExportPicture:
    case cmd::FilePrint:
    case cmd::FilePrintPreview:
    case cmd::EditCopy:
        state.enabled = hasData;
        break;
    case cmd::DeleteTabAt:
    case cmd::DeleteAllTabs:
    case cmd::TabSettings:
        state.enabled = HasTabs();
        break;
    case cmd::ClearSlidingWindows:
    case cmd::ViewMetaHData:
    case cmd::ExtractHDataDocument:
    case cmd::ExtractHDataText:
        state.enabled = hasWindows;
        break;
    case cmd::Correlation:
        state.enabled = hasData && hasSlopes && hasWindows;
        break;
    default:
        break;
    }
    return state;
}

bool CKestrinView::OnCommand(int id)
{
    if (!RoutesCommand(id))
        return false;
    // A command may arrive from a shortcut or a stale toolbar: obey the rules.
    if (!GetCommandState(id).enabled)
        return true;
    switch (id) {
    case cmd::ImportTextFile:
        OnImportTextFile();
        break;
    case cmd::ShowSeriesGraph:
        OnShowSeriesGraph();
        break;
    case cmd::ShowHGraph:
        OnShowHGraph();
        break;
    case cmd::ShowLegend:
        OnShowLegend();
        break;
    case cmd::HParameters:
        OnHParameters();
        break;
    case cmd::DeleteTabAt:
        OnDeleteTabAt();
        break;
    case cmd::DeleteAllTabs:
        OnDeleteAllTabs();
        break;
    case cmd::AutoTab:
        OnAutoTab();
        break;
    case cmd::TabSettings:
        OnTabSettings();
        break;
    case cmd::ImportDatabase:
        OnImportDatabase();
        break;
    case cmd::SetSlidingWindows:
        OnSetSlidingWindows();
        break;
    case cmd::ClearSlidingWindows:
        OnClearSlidingWindows();
        break;
    case cmd::SetPlotPoint:
        OnSetPlotPoint();
        break;
    case cmd::ViewMetaHData:
        OnViewMetaHData();
        break;
    case cmd::SetSlopeWindows:
        OnSetSlopeWindows();
        break;
    case cmd::Correlation:
        OnCorrelation();
        break;
    case cmd::ExtractHDataText:
        OnExtractHDataText();
        break;
    case cmd::ExtractHDataDocument:
        OnExtractHDataDocument();
        break;
    case cmd::ExtractData:
        OnExtractData();
        break;
    case cmd::ExportPicture:
        OnExportPicture();
        break;
    case cmd::FilePrint:
        OnPrint();
        break;
    case cmd::FilePrintPreview:
        OnPrintPreview();
        break;
    case cmd::EditCopy:
        OnCopyPicture();
        break;
    case cmd::Profile:
        OnProfile();
        break;
    default:
        break;
    }
    emit commandStateChanged();
    return true;
}

void CKestrinView::OnImportTextFile()
{
    CImportTextDlg dlg(m_doc.Ui(), this);
    if (dlg.exec() != QDialog::Accepted)
        return;
    if (m_doc.ImportTextFile(dlg.m_strPath, dlg.m_nUnder, dlg.m_nOver, dlg.m_bFilter != 0)) {
        // Every window on the document shows the new series, not only this one.
        m_doc.UpdateAllViews(nullptr);
    }
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
