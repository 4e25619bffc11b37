#include "dialogs/HDataDlg.h"

#include <algorithm>
#include <vector>

#include <QHeaderView>
#include <QPushButton>
#include <QTreeView>

#include "platform/ui/DataExchange.h"
#include "platform/ui/DialogUnits.h"
#include "core/HDataSet.h"
#include "platform/UiServices.h"
#include "dialogs/ValueListModel.h"

CHDataDlg::CHDataDlg(IUiServices& ui, QWidget* parent) : CKestrinDialog(parent), m_ui(ui)
{
    setWindowTitle(QStringLiteral("H Data Dialog"));

    m_list = new QTreeView(this);
    m_list->setObjectName(ControlName("list", 1037));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setItemsExpandable(false);
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionsMovable(false);
    m_list->setModel(new CValueListModel(m_list));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(ControlName("button", 1));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(ControlName("button", 2));

    const CDialogUnits du(font());
    m_list->setGeometry(du.Rect(7, 7, 180, 150));
    ok->setGeometry(du.Rect(194, 7, 50, 14));
    cancel->setGeometry(du.Rect(194, 24, 50, 14));
    setFixedSize(du.X(251), du.Y(164));

    connect(ok, &QPushButton::clicked, this, &CHDataDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CHDataDlg::reject);
}

void CHDataDlg::OnInitDialog()
{
    m_list->setColumnWidth(0, 100);
    m_list->setColumnWidth(1, 100);

    m_ui.SetStatusText("Getting H data...");
    CWaitCursor wait(m_ui);
    std::vector<double> values;
    if (m_pDataSet) {
        // The values of the last computation; never more than are held.
        const int n = std::min(m_pDataSet->GetCount(), m_pDataSet->GetValueCount());
        values.reserve(static_cast<std::size_t>(std::max(n, 0)));
        for (int i = 0; i < n; ++i)
            values.push_back(m_pDataSet->GetValue(i));
    }
    static_cast<CValueListModel*>(m_list->model())->SetValues(std::move(values));
    m_ui.SetStatusText("Ready");
}
