#pragma once

#include <QFont>
#include <QPainter>

#include "views/HGraphRender.h"
#include "views/LegendRender.h"
#include "views/RulerRender.h"
#include "views/SeriesGraphRender.h"

// The whole picture of a document window, gathered from its view so that it
// can be drawn at any size into any paint device: the file exports, the
// printer and the clipboard.
struct CPictureData
{
    bool hasData = false;
    CSeriesGraphData series;
    CHGraphData hGraph;
    CLegendData legend;
    CRulerData ruler;
    // The layers the window shows; a hidden one is left out.
    bool showSeries = true;
    bool showHGraph = true;
    bool showRuler = true;
    bool showLegend = true;
    // The window's text, sized in pixels so that the picture keeps its
    // proportions on devices of any resolution.
    QFont font;
};

struct CPictureOptions
{
    // The ruler strip with its tabs, as the window shows it above the plot.
    bool ruler = false;
    // The series and the sliding-window curve each as one polyline of at
    // most four vertices per pixel column (for vector files and the printer)
    // rather than as the window draws them; the picture is the same.
    bool onePath = false;
    // The series and the sliding-window curve traced at this many times the
    // picture's resolution: a printed page, drawn at the window's size and
    // scaled up, traces them at its own pixels.
    double detail = 1.0;
};

// Draws the picture into a cx by cy area at (0, 0): a white background, then
// the layers in the window's stacking order (series graph, ruler, H graph,
// legend), each in its place of the layout.
void DrawPicture(QPainter& painter, int cx, int cy, const CPictureData& data, const CPictureOptions& options);
