#pragma once

#include "platform/ui/KestrinDialog.h"

class IUiServices;
class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QSpinBox;

// "Tab Settings": a new M and/or D for every interval between tabs. Shown
// modally; after OK the members hold the choices.
class CTabSettingsDlg : public CKestrinDialog
{
    Q_OBJECT

public:
    explicit CTabSettingsDlg(IUiServices& ui, QWidget* parent = nullptr);

    int m_bModifyM = 0;
    int m_bModifyD = 0;
    int m_nD = 0;
    int m_nM = 0;
    int m_nDChoice = 0;
    // 0: "Set each M to optimum value", 1: "Set each M to:".
    int m_nMChoice = 0;
    // "First lag", given with M: the fit runs through lags m_nRMin..M.
    int m_nRMin = 1;

    // Reads the controls into the members (false, with a message and the
    // focus on the offending edit, when an entry does not parse) or writes
    // the members to the controls.
    bool UpdateData(bool saveAndValidate = true) override;

    bool OnOK() override;

protected:

private:
    void OnInitDialog() override;
    // Enables each control exactly when its choice can take effect.
    void UpdateEnabling();

    IUiServices& m_ui;
    QCheckBox* m_checkM = nullptr;
    QCheckBox* m_checkD = nullptr;
    QLineEdit* m_editD = nullptr;
    QLineEdit* m_editM = nullptr;
    QSpinBox* m_spinFirstLag = nullptr;
    QButtonGroup* m_groupD = nullptr;
    QButtonGroup* m_groupM = nullptr;
};
