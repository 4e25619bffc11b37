#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QDialog>
#include <QWidget>

#include "analysis/FitPlotData.h"

class IUiServices;
class QPainter;

// The plot itself: points (those left out of the fit hollow), line (or the
// data's fitted curve), axes with their ticks and the numbers.
//
// With a range handler, a drag of the mouse across the points chooses the
// lags of the fit: the first and the last point whose X lies under the drag
// give the handler the first lag r_min and M. A drag that covers fewer than
// two points chooses nothing and says so through onTooFew.
class CFitPlot : public QWidget
{
    Q_OBJECT

public:
    using RangeHandler = std::function<void(int firstLag, int lastLag)>;

    explicit CFitPlot(QWidget* parent = nullptr);
    void SetData(CFitPlotData data);
    const CFitPlotData& Data() const { return m_data; }
    // Draws the plot into an area of the given size at (0, 0) of any paint device,
    // filling it; text in the widget's font, sized in pixels.
    void Draw(QPainter& painter, QSize size) const;
    void SetRangeHandler(RangeHandler handler, std::function<void()> onTooFew);
    // Where point i is drawn in the widget; nothing for a point without a
    // finite position.
    std::optional<QPointF> PointPosition(std::size_t i) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void DrawPlot(QPainter& painter, QSize size) const;
    QFont PictureFont() const;

    CFitPlotData m_data;
    RangeHandler m_onRange;
    std::function<void()> m_onTooFew;
    // The drag under way: where it started and where the mouse is.
    std::optional<double> m_dragFrom;
    double m_dragTo = 0.0;
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
    // Lets a drag across the points choose the fit's first lag and M
    // (CFitPlot); a drag over fewer than two points is refused with a
    // message.
    void SetRangeHandler(CFitPlot::RangeHandler handler);
    // Writes the plot to path in the format of its extension (.png, .svg or
    // .pdf) through a temporary file renamed once complete; false, with the
    // reason in error and the target as it was, when it could not be written.
    bool SaveImage(const QString& path, QString& error) const;

private:
    void OnSaveImage();

    IUiServices& m_ui;
    CFitPlot* m_plot = nullptr;
};
