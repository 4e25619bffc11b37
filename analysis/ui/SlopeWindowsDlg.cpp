#include "analysis/ui/SlopeWindowsDlg.h"

#include <string>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/ui/DataExchange.h"
#include "platform/ui/DialogUnits.h"
#include "analysis/SlopeWindows.h"
#include "platform/UiServices.h"

CSlopeWindowsDlg::CSlopeWindowsDlg(IUiServices& ui, QWidget* parent) : CKestrinDialog(parent), m_ui(ui)
{
    setWindowTitle(QStringLiteral("Set Slope Windows"));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(ControlName("button", 1));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(ControlName("button", 2));

    auto* label = new QLabel(QStringLiteral("Window Size:"), this);
    label->setObjectName(QStringLiteral("labelSize"));
    m_editSize = new QLineEdit(this);
    m_editSize->setObjectName(ControlName("edit", 1076));
    MakeDigitsOnly(m_editSize);

    const CDialogUnits du(font());
    const auto at = [&](QWidget* w, int x, int y, int cx, int cy) { w->setGeometry(du.Rect(x, y, cx, cy)); };
    at(label, 7, 9, 46, 8);
    at(m_editSize, 56, 7, 50, 12);
    at(ok, 117, 7, 50, 14);
    at(cancel, 117, 24, 50, 14);
    setFixedSize(du.X(174), du.Y(45));

    connect(ok, &QPushButton::clicked, this, &CSlopeWindowsDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CSlopeWindowsDlg::reject);
}

bool CSlopeWindowsDlg::UpdateData(bool saveAndValidate)
{
    if (!saveAndValidate) {
        m_editSize->setText(IntegerText(m_nSize));
        return true;
    }
    int size = m_nSize;
    if (!ReadInteger(m_ui, m_editSize, size))
        return false;
    if (size < kMinSlopeWindow || size > kMaxSlopeWindow) {
        const std::string message = "Please enter an integer between " + std::to_string(kMinSlopeWindow) + " and "
                                    + std::to_string(kMaxSlopeWindow) + ".";
        m_ui.MessageBox(message, MsgButtons::ok, MsgIcon::warning);
        m_editSize->setFocus(Qt::OtherFocusReason);
        m_editSize->selectAll();
        return false;
    }
    m_nSize = size;
    return true;
}

