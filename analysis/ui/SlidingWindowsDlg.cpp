#include "analysis/ui/SlidingWindowsDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QSettings>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "platform/ui/DataExchange.h"
#include "platform/ui/DialogUnits.h"
#include "platform/ui/FirstLagField.h"
#include "platform/ui/ParameterTips.h"
#include "analysis/SlidingWindows.h"
#include "platform/UiServices.h"

namespace {

// Narrower windows give too few lags for a trustworthy H; the user may still
// insist.
constexpr int kAdvisedWidth = 100;

} // namespace

CSlidingWindowsDlg::CSlidingWindowsDlg(IUiServices& ui, QWidget* parent) : CKestrinDialog(parent), m_ui(ui)
{
    setWindowTitle(QStringLiteral("Sliding Windows Config"));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(ControlName("button", 1));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(ControlName("button", 2));

    auto* labelWidth = new QLabel(QStringLiteral("Width"), this);
    labelWidth->setObjectName(QStringLiteral("labelWidth"));
    m_editWidth = new QLineEdit(this);
    m_editWidth->setObjectName(ControlName("edit", 1049));
    MakeDigitsOnly(m_editWidth);
    auto* labelSpacing = new QLabel(QStringLiteral("Spacing"), this);
    labelSpacing->setObjectName(QStringLiteral("labelSpacing"));
    m_editSpacing = new QLineEdit(this);
    m_editSpacing->setObjectName(ControlName("edit", 1050));
    MakeDigitsOnly(m_editSpacing);

    // The groups are only frames drawn behind their controls, which are
    // children of the dialog like every other control.
    auto* groupM = new QGroupBox(QStringLiteral("M Parameters"), this);
    groupM->setObjectName(QStringLiteral("groupM"));
    auto* bestM = new QRadioButton(QStringLiteral("Use Best"), this);
    bestM->setObjectName(ControlName("radio", 1051));
    auto* valueM = new QRadioButton(QStringLiteral("Use Value"), this);
    valueM->setObjectName(ControlName("radio", 1052));
    m_editM = new QLineEdit(this);
    m_editM->setObjectName(ControlName("edit", 1053));
    MakeDigitsOnly(m_editM);
    m_groupM = MakeRadioGroup(this, {bestM, valueM});

    auto* groupD = new QGroupBox(QStringLiteral("D Parameters"), this);
    groupD->setObjectName(QStringLiteral("groupD"));
    auto* valueD = new QRadioButton(QStringLiteral("Use Value"), this);
    valueD->setObjectName(ControlName("radio", 1054));
    m_editD = new QLineEdit(this);
    m_editD->setObjectName(ControlName("edit", 1055));
    MakeDigitsOnly(m_editD);
    m_groupD = MakeRadioGroup(this, {valueD});
    SetParameterTips(groupM, valueM, m_editM, bestM, groupD, valueD, m_editD);
    m_checkBand = new QCheckBox(QStringLiteral("Interval band"), this);
    m_checkBand->setObjectName(QStringLiteral("checkIntervalBand"));
    m_checkBand->setToolTip(QStringLiteral("Also a bootstrap interval and corrected H for every window"));
    m_bIntervalBand = QSettings().value(kIntervalBandKey, false).toBool();

    const CDialogUnits du(font());
    const auto at = [&](QWidget* w, int x, int y, int cx, int cy) { w->setGeometry(du.Rect(x, y, cx, cy)); };
    at(labelWidth, 7, 9, 30, 8);
    at(m_editWidth, 40, 7, 50, 12);
    at(labelSpacing, 7, 25, 30, 8);
    at(m_editSpacing, 40, 23, 50, 12);
    at(groupM, 7, 42, 90, 60);
    at(bestM, 14, 54, 76, 10);
    at(valueM, 14, 68, 76, 10);
    at(m_editM, 14, 82, 50, 12);
    at(groupD, 104, 42, 80, 60);
    at(valueD, 111, 54, 66, 10);
    at(m_editD, 111, 68, 50, 12);
    at(ok, 191, 7, 50, 14);
    at(cancel, 191, 24, 50, 14);
    // Below the buttons, where the column was free.
    m_spinFirstLag = AddFirstLagField(this, du, 191, 46, 50);
    at(m_checkBand, 104, 24, 80, 10);
    setFixedSize(du.X(248), du.Y(109));

    connect(ok, &QPushButton::clicked, this, &CSlidingWindowsDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CSlidingWindowsDlg::reject);
    connect(bestM, &QRadioButton::clicked, this, &CSlidingWindowsDlg::OnMChoice);
    connect(valueM, &QRadioButton::clicked, this, &CSlidingWindowsDlg::OnMChoice);
}

