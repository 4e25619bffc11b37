#include "CommandLine.h"

CCommandLine ParseCommandLine(const QStringList& arguments)
{
    CCommandLine line;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            line.help = true;
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
    return line;
}

const char* CommandLineUsage()
{
    return "usage: kestrin [FILE.kst]\n"
           "       kestrin --import-text FILE\n"
           "\n"
           "Opens the Kestrin document FILE.kst, or imports FILE (one number per\n"
           "line) into a new document, or starts with a new, empty document.\n";
}
