#include "ImportTextDlg.h"

#include "UiServices.h"

CImportTextDlg::CImportTextDlg(IUiServices& ui, QWidget* parent) : QDialog(parent), m_ui(ui)
{
}

bool CImportTextDlg::UpdateData(bool)
{
    return true;
}

void CImportTextDlg::accept()
{
    QDialog::accept();
}

void CImportTextDlg::OnFilterData()
{
}

void CImportTextDlg::OnSelectFile()
{
}
