#pragma once

#include <string>

#include <QWidget>

class CHRuler;

// One H tab: a 6-by-6 marker on the ruler whose left edge stands for its X
// value. Dragged with the left button, removed with the right one.
class CRuleTab : public QWidget
{
public:
    CRuleTab(CHRuler* ruler, int left, double value, bool fixed);

    // The tab's X value. A fixed tab returns its stored value; otherwise the
    // value is derived from left + offset over the ruler and stored.
    double TabValue(int offset = 0);
    // TabValue(0) printed with "%.2f": the tab's label in lists.
    std::string Label();
    bool IsFixed() const { return m_bFixed; }
    int Left() const { return m_nLeft; }

private:
    CHRuler* m_ruler;
    int m_nTop = 8;
    int m_nLeft;
    bool m_bFixed;
    double m_dValue = 0.0;
};
