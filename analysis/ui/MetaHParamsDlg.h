#pragma once

#include <QDialog>

class IUiServices;
class QButtonGroup;
class QLineEdit;
class QShowEvent;

// "Meta H Parameters": D and M of the estimator run over the H curve.
class CMetaHParamsDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CMetaHParamsDlg(IUiServices& ui, QWidget* parent = nullptr);

    int m_nD = 6;
    int m_nM = 0;
    // 0: "Use Best M" (the number of sliding results), 1: "Set M At".
    int m_nMChoice = 0;
    int m_nDChoice = 0;

    bool UpdateData(bool saveAndValidate = true);
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnInitDialog();
    void OnMChoice();

    IUiServices& m_ui;
    QLineEdit* m_editD = nullptr;
    QLineEdit* m_editM = nullptr;
    QButtonGroup* m_groupM = nullptr;
    QButtonGroup* m_groupD = nullptr;
};
