#pragma once

#include <QColor>
#include <QPainter>

#include "views/HGraphRender.h"

namespace hcurve {
inline const QColor kCurveColour(0, 255, 0);
// The extent of H within a pixel column, under the curve of its medians.
inline const QColor kExtentColour(170, 255, 170);
} // namespace hcurve

// The sliding-window H curve of the H graph in a w by h area at (0, 0).
//
// While the windows shown fit the area's columns (no more windows than
// columns), the curve joins every result, in the order of the document's
// list, as it always has. With more windows than columns, each column shows
// the extent (lowest to highest H) of its windows in a lighter green, and
// the curve joins the columns' medians, so that it stays a curve on a long
// series. Zoomed (the data's shown range), only the windows shown and their
// neighbours beyond the edges are drawn when their positions ascend.
//
// reduce: the joined curve keeps only the vertices that shape each pixel
// column, clipped to the area (for files). detail: the curve is traced at
// that many times the area's resolution.
void DrawHCurve(QPainter& painter, int w, int h, const CHGraphData& data, bool reduce, double detail);
