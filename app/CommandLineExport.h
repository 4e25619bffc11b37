#pragma once

#include "app/CommandLine.h"

// kestrin --export-picture: loads the document (or imports the text file)
// the command line names, draws its picture at the size asked and writes it
// to the output file, without showing a window. Messages go to standard
// error. Returns the process's exit status: 0 when the file was written,
// 1 otherwise. Needs the application object, on any platform.
int ExportPictureFromCommandLine(const CCommandLine& line);
