#include "views/HRuler.h"

#include <algorithm>

#include <QMouseEvent>
#include <QPainter>

#include "views/PictureLayout.h"
#include "views/PictureSource.h"
#include "views/RuleTab.h"
#include "views/RulerRender.h"

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
    return ::PixelToValue(PlotRectOf(rect()), Source()->ShownExtents(), px);
}

int CHRuler::ValueToPixel(double x) const
{
    return ValueToPixelOn(x, Source()->ShownExtents());
}

int CHRuler::ValueToPixelOn(double x, const CPlotExtents& scale) const
{
    return ::ValueToPixel(PlotRectOf(rect()), scale, x, 0.0).x;
}

const CPlotExtents& CHRuler::Extents() const
{
    return Source()->GetPlotExtents();
}

IUiServices& CHRuler::Ui() const
{
    return Source()->PictureUi();
}

double CHRuler::ColumnValue(long long px) const
{
    return ColumnValueOn(px, Source()->ShownExtents());
}

double CHRuler::ColumnValueOn(long long px, const CPlotExtents& scale) const
{
    // In 64 bits: a left edge far outside the ruler plus an offset stays exact.
    px = std::clamp<long long>(px, 0, rect().width());
    const CPlotExtents& e = Extents();
    double x = ::PixelToValue(PlotRectOf(rect()), scale, static_cast<int>(px));
    if (x < e.m_dXMin)
        x = e.m_dXMin;
    if (x > e.m_dXMax)
        x = e.m_dXMax;
    return x;
}

void CHRuler::Move(const QRect& rect)
{
    if (IsCreated())
        setGeometry(rect);
}

void CHRuler::SetEnabledFlag(bool enabled)
{
    if (m_bEnabled == enabled)
        return;
    m_bEnabled = enabled;
    update();
}

void CHRuler::ShowTab(int left)
{
    auto* tab = new CRuleTab(this, left);
    tab->show();
    m_tabs.push_back(tab);
}

void CHRuler::MoveTab(int index, int left)
{
    m_tabs[static_cast<std::size_t>(index)]->MoveLeftEdge(left);
}

void CHRuler::RemoveTabAt(int index)
{
    CRuleTab* tab = m_tabs[static_cast<std::size_t>(index)];
    m_tabs.erase(m_tabs.begin() + index);
    tab->hide();
    tab->deleteLater();
}

void CHRuler::DestroyTabs()
{
    std::vector<CRuleTab*> tabs;
    tabs.swap(m_tabs);
    for (CRuleTab* tab : tabs)
        delete tab;
}

int CHRuler::IndexOf(const CRuleTab* tab) const
{
    const auto it = std::find(m_tabs.begin(), m_tabs.end(), tab);
    return it == m_tabs.end() ? -1 : static_cast<int>(it - m_tabs.begin());
}

void CHRuler::RemoveTab(CRuleTab* tab)
{
    if (m_events.removed)
        m_events.removed(IndexOf(tab));
}

void CHRuler::TabDropped(CRuleTab* tab)
{
    const int index = IndexOf(tab);
    if (index >= 0 && m_events.dropped)
        m_events.dropped(index, tab->Left());
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
    if (m_events.added)
        m_events.added(event->position().toPoint().x());
}
