#include "dialogs/AutoTabDlg.h"

#include <cmath>

#include <QButtonGroup>
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

CAutoTabDlg::CAutoTabDlg(IUiServices& ui, QWidget* parent) : CKestrinDialog(parent), m_ui(ui)
{
    setWindowTitle(QStringLiteral("AutoTab"));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(ControlName("button", 1));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(ControlName("button", 2));

    auto* prompt = new QLabel(QStringLiteral("Select an interval for calculating H."), this);
    prompt->setObjectName(QStringLiteral("labelPrompt"));
    m_editInterval = new QLineEdit(this);
    m_editInterval->setObjectName(ControlName("edit", 1032));
    m_editInterval->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    // The groups are only frames drawn behind their controls, which are
    // children of the dialog like every other control.
    auto* groupM = new QGroupBox(QStringLiteral("M "), this);
    groupM->setObjectName(QStringLiteral("groupM"));
    auto* bestM = new QRadioButton(QStringLiteral("Use Best Value"), this);
    bestM->setObjectName(ControlName("radio", 1056));
    auto* valueM = new QRadioButton(QStringLiteral("Use Value"), this);
    valueM->setObjectName(ControlName("radio", 1057));
    m_editM = new QLineEdit(this);
    m_editM->setObjectName(ControlName("edit", 1058));
    MakeDigitsOnly(m_editM);
    m_groupM = MakeRadioGroup(this, {bestM, valueM});

    auto* groupD = new QGroupBox(QStringLiteral("D"), this);
    groupD->setObjectName(QStringLiteral("groupD"));
    auto* valueD = new QRadioButton(QStringLiteral("Use Value"), this);
    valueD->setObjectName(ControlName("radio", 1059));
    m_editD = new QLineEdit(this);
    m_editD->setObjectName(ControlName("edit", 1060));
    MakeDigitsOnly(m_editD);
    m_groupD = MakeRadioGroup(this, {valueD});
    SetParameterTips(groupM, valueM, m_editM, bestM, groupD, valueD, m_editD);

    const CDialogUnits du(font());
    const auto at = [&](QWidget* w, int x, int y, int cx, int cy) { w->setGeometry(du.Rect(x, y, cx, cy)); };
    at(prompt, 7, 7, 170, 8);
    at(m_editInterval, 7, 19, 64, 12);
    at(groupM, 7, 38, 90, 60);
    at(bestM, 14, 50, 78, 10);
    at(valueM, 14, 64, 78, 10);
    at(m_editM, 14, 78, 44, 12);
    at(groupD, 104, 38, 80, 60);
    at(valueD, 111, 50, 66, 10);
    at(m_editD, 111, 64, 44, 12);
    at(ok, 191, 7, 50, 14);
    at(cancel, 191, 24, 50, 14);
    m_spinFirstLag = AddFirstLagField(this, du, 191, 46, 50);
    setFixedSize(du.X(248), du.Y(105));

    connect(ok, &QPushButton::clicked, this, &CAutoTabDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CAutoTabDlg::reject);
    connect(bestM, &QRadioButton::clicked, this, &CAutoTabDlg::OnMChoice);
    connect(valueM, &QRadioButton::clicked, this, &CAutoTabDlg::OnMChoice);
}

void CAutoTabDlg::OnInitDialog()
{
    UpdateData(false);
    OnMChoice();
}

bool CAutoTabDlg::UpdateData(bool saveAndValidate)
{
    if (!saveAndValidate) {
        m_editInterval->setText(NumberText(m_dInterval));
        m_editD->setText(IntegerText(m_nD));
        m_editM->setText(IntegerText(m_nM));
        m_spinFirstLag->setValue(m_nRMin);
        SetRadioIndex(m_groupD, m_nDChoice);
        SetRadioIndex(m_groupM, m_nMChoice);
        return true;
    }
    // In the members' order; an entry that fails stops the exchange there.
    if (!ReadNumber(m_ui, m_editInterval, m_dInterval))
        return false;
    if (!ReadInteger(m_ui, m_editD, m_nD))
        return false;
    if (!ReadInteger(m_ui, m_editM, m_nM))
        return false;
    m_nRMin = m_spinFirstLag->value();
    m_nDChoice = RadioIndex(m_groupD);
    m_nMChoice = RadioIndex(m_groupM);
    return true;
}

void CAutoTabDlg::OnMChoice()
{
    // When an entry does not parse, the members keep their last good values
    // and writing them back undoes the click and the bad entry together.
    UpdateData(true);
    m_editM->setEnabled(m_nMChoice == 1);
    UpdateData(false);
}

bool CAutoTabDlg::OnOK()
{
    // Tabs are placed by repeated addition of the interval: it must move on.
    if (!(m_dInterval > 0.0) || !std::isfinite(m_dInterval)) {
        m_ui.MessageBox("The interval must be a number greater than 0.", MsgButtons::ok, MsgIcon::warning);
        FocusEdit(m_editInterval);
        return false;
    }
    // Every interval is given this D, and this M unless each takes its best.
    if (!CheckEmbeddingD(m_ui, m_nD)) {
        FocusEdit(m_editD);
        return false;
    }
    if (m_nMChoice == 1 && !CheckLagCountM(m_ui, m_nM)) {
        FocusEdit(m_editM);
        return false;
    }
    if (!CheckFirstLagChoice(m_ui, m_nRMin, m_nMChoice == 1, m_nM)) {
        m_spinFirstLag->setFocus();
        return false;
    }
    return true;
}
