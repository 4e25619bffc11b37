#include "HRuler.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <QMouseEvent>
#include <QPainter>

#include "Format.h"
#include "KestrinDoc.h"
#include "KestrinView.h"
#include "RuleTab.h"
#include "RulerRender.h"
#include "StatusOperation.h"

namespace {

// A count too large to print in full is shown in exponent form.
std::string CountText(double count)
{
    return count < 1e15 ? FormatFixed(count, 0) : FormatRoundTrip(count);
}

} // namespace

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

std::int32_t CHRuler::TruncateToTabPosition(double x)
{
    constexpr double kMax = std::numeric_limits<std::int32_t>::max();
    constexpr double kMin = std::numeric_limits<std::int32_t>::min();
    if (std::isnan(x))
        return 0;
    if (x >= kMax)
        return std::numeric_limits<std::int32_t>::max();
    if (x <= kMin)
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(x);
}

long long CHRuler::CountGeneratedTabs(double xMin, double xMax, double interval, long long limit, bool& stalled)
{
    // The same additions as the placing loop, so the count is exact.
    stalled = false;
    long long count = 0;
    double x = xMin + interval;
    while (x < xMax) {
        ++count;
        if (count > limit)
            break;
        const double next = x + interval;
        if (!(next > x)) {
            stalled = true;
            break;
        }
        x = next;
    }
    return count;
}

void CHRuler::RecalculateWindows()
{
    CKestrinView* view = View();
    if (!view)
        return;
    CKestrinDoc& doc = view->GetDocument();
    {
        CStatusOperation status(doc.Ui(), "Recalculating Windows...");
        m_tabPositions.clear();
        m_tabPositions.reserve(m_tabs.size());
        for (CRuleTab* tab : m_tabs)
            m_tabPositions.push_back(TruncateToTabPosition(tab->TabValue(0)));
        std::sort(m_tabPositions.begin(), m_tabPositions.end());
    }
    doc.CalculateTabH(m_tabPositions);
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

bool CHRuler::GenerateTabs(double interval)
{
    CKestrinView* view = View();
    if (!view)
        return false;
    IUiServices& ui = view->GetDocument().Ui();
    if (!(interval > 0.0)) {
        ui.MessageBox("The tab interval must be a number greater than 0.", MsgButtons::ok, MsgIcon::warning);
        return false;
    }
    const CPlotExtents extents = view->GetPlotExtents();
    const double xMin = extents.m_dXMin;
    const double xMax = extents.m_dXMax;
    bool stalled = false;
    const long long count = CountGeneratedTabs(xMin, xMax, interval, kMaxGeneratedTabs, stalled);
    if (stalled) {
        ui.MessageBox("An interval of " + FormatRoundTrip(interval) +
                          " is too small for the X values of this series: the tabs would not move apart. "
                          "Please choose a larger interval.",
                      MsgButtons::ok, MsgIcon::warning);
        return false;
    }
    if (count > kMaxGeneratedTabs) {
        // The exact count would take as many steps as tabs; the span over the
        // interval says how many there would be.
        const double wouldBe = std::max(std::ceil((xMax - xMin) / interval) - 1.0, static_cast<double>(count));
        ui.MessageBox("An interval of " + FormatRoundTrip(interval) + " would create " + CountText(wouldBe) +
                          " tabs; at most " + std::to_string(kMaxGeneratedTabs) +
                          " tabs can be generated. Please choose a larger interval.",
                      MsgButtons::ok, MsgIcon::warning);
        return false;
    }

    {
        CStatusOperation status(ui, "Generating Tabs...");
        DeleteAllTabs();
        for (double x = xMin + interval; x < xMax; x += interval)
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
