#include "platform/ui/PictureFile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

namespace {

// Vector files count in units of 1/96 inch, the pixels of the screen's
// picture, so that text and lines keep the window's proportions.
constexpr int kVectorDpi = 96;

bool DrawInto(QPaintDevice& device, QSize size, bool vector, const PictureDrawer& draw)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    draw(painter, size, vector);
    return painter.end();
}

bool WriteSvg(QIODevice& device, QSize size, const QString& title, const PictureDrawer& draw)
{
    QSvgGenerator svg;
    svg.setOutputDevice(&device);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setResolution(kVectorDpi);
    svg.setTitle(title);
    return DrawInto(svg, size, true, draw);
}

bool WritePdf(QIODevice& device, QSize size, const QString& title, const PictureDrawer& draw)
{
    QPdfWriter pdf(&device);
    pdf.setCreator(QStringLiteral("Kestrin"));
    pdf.setTitle(title);
    pdf.setResolution(kVectorDpi);
    const QSizeF points(size.width() * 72.0 / kVectorDpi, size.height() * 72.0 / kVectorDpi);
    pdf.setPageSize(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    return DrawInto(pdf, size, true, draw);
}

bool WritePng(QIODevice& device, QSize size, int dpi, const PictureDrawer& draw)
{
    QImage image = DrawPictureImage(size, draw);
    if (image.isNull())
        return false;
    // Set after drawing: the resolution of an image also sizes its text.
    const int dotsPerMeter = qRound(dpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image.save(&device, "PNG");
}

} // namespace

std::optional<PictureFormat> PictureFormatOf(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png"))
        return PictureFormat::png;
    if (suffix == QLatin1String("svg"))
        return PictureFormat::svg;
    if (suffix == QLatin1String("pdf"))
        return PictureFormat::pdf;
    return std::nullopt;
}

FileDialogOptions PictureFileOptions(const std::string& title)
{
    FileDialogOptions options;
    options.title = title;
    options.defaultExtension = ".png";
    options.filter = kPictureFilters;
    options.allFilesFilter = false;
    options.overwritePrompt = true;
    options.kind = FileKind::exports;
    return options;
}

QImage DrawPictureImage(QSize size, const PictureDrawer& draw)
{
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull() || !DrawInto(image, size, false, draw))
        return QImage();
    return image;
}

QByteArray DrawPictureSvg(QSize size, const QString& title, const PictureDrawer& draw)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!WriteSvg(buffer, size, title, draw))
        return QByteArray();
    return bytes;
}

bool WritePictureFile(const QString& path, const CPictureFileSettings& settings, const PictureDrawer& draw,
                      QString& error)
{
    const std::optional<PictureFormat> format = PictureFormatOf(path);
    if (!format) {
        error = QStringLiteral("the name must end in .png, .svg or .pdf");
        return false;
    }
    const QSize size = settings.size;
    if (size.width() < 1 || size.height() < 1 || size.width() > kMaxPictureSide || size.height() > kMaxPictureSide) {
        error = QStringLiteral("the size must be from 1 to %1 pixels each way").arg(kMaxPictureSide);
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    bool drawn = false;
    switch (*format) {
    case PictureFormat::png: drawn = WritePng(file, size, settings.dpi, draw); break;
    case PictureFormat::svg: drawn = WriteSvg(file, size, settings.title, draw); break;
    case PictureFormat::pdf: drawn = WritePdf(file, size, settings.title, draw); break;
    }
    if (!drawn || file.error() != QFileDevice::NoError) {
        error = file.error() != QFileDevice::NoError ? file.errorString()
                                                     : QStringLiteral("the picture could not be drawn");
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}
