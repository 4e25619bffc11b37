#pragma once

#include <optional>
#include <string>
#include <vector>

#include <QDialog>

#include "analysis/IntervalBootstraps.h"
#include "core/HDataSet.h"

class CBackgroundRun;
class CKestrinDoc;
class IUiServices;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;

// "Bootstrap All Intervals": the bootstrap of the whole series' estimate and
// of every interval's, one after the other on a worker thread with a
// progress bar and Cancel, with the replicates and seed the Bootstrap
// dialog remembers. The table gives each estimate's interval of X
// ("global" for the whole series), n, H, corrected H and interval (to the
// digits their Monte-Carlo errors support), whether its interval shares no
// point with the one before ("apart"), the model check, and what must be
// read with it (tooltip); Copy puts the table on the clipboard as CSV,
// Save... writes it to a CSV file. The estimates are copied when the dialog
// opens: nothing of the document is read or changed while the work runs.
class CBootstrapAllDlg : public QDialog
{
    Q_OBJECT

public:
    // sets and spans pair up, the whole series' first. isProfile: the
    // series belongs to a document made by Profile.
    CBootstrapAllDlg(std::vector<CHDataSet> sets, std::vector<CIntervalSpan> spans, bool isProfile,
                     IUiServices& ui, QWidget* parent = nullptr);
    ~CBootstrapAllDlg() override;

    // Starts the work with the replicates, seed and series shown (as "Run").
    void Start();
    bool Running() const;
    // The last finished run's rows; empty before one has ended or after a
    // cancelled one.
    const std::vector<CIntervalBootstrapRow>& Rows() const { return m_rows; }
    // The table as CSV (IntervalBootstrapsCsv), empty without rows.
    std::string Csv() const;
    void CopyTable() const;
    void SaveTable();

    void reject() override;

signals:
    void finishedRun();

private:
    void Finish();
    void FillTable();
    void SetRunning(bool running);

    std::vector<CHDataSet> m_sets;
    std::vector<CIntervalSpan> m_spans;
    bool m_isProfile = false;
    IUiServices& m_ui;
    std::vector<CIntervalBootstrapRow> m_rows;
    std::vector<CIntervalBootstrapRow> m_workerRows;
    CBackgroundRun* m_background = nullptr;

    QSpinBox* m_replicates = nullptr;
    QLineEdit* m_seed = nullptr;
    QComboBox* m_input = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_status = nullptr;
    QTableWidget* m_table = nullptr;
    QLabel* m_summary = nullptr;
    QPushButton* m_run = nullptr;
    QPushButton* m_copy = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_cancelButton = nullptr;
};

// Runs the dialog, modal, over copies of the document's whole-series and
// interval estimates.
void RunBootstrapAllDlg(const CKestrinDoc& doc, QWidget* parent);
