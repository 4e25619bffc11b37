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
        AppendTab(TabAtColumn(left), left);
        RecalculateWindows();
    };
    events.dropped = [this](int index, int left) {
        // A dragged tab takes its column's value for good.
        m_window.m_tabs[static_cast<std::size_t>(index)] = TabAtColumn(left);
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

CWindowTab CKestrinView::TabAtColumn(int left) const
{
    if (!IsZoomed())
        return {m_ruler.ColumnValue(left), false, left};
    // A column of a zoomed ruler is finer than one of the whole series: the
    // tab keeps the X under the pointer.
    const double x = m_ruler.ColumnValue(left);
    return {x, true, FullColumn(x)};
}

int CKestrinView::FullColumn(double x) const
{
    return m_ruler.ValueToPixelOn(x, m_extents);
}

int CKestrinView::ShownTabLeft(const CWindowTab& tab) const
{
    if (!IsZoomed())
        return tab.column;
    // Beyond the ends of the ruler a marker is out of sight; held near them,
    // its place stays a small number.
    constexpr int kBeyond = 2 * CRuleTab::kSize;
    return std::clamp(m_ruler.ValueToPixel(tab.value), -kBeyond, m_ruler.width() + kBeyond);
}

void CKestrinView::PlaceRulerTabs()
{
    if (!m_ruler.IsCreated())
        return;
    for (std::size_t i = 0; i < m_window.m_tabs.size(); ++i)
        m_ruler.MoveTab(static_cast<int>(i), ShownTabLeft(m_window.m_tabs[i]));
}

void CKestrinView::MoveRulerTabsToValues()
{
    if (!m_ruler.IsCreated())
        return;
    for (CWindowTab& tab : m_window.m_tabs)
        tab.column = FullColumn(tab.value);
    PlaceRulerTabs();
}

void CKestrinView::DeriveTabValues()
{
    if (!m_ruler.IsCreated())
        return;
    // On the whole series' scale, whatever range the window shows.
    for (CWindowTab& tab : m_window.m_tabs) {
        if (!tab.fixed)
            tab.value = m_ruler.ColumnValueOn(tab.column, m_extents);
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
    const CWindowTab tab{x, true, FullColumn(x)};
    AppendTab(tab, ShownTabLeft(tab));
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
