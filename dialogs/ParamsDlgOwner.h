#pragma once

class CKestrinDoc;

// What the H parameters dialog needs of the window that owns it: the
// document, a fresh drawing of the series graph, and an immediate repaint.
class IParamsDlgOwner
{
public:
    virtual CKestrinDoc& GetDocument() const = 0;
    // Marks the series graph for a fresh drawing at its next paint.
    virtual void RegenerateSeriesGraph() = 0;
    // Invalidates the whole picture and repaints it at once.
    virtual void RepaintNow() = 0;

protected:
    ~IParamsDlgOwner() = default;
};
