#pragma once

#include "platform/ui/KestrinDialog.h"
#include <QString>

class QLabel;
class QSlider;

// "Set Plot Point for Sliding Windows": which point of a window its result
// is plotted at, chosen on a 0..100 trackbar.
class CPlotPointDlg : public CKestrinDialog
{
    Q_OBJECT

public:
    explicit CPlotPointDlg(QWidget* parent = nullptr);

    // In: the H graph's plot point; out after OK: the slider position / 100.
    double m_dPlotPoint = 0.5;
    int m_nSliderPos = 0;
    QString m_strLabel;

    bool OnOK() override;

protected:

private:
    void OnInitDialog() override;
    void OnScroll();

    QSlider* m_slider = nullptr;
    QLabel* m_label = nullptr;
};
