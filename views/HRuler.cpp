#include "HRuler.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <QMouseEvent>
#include <QPainter>

#include "AutoTabs.h"
#include "KestrinDoc.h"
#include "KestrinView.h"
#include "RuleTab.h"
#include "RulerRender.h"
#include "StatusOperation.h"

CHRuler::CHRuler() = default;

CHRuler::~CHRuler()
{
    DestroyTabs();
}

void CHRuler::Create(const QRect& rect, CKestrinView* view)
{
    CChildWindow::Create("CHRuler", 101, rect, view);
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

void CHRuler::RecalculateWindows(const std::vector<CTabInterval>* intervals)
{
    CKestrinView* view = View();
    if (!view)
        return;
    CKestrinDoc& doc = view->GetDocument();
    std::vector<double> values;
    {
        CStatusOperation status(doc.Ui(), "Recalculating Windows...");
        values.reserve(m_tabs.size());
        for (CRuleTab* tab : m_tabs)
            values.push_back(tab->TabValue(0));
    }
    // The document keeps the values for saving and sorts their positions.
    m_tabPositions = doc.SetTabs(values, intervals);
    // The whole picture at once: the H graph draws one line per interval.
    view->update();
    if (view->isVisible())
        view->repaint();
    view->RefreshParamsDlg();
    emit view->commandStateChanged();
}

void CHRuler::AppendTab(CRuleTab* tab)
{
    tab->show();
    m_tabs.push_back(tab);
}

void CHRuler::AddTabAt(double x, bool recalculate)
{
    CKestrinView* view = View();
    if (!m_bEnabled || !view)
        return;
    const int left = view->ValueToPixel(rect(), x, 0.0).x;
    AppendTab(new CRuleTab(this, left, x, true));
    if (recalculate)
        RecalculateWindows();
}

void CHRuler::PlaceTabs(const std::vector<double>& values, const std::vector<CTabInterval>& intervals)
{
    if (!m_bEnabled || values.empty())
        return;
    for (const double x : values)
        AddTabAt(x, false);
    RecalculateWindows(&intervals);
}

bool CHRuler::GenerateTabs(double interval)
{
    CKestrinView* view = View();
    if (!view)
        return false;
    IUiServices& ui = view->GetDocument().Ui();
    const CPlotExtents extents = view->GetPlotExtents();
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
