#include <optional>
#include <string>

#include "analysis/ui/CorrelationDlg.h"
#include "document/KestrinDoc.h"
#include "views/KestrinView.h"
#include "analysis/MetaH.h"
#include "analysis/ui/MetaHParamsDlg.h"
#include "analysis/NewDocuments.h"
#include "analysis/ui/PlotPointDlg.h"
#include "analysis/ResultExport.h"
#include "analysis/ui/SelectRangeDlg.h"
#include "analysis/ui/SlidingWindowHDlg.h"
#include "analysis/SlidingWindows.h"
#include "analysis/ui/SlidingWindowsDlg.h"
#include "analysis/ui/SlopeWindowsDlg.h"
#include "analysis/SlopeWindows.h"

bool CKestrinView::ComputeSlidingWindows(std::int32_t width, std::int32_t spacing, CEstimatorSetting setting,
                                         bool useBestM, bool intervalBand)
{
    SlidingWindowParams params;
    params.width = width;
    params.spacing = spacing;
    params.nM = setting.nM;
    params.nD = setting.nD;
    params.useBestM = useBestM;
    params.nRMin = setting.nRMin;
    params.plotPoint = m_window.m_dPlotPoint;
    // Refused here, before the old results are cleared: bad parameters must
    // not cost the user the curve they have.
    if (const auto reason = CheckSlidingWindowParams(params)) {
        m_doc.Ui().MessageBox(*reason, MsgButtons::ok, MsgIcon::warning);
        return false;
    }
    ::ComputeSlidingWindows(m_doc, params);
    m_window.m_nWindowWidth = width;
    if (intervalBand)
        ComputeIntervalBand(params);
    return true;
}

void CKestrinView::ResetPlotPoints(double plotPoint)
{
    m_window.m_dPlotPoint = plotPoint;
    if (m_doc.m_windows.IsEmpty())
        return;
    ::ResetPlotPoints(m_doc, plotPoint);
    RepaintNow();
}

void CKestrinView::ComputeMetaH(CEstimatorSetting setting, bool useBestM)
{
    m_window.m_bMetaH = ::ComputeMetaH(m_doc.Ui(), m_doc.m_windows, setting, useBestM, m_window.m_metaHSet) ? 1 : 0;
}

void CKestrinView::OnSetSlidingWindows()
{
    CSlidingWindowsDlg dlg(m_doc.Ui(), this);
    if (dlg.exec() != QDialog::Accepted)
        return;
    // "Use Best" is the first of the two M choices.
    ComputeSlidingWindows(dlg.m_nWidth, dlg.m_nSpacing, {.nD = dlg.m_nD, .nM = dlg.m_nM, .nRMin = dlg.m_nRMin},
                          dlg.m_nMChoice == 0, dlg.m_bIntervalBand);
    // Only this view is repainted; other views on the document show the new
    // curve at their next paint.
    RepaintNow();
}

void CKestrinView::OnClearSlidingWindows()
{
    if (m_doc.Ui().MessageBox("Clear all sliding window data?", MsgButtons::yesNo, MsgIcon::question) !=
        MsgResult::yes)
        return;
    ::ClearSlidingWindows(m_doc);
    RepaintNow();
}

void CKestrinView::OnSetPlotPoint()
{
    CPlotPointDlg dlg(this);
    dlg.m_dPlotPoint = m_window.m_dPlotPoint;
    if (dlg.exec() != QDialog::Accepted)
        return;
    // Repaints the view itself when there are results to move.
    ResetPlotPoints(dlg.m_dPlotPoint);
}

void CKestrinView::OnViewMetaHData()
{
    CMetaHParamsDlg params(m_doc.Ui(), this);
    if (params.exec() != QDialog::Accepted)
        return;
    ComputeMetaH({.nD = params.m_nD, .nM = params.m_nM, .nRMin = params.m_nRMin}, params.m_nMChoice == 0);
    if (m_window.m_bMetaH != 1)
        return;
    CSlidingWindowHDlg result(this);
    result.m_pDataSet = &m_window.m_metaHSet;
    result.exec();
}

void CKestrinView::OnSetSlopeWindows()
{
    CSlopeWindowsDlg dlg(m_doc.Ui(), this);
    if (dlg.exec() != QDialog::Accepted)
        return;
    // Slope results are drawn by no graph: nothing to repaint.
    ::CalculateSlopeWindows(m_doc, dlg.m_nSize);
}

void CKestrinView::OnCorrelation()
{
    CCorrelationDlg dlg(m_doc.Ui(), this);
    dlg.m_dOrigin = m_extents.m_dXMin;
    dlg.m_pHResults = &m_doc.m_windows;
    dlg.m_pSlopes = &m_doc.m_slopes;
    dlg.exec();
}

void CKestrinView::OnExtractHDataText()
{
    FileDialogOptions options;
    options.title = "Save As";
    options.defaultExtension = ".txt";
    options.fileName = "*.txt";
    options.filter = "Text Files (*.txt)";
    options.overwritePrompt = true;
    options.kind = FileKind::exports;
    const std::optional<std::string> path = m_doc.Ui().ChooseSaveFile(options);
    if (!path || path->empty())
        return;
    // A failed write has told the user and left any existing file as it was.
    ::ExportSlidingResults(m_doc, m_extents.m_dXMin, *path);
}

CKestrinDoc* CKestrinView::NewDocument()
{
    return m_newDocument ? m_newDocument() : nullptr;
}

void CKestrinView::OnExtractHDataDocument()
{
    CKestrinDoc* target = NewDocument();
    if (!target || target == &m_doc)
        return;
    // The builder updates the new document's views, which then show the H
    // values on the fixed 0..1 scale.
    ::BuildHDataDocument(m_doc, m_extents.m_dXMin, *target);
}

void CKestrinView::OnExtractData()
{
    CSelectRangeDlg dlg(m_doc.Ui(), this);
    dlg.m_dMax = m_extents.m_dXMax;
    dlg.m_dMin = m_extents.m_dXMin;
    if (dlg.exec() != QDialog::Accepted)
        return;
    CKestrinDoc* target = NewDocument();
    if (!target || target == &m_doc)
        return;
    ::BuildExtractedDocument(m_doc, dlg.m_dFrom, dlg.m_dTo, *target);
}

void CKestrinView::OnProfile()
{
    CKestrinDoc* target = NewDocument();
    if (!target || target == &m_doc)
        return;
    ::BuildProfileDocument(m_doc, *target);
}
