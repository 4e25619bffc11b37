#include "views/PictureExport.h"

#include <algorithm>

#include <QPainter>
#include <QPrinter>

namespace {

const QString kTitle = QStringLiteral("Kestrin picture");

// The picture as the file formats draw it: images as the window draws them,
// vector files with each line one element.
PictureDrawer Drawer(const CPictureData& data, bool ruler)
{
    return [&data, ruler](QPainter& painter, QSize size, bool vector) {
        CPictureOptions options;
        options.ruler = ruler;
        options.onePath = vector;
        DrawPicture(painter, size.width(), size.height(), data, options);
    };
}

} // namespace

QImage RenderPictureImage(const CPictureData& data, QSize size, bool ruler)
{
    return DrawPictureImage(size, Drawer(data, ruler));
}

QByteArray RenderPictureSvg(const CPictureData& data, QSize size, bool ruler)
{
    return DrawPictureSvg(size, kTitle, Drawer(data, ruler));
}

bool ExportPicture(const QString& path, const CPictureData& data, const CPictureExportSettings& settings,
                   QString& error)
{
    CPictureFileSettings file;
    file.size = settings.size;
    file.dpi = settings.dpi;
    file.title = kTitle;
    return WritePictureFile(path, file, Drawer(data, settings.ruler), error);
}

bool PrintPicture(QPrinter& printer, const CPictureData& data, QSize size)
{
    QPainter painter;
    if (size.isEmpty() || !painter.begin(&printer))
        return false;
    // The printer's page in its own pixels. The picture keeps its layout at
    // its own size, scaled to fit, so that text and lines keep their
    // proportions; its lines are traced at the page's pixels.
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const double scale = std::min(page.width() / size.width(), page.height() / size.height());
    painter.translate((page.width() - size.width() * scale) / 2, (page.height() - size.height() * scale) / 2);
    painter.scale(scale, scale);
    CPictureOptions options;
    options.onePath = true;
    options.detail = scale;
    DrawPicture(painter, size.width(), size.height(), data, options);
    return painter.end();
}
