#include "HRuler.h"

#include "RuleTab.h"

// Placeholder bodies while the ruler is being built.
CHRuler::CHRuler() = default;
CHRuler::~CHRuler() { DestroyTabs(); }
void CHRuler::Create(const QRect& rect, CKestrinView* view) { CChildWindow::Create("CHRuler", 101, rect, view); }
void CHRuler::Move(const QRect& rect)
{
    if (IsCreated())
        setGeometry(rect);
}
void CHRuler::SetEnabledFlag(bool enabled) { m_bEnabled = enabled; }
void CHRuler::RecalculateWindows() {}
void CHRuler::AddTabAt(double, bool) {}
bool CHRuler::GenerateTabs(double) { return false; }
void CHRuler::DeleteAllTabs() {}
void CHRuler::DeleteTabByLabel(const std::string&) {}
void CHRuler::RemoveTab(CRuleTab*) {}
void CHRuler::DestroyTabs() {}
void CHRuler::paintEvent(QPaintEvent*) {}
void CHRuler::mouseDoubleClickEvent(QMouseEvent*) {}
