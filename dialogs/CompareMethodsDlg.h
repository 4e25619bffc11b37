#pragma once

#include <optional>
#include <vector>

#include <QDialog>

#include "analysis/MethodComparison.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;
class CBackgroundRun;
class CFitPlotWnd;
class IUiServices;

// "Compare Methods": the H of one estimate by the curve length, DFA-1 and
// Whittle (fGn), each method's bootstrap (corrected H and 95 % interval, all
// from the same seed) run on a worker thread with a progress bar and
// Cancel, and whether the intervals overlap. "Fit Plot..." (or a double
// click on a row) shows the selected method's fit. It works on its own copy
// of the estimate's values, D and M, so the document is never read or
// changed while the work runs.
class CCompareMethodsDlg : public QDialog
{
    Q_OBJECT

public:
    // values: those the estimate last computed over; label names it.
    // isProfile: its document was made by Profile (the series is read, and
    // simulated, as the profile of a noise, as the bootstrap does). The fit
    // plot saves its image through ui.
    CCompareMethodsDlg(const QString& label, std::vector<double> values, int nD, int nM, bool isProfile,
                       IUiServices& ui, QWidget* parent = nullptr);
    // The same for an estimate fitted from a first lag other than 1: the
    // curve length's row is its estimate, fitted through the same lags.
    CCompareMethodsDlg(const QString& label, std::vector<double> values, CEstimatorSetting setting, bool isProfile,
                       IUiServices& ui, QWidget* parent = nullptr);
    ~CCompareMethodsDlg() override;

    // Starts the bootstraps with the replicates and seed shown (as "Run").
    void Start();
    bool Running() const;
    // The last finished run's comparison (without a run: the estimates only).
    const CMethodComparison& Comparison() const { return m_comparison; }
    // Shows the fit plot of the method in a row of the table (as "Fit
    // Plot..." does for the selected row); the window, null before.
    void ShowFitPlot(int row);
    CFitPlotWnd* FitPlotWindow() const { return m_fitPlot; }

    void reject() override;

signals:
    void finishedRun();

private:
    void Finish();
    void ShowComparison();

    std::vector<double> m_values;
    CEstimatorSetting m_setting;
    bool m_isProfile;
    IUiServices& m_ui;
    QString m_label;
    CFitPlotWnd* m_fitPlot = nullptr;
    CMethodComparison m_comparison;
    CBackgroundRun* m_background = nullptr;
    CMethodComparison m_workerComparison;

    QSpinBox* m_replicates = nullptr;
    QLineEdit* m_seed = nullptr;
    QTableWidget* m_table = nullptr;
    QLabel* m_overlap = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_fitPlotButton = nullptr;
    QPushButton* m_run = nullptr;
    QPushButton* m_cancelButton = nullptr;
};

// The dialog's line on the intervals: empty before a bootstrap; whether
// they overlap (IntervalsOverlap), naming the methods left without an
// interval; or, with fewer than two intervals, that it cannot be told.
QString IntervalsOverlapText(const CMethodComparison& comparison);
