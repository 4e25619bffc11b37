#pragma once

#include "ChildWindow.h"

// The layer over the series that shows the H results of intervals and
// sliding windows. It shares the series graph's rectangle.
class CHGraph : public CChildWindow
{
public:
    void Create(const QRect& rect, CKestrinView* view) { CChildWindow::Create("CHGraph", 103, rect, view); }
    void Move(const QRect& rect)
    {
        if (IsCreated())
            setGeometry(rect);
    }
};
