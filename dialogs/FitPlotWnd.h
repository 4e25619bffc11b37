#pragma once

#include <string>
#include <vector>

#include <QDialog>
#include <QWidget>

#include "analysis/FitPlotData.h"

class IUiServices;
class QPainter;

// The plot itself: points, line (or the data's fitted curve), axes with
// their ticks and the numbers.
class CFitPlot : public QWidget
{
    Q_OBJECT

public:
    explicit CFitPlot(QWidget* parent = nullptr);
    void SetData(CFitPlotData data);
    const CFitPlotData& Data() const { return m_data; }
    // Draws the plot into an area of the given size at (0, 0) of any paint device,
    // filling it; text in the widget's font, sized in pixels.
    void Draw(QPainter& painter, QSize size) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void DrawPlot(QPainter& painter, QSize size) const;
    QFont PictureFont() const;

    CFitPlotData m_data;
};

// "Fit Plot": a tool window holding the plot of the estimator selected in
// the H parameters dialog (or of one method's fit, from the method
// comparison), with a button that saves the plot as a PNG image,
// an SVG drawing or a PDF document at the size it has on the screen.
class CFitPlotWnd : public QDialog
{
    Q_OBJECT

public:
    // The file dialog and the messages go through ui.
    explicit CFitPlotWnd(IUiServices& ui, QWidget* parent = nullptr);
    void SetData(CFitPlotData data);
    CFitPlot& Plot() { return *m_plot; }
    // Writes the plot to path in the format of its extension (.png, .svg or
    // .pdf) through a temporary file renamed once complete; false, with the
    // reason in error and the target as it was, when it could not be written.
    bool SaveImage(const QString& path, QString& error) const;

private:
    void OnSaveImage();

    IUiServices& m_ui;
    CFitPlot* m_plot = nullptr;
};
