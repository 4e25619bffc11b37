#include "dialogs/DeleteTabDlg.h"

#include <utility>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "platform/ui/DataExchange.h"
#include "platform/ui/DialogUnits.h"

CDeleteTabDlg::CDeleteTabDlg(std::vector<std::string> labels, QWidget* parent)
    : CKestrinDialog(parent), m_labels(std::move(labels))
{
    setWindowTitle(QStringLiteral("Delete Tab At..."));

    auto* prompt = new QLabel(QStringLiteral("Select tab:"), this);
    prompt->setObjectName(QStringLiteral("labelPrompt"));
    m_list = new QListWidget(this);
    m_list->setObjectName(ControlName("list", 1028));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSortingEnabled(false);

    auto* remove = new QPushButton(QStringLiteral("Delete"), this);
    remove->setObjectName(ControlName("button", 1));
    remove->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(ControlName("button", 2));

    const CDialogUnits du(font());
    prompt->setGeometry(du.Rect(7, 7, 100, 8));
    m_list->setGeometry(du.Rect(7, 18, 100, 90));
    remove->setGeometry(du.Rect(114, 18, 50, 14));
    cancel->setGeometry(du.Rect(114, 35, 50, 14));
    setFixedSize(du.X(171), du.Y(115));

    connect(remove, &QPushButton::clicked, this, &CDeleteTabDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CDeleteTabDlg::reject);
}

void CDeleteTabDlg::OnInitDialog()
{
    m_list->clear();
    for (const std::string& label : m_labels)
        m_list->addItem(QString::fromStdString(label));
    // Nothing is chosen until the user picks an entry.
    m_list->setCurrentRow(-1);
    m_list->clearSelection();
}

bool CDeleteTabDlg::OnOK()
{
    const QList<QListWidgetItem*> chosen = m_list->selectedItems();
    m_strSelectedLabel = chosen.isEmpty() ? std::string() : chosen.front()->text().toStdString();
    return true;
}
