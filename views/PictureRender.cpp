#include "views/PictureRender.h"

#include "views/PictureLayout.h"

void DrawPicture(QPainter& painter, int cx, int cy, const CPictureData& data, const CPictureOptions& options)
{
    painter.save();
    painter.fillRect(QRect(0, 0, cx, cy), Qt::white);
    painter.setFont(data.font);
    const QRect plot = PicturePlotRect(cx, cy);
    const auto inside = [&painter](const QRect& r, auto draw) {
        painter.save();
        painter.translate(r.topLeft());
        // Each layer is a window of its own on the screen, which clips it.
        painter.setClipRect(QRect(QPoint(0, 0), r.size()), Qt::IntersectClip);
        draw();
        painter.restore();
    };
    // Without data the window draws nothing but its ruler.
    if (data.hasData && data.showSeries)
        inside(plot, [&] {
            DrawSeriesGraph(painter, plot.width(), plot.height(), data.series, true, options.onePath, options.detail);
        });
    if (options.ruler && data.showRuler) {
        const QRect ruler = PictureRulerRect(cx);
        inside(ruler, [&] {
            DrawRuler(painter, ruler.width(), ruler.height(), data.ruler.enabled);
            DrawRulerTabs(painter, ruler.width(), data.ruler, data.series.Shown());
        });
    }
    if (data.hasData && data.showHGraph && !data.hGraph.IsEmpty())
        inside(plot,
               [&] { DrawHGraph(painter, plot.width(), plot.height(), data.hGraph, options.onePath, options.detail); });
    if (data.hasData && data.showLegend)
        DrawLegend(painter, cx, cy, data.legend);
    painter.restore();
}
