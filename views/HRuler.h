#pragma once

#include <functional>
#include <vector>

#include "views/ChildWindow.h"

class CRuleTab;
class IUiServices;
struct CPlotExtents;

// The strip above the plot that shows the H tabs of its window. It holds no
// tab values: it shows a marker at each column it is given, and reports the
// user's changes (a double-click adds a tab, a tab is dragged with the left
// button and removed with the right one) to its view, which changes the
// window's tabs and has the document rebuild its intervals from them.
class CHRuler : public CChildWindow
{
public:
    // What the user did to the tabs. A tab is named by its index in the order
    // of creation; removed gets -1 for a marker that is not the ruler's.
    struct TabEvents
    {
        std::function<void(int left)> added;
        std::function<void(int index, int left)> dropped;
        std::function<void(int index)> removed;
    };

    CHRuler();
    ~CHRuler() override;

    void Create(const QRect& rect, QWidget* parent, const IPictureSource& source);
    // Moves the strip; the view then puts the markers at their values' columns.
    void Move(const QRect& rect);
    void SetTabEvents(TabEvents events) { m_events = std::move(events); }

    // Tabs are placed only while the document holds a series.
    void SetEnabledFlag(bool enabled);
    bool GetEnabledFlag() const { return m_bEnabled; }

    // The markers in order of creation.
    int GetTabCount() const { return static_cast<int>(m_tabs.size()); }
    CRuleTab* GetTab(int i) const { return m_tabs[static_cast<std::size_t>(i)]; }

    // The value of the strip's pixel column px, and the column of value x, on
    // the X scale of the range shown; the series' extents; where the status
    // texts go.
    double PixelToValue(int px) const;
    int ValueToPixel(double x) const;
    const CPlotExtents& Extents() const;
    IUiServices& Ui() const;
    // The value a tab at column px stands for on the range shown: px held
    // within the strip, the value within the series' X extremes.
    double ColumnValue(long long px) const;
    // The same on the X scale of the range given (the whole series).
    double ColumnValueOn(long long px, const CPlotExtents& scale) const;
    // The column of value x on the X scale of the range given.
    int ValueToPixelOn(double x, const CPlotExtents& scale) const;

    // Adds a marker at column left.
    void ShowTab(int left);
    void MoveTab(int index, int left);
    // Takes marker index off the picture at once; it is deleted once the
    // event being handled (maybe its own right-click) has returned.
    void RemoveTabAt(int index);
    // Destroys every marker.
    void DestroyTabs();

    // A marker's right-click and drop, reported to the view.
    void RemoveTab(CRuleTab* tab);
    void TabDropped(CRuleTab* tab);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    int IndexOf(const CRuleTab* tab) const;

    bool m_bEnabled = false;
    std::vector<CRuleTab*> m_tabs;
    TabEvents m_events;
};
