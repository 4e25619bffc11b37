#include "dialogs/HParamsDlg.h"

#include <cstddef>
#include <optional>

#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "analysis/EstimateWarnings.h"
#include "dialogs/BootstrapAllDlg.h"
#include "dialogs/BootstrapDlg.h"
#include "dialogs/CompareMethodsDlg.h"
#include "dialogs/EstimatorLimits.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/DialogUnits.h"
#include "platform/ui/FirstLagField.h"
#include "dialogs/FitPlotWnd.h"
#include "core/Format.h"
#include "dialogs/HDataDlg.h"
#include "document/KestrinDoc.h"
#include "core/OptimumM.h"
#include "platform/ui/ParameterTips.h"
#include "dialogs/ParamsDlgOwner.h"
#include "platform/ui/SpinButton.h"

namespace {

constexpr int kSpinLower = 1;
constexpr int kSpinUpper = 500;

QLineEdit* ReadOnlyEdit(QWidget* parent, int id, bool rightAligned)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(ControlName("edit", id));
    edit->setReadOnly(true);
    if (rightAligned)
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return edit;
}

QString Fixed2(double value)
{
    return QString::fromStdString(FormatFixed(value, 2));
}

} // namespace

CHParamsDlg::CHParamsDlg(IParamsDlgOwner* owner, QWidget* parent) : QDialog(parent), m_pOwner(owner)
{
    setWindowTitle(QStringLiteral("Hurst Parameters and Variables"));
    setModal(false);

    auto* labelTab = new QLabel(QStringLiteral("H Tab at X:"), this);
    labelTab->setObjectName(QStringLiteral("labelTab"));
    m_comboTabs = new QComboBox(this);
    m_comboTabs->setObjectName(ControlName("combo", 1015));
    m_comboTabs->setEditable(false);
    m_comboTabs->setInsertPolicy(QComboBox::InsertAtBottom);

    auto* labelH = new QLabel(QStringLiteral("H:"), this);
    labelH->setObjectName(QStringLiteral("labelH"));
    m_editH = ReadOnlyEdit(this, 1016, true);
    auto* labelR = new QLabel(QStringLiteral("r:"), this);
    labelR->setObjectName(QStringLiteral("labelR"));
    m_editR = ReadOnlyEdit(this, 1017, true);
    auto* labelB = new QLabel(QStringLiteral("b:"), this);
    labelB->setObjectName(QStringLiteral("labelB"));
    m_editB = ReadOnlyEdit(this, 1018, true);

    // The group is only a frame drawn behind M and D, whose controls are
    // children of the dialog like every other control.
    auto* group = new QGroupBox(QStringLiteral("H Parameters"), this);
    group->setObjectName(QStringLiteral("groupHParameters"));
    auto* buttonM = new QPushButton(QStringLiteral("&M"), this);
    buttonM->setObjectName(ControlName("button", 1039));
    buttonM->setAutoDefault(false);
    m_editM = ReadOnlyEdit(this, 1019, false);
    m_spinM = new CSpinButton(this);
    m_spinM->setObjectName(ControlName("spin", 1020));
    m_spinM->SetBuddy(m_editM);
    auto* labelD = new QLabel(QStringLiteral("D"), this);
    labelD->setObjectName(QStringLiteral("labelD"));
    m_editD = ReadOnlyEdit(this, 1021, false);
    m_spinD = new CSpinButton(this);
    m_spinD->setObjectName(ControlName("spin", 1022));
    m_spinD->SetBuddy(m_editD);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(ControlName("list", 1023));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionsMovable(false);

    auto* dismiss = new QPushButton(QStringLiteral("&Dismiss"), this);
    dismiss->setObjectName(ControlName("button", 1));
    dismiss->setDefault(true);
    auto* apply = new QPushButton(QStringLiteral("&Apply"), this);
    apply->setObjectName(ControlName("button", 1026));
    apply->setAutoDefault(false);
    auto* viewData = new QPushButton(QStringLiteral("&View Data"), this);
    viewData->setObjectName(ControlName("button", 1038));
    viewData->setAutoDefault(false);
    auto* fitPlot = new QPushButton(QStringLiteral("Fit &Plot..."), this);
    fitPlot->setObjectName(QStringLiteral("buttonFitPlot"));
    fitPlot->setAutoDefault(false);
    auto* bootstrap = new QPushButton(QStringLiteral("&Bootstrap..."), this);
    bootstrap->setObjectName(QStringLiteral("buttonBootstrap"));
    bootstrap->setAutoDefault(false);
    auto* bootstrapAll = new QPushButton(QStringLiteral("Bootstrap All &Intervals..."), this);
    bootstrapAll->setObjectName(QStringLiteral("buttonBootstrapAll"));
    bootstrapAll->setAutoDefault(false);
    bootstrapAll->setToolTip(QStringLiteral("The bootstrap of the whole series and of every interval, in one table"));
    auto* compare = new QPushButton(QStringLiteral("&Compare Methods..."), this);
    compare->setObjectName(QStringLiteral("buttonCompareMethods"));
    compare->setAutoDefault(false);
    compare->setToolTip(QStringLiteral("DFA-1 and Whittle (fGn) beside the curve length, with their bootstraps"));
    m_labelBootstrap = new QLabel(this);
    m_labelBootstrap->setObjectName(QStringLiteral("labelBootstrap"));
    m_labelBootstrap->setWordWrap(true);
    m_labelBootstrap->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The warnings of the estimate shown, in the window itself.
    m_labelWarnings = new QLabel(this);
    m_labelWarnings->setObjectName(QStringLiteral("labelHWarnings"));
    m_labelWarnings->setWordWrap(true);
    m_labelWarnings->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    buttonM->setToolTip(tips::OptimumM());
    for (QWidget* w : {static_cast<QWidget*>(m_editM), static_cast<QWidget*>(m_spinM)})
        w->setToolTip(tips::M());
    for (QWidget* w : {static_cast<QWidget*>(labelD), static_cast<QWidget*>(m_editD), static_cast<QWidget*>(m_spinD)})
        w->setToolTip(tips::D());

    const CDialogUnits du(font());
    const auto at = [&](QWidget* w, int x, int y, int cx, int cy) { w->setGeometry(du.Rect(x, y, cx, cy)); };
    at(labelTab, 7, 9, 48, 8);
    at(m_comboTabs, 56, 7, 92, 14);
    at(labelH, 7, 28, 10, 8);
    at(m_editH, 18, 26, 40, 12);
    at(labelR, 65, 28, 10, 8);
    at(m_editR, 76, 26, 40, 12);
    at(labelB, 123, 28, 10, 8);
    at(m_editB, 134, 26, 40, 12);
    at(group, 7, 44, 182, 34);
    at(buttonM, 14, 56, 22, 14);
    at(m_editM, 39, 57, 40, 12);
    at(m_spinM, 79, 57, 10, 12);
    at(labelD, 104, 59, 10, 8);
    at(m_editD, 116, 57, 40, 12);
    at(m_spinD, 156, 57, 10, 12);
    // In the column of buttons, where it was free.
    m_spinFirstLag = AddFirstLagField(this, du, 196, 62, 54);
    at(m_list, 7, 84, 182, 110);
    at(dismiss, 196, 7, 54, 14);
    at(apply, 196, 24, 54, 14);
    at(viewData, 196, 41, 54, 14);
    // Added below the original controls, which keep their places.
    at(fitPlot, 196, 84, 54, 14);
    at(bootstrap, 196, 101, 54, 14);
    at(m_labelBootstrap, 7, 198, 243, 18);
    // Too wide for the column of buttons: a row of its own below the
    // bootstrap's result, right-aligned with the column.
    at(compare, 176, 220, 74, 14);
    at(bootstrapAll, 72, 220, 100, 14);
    // Below them: room for both warnings.
    at(m_labelWarnings, 7, 238, 243, 34);
    setFixedSize(du.X(257), du.Y(275));

    connect(dismiss, &QPushButton::clicked, this, &CHParamsDlg::accept);
    connect(apply, &QPushButton::clicked, this, &CHParamsDlg::OnApply);
    connect(viewData, &QPushButton::clicked, this, &CHParamsDlg::OnViewData);
    connect(buttonM, &QPushButton::clicked, this, &CHParamsDlg::SetOptimumM);
    connect(fitPlot, &QPushButton::clicked, this, &CHParamsDlg::OnFitPlot);
    connect(bootstrap, &QPushButton::clicked, this, &CHParamsDlg::OnBootstrap);
    connect(compare, &QPushButton::clicked, this, &CHParamsDlg::OnCompareMethods);
    connect(bootstrapAll, &QPushButton::clicked, this, &CHParamsDlg::OnBootstrapAll);
    // Only a choice of the user counts as a selection change; the selector's
    // own refills do not.
    connect(m_comboTabs, &QComboBox::activated, this, [this] { RefreshDetails(); });

    OnInitDialog();
}

