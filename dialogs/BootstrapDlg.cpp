#include "dialogs/BootstrapDlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "analysis/BootstrapText.h"
#include "dialogs/BackgroundRun.h"

namespace {

QString Fixed(double value)
{
    return QString::number(value, 'f', 3);
}

// A sentence of the shared bootstrap words, starting with a capital.
QString Sentence(const std::string& text)
{
    QString s = QString::fromStdString(text);
    if (!s.isEmpty())
        s[0] = s[0].toUpper();
    return s;
}

QLabel* WrappedLabel(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

// Paragraphs, one a line; the label hides when there are none.
void ShowLines(QLabel* label, const QStringList& lines)
{
    label->setText(lines.join(QLatin1Char('\n')));
    label->setVisible(!lines.isEmpty());
}

} // namespace

QString BootstrapLabelText(const CBootstrapResult& result)
{
    if (result.cancelled)
        return QStringLiteral("Bootstrap cancelled.");
    return QStringLiteral("%1 (%2 replicates, seed %3)")
        .arg(Sentence(BootstrapSummaryText(result)))
        .arg(result.replicates)
        .arg(result.seed);
}

CBootstrapDlg::CBootstrapDlg(const CHDataSet& set, bool isProfile, QWidget* parent)
    : QDialog(parent), m_set(set), m_isProfile(isProfile)
{
    const CBootstrapRequest request = BootstrapRequestFor(set);
    setWindowTitle(QStringLiteral("Bootstrap"));
    setObjectName(QStringLiteral("CBootstrapDlg"));
    m_replicates = RememberedReplicatesSpin(this, QStringLiteral("Replicates of the model simulated at each trial H"));
    m_seed = RememberedSeedEdit(this);
    m_input = SeriesInputCombo(this, QStringLiteral("A noise wanders around a fixed level, a motion wanders freely; "
                                                    "automatic decides by DFA"));
    m_kind = WrappedLabel(this, "labelSeriesKind");
    m_model = WrappedLabel(this, "labelModel");
    m_warning = WrappedLabel(this, "labelWarning");
    m_notes = WrappedLabel(this, "labelNotes");
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setRange(0, 1000);
    m_progress->setTextVisible(false);
    m_status = new QLabel(QStringLiteral("n %1, D %2, M %3, H %4")
                              .arg(request.n)
                              .arg(request.nD)
                              .arg(request.nM)
                              .arg(Fixed(request.observedH)),
                          this);
    m_status->setObjectName(QStringLiteral("labelStatus"));
    m_status->setWordWrap(true);
    m_precision = WrappedLabel(this, "labelPrecision");
    m_check = WrappedLabel(this, "labelCheck");
    m_run = new QPushButton(QStringLiteral("&Run"), this);
    m_run->setObjectName(QStringLiteral("buttonRun"));
    m_run->setDefault(true);
    m_cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancelButton->setObjectName(QStringLiteral("buttonCancel"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Replicates:"), m_replicates);
    form->addRow(QStringLiteral("&Seed:"), m_seed);
    form->addRow(QStringLiteral("Se&ries:"), m_input);
    form->addRow(QString(), m_kind);
    form->addRow(QStringLiteral("Model:"), m_model);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_run);
    buttons->addWidget(m_cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    // What to know before the numbers: the series' warning, the model
    // check's failure and the ends at the searched range's edge.
    layout->addWidget(m_warning);
    layout->addWidget(m_notes);
    layout->addWidget(m_progress);
    layout->addWidget(m_status);
    layout->addWidget(m_precision);
    layout->addWidget(m_check);
    layout->addStretch(1);
    layout->addLayout(buttons);
    setMinimumWidth(460);
    ShowLines(m_notes, {});
    ShowLines(m_precision, {});
    ShowLines(m_check, {});
    ShowDecision();

    m_background = new CBackgroundRun(this, m_progress);
    connect(m_run, &QPushButton::clicked, this, &CBootstrapDlg::Start);
    connect(m_cancelButton, &QPushButton::clicked, this, &CBootstrapDlg::reject);
    connect(m_input, &QComboBox::currentIndexChanged, this, &CBootstrapDlg::ShowDecision);
}

CSeriesBootstrapOptions CBootstrapDlg::Options() const
{
    CSeriesBootstrapOptions options;
    options.replicates = m_replicates->value();
    options.input = static_cast<ESeriesInput>(m_input->currentIndex());
    options.isProfile = m_isProfile;
    return options;
}

// The decision and the model for the choice shown (without the model
// check's estimates, which the run computes).
void CBootstrapDlg::ShowDecision()
{
    CSeriesBootstrapOptions options = Options();
    options.modelCheck = false;
    m_preview = SeriesBootstrapRequest(m_set, options);
    const CSeriesDecision& decision = *m_preview.decision;
    m_kind->setText(QString::fromStdString(SeriesKindLabel(decision)));
    m_model->setText(QString::fromStdString(BootstrapModelName(m_preview.model)));
    const auto warning = SeriesKindWarning(decision, kSeriesChoiceHint);
    ShowLines(m_warning, warning ? QStringList{QString::fromStdString(*warning)} : QStringList{});
}

CBootstrapDlg::~CBootstrapDlg() = default;

bool CBootstrapDlg::Running() const
{
    return m_background->Running();
}

void CBootstrapDlg::Start()
{
    if (Running())
        return;
    const std::optional<unsigned long long> seed = AcceptedSeed(*m_replicates, *m_seed, *m_status);
    if (!seed)
        return;
    CSeriesBootstrapOptions options = Options();
    options.seed = *seed;
    // What can be refused is refused at once; the model check's estimates
    // and the run take the worker.
    CBootstrapRequest plain = BootstrapRequestFor(m_set);
    plain.replicates = options.replicates;
    if (const auto refusal = CheckBootstrapRequest(plain)) {
        m_status->setText(QString::fromStdString(*refusal));
        return;
    }
    m_result.reset();
    m_status->setText(QStringLiteral("Simulating %1 replicates...").arg(options.replicates));
    ShowLines(m_notes, {});
    ShowLines(m_precision, {});
    ShowLines(m_check, {});
    m_cancelButton->setText(QStringLiteral("Cancel"));
    for (QWidget* w : {static_cast<QWidget*>(m_run), static_cast<QWidget*>(m_replicates),
                       static_cast<QWidget*>(m_seed), static_cast<QWidget*>(m_input)})
        w->setEnabled(false);
    m_background->Start([this, options](const BootstrapProgress& progress) {
        const CBootstrapRequest request = SeriesBootstrapRequest(m_set, options);
        m_workerRefusal = CheckBootstrapRequest(request);
        if (m_workerRefusal) {
            m_workerResult = CBootstrapResult();
        } else if (!progress(0.0)) {
            m_workerResult = CBootstrapResult();
            m_workerResult.cancelled = true;
        } else {
            m_workerResult = RunBootstrap(request, progress);
        }
    }, [this] { Finish(); });
}

void CBootstrapDlg::Finish()
{
    for (QWidget* w : {static_cast<QWidget*>(m_run), static_cast<QWidget*>(m_replicates),
                       static_cast<QWidget*>(m_seed), static_cast<QWidget*>(m_input)})
        w->setEnabled(true);
    if (const auto& failure = m_background->Failure()) {
        m_status->setText(QString::fromStdString(*failure));
        emit finishedRun();
        return;
    }
    if (m_workerRefusal) {
        m_status->setText(QString::fromStdString(*m_workerRefusal));
        emit finishedRun();
        return;
    }
    const CBootstrapResult& r = m_workerResult;
    m_status->setText(BootstrapLabelText(r));
    if (!r.cancelled) {
        m_result = r;
        m_progress->setValue(1000);
        m_model->setText(QString::fromStdString(BootstrapModelText(r)));
        QStringList notes;
        for (const std::string& note : BootstrapNotes(r))
            notes << QString::fromStdString(note);
        ShowLines(m_notes, notes);
        const std::string precision = BootstrapPrecisionText(r);
        ShowLines(m_precision,
                  precision.empty() ? QStringList{} : QStringList{Sentence(precision) + QLatin1Char('.')});
        ShowLines(m_check, r.check ? QStringList{QStringLiteral("Model check ") +
                                                 QString::fromStdString(ModelCheckText(*r.check)) +
                                                 QLatin1Char('.')}
                                   : QStringList{});
        m_cancelButton->setText(QStringLiteral("Close"));
    }
    emit finishedRun();
}

void CBootstrapDlg::reject()
{
    // Cancel during a run stops the run and keeps the dialog; otherwise it
    // closes it (a finished run's result stays in Result()).
    if (Running()) {
        m_background->Cancel();
        return;
    }
    QDialog::reject();
}
