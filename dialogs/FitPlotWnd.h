#pragma once

#include <string>
#include <vector>

#include <QDialog>
#include <QWidget>

#include "FitPlotData.h"

class CHDataSet;
class QLabel;

// The plot itself: points, line, axes with their ticks and the numbers.
class CFitPlot : public QWidget
{
    Q_OBJECT

public:
    explicit CFitPlot(QWidget* parent = nullptr);
    void SetData(CFitPlotData data);
    const CFitPlotData& Data() const { return m_data; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CFitPlotData m_data;
};

// "Fit Plot": a tool window holding the plot of the estimator selected in
// the H parameters dialog, with a button that saves the plot as an image.
class CFitPlotWnd : public QDialog
{
    Q_OBJECT

public:
    explicit CFitPlotWnd(QWidget* parent = nullptr);
    void SetData(CFitPlotData data);
    CFitPlot& Plot() { return *m_plot; }
    // Writes the plot to path; the format comes from the suffix (PNG when
    // none is known). False when it could not be written.
    bool SaveImage(const QString& path) const;

private:
    void OnSaveImage();

    CFitPlot* m_plot = nullptr;
};
