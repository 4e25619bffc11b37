#include "app/ToolbarIcons.h"

#include <QPainter>
#include <QPixmap>


namespace {

constexpr int kWidth = 16;
constexpr int kHeight = 15;

void DrawPage(QPainter& p)
{
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygon({QPoint(3, 1), QPoint(10, 1), QPoint(13, 4), QPoint(13, 13), QPoint(3, 13)}));
    p.drawLine(10, 1, 10, 4);
    p.drawLine(10, 4, 13, 4);
}

void DrawFolder(QPainter& p)
{
    p.setPen(Qt::black);
    p.setBrush(QColor(255, 255, 0));
    p.drawPolygon(QPolygon({QPoint(1, 4), QPoint(5, 4), QPoint(6, 5), QPoint(12, 5), QPoint(12, 12), QPoint(1, 12)}));
    p.setBrush(QColor(128, 128, 0));
    p.drawPolygon(QPolygon({QPoint(3, 7), QPoint(15, 7), QPoint(12, 12), QPoint(1, 12)}));
}

void DrawDisk(QPainter& p)
{
    p.setPen(Qt::black);
    p.setBrush(QColor(0, 0, 128));
    p.drawRect(2, 1, 12, 12);
    p.setBrush(Qt::white);
    p.drawRect(4, 1, 8, 5);
    p.setBrush(QColor(192, 192, 192));
    p.drawRect(5, 9, 6, 4);
}

void DrawSeries(QPainter& p)
{
    p.setPen(Qt::black);
    p.drawLine(1, 1, 1, 13);
    p.drawLine(1, 13, 15, 13);
    p.setPen(QColor(127, 127, 127));
    p.drawPolyline(QPolygon({QPoint(2, 9), QPoint(4, 5), QPoint(6, 8), QPoint(8, 3), QPoint(10, 7), QPoint(12, 4),
                             QPoint(14, 6)}));
    p.setPen(QColor(0, 0, 255));
    p.drawLine(2, 11, 14, 11);
}

void DrawHGraph(QPainter& p)
{
    p.setPen(QColor(255, 0, 0));
    p.drawLine(1, 1, 14, 1);
    p.setPen(QColor(255, 0, 255));
    p.drawLine(1, 6, 7, 6);
    p.drawLine(8, 9, 14, 9);
    p.setPen(QColor(0, 128, 0));
    p.drawPolyline(QPolygon({QPoint(1, 12), QPoint(4, 10), QPoint(7, 13), QPoint(10, 8), QPoint(14, 11)}));
}

void DrawAbout(QPainter& p)
{
    p.setPen(Qt::black);
    p.setBrush(QColor(255, 255, 192));
    p.drawEllipse(1, 0, 13, 13);
    QFont font = p.font();
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(0, 0, 128));
    p.drawText(QRect(1, 0, 14, 14), Qt::AlignCenter, QStringLiteral("?"));
}

} // namespace

QIcon ToolbarIcon(CommandIcon icon)
{
    QPixmap pixmap(kWidth, kHeight);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    switch (icon) {
    case CommandIcon::page: DrawPage(p); break;
    case CommandIcon::folder: DrawFolder(p); break;
    case CommandIcon::disk: DrawDisk(p); break;
    case CommandIcon::series: DrawSeries(p); break;
    case CommandIcon::hGraph: DrawHGraph(p); break;
    case CommandIcon::about: DrawAbout(p); break;
    case CommandIcon::none: break;
    }
    p.end();
    return QIcon(pixmap);
}

QIcon ApplicationIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::white);
        QPainter p(&pixmap);
        const double s = size / 16.0;
        p.scale(s, s);
        DrawSeries(p);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}
