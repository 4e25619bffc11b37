#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QRect>
#include <QString>

// Dialogs are laid out in dialog units: a quarter of the font's average
// character width horizontally and an eighth of its height vertically, so a
// layout keeps its proportions with whatever font the desktop uses.
class CDialogUnits
{
public:
    explicit CDialogUnits(const QFont& font)
    {
        const QFontMetrics fm(font);
        const int alphabet =
            fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
        m_baseX = (alphabet / 26 + 1) / 2;
        m_baseY = fm.height();
    }

    int X(int dlu) const { return (dlu * m_baseX + 2) / 4; }
    int Y(int dlu) const { return (dlu * m_baseY + 4) / 8; }
    QRect Rect(int x, int y, int w, int h) const { return QRect(X(x), Y(y), X(w), Y(h)); }

private:
    int m_baseX = 6;
    int m_baseY = 13;
};
