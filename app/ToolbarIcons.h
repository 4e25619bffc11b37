#pragma once

#include <QIcon>

// The toolbar's button images, 16 by 15 pixels, drawn by the program.
QIcon ToolbarIcon(int commandId);
// The application's and the document's icon.
QIcon ApplicationIcon();
