#pragma once

#include <functional>
#include <optional>

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include "platform/UiServices.h"

class QPainter;

// Pictures written out as PNG images, SVG drawings and PDF documents,
// whatever draws them: the document window's picture and the fit plot.
enum class PictureFormat { png, svg, pdf };

// The filters of a file dialog that asks for a picture, in the order offered.
inline constexpr const char* kPictureFilters = "PNG Image (*.png);;SVG Drawing (*.svg);;PDF Document (*.pdf)";

// The file dialog that asks where to write a picture: the three formats, PNG
// first, the overwrite prompt, and the folder last used for exports.
FileDialogOptions PictureFileOptions(const std::string& title);

// The largest side a picture may have.
constexpr int kMaxPictureSide = 10000;

// The format a file name asks for by its extension (any case); none for
// another extension.
std::optional<PictureFormat> PictureFormatOf(const QString& path);

// Draws a picture into an area of the given size at (0, 0), filling it.
// vector: the device is an SVG drawing or a PDF page, where each line should
// be one element and text stays text; otherwise an image.
using PictureDrawer = std::function<void(QPainter& painter, QSize size, bool vector)>;

struct CPictureFileSettings
{
    QSize size;    // in pixels (points of 1/96 inch in vector files)
    int dpi = 96;  // written into a PNG image
    QString title; // of an SVG drawing
};

// The picture as an image of the given size; null when it cannot be had.
QImage DrawPictureImage(QSize size, const PictureDrawer& draw);
// The picture as an SVG drawing; empty when it could not be drawn.
QByteArray DrawPictureSvg(QSize size, const QString& title, const PictureDrawer& draw);

// Writes the picture to path in the format of its extension, through a
// temporary file renamed over the target only once complete. On failure the
// target is left as it was and error holds the reason.
bool WritePictureFile(const QString& path, const CPictureFileSettings& settings, const PictureDrawer& draw,
                      QString& error);
