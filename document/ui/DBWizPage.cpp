#include "document/ui/DBWizPage.h"

#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>

#include "document/ui/DBWiz.h"
#include "platform/ui/DialogUnits.h"
#include "platform/UiServices.h"

namespace {

constexpr int kNameRole = Qt::UserRole;

// An entry of a sorted list box: ascending as text, ignoring case, so that
// "apple" comes before "MSysObjects". Entries equal but for case keep a
// fixed order between them.
class CListBoxEntry : public QListWidgetItem
{
public:
    using QListWidgetItem::QListWidgetItem;

    bool operator<(const QListWidgetItem& other) const override
    {
        const QString a = text();
        const QString b = other.text();
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    }
};

} // namespace

CDBWizPage::CDBWizPage(int templateId, const char* title)
{
    setObjectName(QStringLiteral("page%1").arg(templateId));
    // The caption names the page; the step text on the page says the same
    // to the user.
    setWindowTitle(QString::fromLatin1(title));
}

void CDBWizPage::SetWizardButtons(unsigned buttons)
{
    m_buttons = buttons;
    emit completeChanged();
}

bool CDBWizPage::isComplete() const
{
    return (m_buttons & (kWizNext | kWizFinish)) != 0;
}

CDBWiz& CDBWizPage::Wizard() const
{
    return *static_cast<CDBWiz*>(wizard());
}

IUiServices& CDBWizPage::Ui() const
{
    return Wizard().Ui();
}

void CDBWizPage::Message(const std::string& text) const
{
    Ui().MessageBox(text, MsgButtons::ok, MsgIcon::warning);
}

void CDBWizPage::Place(QWidget* control, int x, int y, int cx, int cy) const
{
    const CDialogUnits du(font());
    control->setGeometry(du.X(x), du.Y(y), du.X(cx), du.Y(cy));
}

QLabel* CDBWizPage::AddStatic(const char* name, const char* text, int x, int y, int cx, int cy)
{
    auto* label = new QLabel(QString::fromLatin1(text), this);
    label->setObjectName(QString::fromLatin1(name));
    Place(label, x, y, cx, cy);
    return label;
}

QListWidget* CDBWizPage::AddListBox(int id, int x, int y, int cx, int cy)
{
    auto* list = new QListWidget(this);
    list->setObjectName(QStringLiteral("list%1").arg(id));
    list->setSortingEnabled(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    Place(list, x, y, cx, cy);
    return list;
}

void CDBWizPage::SetPageSize(int cx, int cy)
{
    const CDialogUnits du(font());
    setMinimumSize(du.X(cx), du.Y(cy));
}

void AddListEntry(QListWidget& list, const std::string& name)
{
    auto* item = new CListBoxEntry(QString::fromStdString(name));
    item->setData(kNameRole, QByteArray::fromStdString(name));
    list.addItem(item);
}

std::string ListEntry(const QListWidget& list, int row)
{
    const QListWidgetItem* item = list.item(row);
    return item ? item->data(kNameRole).toByteArray().toStdString() : std::string();
}

int FindStringPrefix(const QListWidget& list, const std::string& name)
{
    if (name.empty())
        return -1;
    const QString prefix = QString::fromStdString(name);
    for (int row = 0; row < list.count(); ++row)
        if (list.item(row)->text().startsWith(prefix, Qt::CaseInsensitive))
            return row;
    return -1;
}

int SelectStringPrefix(QListWidget& list, const std::string& name)
{
    const int row = FindStringPrefix(list, name);
    if (row >= 0) {
        const QSignalBlocker quiet(list);
        list.setCurrentRow(row);
        list.scrollToItem(list.item(row));
    }
    return row;
}
