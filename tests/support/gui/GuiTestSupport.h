#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

// The colours of the picture: the axes, the series and the global H line.
inline const QColor kAxisBlack(0, 0, 0);
inline const QColor kSeriesGrey(127, 127, 127);
inline const QColor kHLineBlue(0, 0, 255);

// Renders a widget and everything over and under it that the screen would
// show, as the user sees it, into an image of the widget's size.
inline QImage RenderWidget(QWidget& widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline QColor PixelAt(const QImage& image, int x, int y)
{
    return QColor(image.pixel(x, y));
}
