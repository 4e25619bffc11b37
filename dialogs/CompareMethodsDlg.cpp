#include "dialogs/CompareMethodsDlg.h"

#include <cmath>
#include <exception>

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "analysis/BootstrapText.h"
#include "analysis/FitPlotData.h"
#include "dialogs/BackgroundRun.h"
#include "dialogs/FitPlotWnd.h"
#include "core/HDataSet.h"

namespace {

const std::vector<EHMethod> kMethods{std::begin(kAllHMethods), std::end(kAllHMethods)};

QString FixedOrNa(double value)
{
    return std::isfinite(value) ? QString::number(value, 'f', 3) : QStringLiteral("n/a");
}

// The estimator over the values, as the document computed it.
CHDataSet EstimatorOf(const std::vector<double>& values, CEstimatorSetting setting)
{
    CHDataSet set(setting);
    set.m_bAutoCompute = 0;
    set.Values().Storage() = values;
    set.Compute();
    return set;
}

} // namespace

QString IntervalsOverlapText(const CMethodComparison& comparison)
{
    bool bootstrapped = false;
    QStringList without;
    for (const CMethodRow& row : comparison.rows) {
        if (!row.bootstrap)
            continue;
        bootstrapped = true;
        if (!row.bootstrap->low || !row.bootstrap->high)
            without << QString::fromUtf8(HMethodName(row.estimate.method));
    }
    if (!bootstrapped)
        return {};
    const QString missing = without.join(QStringLiteral(", "));
    const std::optional<bool> overlap = IntervalsOverlap(comparison);
    if (!overlap)
        return QStringLiteral("Fewer than two methods have a 95 % interval (none for %1: not reached, or too few "
                              "replicates): whether they agree cannot be told. Run with more replicates.")
            .arg(missing);
    QString text = *overlap
                       ? QStringLiteral("The intervals overlap: the methods agree within their uncertainty.")
                       : QStringLiteral("The intervals do not overlap: the methods disagree. The series may not "
                                        "be like fractional Brownian motion or noise (a trend, short-range "
                                        "structure or a change of regime); read the manual's methods section.");
    if (!without.isEmpty())
        text += QStringLiteral(" Not compared, without an interval: %1.").arg(missing);
    return text;
}

CCompareMethodsDlg::CCompareMethodsDlg(const QString& label, std::vector<double> values, int nD, int nM,
                                       bool isProfile, IUiServices& ui, QWidget* parent)
    : CCompareMethodsDlg(label, std::move(values), CEstimatorSetting{.nD = nD, .nM = nM}, isProfile, ui, parent)
{
}

CCompareMethodsDlg::CCompareMethodsDlg(const QString& label, std::vector<double> values, CEstimatorSetting setting,
                                       bool isProfile, IUiServices& ui, QWidget* parent)
    : QDialog(parent), m_values(std::move(values)), m_setting(setting), m_isProfile(isProfile), m_ui(ui),
      m_label(label)
{
    setWindowTitle(QStringLiteral("Compare Methods"));
    setObjectName(QStringLiteral("CCompareMethodsDlg"));
    m_replicates =
        RememberedReplicatesSpin(this, QStringLiteral("Replicates simulated at each trial H, the same ones for every method"));
    m_seed = RememberedSeedEdit(this);
    m_table = new QTableWidget(static_cast<int>(kMethods.size()), 4, this);
    m_table->setObjectName(QStringLiteral("tableMethods"));
    m_table->setHorizontalHeaderLabels(
        {QStringLiteral("Method"), QStringLiteral("H"), QStringLiteral("Corrected H"), QStringLiteral("95 % interval")});
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setToolTip(QStringLiteral("Double-click a method for its fit plot"));
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_overlap = new QLabel(this);
    m_overlap->setObjectName(QStringLiteral("labelOverlap"));
    m_overlap->setWordWrap(true);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setRange(0, 1000);
    m_progress->setTextVisible(false);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("labelStatus"));
    m_status->setWordWrap(true);
    m_fitPlotButton = new QPushButton(QStringLiteral("Fit &Plot..."), this);
    m_fitPlotButton->setObjectName(QStringLiteral("buttonFitPlot"));
    m_fitPlotButton->setAutoDefault(false);
    m_fitPlotButton->setToolTip(QStringLiteral("The fit of the selected method"));
    m_run = new QPushButton(QStringLiteral("&Run"), this);
    m_run->setObjectName(QStringLiteral("buttonRun"));
    m_run->setDefault(true);
    m_cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancelButton->setObjectName(QStringLiteral("buttonCancel"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Replicates:"), m_replicates);
    form->addRow(QStringLiteral("&Seed:"), m_seed);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_fitPlotButton);
    buttons->addStretch();
    buttons->addWidget(m_run);
    buttons->addWidget(m_cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(label, this));
    layout->addWidget(m_table);
    layout->addWidget(m_overlap);
    layout->addLayout(form);
    layout->addWidget(m_progress);
    layout->addWidget(m_status);
    layout->addLayout(buttons);
    setMinimumWidth(460);

    // The estimates alone are quick: shown at once.
    const CHDataSet set = EstimatorOf(m_values, m_setting);
    m_comparison = CompareMethods(set, kMethods, ESeriesInput::Auto, m_isProfile);
    m_status->setText(QStringLiteral("The series: %1. Run bootstraps every method from the same replicates.")
                          .arg(QString::fromStdString(SeriesKindLabel(m_comparison.decision))));
    ShowComparison();
    m_table->selectRow(0);

    // The bootstrap dialog's replicates and seed are offered here too (and
    // not written back).
    m_background = new CBackgroundRun(this, m_progress);
    connect(m_run, &QPushButton::clicked, this, &CCompareMethodsDlg::Start);
    connect(m_cancelButton, &QPushButton::clicked, this, &CCompareMethodsDlg::reject);
    connect(m_fitPlotButton, &QPushButton::clicked, this, [this] { ShowFitPlot(m_table->currentRow()); });
    connect(m_table, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { ShowFitPlot(row); });
}

