#pragma once

#include "platform/ui/KestrinDialog.h"

class IUiServices;
class QButtonGroup;
class QLineEdit;
class QSpinBox;

// "AutoTab": the interval at which tabs are placed along the series, and the
// M and D every interval then gets. Shown modally; after OK the members hold
// the choices.
class CAutoTabDlg : public CKestrinDialog
{
    Q_OBJECT

public:
    explicit CAutoTabDlg(IUiServices& ui, QWidget* parent = nullptr);

    double m_dInterval = 100.0;
    int m_nD = 6;
    int m_nM = 0;
    int m_nDChoice = 0;
    // 0: "Use Best Value" (each interval's optimum M), 1: "Use Value".
    int m_nMChoice = 0;
    // "First lag": the fit runs through lags m_nRMin..M.
    int m_nRMin = 1;

    // Reads the controls into the members (false, with a message and the
    // focus on the offending edit, when an entry does not parse) or writes
    // the members to the controls.
    bool UpdateData(bool saveAndValidate = true) override;

    bool OnOK() override;

protected:

private:
    void OnInitDialog() override;
    void OnMChoice();

    IUiServices& m_ui;
    QLineEdit* m_editInterval = nullptr;
    QLineEdit* m_editM = nullptr;
    QLineEdit* m_editD = nullptr;
    QSpinBox* m_spinFirstLag = nullptr;
    QButtonGroup* m_groupM = nullptr;
    QButtonGroup* m_groupD = nullptr;
};
