#pragma once

#include <QString>
#include <QStringList>

// What the workbench was asked to do at start-up:
//   kestrin [FILE.kst]
//   kestrin --import-text FILE
struct CCommandLine
{
    QString document;   // a document to open
    QString importText; // a text file to import into a new document
    bool help = false;
    QString error; // not empty: the arguments could not be understood
};

CCommandLine ParseCommandLine(const QStringList& arguments);
const char* CommandLineUsage();
