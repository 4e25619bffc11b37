#pragma once

#include "views/ChildWindow.h"

// The layer over the series that shows the H results: a level line with its
// "H: %.2f" label for every interval between tabs, and the curve of the
// sliding-window results. It shares the series graph's rectangle and X scale;
// H is drawn on the fixed scale 0 (bottom) to 1 (top).
class CHGraph : public CChildWindow
{
public:
    void Create(const QRect& rect, QWidget* parent, const IPictureSource& source);
    // Moves the window (repainting it) once it exists.
    void Move(const QRect& rect);

protected:
    void paintEvent(QPaintEvent* event) override;
};
