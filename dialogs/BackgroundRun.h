#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <optional>
#include <thread>

#include <QObject>

#include "analysis/Bootstrap.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QSpinBox;
class QString;
class QWidget;
class QTimer;

// A long computation of a dialog, off the GUI thread: the work runs on a
// worker thread with a progress callback (the fraction done, 0..1; false
// asks it to stop), the GUI thread shows the fraction in a progress bar
// (0..1000) every 50 ms and, once the work has ended, joins the worker and
// calls finished. Destroying it cancels a run and waits for it.
class CBackgroundRun : public QObject
{
public:
    using Progress = std::function<bool(double fraction)>;
    using Work = std::function<void(const Progress& progress)>;

    CBackgroundRun(QObject* parent, QProgressBar* bar);
    ~CBackgroundRun() override;

    // Starts work unless a run is under way; finished is called on the GUI
    // thread after it.
    void Start(Work work, std::function<void()> finished);
    bool Running() const { return m_worker.joinable(); }
    // Asks a run under way to stop (its progress callback returns false).
    void Cancel() { m_cancel = true; }
    // What the last run's work threw, if it threw (read in finished).
    const std::optional<std::string>& Failure() const { return m_failure; }

private:
    void Poll();

    QProgressBar* m_bar;
    QTimer* m_timer;
    std::thread m_worker;
    std::atomic<int> m_permille{0};
    std::atomic<bool> m_cancel{false};
    std::atomic<bool> m_done{false};
    std::function<void()> m_finished;
    std::optional<std::string> m_failure;
};

// The bootstrap's replicates and seed as the dialogs remember them.
inline constexpr const char* kBootstrapReplicatesKey = "Bootstrap/Replicates";
inline constexpr const char* kBootstrapSeedKey = "Bootstrap/Seed";

// The seed typed in edit: a whole number from 0 up; nothing otherwise (the
// dialog says "The seed must be a whole number from 0 up.").
std::optional<unsigned long long> TypedSeed(const QLineEdit& edit);

// The replicates spin ("spinReplicates", 1 to kMaxBootstrapReplicates, with
// tip) and the seed edit ("editSeed") of a bootstrap's dialog, showing what
// the dialogs remember (the defaults at first).
QSpinBox* RememberedReplicatesSpin(QWidget* parent, const QString& tip);
QLineEdit* RememberedSeedEdit(QWidget* parent);
// How the bootstrap dialogs name their series box in a hint, in the user's
// terms.
inline constexpr const char* kSeriesChoiceHint = "Series: noise or motion";
// The series box ("comboSeries"): automatic, noise, motion, in the order of
// ESeriesInput, with tip.
QComboBox* SeriesInputCombo(QWidget* parent, const QString& tip);
// TypedSeed, or nothing with "The seed must be a whole number from 0 up."
// shown in status.
std::optional<unsigned long long> TypedSeedOrSay(const QLineEdit& edit, QLabel& status);
// The replicates and seed the bootstrap dialogs last ran with (the defaults
// at first), for the next run.
struct CRememberedBootstrap
{
    int replicates = kDefaultBootstrapReplicates;
    unsigned long long seed = kDefaultBootstrapSeed;
};
CRememberedBootstrap RememberedBootstrapSettings();
// TypedSeedOrSay of seed; a seed that is accepted is remembered with the
// replicates for the next dialog.
std::optional<unsigned long long> AcceptedSeed(const QSpinBox& replicates, const QLineEdit& seed, QLabel& status);
