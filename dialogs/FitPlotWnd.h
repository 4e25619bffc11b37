#pragma once

#include <string>
#include <vector>

#include <QDialog>
#include <QWidget>

class CHDataSet;
class QLabel;

// What the fit plot draws of one estimator: its M points (log10 r,
// log10(L(r)/r)), the least-squares line through them (slope b, intercept
// a) and the numbers H, b, r and n.
struct CFitPlotData
{
    std::string label;
    std::vector<double> x;
    std::vector<double> y;
    double intercept = 0.0;
    double b = 0.0;
    double h = 0.0;
    double r = 0.0;
    int n = 0;
};

// The plot data of an estimator as last computed. The intercept is that of
// the estimator's own fit: mean(y) - b * mean(x) over the M points.
CFitPlotData FitPlotDataOf(const CHDataSet& set, const std::string& label);

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
