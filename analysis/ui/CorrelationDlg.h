#pragma once

#include "platform/ui/KestrinDialog.h"

#include "core/GrowArray.h"

class CSpinButton;
class IUiServices;
class QLineEdit;

// "Slope / H Correlation": pairs the H curve with the slope windows at an
// offset stepped with a spin control, and shows the correlation of the
// pairs and their number. Save Data writes the pairs of the last Apply.
class CCorrelationDlg : public CKestrinDialog
{
    Q_OBJECT

public:
    explicit CCorrelationDlg(IUiServices& ui, QWidget* parent = nullptr);

    // Set by the caller: the smallest X of the series and the document's
    // sliding and slope results.
    double m_dOrigin = 0.0;
    double m_dCorrelation = 0.0;
    int m_nMatches = 0;
    int m_nOffset = 0;
    const CHPointArray* m_pHResults = nullptr;
    const CHPointArray* m_pSlopes = nullptr;
    CHPointArray m_pairs;

    // Rebuilds m_pairs from the two result arrays, the origin and the offset.
    void MatchPairs();
    void OnApply();
    void OnSaveData();

    bool UpdateData(bool saveAndValidate = true) override;

protected:

private:
    void OnInitDialog() override;

    IUiServices& m_ui;
    CSpinButton* m_spin = nullptr;
    QLineEdit* m_editOffset = nullptr;
    QLineEdit* m_editCorrelation = nullptr;
    QLineEdit* m_editMatches = nullptr;
};
