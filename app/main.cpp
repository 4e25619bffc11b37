// kestrin: the workbench. Opens the document named on the command line, or
// imports a text file with --import-text FILE, or starts with a new document.
#include <cstdio>
#include <cstring>

#include <QApplication>

#include "CommandLine.h"
#include "KestrinApp.h"
#include "SafeFile.h"

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
    QApplication qtApp(argc, argv);
    // Qt has taken its own options out of the arguments by now.
    const QStringList arguments = QApplication::arguments().mid(1);
    const CCommandLine line = ParseCommandLine(arguments);
    if (!line.error.isEmpty()) {
        std::fprintf(stderr, "kestrin: %s\n\n%s", qPrintable(line.error), CommandLineUsage());
        return 2;
    }
    CKestrinApp app;
    if (!app.InitInstance(arguments))
        return 1;
    return QApplication::exec();
}
