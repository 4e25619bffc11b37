// kestrin: the workbench. Opens the document named on the command line, or
// imports a text file with --import-text FILE, or starts with a new document.
#include <QApplication>

#include "KestrinApp.h"

int main(int argc, char** argv)
{
    QApplication qtApp(argc, argv);
    CKestrinApp app;
    if (!app.InitInstance(QApplication::arguments().mid(1)))
        return 1;
    return QApplication::exec();
}
