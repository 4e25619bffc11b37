#pragma once

#include <vector>

#include <QPainter>
#include <QPoint>

// Lines cut to the area they are drawn in before they reach the painter: a
// file format that ignores the painter's clip (SVG) then holds the same marks
// as the window, the image and the printed page. A line wholly inside is
// drawn exactly as it is given.

// columns: the columns are cut to 0..w as well, for a zoomed picture whose
// marks reach beyond the area's sides.

// A horizontal line one pixel wide at row y from column x0 to x1; nothing
// when the row lies outside the w by h area's rows 0..h-1.
void DrawClippedHLine(QPainter& painter, int w, int h, int x0, int x1, int y, bool columns = false);

// The polyline's parts within the w by h area's rows 0..h-1, each drawn as a
// polyline of its own.
void DrawClippedPolyline(QPainter& painter, int w, int h, const std::vector<QPoint>& vertices, bool columns = false);
