#pragma once

#include "views/HGraphRender.h"
#include "views/LegendRender.h"
#include "views/SeriesGraphRender.h"

class IUiServices;

// What the layers of a document window paint, gathered afresh by the
// window's view for every paint from the document and the window's state:
// the layers keep no copy of either.
class IPictureSource
{
public:
    // Whether the document holds a series; without one the layers draw
    // nothing.
    virtual bool HasData() const = 0;
    // The extremes of the series.
    virtual const CPlotExtents& GetPlotExtents() const = 0;
    // The range the window shows, which the picture maps values with: the
    // series' extremes unless the window is zoomed.
    virtual CPlotExtents ShownExtents() const = 0;
    virtual CSeriesGraphData SeriesGraphData() const = 0;
    virtual CHGraphData HGraphData() const = 0;
    virtual CLegendData LegendData() const = 0;
    // Where the layers' status texts and wait cursor go.
    virtual IUiServices& PictureUi() const = 0;

protected:
    ~IPictureSource() = default;
};
