#pragma once

#include "platform/ui/KestrinDialog.h"

class IUiServices;
class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QSpinBox;

// Where the dialog remembers its "Interval band" choice.
inline constexpr const char* kIntervalBandKey = "SlidingWindows/IntervalBand";

// "Sliding Windows Config": width, spacing, D, M and the first lag of the
// fit of a sliding-window computation. Shown modally; after OK the members hold the choices.
class CSlidingWindowsDlg : public CKestrinDialog
{
    Q_OBJECT

public:
    explicit CSlidingWindowsDlg(IUiServices& ui, QWidget* parent = nullptr);

    int m_nD = 6;
    int m_nM = 0;
    int m_nSpacing = 1;
    int m_nWidth = 100;
    int m_nDChoice = 0;
    // 0: "Use Best" (the integer square root of the width), 1: "Use Value".
    int m_nMChoice = 0;
    // "First lag": every window's line runs through lags m_nRMin..M.
    int m_nRMin = 1;
    // "Interval band": the windows' interval band is computed with them.
    // Off by default; remembered (kIntervalBandKey) when OK is pressed.
    bool m_bIntervalBand = false;

    // Reads the controls into the members (false, with a message, when an
    // entry does not parse) or writes the members to the controls.
    bool UpdateData(bool saveAndValidate = true) override;

    bool OnOK() override;

protected:

private:
    void OnInitDialog() override;
    void OnMChoice();

    IUiServices& m_ui;
    QLineEdit* m_editD = nullptr;
    QLineEdit* m_editM = nullptr;
    QLineEdit* m_editSpacing = nullptr;
    QLineEdit* m_editWidth = nullptr;
    QSpinBox* m_spinFirstLag = nullptr;
    QButtonGroup* m_groupD = nullptr;
    QButtonGroup* m_groupM = nullptr;
    QCheckBox* m_checkBand = nullptr;
};
