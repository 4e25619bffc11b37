#pragma once

#include <cstdint>

#include "ChildWindow.h"
#include "HDataSet.h"

// The layer over the series that shows the H results: a level line with its
// "H: %.2f" label for every interval between tabs, and the curve of the
// sliding-window results. It shares the series graph's rectangle and X scale;
// H is drawn on the fixed scale 0 (bottom) to 1 (top). The object also keeps
// the settings of the sliding-window and Meta H computations.
class CHGraph : public CChildWindow
{
public:
    void Create(const QRect& rect, CKestrinView* view);
    // Moves the window (repainting it) once it exists.
    void Move(const QRect& rect);

    // Where in a sliding window its result is plotted, as a fraction of it.
    double m_dPlotPoint = 0.5;
    // Width of the sliding windows last computed.
    std::int32_t m_nWindowWidth = 0;
    // 1 once a Meta H has been computed from sliding results.
    std::int32_t m_bMetaH = 0;
    CHDataSet m_metaHSet;

protected:
    void paintEvent(QPaintEvent* event) override;
};
