// kestrin: the workbench. Opens the document named on the command line, or
// imports a text file with --import-text FILE, or starts with a new document;
// with --export-picture it writes the document's picture to a file and ends
// without a window.
#include <cstdio>
#include <cstring>

#include <QApplication>

#include "app/CommandLine.h"
#include "app/CommandLineExport.h"
#include "app/KestrinApp.h"
#include "platform/SafeFile.h"

namespace {

bool HasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

} // namespace

int main(int argc, char** argv)
{
    IgnoreFileSizeLimitSignal();
    // Help needs no display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(CommandLineUsage(), stdout);
            return 0;
        }
    }
    // A picture export draws off the screen and needs no display; the
    // workbench does, and says so instead of letting Qt abort.
    const bool exporting = AsksForPictureExport(argc, argv);
    if (exporting && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!exporting && !HasDisplay()) {
        std::fputs("kestrin: no display to show the workbench on (DISPLAY and WAYLAND_DISPLAY are not set)\n",
                   stderr);
        return 1;
    }
    QApplication qtApp(argc, argv);
    // Qt has taken its own options out of the arguments by now.
    const QStringList arguments = QApplication::arguments().mid(1);
    const CCommandLine line = ParseCommandLine(arguments);
    if (!line.error.isEmpty()) {
        std::fprintf(stderr, "kestrin: %s\n\n%s", qPrintable(line.error), CommandLineUsage());
        // An export reports every failure with status 1.
        return exporting ? 1 : 2;
    }
    if (!line.exportPicture.isEmpty())
        return ExportPictureFromCommandLine(line);
    CKestrinApp app;
    if (!app.InitInstance(arguments))
        return 1;
    return QApplication::exec();
}
