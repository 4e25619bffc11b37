#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ChildWindow.h"
#include "KestrinDoc.h"

class CRuleTab;

// The strip above the plot that holds the H tabs. A double-click adds a tab,
// a tab is dragged with the left button and removed with the right one.
// After every change the tabs become the sorted list of tab positions and
// the document rebuilds its interval estimators from them.
class CHRuler : public CChildWindow
{
public:
    CHRuler();
    ~CHRuler() override;

    void Create(const QRect& rect, CKestrinView* view);
    // Moves the strip and puts every tab at its value's column.
    void Move(const QRect& rect);
    CKestrinView* GetView() const { return View(); }

    // Tabs are placed only while the document holds a series.
    void SetEnabledFlag(bool enabled);
    bool GetEnabledFlag() const { return m_bEnabled; }

    // The tabs in order of creation.
    int GetTabCount() const { return static_cast<int>(m_tabs.size()); }
    CRuleTab* GetTab(int i) const { return m_tabs[static_cast<std::size_t>(i)]; }
    // Each tab's X truncated toward zero, ascending; rebuilt by RecalculateWindows.
    const std::vector<std::int32_t>& TabPositions() const { return m_tabPositions; }

    // With intervals (one D and M per interval), the intervals are computed
    // with those instead of the document's D and M.
    void RecalculateWindows(const std::vector<CTabInterval>* intervals = nullptr);
    // Puts tabs at the given X values, in that order, each with its exact
    // value, then recalculates once with the given intervals' D and M (the
    // tabs of an opened document).
    void PlaceTabs(const std::vector<double>& values, const std::vector<CTabInterval>& intervals);
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
    std::vector<std::int32_t> m_tabPositions;
    std::vector<CRuleTab*> m_tabs;
};
