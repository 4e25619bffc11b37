#include "platform/ui/KestrinDialog.h"

#include <QLineEdit>
#include <QShowEvent>

bool CKestrinDialog::UpdateData(bool)
{
    return true;
}

void CKestrinDialog::accept()
{
    if (UpdateData(true) && OnOK())
        QDialog::accept();
}

void CKestrinDialog::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        OnInitDialog();
    QDialog::showEvent(event);
}

void CKestrinDialog::OnInitDialog()
{
    UpdateData(false);
}

bool CKestrinDialog::OnOK()
{
    return true;
}

void CKestrinDialog::FocusEdit(QLineEdit* edit)
{
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
}
