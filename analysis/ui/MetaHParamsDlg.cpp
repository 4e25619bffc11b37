#include "analysis/ui/MetaHParamsDlg.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "platform/ui/DataExchange.h"
#include "platform/ui/DialogUnits.h"
#include "platform/ui/FirstLagField.h"
#include "platform/ui/ParameterTips.h"

CMetaHParamsDlg::CMetaHParamsDlg(IUiServices& ui, QWidget* parent) : CKestrinDialog(parent), m_ui(ui)
{
    setWindowTitle(QStringLiteral("Meta H Parameters"));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(ControlName("button", 1));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(ControlName("button", 2));

    // The groups are only frames drawn behind their controls, which are
    // children of the dialog like every other control.
    auto* groupM = new QGroupBox(QStringLiteral("M"), this);
    groupM->setObjectName(QStringLiteral("groupM"));
    auto* bestM = new QRadioButton(QStringLiteral("Use Best M"), this);
    bestM->setObjectName(ControlName("radio", 1073));
    auto* valueM = new QRadioButton(QStringLiteral("Set M At"), this);
    valueM->setObjectName(ControlName("radio", 1074));
    m_editM = new QLineEdit(this);
    m_editM->setObjectName(ControlName("edit", 1071));
    MakeDigitsOnly(m_editM);
    m_groupM = MakeRadioGroup(this, {bestM, valueM});

    auto* groupD = new QGroupBox(QStringLiteral("D"), this);
    groupD->setObjectName(QStringLiteral("groupD"));
    auto* valueD = new QRadioButton(QStringLiteral("Set D At"), this);
    valueD->setObjectName(ControlName("radio", 1075));
    m_editD = new QLineEdit(this);
    m_editD->setObjectName(ControlName("edit", 1072));
    MakeDigitsOnly(m_editD);
    m_groupD = MakeRadioGroup(this, {valueD});
    SetParameterTips(groupM, valueM, m_editM, bestM, groupD, valueD, m_editD);
    bestM->setToolTip(tips::MetaHUseBest());

    const CDialogUnits du(font());
    const auto at = [&](QWidget* w, int x, int y, int cx, int cy) { w->setGeometry(du.Rect(x, y, cx, cy)); };
    at(groupM, 7, 7, 90, 60);
    at(bestM, 14, 19, 76, 10);
    at(valueM, 14, 33, 76, 10);
    at(m_editM, 14, 47, 50, 12);
    at(groupD, 104, 7, 80, 60);
    at(valueD, 111, 19, 66, 10);
    at(m_editD, 111, 33, 50, 12);
    at(ok, 191, 7, 50, 14);
    at(cancel, 191, 24, 50, 14);
    m_spinFirstLag = AddFirstLagField(this, du, 191, 45, 50);
    setFixedSize(du.X(248), du.Y(74));

    connect(ok, &QPushButton::clicked, this, &CMetaHParamsDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CMetaHParamsDlg::reject);
    connect(bestM, &QRadioButton::clicked, this, &CMetaHParamsDlg::OnMChoice);
    connect(valueM, &QRadioButton::clicked, this, &CMetaHParamsDlg::OnMChoice);
}

void CMetaHParamsDlg::OnInitDialog()
{
    UpdateData(false);
    OnMChoice();
}

bool CMetaHParamsDlg::UpdateData(bool saveAndValidate)
{
    if (!saveAndValidate) {
        m_editD->setText(IntegerText(m_nD));
        m_editM->setText(IntegerText(m_nM));
        m_spinFirstLag->setValue(m_nRMin);
        SetRadioIndex(m_groupM, m_nMChoice);
        SetRadioIndex(m_groupD, m_nDChoice);
        return true;
    }
    // In the members' order; an entry that fails stops the exchange there.
    if (!ReadInteger(m_ui, m_editD, m_nD))
        return false;
    if (!ReadInteger(m_ui, m_editM, m_nM))
        return false;
    m_nRMin = m_spinFirstLag->value();
    m_nMChoice = RadioIndex(m_groupM);
    m_nDChoice = RadioIndex(m_groupD);
    return true;
}

void CMetaHParamsDlg::OnMChoice()
{
    // When an entry does not parse, the members keep their last good values
    // and writing them back undoes the click and the bad entry together.
    UpdateData(true);
    m_editM->setEnabled(m_nMChoice == 1);
    UpdateData(false);
}
