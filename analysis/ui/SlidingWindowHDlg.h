#pragma once

#include "platform/ui/KestrinDialog.h"

class CHDataSet;
class QLineEdit;

// "Sliding Window H": the read-only H, r, b and n of an estimator (the
// Meta H result).
class CSlidingWindowHDlg : public CKestrinDialog
{
    Q_OBJECT

public:
    explicit CSlidingWindowHDlg(QWidget* parent = nullptr);

    // Set by the caller before the dialog runs.
    const CHDataSet* m_pDataSet = nullptr;
    double m_dB = 0.0;
    double m_dH = 0.0;
    int m_nN = 0;
    double m_dR = 0.0;

protected:

private:
    void OnInitDialog() override;

    QLineEdit* m_editH = nullptr;
    QLineEdit* m_editR = nullptr;
    QLineEdit* m_editB = nullptr;
    QLineEdit* m_editN = nullptr;
};
