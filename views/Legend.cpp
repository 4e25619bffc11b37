#include "Legend.h"

#include <QFontMetrics>
#include <QPainter>

#include "Format.h"
#include "KestrinDoc.h"
#include "KestrinView.h"
#include "TextEncoding.h"

namespace {

// Writes text with its top-left corner at (x, y). In opaque mode the painter
// fills the text's cell (its advance by ascent + descent) with the
// background brush before drawing the glyphs.
void TextOutAt(QPainter& painter, int x, int y, const QString& text)
{
    painter.drawText(QPoint(x, y + painter.fontMetrics().ascent()), text);
}

// Titles come from document files and database fields and are kept byte
// for byte; they need not be valid UTF-8.
QString TitleText(const std::string& title)
{
    return QString::fromStdString(DisplayText(title));
}

QString Number(double value, int decimals)
{
    return QString::fromStdString(FormatFixed(value, decimals));
}

} // namespace

void CLegend::Create(const QRect& rect, CKestrinView* view)
{
    CChildWindow::Create("CLegend", 105, rect, view);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void CLegend::Move(const QRect& rect)
{
    if (IsCreated())
        setGeometry(rect);
}

void CLegend::SetData(const std::string& bottomTitle, const std::string& leftTitle, double xMax, double xMin,
                      double yMax, double yMin)
{
    m_strBottomTitle = bottomTitle;
    m_strLeftTitle = leftTitle;
    m_dXMax = xMax;
    m_dXMin = xMin;
    m_dYMax = yMax;
    m_dYMin = yMin;
}

void CLegend::paintEvent(QPaintEvent*)
{
    if (!IsCreated() || View()->GetDocument().m_bHasData == 0)
        return;

    // The legend covers the view's whole client area; the plot rectangle is
    // (40, 25) to (cx - 10, cy - 40) and the labels stand around it.
    const int cx = width();
    const int cy = height();

    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(Qt::black);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(QBrush(Qt::white));

    TextOutAt(painter, cx / 2, cy - 40, TitleText(m_strBottomTitle));
    TextOutAt(painter, 0, cy / 2, TitleText(m_strLeftTitle));

    TextOutAt(painter, 40, cy - 40, Number(m_dXMin, 0));
    // The X maximum ends where the X axis ends.
    const QString xMax = Number(m_dXMax, 0);
    TextOutAt(painter, cx - 10 - painter.fontMetrics().horizontalAdvance(xMax), cy - 40, xMax);

    // H values lie between 0 and 1: one decimal tells them apart.
    const int yDecimals = View()->GetDocument().m_bHSeries == 1 ? 1 : 0;
    TextOutAt(painter, 0, cy - 40 - 25, Number(m_dYMin, yDecimals));
    TextOutAt(painter, 0, 25, Number(m_dYMax, yDecimals));
}
