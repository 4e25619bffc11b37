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

    // The sliding-window and Meta H operations on the view's document. They
    // do nothing before the window is created (no view, so no document).
    //
    // Replaces the document's sliding results by a fresh computation plotted
    // at m_dPlotPoint. Parameters that cannot be computed (a negative width
    // or spacing, say) are refused with a message before anything changes;
    // returns whether the computation ran.
    bool ComputeSlidingWindows(std::int32_t width, std::int32_t spacing, std::int32_t nM, std::int32_t nD,
                               bool useBestM);
    // Empties the document's sliding results and marks it modified.
    void ClearSlidingWindows();
    // Keeps plotPoint for the next computation and moves every stored result
    // to it; with results, the view is repainted at once.
    void ResetPlotPoints(double plotPoint);
    // Meta H over the document's sliding results into m_metaHSet; m_bMetaH
    // tells whether there were results to compute it from.
    void ComputeMetaH(std::int32_t nD, std::int32_t nM, bool useBestM);

    // Where in a sliding window its result is plotted, as a fraction of it.
    double m_dPlotPoint = 0.5;
    // Width of the sliding windows last computed.
    std::int32_t m_nWindowWidth = 0;
    // 1 once a Meta H has been computed from sliding results, 0 after an
    // attempt without any.
    std::int32_t m_bMetaH = 0;
    CHDataSet m_metaHSet;

protected:
    void paintEvent(QPaintEvent* event) override;
};
