#pragma once

#include "platform/ui/KestrinDialog.h"

class IUiServices;
class QLineEdit;

// "Set Slope Windows": the size of the windows whose least-squares slopes
// are computed, 1 to 5000.
class CSlopeWindowsDlg : public CKestrinDialog
{
    Q_OBJECT

public:
    explicit CSlopeWindowsDlg(IUiServices& ui, QWidget* parent = nullptr);

    int m_nSize = 0;

    bool UpdateData(bool saveAndValidate = true) override;

private:
    // Each time the dialog is opened the edit starts from the member.

    IUiServices& m_ui;
    QLineEdit* m_editSize = nullptr;
};
