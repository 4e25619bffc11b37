#include "views/RuleTab.h"

#include <QMouseEvent>
#include <QPainter>

#include "core/Format.h"
#include "views/HRuler.h"
#include "core/PlotExtents.h"
#include "views/RuleTabImages.h"
#include "platform/StatusOperation.h"

namespace {

int MouseX(const QMouseEvent* event)
{
    return event->position().toPoint().x();
}

} // namespace

CRuleTab::CRuleTab(CHRuler* ruler, int left, double value, bool fixed)
    : QWidget(ruler), m_ruler(ruler), m_nLeft(left), m_bFixed(fixed), m_dValue(value)
{
    setObjectName(QStringLiteral("CRuleTab"));
    setProperty("childId", 102);
    setAutoFillBackground(false);
    setGeometry(m_nLeft, m_nTop, kSize, kSize);
    if (!m_bFixed)
        m_dValue = TabValue(0);
    show();
}

double CRuleTab::TabValue(int offset)
{
    if (m_bFixed)
        return m_dValue;
    if (!m_ruler || !m_ruler->IsCreated())
        return m_dValue;
    const QRect client = m_ruler->rect();
    const int w = client.width();
    // In 64 bits: a left edge far outside the ruler plus an offset stays exact.
    long long p = static_cast<long long>(m_nLeft) + offset;
    if (p < 0)
        p = 0;
    if (p > w)
        p = w;
    double x = m_ruler->PixelToValue(static_cast<int>(p));
    const CPlotExtents& e = m_ruler->Extents();
    if (x < e.m_dXMin)
        x = e.m_dXMin;
    if (x > e.m_dXMax)
        x = e.m_dXMax;
    m_dValue = x;
    return x;
}

std::string CRuleTab::Label()
{
    return FormatFixed(TabValue(0), 2);
}

void CRuleTab::MoveToValueColumn()
{
    if (!m_ruler || !m_ruler->IsCreated())
        return;
    MoveLeftEdge(m_ruler->ValueToPixel(m_dValue));
}

void CRuleTab::MoveLeftEdge(int left)
{
    m_nLeft = left;
    move(m_nLeft, m_nTop);
    update();
}

void CRuleTab::SetStatusText(const std::string& text)
{
    if (m_ruler && m_ruler->IsCreated())
        m_ruler->Ui().SetStatusText(text);
}

void CRuleTab::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_bCapture ? RuleTabDragImage() : RuleTabNormalImage());
}

void CRuleTab::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        // Qt sends the moves and the release to the pressed widget until the
        // button goes up; the flag is the tab's own record of the capture.
        m_bCapture = true;
        QWidget::mousePressEvent(event);
        return;
    }
    QWidget::mousePressEvent(event);
    if (event->button() == Qt::RightButton && m_ruler) {
        // The ruler takes the tab off its list and hides it at once; the
        // object itself goes once this handler has returned. Nothing of the
        // tab is used after this call.
        m_ruler->RemoveTab(this);
    }
}

void CRuleTab::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_bCapture) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    repaint();
    m_bFixed = false;
    const double value = TabValue(MouseX(event));
    SetStatusText("Move to: " + FormatFixed(value, 2));
}

void CRuleTab::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_bCapture || event->button() != Qt::LeftButton || !m_ruler) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_bCapture = false;
    const int w = m_ruler->width();
    long long left = static_cast<long long>(m_nLeft) + MouseX(event);
    if (left < 0)
        left = -2;
    else if (left > w)
        left = w - 4;
    m_nLeft = static_cast<int>(left);
    move(m_nLeft, m_nTop);
    repaint();
    m_bFixed = false;
    m_dValue = TabValue(0);

    // The strip around the ruler in the view, then the ruler itself.
    if (QWidget* view = m_ruler->parentWidget())
        view->repaint(QRect(QPoint(6, 13), QPoint(w + 4 - 1, 20 - 1)));
    m_ruler->repaint();
    m_ruler->RecalculateWindows();
    SetStatusText(CStatusOperation::kReady);
    QWidget::mouseReleaseEvent(event);
}
