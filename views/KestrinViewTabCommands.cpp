#include <string>
#include <vector>

#include "dialogs/AutoTabDlg.h"
#include "dialogs/DeleteTabDlg.h"
#include "dialogs/HParamsDlg.h"
#include "document/KestrinDoc.h"
#include "views/KestrinView.h"
#include "document/TabParameters.h"
#include "dialogs/TabSettingsDlg.h"

void CKestrinView::CreateParamsDlg()
{
    if (m_pParamsDlg)
        return;
    // A tool window over the view's window; it starts hidden.
    m_pParamsDlg = new CHParamsDlg(this, this);
}

void CKestrinView::DestroyParamsDlg()
{
    delete m_pParamsDlg;
    m_pParamsDlg = nullptr;
}

void CKestrinView::RefreshParamsDlg()
{
    if (m_pParamsDlg)
        m_pParamsDlg->RefreshTabList();
}

void CKestrinView::RegenerateSeriesGraph()
{
    m_seriesGraph.m_bRegenerate = 1;
}

void CKestrinView::RepaintNow()
{
    // At once when on screen; a hidden view paints when it is shown.
    if (isVisible())
        repaint();
    else
        update();
}

void CKestrinView::SetAllTabParameters(bool modifyM, bool modifyD, CEstimatorSetting setting, bool useOptimumM)
{
    // The document tells every window, this one among them.
    ::SetAllTabParameters(m_doc, modifyM, modifyD, setting, useOptimumM);
}

void CKestrinView::OnHParameters()
{
    if (!m_pParamsDlg)
        return;
    // Shown as it was left: nothing is refreshed by showing it.
    m_pParamsDlg->show();
    m_pParamsDlg->raise();
    m_pParamsDlg->activateWindow();
}

void CKestrinView::OnDeleteTabAt()
{
    CDeleteTabDlg dlg(TabLabels(), this);
    if (dlg.exec() != QDialog::Accepted)
        return;
    DeleteTabByLabel(dlg.m_strSelectedLabel);
}

void CKestrinView::OnDeleteAllTabs()
{
    if (m_doc.Ui().MessageBox("Are you sure you want to delete all tabs?", MsgButtons::yesNo, MsgIcon::question) !=
        MsgResult::yes)
        return;
    DeleteAllTabs();
}

void CKestrinView::OnAutoTab()
{
    CAutoTabDlg dlg(m_doc.Ui(), this);
    if (dlg.exec() != QDialog::Accepted)
        return;
    // A refused interval has placed no tabs and said why.
    if (!GenerateTabs(dlg.m_dInterval))
        return;
    // D is always the dialog's value: D has no other choice.
    SetAllTabParameters(true, true, {.nD = dlg.m_nD, .nM = dlg.m_nM, .nRMin = dlg.m_nRMin}, dlg.m_nMChoice == 0);
}

void CKestrinView::OnTabSettings()
{
    CTabSettingsDlg dlg(m_doc.Ui(), this);
    if (dlg.exec() != QDialog::Accepted)
        return;
    SetAllTabParameters(dlg.m_bModifyM != 0, dlg.m_bModifyD != 0,
                        {.nD = dlg.m_nD, .nM = dlg.m_nM, .nRMin = dlg.m_nRMin}, dlg.m_nMChoice == 0);
}
