#pragma once

#include <QIcon>

#include "views/CommandTable.h"

// The toolbar's button images, 16 by 15 pixels, drawn by the program.
QIcon ToolbarIcon(CommandIcon icon);
// The application's and the document's icon.
QIcon ApplicationIcon();