void CHParamsDlg::OnInitDialog()
{
    if (!m_pOwner)
        return;
    m_spinM->SetRange(kSpinLower, kSpinUpper);
    m_spinD->SetRange(kSpinLower, kSpinUpper);
    const CHDataSet& global = m_pOwner->GetDocument().m_globalSet;
    m_nM = global.GetM();
    m_nD = global.GetD();
    m_spinD->SetPos(m_nD);
    m_spinM->SetPos(m_nM);

    m_list->setColumnCount(4);
    m_list->setHeaderLabels({QStringLiteral("L(r)"), QStringLiteral("Value"), QStringLiteral("X"), QStringLiteral("Y")});
    QTreeWidgetItem* header = m_list->headerItem();
    const int widths[] = {50, 100, 50, 50};
    for (int c = 0; c < 4; ++c) {
        header->setTextAlignment(c, (c == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
        m_list->setColumnWidth(c, widths[c]);
    }

    UpdateData(false);
    RefreshTabList();
}

void CHParamsDlg::UpdateData(bool saveAndValidate)
{
    if (!saveAndValidate) {
        m_editD->setText(IntegerText(m_nD));
        m_editM->setText(IntegerText(m_nM));
        m_spinFirstLag->setValue(m_nRMin);
        const QString selection = QString::fromStdString(m_strSelection);
        const int index = m_comboTabs->findText(selection, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (index >= 0)
            m_comboTabs->setCurrentIndex(index);
        m_editR->setText(QString::fromStdString(m_strR));
        m_editH->setText(QString::fromStdString(m_strH));
        m_editB->setText(QString::fromStdString(m_strB));
        return;
    }
    // The edits are read-only and only ever hold what was written to them,
    // so the numbers always read back; a member keeps its value otherwise.
    bool ok = false;
    const int d = m_editD->text().trimmed().toInt(&ok, 10);
    if (ok)
        m_nD = d;
    const int m = m_editM->text().trimmed().toInt(&ok, 10);
    if (ok)
        m_nM = m;
    m_nRMin = m_spinFirstLag->value();
    m_strSelection = m_comboTabs->currentIndex() >= 0 ? m_comboTabs->currentText().toStdString() : std::string();
    m_strR = m_editR->text().toStdString();
    m_strH = m_editH->text().toStdString();
    m_strB = m_editB->text().toStdString();
}

std::optional<std::size_t> CHParamsDlg::FindSelectedInterval() const
{
    if (!m_pOwner || m_strSelection == kGlobal)
        return std::nullopt;
    const auto& sets = m_pOwner->GetDocument().m_tabSets;
    for (std::size_t i = 0; i < sets.size(); ++i) {
        if (sets[i]->m_strLabel == m_strSelection)
            return i;
    }
    return std::nullopt;
}

const CHDataSet* CHParamsDlg::FindSelectedDataSet() const
{
    if (!m_pOwner)
        return nullptr;
    const CKestrinDoc& doc = m_pOwner->GetDocument();
    if (m_strSelection == kGlobal)
        return &doc.m_globalSet;
    const std::optional<std::size_t> index = FindSelectedInterval();
    return index ? doc.m_tabSets[*index].get() : nullptr;
}

void CHParamsDlg::FillTabList()
{
    m_comboTabs->clear();
    m_comboTabs->addItem(QString::fromLatin1(kGlobal));
    if (m_pOwner) {
        for (const auto& set : m_pOwner->GetDocument().m_tabSets)
            m_comboTabs->addItem(QString::fromStdString(set->m_strLabel));
    }
}

void CHParamsDlg::RefreshTabList()
{
    FillTabList();
    m_comboTabs->setCurrentIndex(0);
    RefreshDetails();
}

void CHParamsDlg::RefreshKeepingSelection()
{
    UpdateData(true);
    const QString selection = QString::fromStdString(m_strSelection);
    FillTabList();
    const int index = m_comboTabs->findText(selection, Qt::MatchExactly | Qt::MatchCaseSensitive);
    m_comboTabs->setCurrentIndex(index >= 0 ? index : 0);
    RefreshDetails();
}

void CHParamsDlg::RefreshDetails()
{
    UpdateData(true);
    if (m_strSelection.empty())
        return;
    const CHDataSet* set = FindSelectedDataSet();
    m_list->clear();
    // A bootstrap belongs to the estimate it was run on.
    m_labelBootstrap->clear();
    m_labelWarnings->clear();
    m_editH->setToolTip(QString());
    RefreshFitPlot(set);
    if (set) {
        ShowHWarnings(*set, nullptr);
        m_strH = FormatFixed(set->GetH(), 2);
        m_strR = FormatFixed(set->GetR(), 2);
        m_strB = FormatFixed(set->GetB(), 2);
        m_nD = set->GetD();
        m_nM = set->GetM();
        m_nRMin = set->GetRMin();
        m_spinD->SetPos(m_nD);
        m_spinM->SetPos(m_nM);
        QList<QTreeWidgetItem*> rows;
        rows.reserve(m_nM > 0 ? m_nM : 0);
        for (int i = 0; i < m_nM; ++i) {
            auto* row = new QTreeWidgetItem;
            row->setText(0, QString::number(i + 1));
            row->setText(1, Fixed2(set->GetL(i)));
            row->setText(2, Fixed2(set->GetLogR(i)));
            row->setText(3, Fixed2(set->GetLogL(i)));
            row->setTextAlignment(0, Qt::AlignLeft | Qt::AlignVCenter);
            for (int c = 1; c < 4; ++c)
                row->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
            rows.append(row);
        }
        m_list->addTopLevelItems(rows);
    }
    UpdateData(false);
    if (isVisible())
        repaint();
}

void CHParamsDlg::OnApply()
{
    UpdateData(true);
    ApplyToSelection(false);
}

bool CHParamsDlg::ApplyToSelection(bool keepSelection)
{
    if (!FindSelectedDataSet())
        return false;
    // An interval with a D or M that measures nothing would be left out when
    // the document is opened again, and "Global" passes its D and M on to
    // every interval made later: such a pair is refused, and nothing changes.
    // So is a first lag that leaves fewer than two lags to fit.
    IUiServices& ui = m_pOwner->GetDocument().Ui();
    if (!CheckEmbeddingD(ui, m_nD) || !CheckLagCountM(ui, m_nM))
        return false;
    if (!CheckFirstLag(ui, m_nRMin, m_nM)) {
        m_spinFirstLag->setFocus();
        return false;
    }
    const CEstimatorSetting setting{.nD = m_nD, .nM = m_nM, .nRMin = m_nRMin};
    hide();
    if (m_strSelection != kGlobal) {
        // One interval only: the document recomputes it, its other
        // estimators stay as they are, and every window is told.
        m_pOwner->GetDocument().SetIntervalSetting(*FindSelectedInterval(), setting);
        m_pOwner->RepaintNow();
    } else {
        m_pOwner->RegenerateSeriesGraph();
        m_pOwner->GetDocument().SetHParameters(setting);
    }
    show();
    // Apply shows "Global" again; a drag in the fit plot stays with the
    // estimate it was made on.
    if (keepSelection)
        RefreshKeepingSelection();
    else
        RefreshTabList();
    return true;
}

void CHParamsDlg::OnFitRangeChosen(int firstLag, int lastLag)
{
    UpdateData(true);
    if (!FindSelectedDataSet())
        return;
    m_nRMin = firstLag;
    m_nM = lastLag;
    m_spinM->SetPos(m_nM);
    UpdateData(false);
    ApplyToSelection(true);
}

void CHParamsDlg::SetOptimumM()
{
    UpdateData(true);
    const CHDataSet* set = FindSelectedDataSet();
    if (!set)
        return;
    // Not held to the spin's range: Apply applies what is shown.
    m_nM = BestIntervalM(set->GetCount());
    m_spinM->SetPos(m_nM);
    UpdateData(false);
}

void CHParamsDlg::RefreshFitPlot(const CHDataSet* set)
{
    if (m_fitPlot && set)
        m_fitPlot->SetData(FitPlotDataOf(*set, m_strSelection));
}

void CHParamsDlg::OnFitPlot()
{
    UpdateData(true);
    const CHDataSet* set = FindSelectedDataSet();
    if (!set)
        return;
    if (!m_fitPlot) {
        m_fitPlot = new CFitPlotWnd(m_pOwner->GetDocument().Ui(), this);
        m_fitPlot->SetRangeHandler([this](int firstLag, int lastLag) { OnFitRangeChosen(firstLag, lastLag); });
    }
    RefreshFitPlot(set);
    m_fitPlot->show();
    m_fitPlot->raise();
}

void CHParamsDlg::OnBootstrap()
{
    UpdateData(true);
    const CHDataSet* set = FindSelectedDataSet();
    if (!set)
        return;
    // The dialog works on a copy of the estimate's numbers: nothing of the
    // document is read or changed while it runs.
    CBootstrapDlg dlg(*set, m_pOwner && m_pOwner->GetDocument().IsProfile(), this);
    dlg.exec();
    if (!dlg.Result())
        return;
    const QString summary = BootstrapLabelText(*dlg.Result());
    m_labelBootstrap->setText(summary);
    m_editH->setToolTip(summary);
    ShowHWarnings(*set, &*dlg.Result());
}

void CHParamsDlg::OnBootstrapAll()
{
    if (m_pOwner)
        RunBootstrapAllDlg(m_pOwner->GetDocument(), this);
}

void CHParamsDlg::ShowHWarnings(const CHDataSet& set, const CBootstrapResult* bootstrap)
{
    QStringList lines;
    for (const std::string& warning : HReadingWarnings(set, bootstrap))
        lines.append(QString::fromStdString(warning));
    m_labelWarnings->setText(lines.join(QLatin1Char('\n')));
}

void CHParamsDlg::OnCompareMethods()
{
    UpdateData(true);
    const CHDataSet* set = FindSelectedDataSet();
    if (!set)
        return;
    // A copy of the values the estimate was computed over, as for Bootstrap.
    const std::span<const double> values = EstimatedValues(*set);
    CCompareMethodsDlg dlg(QString::fromStdString(m_strSelection), {values.begin(), values.end()}, set->GetSetting(),
                           m_pOwner->GetDocument().IsProfile(), m_pOwner->GetDocument().Ui(), this);
    dlg.exec();
}

void CHParamsDlg::OnViewData()
{
    if (!m_pOwner)
        return;
    CHDataDlg dlg(m_pOwner->GetDocument().Ui(), this);
    // The selection as last read: every selection change reads it.
    const CHDataSet* set = FindSelectedDataSet();
    if (!set)
        return;
    dlg.m_pDataSet = set;
    dlg.exec();
}

void CHParamsDlg::accept()
{
    if (m_pOwner)
        hide();
    else
        QDialog::accept();
}

void CHParamsDlg::reject()
{
    if (m_pOwner)
        hide();
    else
        QDialog::reject();
}
