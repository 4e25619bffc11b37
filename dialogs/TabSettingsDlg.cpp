#include "dialogs/TabSettingsDlg.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "platform/ui/DataExchange.h"
#include "platform/ui/DialogUnits.h"
#include "platform/ui/FirstLagField.h"
#include "platform/ui/ParameterTips.h"
#include "dialogs/EstimatorLimits.h"
#include "platform/UiServices.h"

CTabSettingsDlg::CTabSettingsDlg(IUiServices& ui, QWidget* parent) : CKestrinDialog(parent), m_ui(ui)
{
    setWindowTitle(QStringLiteral("Tab Settings"));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(ControlName("button", 1));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(ControlName("button", 2));

    auto* prompt = new QLabel(QStringLiteral("Use this dialog to modify M,D values for all HTabs"), this);
    prompt->setObjectName(QStringLiteral("labelPrompt"));

    // The groups are only frames drawn behind their controls, which are
    // children of the dialog like every other control.
    auto* groupM = new QGroupBox(QStringLiteral("M"), this);
    groupM->setObjectName(QStringLiteral("groupM"));
    m_checkM = new QCheckBox(QStringLiteral("Modify M values"), this);
    m_checkM->setObjectName(ControlName("check", 1042));
    auto* optimumM = new QRadioButton(QStringLiteral("Set each M to optimum value"), this);
    optimumM->setObjectName(ControlName("radio", 1043));
    auto* valueM = new QRadioButton(QStringLiteral("Set each M to:"), this);
    valueM->setObjectName(ControlName("radio", 1044));
    m_editM = new QLineEdit(this);
    m_editM->setObjectName(ControlName("edit", 1045));
    MakeDigitsOnly(m_editM);
    m_groupM = MakeRadioGroup(this, {optimumM, valueM});

    auto* groupD = new QGroupBox(QStringLiteral("D"), this);
    groupD->setObjectName(QStringLiteral("groupD"));
    m_checkD = new QCheckBox(QStringLiteral("Modify D values"), this);
    m_checkD->setObjectName(ControlName("check", 1046));
    auto* valueD = new QRadioButton(QStringLiteral("Set each D to:"), this);
    valueD->setObjectName(ControlName("radio", 1047));
    m_editD = new QLineEdit(this);
    m_editD->setObjectName(ControlName("edit", 1048));
    MakeDigitsOnly(m_editD);
    m_groupD = MakeRadioGroup(this, {valueD});
    SetParameterTips(groupM, valueM, m_editM, optimumM, groupD, valueD, m_editD);

    const CDialogUnits du(font());
    const auto at = [&](QWidget* w, int x, int y, int cx, int cy) { w->setGeometry(du.Rect(x, y, cx, cy)); };
    at(prompt, 7, 7, 190, 8);
    at(groupM, 7, 20, 190, 62);
    at(m_checkM, 14, 32, 90, 10);
    at(optimumM, 24, 45, 130, 10);
    at(valueM, 24, 59, 84, 10);
    at(m_editM, 110, 58, 44, 12);
    // Inside the M group, beside its check box: the first lag goes with M.
    m_spinFirstLag = AddFirstLagField(this, du, 110, 31, 84);
    at(groupD, 7, 86, 190, 48);
    at(m_checkD, 14, 98, 90, 10);
    at(valueD, 24, 112, 84, 10);
    at(m_editD, 110, 111, 44, 12);
    at(ok, 204, 7, 50, 14);
    at(cancel, 204, 24, 50, 14);
    setFixedSize(du.X(261), du.Y(141));

    connect(ok, &QPushButton::clicked, this, &CTabSettingsDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CTabSettingsDlg::reject);
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{m_checkM, optimumM, valueM, m_checkD})
        connect(b, &QAbstractButton::clicked, this, &CTabSettingsDlg::UpdateEnabling);
}

void CTabSettingsDlg::OnInitDialog()
{
    UpdateData(false);
    UpdateEnabling();
}

bool CTabSettingsDlg::UpdateData(bool saveAndValidate)
{
    if (!saveAndValidate) {
        m_checkM->setChecked(m_bModifyM != 0);
        m_checkD->setChecked(m_bModifyD != 0);
        m_editD->setText(IntegerText(m_nD));
        m_editM->setText(IntegerText(m_nM));
        m_spinFirstLag->setValue(m_nRMin);
        SetRadioIndex(m_groupD, m_nDChoice);
        SetRadioIndex(m_groupM, m_nMChoice);
        return true;
    }
    // In the members' order; an entry that fails stops the exchange there.
    m_bModifyM = m_checkM->isChecked() ? 1 : 0;
    m_bModifyD = m_checkD->isChecked() ? 1 : 0;
    if (!ReadInteger(m_ui, m_editD, m_nD))
        return false;
    if (!ReadInteger(m_ui, m_editM, m_nM))
        return false;
    m_nRMin = m_spinFirstLag->value();
    m_nDChoice = RadioIndex(m_groupD);
    m_nMChoice = RadioIndex(m_groupM);
    return true;
}

void CTabSettingsDlg::UpdateEnabling()
{
    // When an entry does not parse, the members keep their last good values
    // past it, and writing them back puts the controls in a state that reads
    // back.
    UpdateData(true);
    const bool modifyM = m_bModifyM != 0;
    const bool modifyD = m_bModifyD != 0;
    for (QAbstractButton* radio : m_groupM->buttons())
        radio->setEnabled(modifyM);
    m_editM->setEnabled(modifyM && m_nMChoice == 1);
    m_spinFirstLag->setEnabled(modifyM);
    for (QAbstractButton* radio : m_groupD->buttons())
        radio->setEnabled(modifyD);
    m_editD->setEnabled(modifyD);
    UpdateData(false);
}

bool CTabSettingsDlg::OnOK()
{
    // Every interval would be given this D and this M: one that measures
    // nothing (or asks for gigabytes of lag tables) is refused.
    if (m_bModifyD != 0 && !CheckEmbeddingD(m_ui, m_nD)) {
        FocusEdit(m_editD);
        return false;
    }
    if (m_bModifyM != 0 && m_nMChoice == 1 && !CheckLagCountM(m_ui, m_nM)) {
        FocusEdit(m_editM);
        return false;
    }
    if (m_bModifyM != 0 && !CheckFirstLagChoice(m_ui, m_nRMin, m_nMChoice == 1, m_nM)) {
        m_spinFirstLag->setFocus();
        return false;
    }
    return true;
}
