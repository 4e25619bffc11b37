#pragma once

#include <functional>
#include <string>
#include <vector>

#include "views/ChildWindow.h"

class CRuleTab;
class IUiServices;
struct CPlotExtents;

// The strip above the plot that holds the H tabs. A double-click adds a tab,
// a tab is dragged with the left button and removed with the right one.
// After every change the ruler reports its tabs' X values, in the order of
// their creation; the view hands them to the document, which rebuilds its
// interval estimators from them.
class CHRuler : public CChildWindow
{
public:
    using TabsChanged = std::function<void(const std::vector<double>& values)>;

    CHRuler();
    ~CHRuler() override;

    void Create(const QRect& rect, QWidget* parent, const IPictureSource& source);
    // Moves the strip and puts every tab at its value's column.
    void Move(const QRect& rect);
    // Called with the tabs' values after every change of the tabs.
    void SetTabsChanged(TabsChanged handler) { m_tabsChanged = std::move(handler); }

    // Tabs are placed only while the document holds a series.
    void SetEnabledFlag(bool enabled);
    bool GetEnabledFlag() const { return m_bEnabled; }

    // The tabs in order of creation.
    int GetTabCount() const { return static_cast<int>(m_tabs.size()); }
    CRuleTab* GetTab(int i) const { return m_tabs[static_cast<std::size_t>(i)]; }

    // The value of the strip's pixel column px, and the column of value x, on
    // the plot's X scale; the plot's extents; where the status texts go.
    double PixelToValue(int px) const;
    int ValueToPixel(double x) const;
    const CPlotExtents& Extents() const;
    IUiServices& Ui() const;

    // Every tab's value, in order of creation ("Recalculating Windows..."
    // while it reads them).
    std::vector<double> CollectTabValues();
    // Reports the tabs' values as a change.
    void RecalculateWindows();
    // Puts tabs at the given X values, in that order, each with its exact
    // value, without reporting a change (the tabs of an opened document).
    // Returns whether any were placed.
    bool PlaceTabs(const std::vector<double>& values);
    void AddTabAt(double x, bool recalculate);
    // Auto-Tab: replaces every tab by tabs at min + interval, min + 2 interval,
    // ... below the X maximum. Refuses (with a message, placing none) an
    // interval of 0 or less, and one that would make more than
    // kMaxGeneratedTabs tabs. Returns whether the tabs were generated.
    bool GenerateTabs(double interval);
    void DeleteAllTabs();
    // Deletes the first tab whose "%.2f" label equals label; recalculates always.
    void DeleteTabByLabel(const std::string& label);
    // Deletes tab if it is one of ours; recalculates always.
    void RemoveTab(CRuleTab* tab);
    // Destroys every tab without recalculating (the view is going away).
    void DestroyTabs();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void AppendTab(CRuleTab* tab);

    bool m_bEnabled = false;
    std::vector<CRuleTab*> m_tabs;
    TabsChanged m_tabsChanged;
};
