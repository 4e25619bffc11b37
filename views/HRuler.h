#pragma once

#include "ChildWindow.h"

// The strip above the plot that holds the H tabs. This window keeps its place
// in the layout; tabs and their mouse handling live in their own files.
class CHRuler : public CChildWindow
{
public:
    void Create(const QRect& rect, CKestrinView* view) { CChildWindow::Create("CHRuler", 101, rect, view); }
    void Move(const QRect& rect)
    {
        if (IsCreated())
            setGeometry(rect);
    }

    // Tabs are placed only while the document holds a series.
    void SetEnabledFlag(bool enabled) { m_bEnabled = enabled; }
    bool GetEnabledFlag() const { return m_bEnabled; }
    int GetTabCount() const { return 0; }

private:
    bool m_bEnabled = false;
};
