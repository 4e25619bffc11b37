#include "analysis/ui/SlidingWindowHDlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/ui/DataExchange.h"
#include "platform/ui/DialogUnits.h"
#include "analysis/ui/GeneralText.h"
#include "core/HDataSet.h"

CSlidingWindowHDlg::CSlidingWindowHDlg(QWidget* parent) : CKestrinDialog(parent)
{
    setWindowTitle(QStringLiteral("Sliding Window H"));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(ControlName("button", 1));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(ControlName("button", 2));

    const CDialogUnits du(font());
    const auto at = [&](QWidget* w, int x, int y, int cx, int cy) { w->setGeometry(du.Rect(x, y, cx, cy)); };
    // One labelled read-only row per result, top to bottom: H, r, b, n.
    const auto row = [&](const char* caption, const char* labelName, int id, int index) {
        auto* label = new QLabel(QString::fromLatin1(caption), this);
        label->setObjectName(QString::fromLatin1(labelName));
        auto* edit = new QLineEdit(this);
        edit->setObjectName(ControlName("edit", id));
        edit->setReadOnly(true);
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        const int y = 7 + index * 17;
        at(label, 7, y + 2, 14, 8);
        at(edit, 24, y, 100, 12);
        return edit;
    };
    m_editH = row("H:", "labelH", 1067, 0);
    m_editR = row("r:", "labelR", 1068, 1);
    m_editB = row("b:", "labelB", 1069, 2);
    m_editN = row("n:", "labelN", 1070, 3);
    at(ok, 134, 7, 50, 14);
    at(cancel, 134, 24, 50, 14);
    setFixedSize(du.X(191), du.Y(82));

    connect(ok, &QPushButton::clicked, this, &CSlidingWindowHDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CSlidingWindowHDlg::reject);
}

void CSlidingWindowHDlg::OnInitDialog()
{
    if (m_pDataSet) {
        m_dB = m_pDataSet->GetB();
        m_dH = m_pDataSet->GetH();
        m_dR = m_pDataSet->GetR();
        m_nN = m_pDataSet->GetCount();
    }
    m_editB->setText(GeneralText(m_dB));
    m_editH->setText(GeneralText(m_dH));
    m_editN->setText(IntegerText(m_nN));
    m_editR->setText(GeneralText(m_dR));
}
