#include "app/CommandLineExport.h"

#include <cstdio>

#include <QFileInfo>

#include "platform/HeadlessUi.h"
#include "document/KestrinDoc.h"
#include "views/KestrinView.h"
#include "views/PictureExport.h"

int ExportPictureFromCommandLine(const CCommandLine& line)
{
    // The document's own messages (a file it cannot read) go to standard
    // error as they are said.
    CHeadlessUi ui(true);
    CKestrinDoc doc(ui);
    const QString source = line.document.isEmpty() ? line.importText : line.document;
    const std::string sourcePath = QFileInfo(source).absoluteFilePath().toStdString();
    const bool loaded = line.document.isEmpty() ? doc.ImportTextFile(sourcePath, 0, 0, false)
                                                : doc.OnOpenDocument(sourcePath);
    if (!loaded) {
        std::fprintf(stderr, "kestrin: cannot read %s\n", qPrintable(source));
        return 1;
    }
    if (!doc.m_bHasData) {
        std::fprintf(stderr, "kestrin: %s holds no series to draw\n", qPrintable(source));
        return 1;
    }

    // A view that is never shown lays out and draws the picture as a window
    // of the size asked would.
    CKestrinView view(doc);
    view.resize(line.pictureSize);
    view.SetAxisScales(line.axisScales);
    view.OnInitialUpdate();

    CPictureExportSettings settings;
    settings.size = line.pictureSize;
    QString error;
    if (!ExportPicture(line.exportPicture, view.PictureData(), settings, error)) {
        std::fprintf(stderr, "kestrin: cannot export the picture to %s: %s\n", qPrintable(line.exportPicture),
                     qPrintable(error));
        return 1;
    }
    return 0;
}