CCompareMethodsDlg::~CCompareMethodsDlg() = default;

bool CCompareMethodsDlg::Running() const
{
    return m_background->Running();
}

void CCompareMethodsDlg::ShowComparison()
{
    for (std::size_t i = 0; i < m_comparison.rows.size(); ++i) {
        const CMethodRow& row = m_comparison.rows[i];
        const int r = static_cast<int>(i);
        QString corrected, interval;
        if (row.bootstrap && row.bootstrap->Reached()) {
            const CBootstrapResult& b = *row.bootstrap;
            corrected = QString::fromStdString(BootstrapValueText(*b.corrected, b.correctedBound, b.correctedError));
            if (b.low && b.high)
                interval = QString::fromStdString(BootstrapValueText(*b.low, b.lowBound, b.lowError)) +
                           QStringLiteral(" to ") +
                           QString::fromStdString(BootstrapValueText(*b.high, b.highBound, b.highError));
        } else if (row.bootstrap) {
            corrected = QStringLiteral("not reached");
        }
        const QString cells[] = {QString::fromUtf8(HMethodName(row.estimate.method)), FixedOrNa(row.estimate.h),
                                 corrected, interval};
        for (int c = 0; c < 4; ++c)
            m_table->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    m_overlap->setText(IntervalsOverlapText(m_comparison));
}

void CCompareMethodsDlg::ShowFitPlot(int row)
{
    if (row < 0 || row >= static_cast<int>(m_comparison.rows.size()))
        return;
    const EHMethod method = m_comparison.rows[static_cast<std::size_t>(row)].estimate.method;
    const CHDataSet set = EstimatorOf(m_values, m_setting);
    if (!m_fitPlot)
        m_fitPlot = new CFitPlotWnd(m_ui, this);
    m_fitPlot->SetData(MethodFitPlotDataOf(method, set, m_values.data(), m_values.size(),
                                           m_comparison.decision.estimatedAs, m_label.toStdString()));
    m_fitPlot->show();
    m_fitPlot->raise();
}

void CCompareMethodsDlg::Start()
{
    if (Running())
        return;
    const std::optional<unsigned long long> seed = TypedSeedOrSay(*m_seed, *m_status);
    if (!seed)
        return;
    CSeriesBootstrapOptions options;
    options.replicates = m_replicates->value();
    options.seed = *seed;
    m_status->setText(QStringLiteral("Simulating %1 replicates for %2 methods...")
                          .arg(options.replicates)
                          .arg(kMethods.size()));
    m_run->setEnabled(false);
    m_replicates->setEnabled(false);
    m_seed->setEnabled(false);
    m_background->Start(
        [this, options](const CBackgroundRun::Progress& progress) {
            const CHDataSet set = EstimatorOf(m_values, m_setting);
            m_workerComparison =
                CompareMethods(set, kMethods, ESeriesInput::Auto, m_isProfile, &options, progress);
        },
        [this] { Finish(); });
}

void CCompareMethodsDlg::Finish()
{
    m_run->setEnabled(true);
    m_replicates->setEnabled(true);
    m_seed->setEnabled(true);
    if (const auto& failure = m_background->Failure()) {
        m_status->setText(QString::fromStdString(*failure));
    } else if (m_workerComparison.cancelled) {
        m_status->setText(QStringLiteral("Bootstrap cancelled."));
    } else {
        m_comparison = m_workerComparison;
        m_progress->setValue(1000);
        m_status->setText(QStringLiteral("%1 replicates, seed %2, the same for every method.")
                              .arg(m_replicates->value())
                              .arg(m_seed->text().trimmed()));
        ShowComparison();
    }
    emit finishedRun();
}

void CCompareMethodsDlg::reject()
{
    // Cancel during a run stops the run and keeps the dialog; otherwise it
    // closes it.
    if (Running()) {
        m_background->Cancel();
        return;
    }
    QDialog::reject();
}
