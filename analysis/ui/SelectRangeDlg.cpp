#include "analysis/ui/SelectRangeDlg.h"

#include <cmath>
#include <optional>
#include <string>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/ui/DataExchange.h"
#include "platform/ui/DialogUnits.h"
#include "core/Format.h"
#include "analysis/NewDocuments.h"
#include "platform/UiServices.h"

namespace {

QString Fixed2(double value)
{
    return QString::fromStdString(FormatFixed(value, 2));
}

// What an edit offers for a bound: its number, or nothing for one that is
// not finite (a series whose first X is not a number), so that no text the
// user did not type and the dialog cannot read back stands in the edit.
QString EditText(double value)
{
    return std::isfinite(value) ? NumberText(value) : QString();
}

} // namespace

CSelectRangeDlg::CSelectRangeDlg(IUiServices& ui, QWidget* parent) : CKestrinDialog(parent), m_ui(ui)
{
    setWindowTitle(QStringLiteral("Select Range"));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(ControlName("button", 1));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(ControlName("button", 2));

    auto* prompt = new QLabel(QStringLiteral("Select a range of data points."), this);
    prompt->setObjectName(QStringLiteral("labelPrompt"));
    auto* labelFrom = new QLabel(QStringLiteral("From"), this);
    labelFrom->setObjectName(QStringLiteral("labelFromCaption"));
    m_editFrom = new QLineEdit(this);
    m_editFrom->setObjectName(ControlName("edit", 1033));
    m_editFrom->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_labelFrom = new QLabel(QStringLiteral("(from)"), this);
    m_labelFrom->setObjectName(ControlName("static", 1035));
    auto* labelTo = new QLabel(QStringLiteral("To"), this);
    labelTo->setObjectName(QStringLiteral("labelToCaption"));
    m_editTo = new QLineEdit(this);
    m_editTo->setObjectName(ControlName("edit", 1034));
    m_editTo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_labelTo = new QLabel(QStringLiteral("(to)"), this);
    m_labelTo->setObjectName(ControlName("static", 1036));

    const CDialogUnits du(font());
    const auto at = [&](QWidget* w, int x, int y, int cx, int cy) { w->setGeometry(du.Rect(x, y, cx, cy)); };
    at(prompt, 7, 7, 130, 8);
    at(labelFrom, 7, 24, 22, 8);
    at(m_editFrom, 32, 22, 60, 12);
    at(m_labelFrom, 97, 24, 70, 8);
    at(labelTo, 7, 41, 22, 8);
    at(m_editTo, 32, 39, 60, 12);
    at(m_labelTo, 97, 41, 70, 8);
    at(ok, 174, 7, 50, 14);
    at(cancel, 174, 24, 50, 14);
    setFixedSize(du.X(231), du.Y(58));

    connect(ok, &QPushButton::clicked, this, &CSelectRangeDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CSelectRangeDlg::reject);
}

void CSelectRangeDlg::OnInitDialog()
{
    // The whole series is offered, and its ends are shown beside the edits.
    m_dFrom = m_dMin;
    m_dTo = m_dMax;
    m_strFromLabel = Fixed2(m_dMin);
    m_strToLabel = Fixed2(m_dMax);
    UpdateData(false);
}

bool CSelectRangeDlg::UpdateData(bool saveAndValidate)
{
    if (!saveAndValidate) {
        m_editFrom->setText(EditText(m_dFrom));
        m_editTo->setText(EditText(m_dTo));
        m_labelFrom->setText(m_strFromLabel);
        m_labelTo->setText(m_strToLabel);
        return true;
    }
    // In the members' order; an entry that fails stops the exchange there.
    if (!ReadNumber(m_ui, m_editFrom, m_dFrom))
        return false;
    if (!ReadNumber(m_ui, m_editTo, m_dTo))
        return false;
    return true;
}

bool CSelectRangeDlg::OnOK()
{
    if (const std::optional<std::string> refusal = CheckExtractRange(m_dFrom, m_dTo, m_dMin, m_dMax)) {
        m_ui.MessageBox(*refusal, MsgButtons::ok, MsgIcon::warning);
        // The To value is at fault only when From is already acceptable.
        QLineEdit* at = (m_dFrom > m_dTo || m_dFrom < m_dMin) ? m_editFrom : m_editTo;
        FocusEdit(at);
        return false;
    }
    return true;
}
