#pragma once

#include <optional>
#include <string>

#include <QDialog>

#include "analysis/Bootstrap.h"
#include "core/HDataSet.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class CBackgroundRun;

// "Bootstrap": asks for the replicates, the seed and what the series is
// (automatic, noise or motion), shows the noise-or-motion decision and the
// model that will be simulated, runs the bootstrap of one estimate on a
// worker thread with a progress bar and Cancel, and shows the result: the
// corrected H and interval to the digits their Monte-Carlo errors support,
// the model check and what the user must know. The estimate is copied when
// the dialog opens, so the document is never read or changed while the work
// runs. The replicates and seed last used are remembered in the settings.
class CBootstrapDlg : public QDialog
{
    Q_OBJECT

public:
    // isProfile: the estimate's series belongs to a document made by
    // Profile (its increments are measured, and it is simulated as the
    // profile of a noise).
    CBootstrapDlg(const CHDataSet& set, bool isProfile, QWidget* parent = nullptr);
    ~CBootstrapDlg() override;

    // Starts the work with the replicates, seed and series shown (as "Run"
    // does).
    void Start();
    bool Running() const;
    // The last finished run's result; nothing before one has ended or after
    // a cancelled one. It stays when the dialog is closed.
    const std::optional<CBootstrapResult>& Result() const { return m_result; }
    // The decision and model for the series as now chosen.
    const CBootstrapRequest& Preview() const { return m_preview; }

    void reject() override;

signals:
    void finishedRun();

private:
    CSeriesBootstrapOptions Options() const;
    void ShowDecision();
    void Finish();

    CHDataSet m_set;
    bool m_isProfile = false;
    CBootstrapRequest m_preview;
    std::optional<CBootstrapResult> m_result;
    CBackgroundRun* m_background = nullptr;
    CBootstrapResult m_workerResult;
    std::optional<std::string> m_workerRefusal;

    QSpinBox* m_replicates = nullptr;
    QLineEdit* m_seed = nullptr;
    QComboBox* m_input = nullptr;
    QLabel* m_kind = nullptr;
    QLabel* m_model = nullptr;
    QLabel* m_warning = nullptr;
    QLabel* m_notes = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_status = nullptr;
    QLabel* m_precision = nullptr;
    QLabel* m_check = nullptr;
    QPushButton* m_run = nullptr;
    QPushButton* m_cancelButton = nullptr;
};

// The result in one line, as the H Parameters dialog shows it: "H corrected
// 0.69, 95 % interval 0.66 to 0.71 (200 replicates, seed 7)", or that the
// observed H cannot be reached, or that the run was cancelled.
QString BootstrapLabelText(const CBootstrapResult& result);
