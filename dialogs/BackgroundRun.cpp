#include "dialogs/BackgroundRun.h"

#include <exception>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSettings>
#include <QSpinBox>
#include <QTimer>

#include "analysis/Bootstrap.h"

CBackgroundRun::CBackgroundRun(QObject* parent, QProgressBar* bar)
    : QObject(parent), m_bar(bar), m_timer(new QTimer(this))
{
    m_timer->setInterval(50);
    connect(m_timer, &QTimer::timeout, this, &CBackgroundRun::Poll);
}

CBackgroundRun::~CBackgroundRun()
{
    m_cancel = true;
    if (m_worker.joinable())
        m_worker.join();
}

void CBackgroundRun::Start(Work work, std::function<void()> finished)
{
    if (Running())
        return;
    m_cancel = false;
    m_done = false;
    m_permille = 0;
    m_finished = std::move(finished);
    m_failure.reset();
    m_bar->setValue(0);
    m_worker = std::thread([this, work = std::move(work)] {
        try {
            work([this](double fraction) {
                m_permille = static_cast<int>(fraction * 1000.0);
                return !m_cancel.load();
            });
        } catch (const std::exception& e) {
            m_failure = e.what();
        }
        m_done = true;
    });
    m_timer->start();
}

void CBackgroundRun::Poll()
{
    m_bar->setValue(m_permille.load());
    if (!m_done.load())
        return;
    m_timer->stop();
    m_worker.join();
    m_finished();
}

std::optional<unsigned long long> TypedSeed(const QLineEdit& edit)
{
    bool ok = false;
    const qulonglong seed = edit.text().trimmed().toULongLong(&ok, 10);
    if (!ok)
        return std::nullopt;
    return seed;
}

QSpinBox* RememberedReplicatesSpin(QWidget* parent, const QString& tip)
{
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QStringLiteral("spinReplicates"));
    spin->setRange(1, kMaxBootstrapReplicates);
    spin->setValue(RememberedBootstrapSettings().replicates);
    spin->setToolTip(tip);
    return spin;
}

QLineEdit* RememberedSeedEdit(QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QStringLiteral("editSeed"));
    edit->setText(QString::number(RememberedBootstrapSettings().seed));
    edit->setToolTip(QStringLiteral("The same seed gives the same numbers"));
    return edit;
}

QComboBox* SeriesInputCombo(QWidget* parent, const QString& tip)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QStringLiteral("comboSeries"));
    combo->addItems({QStringLiteral("automatic"), QStringLiteral("noise"), QStringLiteral("motion")});
    combo->setToolTip(tip);
    return combo;
}

std::optional<unsigned long long> TypedSeedOrSay(const QLineEdit& edit, QLabel& status)
{
    const std::optional<unsigned long long> seed = TypedSeed(edit);
    if (!seed)
        status.setText(QStringLiteral("The seed must be a whole number from 0 up."));
    return seed;
}

CRememberedBootstrap RememberedBootstrapSettings()
{
    const QSettings settings;
    CRememberedBootstrap remembered;
    remembered.replicates = settings.value(kBootstrapReplicatesKey, remembered.replicates).toInt();
    bool seedRead = false;
    const qulonglong seed = settings.value(kBootstrapSeedKey).toString().toULongLong(&seedRead);
    if (seedRead)
        remembered.seed = seed;
    return remembered;
}

std::optional<unsigned long long> AcceptedSeed(const QSpinBox& replicates, const QLineEdit& seed, QLabel& status)
{
    const std::optional<unsigned long long> accepted = TypedSeedOrSay(seed, status);
    if (accepted) {
        QSettings settings;
        settings.setValue(kBootstrapReplicatesKey, replicates.value());
        settings.setValue(kBootstrapSeedKey, QString::number(*accepted));
    }
    return accepted;
}
