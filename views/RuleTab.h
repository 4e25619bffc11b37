#pragma once

#include <QWidget>

#include "views/RuleTabImages.h"

class CHRuler;

// The marker of one H tab: 6 by 6 pixels on the ruler, its left edge at the
// tab's column. Dragged with the left button, removed with the right one; it
// reports both to its ruler. The tab's value belongs to the window's state.
class CRuleTab : public QWidget
{
public:
    static constexpr int kTop = kRuleTabTop;
    static constexpr int kSize = 6;

    // Creates the marker as a visible child of the ruler with its left edge
    // at left.
    CRuleTab(CHRuler* ruler, int left);

    int Left() const { return m_nLeft; }
    // Whether the tab holds the mouse for a drag.
    bool IsCapturing() const { return m_bCapture; }
    // Puts the left edge at column left.
    void MoveLeftEdge(int left);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void SetStatusText(const std::string& text);

    CHRuler* m_ruler;
    int m_nTop = kTop;
    int m_nLeft;
    bool m_bCapture = false;
};
