#pragma once

#include <atomic>
#include <optional>
#include <thread>

#include <QDialog>

#include "Bootstrap.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTimer;

// "Bootstrap": asks for the replicates and the seed, runs the bootstrap of
// one estimate on a worker thread with a progress bar and Cancel, and keeps
// the result. The request is a copy of the estimate's n, D, M and H, so the
// document is never read or changed while the work runs. The replicates
// and seed last used are remembered in the settings.
class CBootstrapDlg : public QDialog
{
    Q_OBJECT

public:
    CBootstrapDlg(const CBootstrapRequest& request, QWidget* parent = nullptr);
    ~CBootstrapDlg() override;

    // Starts the work with the replicates and seed shown (as "Run" does).
    void Start();
    bool Running() const { return m_worker.joinable(); }
    // The finished run's result; nothing before one has ended or after a
    // cancelled one.
    const std::optional<CBootstrapResult>& Result() const { return m_result; }

    void reject() override;

signals:
    void finishedRun();

private:
    void Poll();
    void Finish();

    CBootstrapRequest m_request;
    std::optional<CBootstrapResult> m_result;
    std::thread m_worker;
    std::atomic<int> m_permille{0};
    std::atomic<bool> m_cancel{false};
    std::atomic<bool> m_done{false};
    CBootstrapResult m_workerResult;

    QSpinBox* m_replicates = nullptr;
    QLineEdit* m_seed = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_run = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QTimer* m_timer = nullptr;
};

// The result as the dialogs show it: "H corrected 0.69, 95 % interval 0.66 to
// 0.71", or that the observed H cannot be reached.
QString BootstrapSummary(const CBootstrapResult& result);
