#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include "platform/ui/PictureFile.h"
#include "views/PictureRender.h"

class QPrinter;

// The picture written out: PNG images, SVG drawings and PDF documents, the
// clipboard's image and drawing, and the printed page.
struct CPictureExportSettings
{
    QSize size;         // of the whole picture, in pixels (points of 1/96 inch in vector files)
    int dpi = 96;       // written into a PNG image
    bool ruler = false; // the ruler strip with its tabs
};

// The picture as an image of the given size, drawn as the window draws it.
QImage RenderPictureImage(const CPictureData& data, QSize size, bool ruler);
// The picture as an SVG drawing, text as text and the series as one path.
QByteArray RenderPictureSvg(const CPictureData& data, QSize size, bool ruler);

// Writes the picture to path in the format of its extension, through a
// temporary file renamed over the target only once complete. On failure the
// target is left as it was and error holds the reason.
bool ExportPicture(const QString& path, const CPictureData& data, const CPictureExportSettings& settings,
                   QString& error);

// Prints the picture on one page of the printer, as large as the page allows
// with the proportions of a picture of the given size kept, centred. Text
// and pens keep their proportions to the picture; the series and the H curve
// are traced at the page's own resolution. False when the printer could not
// start.
bool PrintPicture(QPrinter& printer, const CPictureData& data, QSize size);
