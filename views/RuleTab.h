#pragma once

#include <string>

#include <QWidget>

#include "views/RuleTabImages.h"

class CHRuler;

// One H tab: a 6-by-6 marker on the ruler whose left edge stands for its X
// value. Dragged with the left button, removed with the right one.
class CRuleTab : public QWidget
{
public:
    static constexpr int kTop = kRuleTabTop;
    static constexpr int kSize = 6;

    // Creates the tab as a visible child of the ruler with its left edge at
    // left. A fixed tab keeps value; any other takes the value of its column.
    CRuleTab(CHRuler* ruler, int left, double value, bool fixed);

    // The tab's X value. A fixed tab returns its stored value; otherwise the
    // value is derived from left + offset over the ruler and stored.
    double TabValue(int offset = 0);
    // TabValue(0) printed with "%.2f": the tab's label in lists.
    std::string Label();
    bool IsFixed() const { return m_bFixed; }
    int Left() const { return m_nLeft; }
    // The value last stored, without deriving it again.
    double StoredValue() const { return m_dValue; }
    // Whether the tab holds the mouse for a drag.
    bool IsCapturing() const { return m_bCapture; }

    // Puts the left edge at the column of the stored value (after the ruler
    // changed its size).
    void MoveToValueColumn();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void MoveLeftEdge(int left);
    void SetStatusText(const std::string& text);

    CHRuler* m_ruler;
    int m_nTop = kTop;
    int m_nLeft;
    bool m_bFixed;
    double m_dValue = 0.0;
    bool m_bCapture = false;
};
