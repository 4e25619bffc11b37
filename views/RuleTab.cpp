#include "views/RuleTab.h"

#include <string>

#include <QMouseEvent>
#include <QPainter>

#include "core/Format.h"
#include "views/HRuler.h"
#include "views/RuleTabImages.h"
#include "platform/StatusOperation.h"

namespace {

int MouseX(const QMouseEvent* event)
{
    return event->position().toPoint().x();
}

} // namespace

CRuleTab::CRuleTab(CHRuler* ruler, int left) : QWidget(ruler), m_ruler(ruler), m_nLeft(left)
{
    setObjectName(QStringLiteral("CRuleTab"));
    setProperty("childId", 102);
    setAutoFillBackground(false);
    setGeometry(m_nLeft, m_nTop, kSize, kSize);
    show();
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
        // The ruler reports the removal; the marker leaves the picture at
        // once and goes once this handler has returned. Nothing of the tab
        // is used after this call.
        m_ruler->RemoveTab(this);
    }
}

void CRuleTab::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_bCapture || !m_ruler || !m_ruler->IsCreated()) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    repaint();
    const double value = m_ruler->ColumnValue(static_cast<long long>(m_nLeft) + MouseX(event));
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

    // The strip around the ruler in the view, then the ruler itself.
    if (QWidget* view = m_ruler->parentWidget())
        view->repaint(QRect(QPoint(6, 13), QPoint(w + 4 - 1, 20 - 1)));
    m_ruler->repaint();
    m_ruler->TabDropped(this);
    SetStatusText(CStatusOperation::kReady);
    QWidget::mouseReleaseEvent(event);
}
