#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

// What the workbench was asked to do at start-up:
//   kestrin [FILE.kst]
//   kestrin --import-text FILE
//   kestrin --export-picture OUT [--size WxH] [--axis-scales] (FILE.kst | --import-text FILE)
struct CCommandLine
{
    QString document;   // a document to open
    QString importText; // a text file to import into a new document
    // Not empty: write the picture of the document to this file and end,
    // without a window.
    QString exportPicture;
    QSize pictureSize{1024, 768};
    bool axisScales = false;
    bool help = false;
    QString error; // not empty: the arguments could not be understood
};

CCommandLine ParseCommandLine(const QStringList& arguments);
// Whether the raw arguments ask for a picture export (before Qt has seen
// them: the export chooses a platform without a display).
bool AsksForPictureExport(int argc, char** argv);
const char* CommandLineUsage();
