#pragma once

#include "views/ChildWindow.h"

// Titles and the series' extents written in the margins around the plot.
class CLegend : public CChildWindow
{
public:
    void Create(const QRect& rect, QWidget* parent, const IPictureSource& source);
    void Move(const QRect& rect);

protected:
    void paintEvent(QPaintEvent* event) override;
};
