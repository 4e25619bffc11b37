#include "app/CommandLine.h"

#include <cstring>

#include <QRegularExpression>

#include "views/PictureExport.h"

namespace {

constexpr const char* kExportOption = "--export-picture";

// "WxH" with each side from 1 to the largest picture side.
bool ParseSize(const QString& text, QSize& size)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,5})[xX](\\d{1,5})$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return false;
    const int w = match.captured(1).toInt();
    const int h = match.captured(2).toInt();
    if (w < 1 || h < 1 || w > kMaxPictureSide || h > kMaxPictureSide)
        return false;
    size = QSize(w, h);
    return true;
}

} // namespace

bool AsksForPictureExport(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], kExportOption) == 0)
            return true;
    return false;
}

CCommandLine ParseCommandLine(const QStringList& arguments)
{
    CCommandLine line;
    bool sizeGiven = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            line.help = true;
        } else if (arg == QLatin1String(kExportOption)) {
            if (i + 1 >= arguments.size() || !line.exportPicture.isEmpty()) {
                line.error = QStringLiteral("--export-picture needs one output file");
                return line;
            }
            line.exportPicture = arguments[++i];
        } else if (arg == QLatin1String("--size")) {
            if (i + 1 >= arguments.size() || !ParseSize(arguments[i + 1], line.pictureSize)) {
                line.error = QStringLiteral("--size needs WIDTHxHEIGHT, each from 1 to %1").arg(kMaxPictureSide);
                return line;
            }
            ++i;
            sizeGiven = true;
        } else if (arg == QLatin1String("--axis-scales")) {
            line.axisScales = true;
        } else if (arg == QLatin1String("--import-text")) {
            if (i + 1 >= arguments.size() || !line.importText.isEmpty()) {
                line.error = QStringLiteral("--import-text needs one text file");
                return line;
            }
            line.importText = arguments[++i];
        } else if (arg.startsWith(QLatin1Char('-')) && arg != QLatin1String("-")) {
            line.error = QStringLiteral("unknown option %1").arg(arg);
            return line;
        } else if (line.document.isEmpty()) {
            line.document = arg;
        } else {
            line.error = QStringLiteral("only one document can be named");
            return line;
        }
    }
    if (line.exportPicture.isEmpty() && (sizeGiven || line.axisScales)) {
        line.error = QStringLiteral("--size and --axis-scales go with --export-picture");
    } else if (!line.exportPicture.isEmpty() && line.document.isEmpty() == line.importText.isEmpty()) {
        line.error = QStringLiteral("--export-picture needs one document or one --import-text file");
    } else if (!line.exportPicture.isEmpty() && !PictureFormatOf(line.exportPicture)) {
        line.error = QStringLiteral("the picture's name must end in .png, .svg or .pdf");
    }
    return line;
}

const char* CommandLineUsage()
{
    return "usage: kestrin [FILE.kst]\n"
           "       kestrin --import-text FILE\n"
           "       kestrin --export-picture OUT [--size WxH] [--axis-scales] (FILE.kst | --import-text FILE)\n"
           "\n"
           "Opens the Kestrin document FILE.kst, or imports FILE (one number per\n"
           "line) into a new document, or starts with a new, empty document.\n"
           "\n"
           "--export-picture writes the document's picture to OUT, a PNG image,\n"
           "SVG drawing or PDF document by its extension, and ends without a\n"
           "window (no display needed). --size gives the picture's size in pixels\n"
           "(default 1024x768); --axis-scales adds ticks, numbers, a grid and an\n"
           "H scale.\n";
}
