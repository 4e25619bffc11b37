#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include <QDialog>

class CHDataSet;
class CSpinButton;
struct CBootstrapResult;
class IParamsDlgOwner;
class QComboBox;
class QLineEdit;
class QSpinBox;
class QTreeWidget;
class QLabel;
class CFitPlotWnd;

// "Hurst Parameters and Variables": a modeless tool window that shows M, D,
// the first lag of the fit, H, r, b and the L(r) table of the whole series
// ("Global") or of one interval between tabs, and applies a new M, D and
// first lag to it (also from a drag across the fit plot's points). It never keeps an
// estimator between actions: each action looks the selection up again by
// its label, so it stays right when the document rebuilds its intervals.
class CHParamsDlg : public QDialog
{
    Q_OBJECT

public:
    static constexpr const char* kGlobal = "Global";

    // The window is created hidden. Without an owner it shows nothing and
    // its buttons do nothing.
    explicit CHParamsDlg(IParamsDlgOwner* owner, QWidget* parent = nullptr);

    // Refills the selector with "Global" and the intervals' labels, in the
    // document's order, selects "Global" and shows its details.
    void RefreshTabList();
    // Refills the selector after the document's estimates changed, keeping
    // the selected entry (the first with its label) when it is still
    // there, "Global" otherwise, and shows its new details.
    void RefreshKeepingSelection();
    // Shows the selected estimator: H, r, b, M, D and the L(r) table.
    void RefreshDetails();

    // Reads the controls into the members, or writes the members to them.
    void UpdateData(bool saveAndValidate = true);

    // Dismiss and Escape (or the close box) hide the window of an owned
    // dialog; without an owner they end it.
    void accept() override;
    void reject() override;

    int m_nD = 0;
    int m_nM = 0;
    // The "First lag" field as last read: 1 by default.
    int m_nRMin = 1;
    std::string m_strSelection;
    std::string m_strR;
    std::string m_strH;
    std::string m_strB;

private:
    void OnInitDialog();
    void OnApply();
    // Gives the selected estimate m_nD, m_nM and m_nRMin through the
    // document, after checking them (false, with a message, when refused),
    // then shows "Global" or, with keepSelection, the same estimate again.
    bool ApplyToSelection(bool keepSelection);
    // A drag across the fit plot's points chose the lags firstLag..lastLag.
    void OnFitRangeChosen(int firstLag, int lastLag);
    void OnViewData();
    void SetOptimumM();
    void OnFitPlot();
    void OnBootstrap();
    void OnCompareMethods();
    void OnBootstrapAll();
    // Shows the selected estimator in the fit plot, when it is open.
    void RefreshFitPlot(const CHDataSet* set);
    // Shows what H must be read with (HReadingWarnings) below the
    // bootstrap's line; bootstrap may be null.
    void ShowHWarnings(const CHDataSet& set, const CBootstrapResult* bootstrap);
    // The estimator the selection names, looked up now; null when none does.
    const CHDataSet* FindSelectedDataSet() const;
    // The index of the interval the selection names (the first with its
    // label), looked up now; none for "Global" and for a label that is gone.
    std::optional<std::size_t> FindSelectedInterval() const;
    // Fills the selector with "Global" and the intervals' labels.
    void FillTabList();

    IParamsDlgOwner* m_pOwner;
    CSpinButton* m_spinM = nullptr;
    CSpinButton* m_spinD = nullptr;
    QTreeWidget* m_list = nullptr;
    QComboBox* m_comboTabs = nullptr;
    QLineEdit* m_editH = nullptr;
    QLineEdit* m_editR = nullptr;
    QLineEdit* m_editB = nullptr;
    QLineEdit* m_editM = nullptr;
    QLineEdit* m_editD = nullptr;
    QSpinBox* m_spinFirstLag = nullptr;
    QLabel* m_labelBootstrap = nullptr;
    QLabel* m_labelWarnings = nullptr;
    CFitPlotWnd* m_fitPlot = nullptr;
};
