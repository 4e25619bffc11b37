#pragma once

#include <string>

#include "ChildWindow.h"

// Titles and the series' extents written in the margins around the plot.
class CLegend : public CChildWindow
{
public:
    void Create(const QRect& rect, CKestrinView* view);
    void Move(const QRect& rect);
    // Stores copies; the view's update repaints.
    void SetData(const std::string& bottomTitle, const std::string& leftTitle, double xMax, double xMin,
                 double yMax, double yMin);

    double m_dXMax = 0.0;
    double m_dXMin = 0.0;
    double m_dYMax = 0.0;
    double m_dYMin = 0.0;
    std::string m_strLeftTitle;
    std::string m_strBottomTitle;

protected:
    void paintEvent(QPaintEvent* event) override;
};
