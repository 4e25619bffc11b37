#include "dialogs/BootstrapAllDlg.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
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
#include "analysis/ResultExport.h"
#include "core/Format.h"
#include "dialogs/BackgroundRun.h"
#include "document/KestrinDoc.h"
#include "platform/UiServices.h"

namespace {

enum Column
{
    kInterval,
    kCount,
    kH,
    kCorrected,
    kRange,
    kApart,
    kSeries,
    kCheck,
    kNotes,
    kColumns
};

QString Text(const std::string& text)
{
    return QString::fromStdString(text);
}

QString SpanLabel(const CIntervalSpan& span)
{
    if (span.global)
        return QStringLiteral("global");
    return Text(FormatFixed(span.lower, 2) + " to " + FormatFixed(span.upper, 2));
}

// "0.66–0.71", an end that is not given "none".
QString RangeText(const CBootstrapResult& r)
{
    if (!r.low && !r.high)
        return {};
    const auto end = [](const std::optional<double>& value, EBootstrapBound bound, double error) {
        return value ? BootstrapValueText(*value, bound, error) : std::string("none");
    };
    return Text(end(r.low, r.lowBound, r.lowError) + "\xE2\x80\x93" + end(r.high, r.highBound, r.highError));
}

// The cells of one row.
QStringList Cells(const CIntervalBootstrapRow& row, const CHDataSet& set)
{
    QStringList cells;
    for (int c = 0; c < kColumns; ++c)
        cells << QString();
    cells[kInterval] = SpanLabel(row.span);
    cells[kCount] = QString::number(row.n);
    cells[kH] = QString::number(row.h, 'f', 3);
    const CBootstrapResult& r = row.result;
    if (r.cancelled)
        cells[kCorrected] = QStringLiteral("cancelled");
    else if (row.refusal)
        cells[kCorrected] = QStringLiteral("not run");
    else if (!r.corrected)
        cells[kCorrected] = QStringLiteral("not reached");
    else
        cells[kCorrected] = Text(BootstrapValueText(*r.corrected, r.correctedBound, r.correctedError));
    if (!r.cancelled && !row.refusal) {
        cells[kRange] = RangeText(r);
        cells[kApart] = Text(ApartText(row));
        if (r.decision)
            cells[kSeries] = Text(SeriesKindLabel(*r.decision));
        if (r.check)
            cells[kCheck] = r.check->passed ? QStringLiteral("passed") : QStringLiteral("failed");
    }
    QStringList notes;
    for (const std::string& note : IntervalBootstrapNotes(row, set, kSeriesChoiceHint))
        notes << Text(note);
    cells[kNotes] = notes.join(QLatin1Char(' '));
    return cells;
}

} // namespace

