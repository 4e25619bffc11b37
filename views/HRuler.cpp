#include "views/HRuler.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <QMouseEvent>
#include <QPainter>

#include "document/AutoTabs.h"
#include "views/PictureLayout.h"
#include "views/PictureSource.h"
#include "views/RuleTab.h"
#include "views/RulerRender.h"
#include "platform/StatusOperation.h"

CHRuler::CHRuler() = default;

CHRuler::~CHRuler()
{
    DestroyTabs();
}

void CHRuler::Create(const QRect& rect, QWidget* parent, const IPictureSource& source)
{
    CChildWindow::Create("CHRuler", 101, rect, parent, source);
}

double CHRuler::PixelToValue(int px) const
{
    return ::PixelToValue(PlotRectOf(rect()), Extents(), px);
}

int CHRuler::ValueToPixel(double x) const
{
    return ::ValueToPixel(PlotRectOf(rect()), Extents(), x, 0.0).x;
}

const CPlotExtents& CHRuler::Extents() const
{
    return Source()->GetPlotExtents();
}

IUiServices& CHRuler::Ui() const
{
    return Source()->PictureUi();
}

void CHRuler::Move(const QRect& rect)
{
    if (!IsCreated())
        return;
    setGeometry(rect);
    for (CRuleTab* tab : m_tabs)
        tab->MoveToValueColumn();
}

void CHRuler::SetEnabledFlag(bool enabled)
{
    if (m_bEnabled == enabled)
        return;
    m_bEnabled = enabled;
    update();
}

std::vector<double> CHRuler::CollectTabValues()
{
    CStatusOperation status(Ui(), "Recalculating Windows...");
    std::vector<double> values;
    values.reserve(m_tabs.size());
    for (CRuleTab* tab : m_tabs)
        values.push_back(tab->TabValue(0));
    return values;
}

void CHRuler::RecalculateWindows()
{
    if (!IsCreated())
        return;
    const std::vector<double> values = CollectTabValues();
    if (m_tabsChanged)
        m_tabsChanged(values);
}

void CHRuler::AppendTab(CRuleTab* tab)
{
    tab->show();
    m_tabs.push_back(tab);
}

void CHRuler::AddTabAt(double x, bool recalculate)
{
    if (!m_bEnabled || !IsCreated())
        return;
    const int left = ValueToPixel(x);
    AppendTab(new CRuleTab(this, left, x, true));
    if (recalculate)
        RecalculateWindows();
}

bool CHRuler::PlaceTabs(const std::vector<double>& values)
{
    if (!m_bEnabled || values.empty())
        return false;
    for (const double x : values)
        AddTabAt(x, false);
    return true;
}

bool CHRuler::GenerateTabs(double interval)
{
    if (!IsCreated())
        return false;
    IUiServices& ui = Ui();
    const CPlotExtents extents = Extents();
    const AutoTabPlan plan = PlanAutoTabs(extents.m_dXMin, extents.m_dXMax, interval);
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

void CHRuler::DestroyTabs()
{
    std::vector<CRuleTab*> tabs;
    tabs.swap(m_tabs);
    for (CRuleTab* tab : tabs)
        delete tab;
}

void CHRuler::DeleteAllTabs()
{
    DestroyTabs();
    RecalculateWindows();
}

void CHRuler::DeleteTabByLabel(const std::string& label)
{
    const auto it = std::find_if(m_tabs.begin(), m_tabs.end(), [&](CRuleTab* tab) { return tab->Label() == label; });
    if (it != m_tabs.end()) {
        CRuleTab* tab = *it;
        m_tabs.erase(it);
        delete tab;
    }
    RecalculateWindows();
}

void CHRuler::RemoveTab(CRuleTab* tab)
{
    const auto it = std::find(m_tabs.begin(), m_tabs.end(), tab);
    if (it != m_tabs.end()) {
        m_tabs.erase(it);
        // The tab may be asking from inside its own mouse handling: it leaves
        // the picture and the list now and is deleted once that has returned.
        tab->hide();
        tab->deleteLater();
    }
    RecalculateWindows();
}

void CHRuler::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    DrawRuler(painter, width(), height(), m_bEnabled);
}

void CHRuler::mouseDoubleClickEvent(QMouseEvent* event)
{
    CChildWindow::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton || !m_bEnabled || !IsCreated())
        return;
    AppendTab(new CRuleTab(this, event->position().toPoint().x(), 0.0, false));
    RecalculateWindows();
}
