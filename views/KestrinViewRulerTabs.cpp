// The window's tabs: kept in the window's state, shown by the ruler, whose
// reports of the user's changes end here, and handed to the document, which
// rebuilds its intervals from them.
#include <algorithm>
#include <string>
#include <vector>

#include "core/Format.h"
#include "document/AutoTabs.h"
#include "document/KestrinDoc.h"
#include "platform/StatusOperation.h"
#include "views/KestrinView.h"
#include "views/RuleTab.h"

void CKestrinView::ConnectRulerTabs()
{
    CHRuler::TabEvents events;
    events.added = [this](int left) {
        AppendTab({m_ruler.ColumnValue(left), false}, left);
        RecalculateWindows();
    };
    events.dropped = [this](int index, int left) {
        // A dragged tab takes its column's value for good.
        m_window.m_tabs[static_cast<std::size_t>(index)] = {m_ruler.ColumnValue(left), false};
        RecalculateWindows();
    };
    events.removed = [this](int index) {
        if (index >= 0)
            EraseTab(index);
        RecalculateWindows();
    };
    m_ruler.SetTabEvents(std::move(events));
}

void CKestrinView::AppendTab(CWindowTab tab, int left)
{
    m_window.m_tabs.push_back(tab);
    m_ruler.ShowTab(left);
}

void CKestrinView::EraseTab(int index)
{
    m_window.m_tabs.erase(m_window.m_tabs.begin() + index);
    m_ruler.RemoveTabAt(index);
}

void CKestrinView::MoveRulerTabsToValues()
{
    if (!m_ruler.IsCreated())
        return;
    for (std::size_t i = 0; i < m_window.m_tabs.size(); ++i)
        m_ruler.MoveTab(static_cast<int>(i), m_ruler.ValueToPixel(m_window.m_tabs[i].value));
}

void CKestrinView::DeriveTabValues()
{
    if (!m_ruler.IsCreated())
        return;
    for (std::size_t i = 0; i < m_window.m_tabs.size(); ++i) {
        CWindowTab& tab = m_window.m_tabs[i];
        if (!tab.fixed)
            tab.value = m_ruler.ColumnValue(m_ruler.GetTab(static_cast<int>(i))->Left());
    }
}

std::vector<double> CKestrinView::CollectTabValues()
{
    CStatusOperation status(PictureUi(), "Recalculating Windows...");
    DeriveTabValues();
    std::vector<double> values;
    values.reserve(m_window.m_tabs.size());
    for (const CWindowTab& tab : m_window.m_tabs)
        values.push_back(tab.value);
    return values;
}

std::vector<std::string> CKestrinView::TabLabels()
{
    DeriveTabValues();
    std::vector<std::string> labels;
    labels.reserve(m_window.m_tabs.size());
    for (const CWindowTab& tab : m_window.m_tabs)
        labels.push_back(FormatFixed(tab.value, 2));
    return labels;
}

void CKestrinView::RecalculateWindows()
{
    if (!m_ruler.IsCreated())
        return;
    OnTabsChanged(CollectTabValues(), nullptr);
}

void CKestrinView::AddTabAt(double x, bool recalculate)
{
    if (!m_ruler.GetEnabledFlag() || !m_ruler.IsCreated())
        return;
    AppendTab({x, true}, m_ruler.ValueToPixel(x));
    if (recalculate)
        RecalculateWindows();
}

bool CKestrinView::PlaceTabs(const std::vector<double>& values)
{
    if (!m_ruler.GetEnabledFlag() || values.empty())
        return false;
    for (const double x : values)
        AddTabAt(x, false);
    return true;
}

bool CKestrinView::GenerateTabs(double interval)
{
    if (!m_ruler.IsCreated())
        return false;
    IUiServices& ui = PictureUi();
    const AutoTabPlan plan = PlanAutoTabs(m_extents.m_dXMin, m_extents.m_dXMax, interval);
    if (!plan.ok) {
        ui.MessageBox(plan.message, MsgButtons::ok, MsgIcon::warning);
        return false;
    }
    {
        CStatusOperation status(ui, "Generating Tabs...");
        DeleteAllTabs();
        for (const double x : plan.values)
            AddTabAt(x, false);
    }
    RecalculateWindows();
    return true;
}

void CKestrinView::DeleteAllTabs()
{
    m_window.m_tabs.clear();
    m_ruler.DestroyTabs();
    RecalculateWindows();
}

void CKestrinView::DeleteTabByLabel(const std::string& label)
{
    const std::vector<std::string> labels = TabLabels();
    const auto it = std::find(labels.begin(), labels.end(), label);
    if (it != labels.end())
        EraseTab(static_cast<int>(it - labels.begin()));
    RecalculateWindows();
}