CBootstrapAllDlg::CBootstrapAllDlg(std::vector<CHDataSet> sets, std::vector<CIntervalSpan> spans, bool isProfile,
                                   IUiServices& ui, QWidget* parent)
    : QDialog(parent), m_sets(std::move(sets)), m_spans(std::move(spans)), m_isProfile(isProfile), m_ui(ui)
{
    m_spans.resize(m_sets.size());
    setWindowTitle(QStringLiteral("Bootstrap All Intervals"));
    setObjectName(QStringLiteral("CBootstrapAllDlg"));
    m_replicates = RememberedReplicatesSpin(this, QStringLiteral("Replicates of the model simulated at each trial H"));
    m_seed = RememberedSeedEdit(this);
    m_input = SeriesInputCombo(this, QStringLiteral("A noise wanders around a fixed level, a motion wanders freely; "
                                                    "automatic decides by DFA for each estimate"));
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setRange(0, 1000);
    m_progress->setTextVisible(false);
    m_status = new QLabel(QStringLiteral("%1 estimates: the whole series and %2 intervals")
                              .arg(m_sets.size())
                              .arg(m_sets.empty() ? 0 : m_sets.size() - 1),
                          this);
    m_status->setObjectName(QStringLiteral("labelStatus"));
    m_status->setWordWrap(true);

    m_table = new QTableWidget(0, kColumns, this);
    m_table->setObjectName(QStringLiteral("tableIntervals"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("Interval"), QStringLiteral("n"), QStringLiteral("H"),
                                        QStringLiteral("H corrected"), QStringLiteral("95 % interval"),
                                        QStringLiteral("vs previous"), QStringLiteral("Series"),
                                        QStringLiteral("Model check"), QStringLiteral("Notes")});
    m_table->horizontalHeaderItem(kApart)->setToolTip(
        QStringLiteral("\"apart\": this interval's 95 % interval shares no point with the one before"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->setVisible(false);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setMinimumHeight(160);

    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("labelSummary"));
    m_summary->setWordWrap(true);
    m_summary->setText(QStringLiteral(
        "Neighbouring intervals marked \"apart\" have 95 % intervals that share no point: a conservative sign "
        "that H differs between them. Intervals that overlap do not show that H is the same."));

    m_run = new QPushButton(QStringLiteral("&Run"), this);
    m_run->setObjectName(QStringLiteral("buttonRun"));
    m_run->setDefault(true);
    m_copy = new QPushButton(QStringLiteral("&Copy"), this);
    m_copy->setObjectName(QStringLiteral("buttonCopy"));
    m_copy->setToolTip(QStringLiteral("The table as CSV on the clipboard"));
    m_save = new QPushButton(QStringLiteral("&Save..."), this);
    m_save->setObjectName(QStringLiteral("buttonSave"));
    m_save->setToolTip(QStringLiteral("The table as a CSV file"));
    m_cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancelButton->setObjectName(QStringLiteral("buttonCancel"));
    m_copy->setEnabled(false);
    m_save->setEnabled(false);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("R&eplicates:"), m_replicates);
    form->addRow(QStringLiteral("See&d:"), m_seed);
    form->addRow(QStringLiteral("Ser&ies:"), m_input);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_copy);
    buttons->addWidget(m_save);
    buttons->addStretch();
    buttons->addWidget(m_run);
    buttons->addWidget(m_cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_progress);
    layout->addWidget(m_status);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_summary);
    layout->addLayout(buttons);
    resize(760, 420);

    m_background = new CBackgroundRun(this, m_progress);
    connect(m_run, &QPushButton::clicked, this, &CBootstrapAllDlg::Start);
    connect(m_copy, &QPushButton::clicked, this, &CBootstrapAllDlg::CopyTable);
    connect(m_save, &QPushButton::clicked, this, &CBootstrapAllDlg::SaveTable);
    connect(m_cancelButton, &QPushButton::clicked, this, &CBootstrapAllDlg::reject);
}

CBootstrapAllDlg::~CBootstrapAllDlg() = default;

bool CBootstrapAllDlg::Running() const
{
    return m_background->Running();
}

void CBootstrapAllDlg::SetRunning(bool running)
{
    for (QWidget* w : {static_cast<QWidget*>(m_run), static_cast<QWidget*>(m_replicates),
                       static_cast<QWidget*>(m_seed), static_cast<QWidget*>(m_input)})
        w->setEnabled(!running);
    m_copy->setEnabled(!running && !m_rows.empty());
    m_save->setEnabled(!running && !m_rows.empty());
}

void CBootstrapAllDlg::Start()
{
    if (Running())
        return;
    const std::optional<unsigned long long> seed = AcceptedSeed(*m_replicates, *m_seed, *m_status);
    if (!seed)
        return;
    CSeriesBootstrapOptions options;
    options.replicates = m_replicates->value();
    options.seed = *seed;
    options.input = static_cast<ESeriesInput>(m_input->currentIndex());
    options.isProfile = m_isProfile;
    m_rows.clear();
    m_table->setRowCount(0);
    m_status->setText(QStringLiteral("Simulating %1 replicates for each of %2 estimates...")
                          .arg(options.replicates)
                          .arg(m_sets.size()));
    m_cancelButton->setText(QStringLiteral("Cancel"));
    SetRunning(true);
    m_background->Start(
        [this, options](const BootstrapProgress& progress) {
            std::vector<CIntervalEstimate> estimates;
            for (std::size_t i = 0; i < m_sets.size(); ++i)
                estimates.push_back({.set = &m_sets[i], .span = m_spans[i], .given = nullptr});
            m_workerRows = BootstrapIntervals(estimates, options, progress);
        },
        [this] { Finish(); });
}

