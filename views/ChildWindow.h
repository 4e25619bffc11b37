#pragma once

#include <QRect>
#include <QWidget>

class CKestrinView;

// The base of the view's child windows: a plain child that paints no
// background, so that the overlapping layers show through one another. Each
// carries its window name as object name and its child id as a property.
class CChildWindow : public QWidget
{
public:
    CChildWindow() = default;

    // Creates the window as a visible child of the view at rect.
    void Create(const char* windowName, int childId, const QRect& rect, CKestrinView* view);
    bool IsCreated() const { return m_view != nullptr; }
    int ChildId() const { return m_nChildId; }

protected:
    CKestrinView* View() const { return m_view; }

private:
    CKestrinView* m_view = nullptr;
    int m_nChildId = 0;
};
