#include "RuleTab.h"

#include "HRuler.h"

CRuleTab::CRuleTab(CHRuler* ruler, int left, double value, bool fixed)
    : m_ruler(ruler), m_nLeft(left), m_bFixed(fixed), m_dValue(value)
{
}
double CRuleTab::TabValue(int) { return m_dValue; }
std::string CRuleTab::Label() { return {}; }
