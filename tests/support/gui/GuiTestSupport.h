#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

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
