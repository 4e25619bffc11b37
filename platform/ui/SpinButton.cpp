#include "platform/ui/SpinButton.h"

#include <algorithm>
#include <cstdint>

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

CSpinButton::CSpinButton(QWidget* parent) : QWidget(parent)
{
    m_up = new QToolButton(this);
    m_up->setArrowType(Qt::UpArrow);
    m_up->setAutoRepeat(true);
    m_up->setFocusPolicy(Qt::NoFocus);
    m_down = new QToolButton(this);
    m_down->setArrowType(Qt::DownArrow);
    m_down->setAutoRepeat(true);
    m_down->setFocusPolicy(Qt::NoFocus);
    connect(m_up, &QToolButton::clicked, this, [this] { StepBy(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { StepBy(-1); });
}

void CSpinButton::SetBuddy(QLineEdit* buddy)
{
    if (m_buddy)
        m_buddy->removeEventFilter(this);
    m_buddy = buddy;
    if (m_buddy)
        m_buddy->installEventFilter(this);
}

void CSpinButton::SetRange(int lower, int upper)
{
    m_nLower = lower;
    m_nUpper = upper;
}

void CSpinButton::SetPos(int pos)
{
    m_nPos = static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<unsigned>(pos) & 0xFFFFu));
}

void CSpinButton::StepBy(int steps)
{
    const int low = std::min(m_nLower, m_nUpper);
    const int high = std::max(m_nLower, m_nUpper);
    // A range given high to low turns the arrows round.
    const int direction = m_nLower <= m_nUpper ? 1 : -1;
    const long long next = static_cast<long long>(m_nPos) + static_cast<long long>(steps) * direction;
    m_nPos = static_cast<int>(std::clamp<long long>(next, low, high));
    if (m_buddy)
        m_buddy->setText(QString::number(m_nPos));
}

bool CSpinButton::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_buddy && event->type() == QEvent::KeyPress && isEnabled()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Up) {
            StepBy(1);
            return true;
        }
        if (key->key() == Qt::Key_Down) {
            StepBy(-1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CSpinButton::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int half = height() / 2;
    m_up->setGeometry(0, 0, width(), half);
    m_down->setGeometry(0, half, width(), height() - half);
}
