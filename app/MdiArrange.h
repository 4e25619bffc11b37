#pragma once

#include <QSize>

class QMdiArea;

// The Window menu's arrangements of the document windows inside the main
// window's area. Minimised windows keep their places along the bottom.

// Room for the windows: the whole area, as if it showed no scroll bars.
// Right as soon as the area has its size, before it is first shown.
QSize ArrangeRoom(const QMdiArea& area);

// The height by which each cascaded window steps down and right: one title
// bar.
int CascadeStep(const QMdiArea& area);

// Tile: the windows stacked one above the other, each the full width of the
// area, the topmost first.
void TileHorizontally(QMdiArea& area);

// Cascade: each window two thirds of the area's width and height, each one
// title bar down and right from the one below it, starting again at the
// top-left corner before one would leave the area. The stacking order stays.
void CascadeWindows(QMdiArea& area);
