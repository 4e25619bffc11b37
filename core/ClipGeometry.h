#pragma once

#include <vector>

// Lines clipped to a rectangle before they are drawn, so that every device
// shows the same marks whether or not it honours a painter's clip (an SVG
// file keeps everything drawn). Coordinates are pixels as floating point.

struct CClipPoint
{
    double x = 0;
    double y = 0;
    friend bool operator==(const CClipPoint&, const CClipPoint&) = default;
};

// The rectangle kept, edges included: left..right by top..bottom. For an
// area of w by h pixels drawn with one-pixel lines at whole coordinates this
// is 0..w-1 by 0..h-1, the rows and columns the area shows.
struct CClipBox
{
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

// Liang-Barsky: shortens the segment a-b to its part inside the box and
// returns true, or returns false when no part of it is inside (the points
// are then left as they were). An end inside the box is left bit for bit.
// A NaN coordinate gives false.
bool ClipSegment(const CClipBox& box, CClipPoint& a, CClipPoint& b);

// The polyline's parts inside the box, in order: a new part starts wherever
// the line comes back into the box. A part has at least two points; a single
// point inside the box is one part of one point.
std::vector<std::vector<CClipPoint>> ClipPolyline(const CClipBox& box, const std::vector<CClipPoint>& points);
