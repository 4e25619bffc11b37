#pragma once

#include <algorithm>
#include <cmath>

#include <QPainter>

// A w by h area of the picture whose lines are traced at detail times its
// resolution: on a printed page the series and the H curve follow the
// page's own pixels while the layout, text and pens keep the picture's
// proportions. For as long as it lives the painter counts in the finer
// pixels; pens keep their width when multiplied by PenScale(). A detail of
// one or less changes nothing.
class CFineArea
{
public:
    CFineArea(QPainter& painter, int w, int h, double detail) : m_painter(painter), m_w(w), m_h(h)
    {
        if (!(detail > 1.0) || w <= 0 || h <= 0)
            return;
        // Far beyond any printer's page, yet every pixel stays an int.
        constexpr double kMaxSide = 1 << 20;
        m_w = static_cast<int>(std::min(std::round(w * detail), kMaxSide));
        m_h = static_cast<int>(std::min(std::round(h * detail), kMaxSide));
        m_penScale = static_cast<double>(m_w) / w;
        m_painter.save();
        m_painter.scale(static_cast<double>(w) / m_w, static_cast<double>(h) / m_h);
        m_scaled = true;
    }

    ~CFineArea()
    {
        if (m_scaled)
            m_painter.restore();
    }

    CFineArea(const CFineArea&) = delete;
    CFineArea& operator=(const CFineArea&) = delete;

    int Width() const { return m_w; }
    int Height() const { return m_h; }
    double PenScale() const { return m_penScale; }

private:
    QPainter& m_painter;
    int m_w;
    int m_h;
    double m_penScale = 1.0;
    bool m_scaled = false;
};
