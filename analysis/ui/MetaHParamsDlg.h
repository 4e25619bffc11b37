#pragma once

#include "platform/ui/KestrinDialog.h"

class IUiServices;
class QButtonGroup;
class QLineEdit;
class QSpinBox;

// "Meta H Parameters": D and M of the estimator run over the H curve.
class CMetaHParamsDlg : public CKestrinDialog
{
    Q_OBJECT

public:
    explicit CMetaHParamsDlg(IUiServices& ui, QWidget* parent = nullptr);

    int m_nD = 6;
    int m_nM = 0;
    // 0: "Use Best M" (the number of sliding results), 1: "Set M At".
    int m_nMChoice = 0;
    int m_nDChoice = 0;
    // "First lag": the fit runs through lags m_nRMin..M.
    int m_nRMin = 1;

    bool UpdateData(bool saveAndValidate = true) override;

protected:

private:
    void OnInitDialog() override;
    void OnMChoice();

    IUiServices& m_ui;
    QLineEdit* m_editD = nullptr;
    QLineEdit* m_editM = nullptr;
    QSpinBox* m_spinFirstLag = nullptr;
    QButtonGroup* m_groupM = nullptr;
    QButtonGroup* m_groupD = nullptr;
};
