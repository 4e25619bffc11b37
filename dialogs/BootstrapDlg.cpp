#include "BootstrapDlg.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const char* const kReplicatesKey = "Bootstrap/Replicates";
const char* const kSeedKey = "Bootstrap/Seed";

QString Fixed(double value)
{
    return QString::number(value, 'f', 3);
}

} // namespace

QString BootstrapSummary(const CBootstrapResult& result)
{
    if (result.cancelled)
        return QStringLiteral("Bootstrap cancelled.");
    if (!result.corrected)
        return QStringLiteral("The observed H %1 cannot be reached by any H in (0, 1).").arg(Fixed(result.observedH));
    const auto end = [](const std::optional<double>& v) { return v ? Fixed(*v) : QStringLiteral("none"); };
    return QStringLiteral("H corrected %1, %2 % interval %3 to %4 (%5 replicates, seed %6)")
        .arg(Fixed(*result.corrected))
        .arg(result.level * 100.0, 0, 'g', 4)
        .arg(end(result.low), end(result.high))
        .arg(result.replicates)
        .arg(result.seed);
}

CBootstrapDlg::CBootstrapDlg(const CBootstrapRequest& request, QWidget* parent)
    : QDialog(parent), m_request(request)
{
    setWindowTitle(QStringLiteral("Bootstrap"));
    setObjectName(QStringLiteral("CBootstrapDlg"));
    QSettings settings;
    m_replicates = new QSpinBox(this);
    m_replicates->setObjectName(QStringLiteral("spinReplicates"));
    m_replicates->setRange(1, kMaxBootstrapReplicates);
    m_replicates->setValue(settings.value(kReplicatesKey, kDefaultBootstrapReplicates).toInt());
    m_replicates->setToolTip(QStringLiteral("Replicates of fractional Brownian motion simulated at each trial H"));
    m_seed = new QLineEdit(this);
    m_seed->setObjectName(QStringLiteral("editSeed"));
    m_seed->setText(settings.value(kSeedKey, QString::number(kDefaultBootstrapSeed)).toString());
    m_seed->setToolTip(QStringLiteral("The same seed gives the same numbers"));
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
    m_run = new QPushButton(QStringLiteral("&Run"), this);
    m_run->setObjectName(QStringLiteral("buttonRun"));
    m_run->setDefault(true);
    m_cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancelButton->setObjectName(QStringLiteral("buttonCancel"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Replicates:"), m_replicates);
    form->addRow(QStringLiteral("&Seed:"), m_seed);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_run);
    buttons->addWidget(m_cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_progress);
    layout->addWidget(m_status);
    layout->addLayout(buttons);
    setMinimumWidth(360);

    m_timer = new QTimer(this);
    m_timer->setInterval(50);
    connect(m_timer, &QTimer::timeout, this, &CBootstrapDlg::Poll);
    connect(m_run, &QPushButton::clicked, this, &CBootstrapDlg::Start);
    connect(m_cancelButton, &QPushButton::clicked, this, &CBootstrapDlg::reject);
}

CBootstrapDlg::~CBootstrapDlg()
{
    m_cancel = true;
    if (m_worker.joinable())
        m_worker.join();
}

void CBootstrapDlg::Start()
{
    if (Running())
        return;
    bool ok = false;
    const qulonglong seed = m_seed->text().trimmed().toULongLong(&ok, 10);
    if (!ok) {
        m_status->setText(QStringLiteral("The seed must be a whole number from 0 up."));
        return;
    }
    QSettings settings;
    settings.setValue(kReplicatesKey, m_replicates->value());
    settings.setValue(kSeedKey, QString::number(seed));
    CBootstrapRequest request = m_request;
    request.replicates = m_replicates->value();
    request.seed = seed;
    if (const auto refusal = CheckBootstrapRequest(request)) {
        m_status->setText(QString::fromStdString(*refusal));
        return;
    }
    m_result.reset();
    m_cancel = false;
    m_done = false;
    m_permille = 0;
    m_progress->setValue(0);
    m_status->setText(QStringLiteral("Simulating %1 replicates...").arg(request.replicates));
    m_run->setEnabled(false);
    m_replicates->setEnabled(false);
    m_seed->setEnabled(false);
    m_worker = std::thread([this, request] {
        m_workerResult = RunBootstrap(request, [this](double fraction) {
            m_permille = static_cast<int>(fraction * 1000.0);
            return !m_cancel.load();
        });
        m_done = true;
    });
    m_timer->start();
}

void CBootstrapDlg::Poll()
{
    m_progress->setValue(m_permille.load());
    if (m_done.load())
        Finish();
}

void CBootstrapDlg::Finish()
{
    m_timer->stop();
    m_worker.join();
    m_run->setEnabled(true);
    m_replicates->setEnabled(true);
    m_seed->setEnabled(true);
    m_status->setText(BootstrapSummary(m_workerResult));
    if (!m_workerResult.cancelled) {
        m_result = m_workerResult;
        m_progress->setValue(1000);
    }
    emit finishedRun();
    if (m_result)
        accept();
}

void CBootstrapDlg::reject()
{
    // Cancel during a run stops the run and keeps the dialog; otherwise it
    // closes it.
    if (Running()) {
        m_cancel = true;
        return;
    }
    QDialog::reject();
}
