#pragma once

#include <QDialog>

class IUiServices;
class QLineEdit;
class QShowEvent;

// "Set Slope Windows": the size of the windows whose least-squares slopes
// are computed, 1 to 5000.
class CSlopeWindowsDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CSlopeWindowsDlg(IUiServices& ui, QWidget* parent = nullptr);

    int m_nSize = 0;

    bool UpdateData(bool saveAndValidate = true);
    void accept() override;

private:
    // Each time the dialog is opened the edit starts from the member.
    void showEvent(QShowEvent* event) override;

    IUiServices& m_ui;
    QLineEdit* m_editSize = nullptr;
};