void CBootstrapAllDlg::Finish()
{
    const bool cancelled = !m_workerRows.empty() && m_workerRows.back().result.cancelled;
    if (const auto& failure = m_background->Failure())
        m_status->setText(Text(*failure));
    else if (cancelled)
        m_status->setText(QStringLiteral("Bootstrap cancelled."));
    else {
        m_rows = std::move(m_workerRows);
        m_progress->setValue(1000);
        int failed = 0;
        for (const CIntervalBootstrapRow& row : m_rows)
            failed += row.result.check && !row.result.check->passed ? 1 : 0;
        QString status = QStringLiteral("%1 replicates, seed %2.").arg(m_replicates->value()).arg(m_seed->text().trimmed());
        if (failed > 0)
            status += QStringLiteral(" The model check failed for %1 of %2 estimates: their intervals assume a "
                                     "model the data are not like.")
                          .arg(failed)
                          .arg(m_rows.size());
        m_status->setText(status);
        m_cancelButton->setText(QStringLiteral("Close"));
    }
    m_workerRows.clear();
    FillTable();
    SetRunning(false);
    emit finishedRun();
}

void CBootstrapAllDlg::FillTable()
{
    m_table->setRowCount(static_cast<int>(m_rows.size()));
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        const QStringList cells = Cells(m_rows[i], m_sets[i]);
        for (int c = 0; c < kColumns; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c == kCount || c == kH || c == kCorrected)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (c == kNotes || c == kSeries)
                item->setToolTip(cells[c]);
            m_table->setItem(static_cast<int>(i), c, item);
        }
    }
    m_table->resizeColumnsToContents();
    // The notes read in full in their tooltips.
    m_table->setColumnWidth(kNotes, std::min(m_table->columnWidth(kNotes), 240));
}

std::string CBootstrapAllDlg::Csv() const
{
    return m_rows.empty() ? std::string() : IntervalBootstrapsCsv(m_rows);
}

void CBootstrapAllDlg::CopyTable() const
{
    if (!m_rows.empty())
        QApplication::clipboard()->setText(Text(Csv()));
}

void CBootstrapAllDlg::SaveTable()
{
    if (m_rows.empty())
        return;
    FileDialogOptions options;
    options.title = "Save Table";
    options.defaultExtension = ".csv";
    options.fileName = "intervals.csv";
    options.filter = "CSV Files (*.csv)";
    options.overwritePrompt = true;
    options.kind = FileKind::exports;
    if (const std::optional<std::string> path = m_ui.ChooseSaveFile(options))
        WriteTextExport(m_ui, *path, Csv(), "Saving table...");
}

void CBootstrapAllDlg::reject()
{
    // Cancel during a run stops the run and keeps the dialog.
    if (Running()) {
        m_background->Cancel();
        return;
    }
    QDialog::reject();
}

void RunBootstrapAllDlg(const CKestrinDoc& doc, QWidget* parent)
{
    // Copies of the estimates: the whole series' first, then the intervals
    // in the document's order, each ending at the tab its label names (the
    // last at the largest X).
    const CPlotExtents extents = doc.GetPlotExtents();
    std::vector<CHDataSet> sets{doc.m_globalSet};
    std::vector<CIntervalSpan> spans{{.global = true, .lower = extents.m_dXMin, .upper = extents.m_dXMax}};
    std::vector<std::int32_t> positions;
    for (std::size_t i = 0; i + 1 < doc.m_tabSets.size(); ++i)
        positions.push_back(static_cast<std::int32_t>(std::strtod(doc.m_tabSets[i]->m_strLabel.c_str(), nullptr)));
    const std::vector<CIntervalSpan> intervals = IntervalSpansOf(positions, extents.m_dXMin, extents.m_dXMax);
    for (std::size_t i = 0; i < doc.m_tabSets.size(); ++i) {
        sets.push_back(*doc.m_tabSets[i]);
        spans.push_back(intervals[i]);
    }
    CBootstrapAllDlg dlg(std::move(sets), std::move(spans), doc.IsProfile(), doc.Ui(), parent);
    dlg.exec();
}
