#pragma once

#include <QPixmap>

#include "views/ChildWindow.h"

// The series itself: axes, the series line, the whole-series H line and its
// label. Draws afresh only when told something changed, and otherwise
// repaints from a snapshot of the last fresh drawing.
class CSeriesGraph : public CChildWindow
{
public:
    void Create(const QRect& rect, QWidget* parent, const IPictureSource& source);
    // Moves the window (repainting it) and marks it for a fresh drawing.
    void Move(const QRect& rect);

    // 1: the next paint draws everything afresh.
    int m_bRegenerate = 1;

    const QPixmap& Snapshot() const { return m_snapshot; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_snapshot;
};
