#pragma once

#include "platform/ui/KestrinDialog.h"
#include <QString>

class IUiServices;
class QLabel;
class QLineEdit;

// "Select Range": the X range of the points to extract into a new document.
class CSelectRangeDlg : public CKestrinDialog
{
    Q_OBJECT

public:
    explicit CSelectRangeDlg(IUiServices& ui, QWidget* parent = nullptr);

    // Set by the caller: the series' largest and smallest X.
    double m_dMax = 0.0;
    double m_dMin = 0.0;
    double m_dFrom = 0.0;
    double m_dTo = 0.0;
    QString m_strFromLabel;
    QString m_strToLabel;

    bool UpdateData(bool saveAndValidate = true) override;
    bool OnOK() override;

protected:

private:
    void OnInitDialog() override;

    IUiServices& m_ui;
    QLineEdit* m_editFrom = nullptr;
    QLineEdit* m_editTo = nullptr;
    QLabel* m_labelFrom = nullptr;
    QLabel* m_labelTo = nullptr;
};
