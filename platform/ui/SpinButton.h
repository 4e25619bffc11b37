#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

// A small up-down control beside an edit, its buddy. A click on an arrow
// (or the up and down keys in the buddy) moves the position by one within
// the range and writes the new position into the buddy as an integer.
class CSpinButton : public QWidget
{
    Q_OBJECT

public:
    explicit CSpinButton(QWidget* parent = nullptr);

    void SetBuddy(QLineEdit* buddy);
    void SetRange(int lower, int upper);
    int Lower() const { return m_nLower; }
    int Upper() const { return m_nUpper; }
    // The position is a 16-bit value: only the low 16 bits of pos are kept.
    // The buddy is not touched.
    void SetPos(int pos);
    int GetPos() const { return m_nPos; }
    // Moves by steps, stopping at the ends of the range, and writes the
    // position into the buddy.
    void StepBy(int steps);

    QToolButton* UpButton() const { return m_up; }
    QToolButton* DownButton() const { return m_down; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* m_up = nullptr;
    QToolButton* m_down = nullptr;
    QLineEdit* m_buddy = nullptr;
    int m_nLower = 0;
    int m_nUpper = 100;
    int m_nPos = 0;
};
