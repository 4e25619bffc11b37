#include "KestrinView.h"

// Placeholder bodies; the tab and parameter commands are being built.
void CKestrinView::CreateParamsDlg() {}
void CKestrinView::DestroyParamsDlg() {}
void CKestrinView::RefreshParamsDlg() {}
void CKestrinView::SetAllTabParameters(bool, bool, int, int, bool) {}
void CKestrinView::OnHParameters() {}
void CKestrinView::OnDeleteTabAt() {}
void CKestrinView::OnDeleteAllTabs() {}
void CKestrinView::OnAutoTab() {}
void CKestrinView::OnTabSettings() {}
