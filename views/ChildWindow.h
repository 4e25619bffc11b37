#pragma once

#include <QRect>
#include <QWidget>

class IPictureSource;

// The base of the view's child windows: a plain child that paints no
// background, so that the overlapping layers show through one another. Each
// carries its window name as object name and its child id as a property, and
// paints what its picture source (the view) gathers for it.
class CChildWindow : public QWidget
{
public:
    CChildWindow() = default;

    // Creates the window as a visible child of parent at rect.
    void Create(const char* windowName, int childId, const QRect& rect, QWidget* parent,
                const IPictureSource& source);
    bool IsCreated() const { return m_source != nullptr; }
    int ChildId() const { return m_nChildId; }

protected:
    const IPictureSource* Source() const { return m_source; }

private:
    const IPictureSource* m_source = nullptr;
    int m_nChildId = 0;
};
