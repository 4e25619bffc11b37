#include "PictureExport.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <QSvgGenerator>

namespace {

// Vector files count in units of 1/96 inch, the pixels of the screen's
// picture, so that text and lines keep the window's proportions.
constexpr int kVectorDpi = 96;

CPictureOptions Options(bool ruler, bool onePath)
{
    CPictureOptions options;
    options.ruler = ruler;
    options.onePath = onePath;
    return options;
}

bool WriteSvg(QIODevice& device, const CPictureData& data, QSize size, bool ruler)
{
    QSvgGenerator svg;
    svg.setOutputDevice(&device);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setResolution(kVectorDpi);
    svg.setTitle(QStringLiteral("Kestrin picture"));
    QPainter painter;
    if (!painter.begin(&svg))
        return false;
    DrawPicture(painter, size.width(), size.height(), data, Options(ruler, true));
    return painter.end();
}

bool WritePdf(QIODevice& device, const CPictureData& data, QSize size, bool ruler)
{
    QPdfWriter pdf(&device);
    pdf.setCreator(QStringLiteral("Kestrin"));
    pdf.setResolution(kVectorDpi);
    const QSizeF points(size.width() * 72.0 / kVectorDpi, size.height() * 72.0 / kVectorDpi);
    pdf.setPageSize(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter;
    if (!painter.begin(&pdf))
        return false;
    DrawPicture(painter, size.width(), size.height(), data, Options(ruler, true));
    return painter.end();
}

bool WritePng(QIODevice& device, const CPictureData& data, QSize size, int dpi, bool ruler)
{
    QImage image = RenderPictureImage(data, size, ruler);
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

QImage RenderPictureImage(const CPictureData& data, QSize size, bool ruler)
{
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    QPainter painter(&image);
    DrawPicture(painter, size.width(), size.height(), data, Options(ruler, false));
    return image;
}

QByteArray RenderPictureSvg(const CPictureData& data, QSize size, bool ruler)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!WriteSvg(buffer, data, size, ruler))
        return QByteArray();
    return bytes;
}

bool ExportPicture(const QString& path, const CPictureData& data, const CPictureExportSettings& settings,
                   QString& error)
{
    const std::optional<PictureFormat> format = PictureFormatOf(path);
    if (!format) {
        error = QStringLiteral("the name must end in .png, .svg or .pdf");
        return false;
    }
    const QSize size = settings.size;
    if (size.width() < 1 || size.height() < 1 || size.width() > kMaxPictureSide ||
        size.height() > kMaxPictureSide) {
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
    case PictureFormat::png: drawn = WritePng(file, data, size, settings.dpi, settings.ruler); break;
    case PictureFormat::svg: drawn = WriteSvg(file, data, size, settings.ruler); break;
    case PictureFormat::pdf: drawn = WritePdf(file, data, size, settings.ruler); break;
    }
    if (!drawn || file.error() != QFileDevice::NoError) {
        error = file.error() != QFileDevice::NoError ? file.errorString() : QStringLiteral("the picture could not be drawn");
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

bool PrintPicture(QPrinter& printer, const CPictureData& data, QSize size)
{
    QPainter painter;
    if (size.isEmpty() || !painter.begin(&printer))
        return false;
    // The printer's page in its own units; the picture is drawn at its own
    // size and scaled to fit, so that text and lines keep their proportions.
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const QRectF area(0, 0, page.width(), page.height());
    const double scale = std::min(area.width() / size.width(), area.height() / size.height());
    painter.translate((area.width() - size.width() * scale) / 2, (area.height() - size.height() * scale) / 2);
    painter.scale(scale, scale);
    DrawPicture(painter, size.width(), size.height(), data, Options(false, true));
    return painter.end();
}