void CSlidingWindowsDlg::OnInitDialog()
{
    UpdateData(false);
    OnMChoice();
}

bool CSlidingWindowsDlg::UpdateData(bool saveAndValidate)
{
    if (!saveAndValidate) {
        m_editD->setText(IntegerText(m_nD));
        m_editM->setText(IntegerText(m_nM));
        m_editSpacing->setText(IntegerText(m_nSpacing));
        m_editWidth->setText(IntegerText(m_nWidth));
        m_spinFirstLag->setValue(m_nRMin);
        SetRadioIndex(m_groupD, m_nDChoice);
        SetRadioIndex(m_groupM, m_nMChoice);
        m_checkBand->setChecked(m_bIntervalBand);
        return true;
    }
    // In the members' order; an entry that fails stops the exchange there.
    if (!ReadInteger(m_ui, m_editD, m_nD))
        return false;
    if (!ReadInteger(m_ui, m_editM, m_nM))
        return false;
    if (!ReadInteger(m_ui, m_editSpacing, m_nSpacing))
        return false;
    if (!ReadInteger(m_ui, m_editWidth, m_nWidth))
        return false;
    m_nRMin = m_spinFirstLag->value();
    m_nDChoice = RadioIndex(m_groupD);
    m_nMChoice = RadioIndex(m_groupM);
    m_bIntervalBand = m_checkBand->isChecked();
    return true;
}

void CSlidingWindowsDlg::OnMChoice()
{
    // When an entry does not parse, the members keep their last good values
    // and writing them back undoes the click and the bad entry together.
    UpdateData(true);
    m_editM->setEnabled(m_nMChoice == 1);
    UpdateData(false);
}

bool CSlidingWindowsDlg::OnOK()
{
    SlidingWindowParams params;
    params.width = m_nWidth;
    params.spacing = m_nSpacing;
    params.nM = m_nM;
    params.nD = m_nD;
    params.useBestM = m_nMChoice == 0;
    params.nRMin = m_nRMin;
    // The computation's own checks, so that nothing it would refuse (a zero
    // or pasted negative spacing or width, an M it cannot hold) leaves here.
    if (const std::optional<std::string> refusal = CheckSlidingWindowParams(params)) {
        m_ui.MessageBox(*refusal, MsgButtons::ok, MsgIcon::warning);
        if (m_nSpacing <= 0)
            FocusEdit(m_editSpacing);
        else if (m_nWidth <= 0)
            FocusEdit(m_editWidth);
        else if (m_nMChoice == 1 && (m_nM < 0 || m_nM > kMaxWindowM))
            FocusEdit(m_editM);
        else if (m_nD >= 0)
            m_spinFirstLag->setFocus();
        else
            FocusEdit(m_editD);
        return false;
    }
    if (m_nWidth < kAdvisedWidth
        && m_ui.MessageBox("Width should be greater than 100.  Proceed anyway?", MsgButtons::yesNo,
                           MsgIcon::question)
               != MsgResult::yes) {
        FocusEdit(m_editWidth);
        return false;
    }
    QSettings().setValue(kIntervalBandKey, m_bIntervalBand);
    return true;
}
