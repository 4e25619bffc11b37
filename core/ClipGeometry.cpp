#include "core/ClipGeometry.h"

#include <cmath>

namespace {

bool Inside(const CClipBox& box, const CClipPoint& p)
{
    return p.x >= box.left && p.x <= box.right && p.y >= box.top && p.y <= box.bottom;
}

// The parameters t0 <= t1 along a + t (b - a) of the part inside the box;
// false when there is none.
bool ClipParameters(const CClipBox& box, const CClipPoint& a, const CClipPoint& b, double& t0, double& t1)
{
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    if (!std::isfinite(dx) || !std::isfinite(dy))
        return false;
    t0 = 0.0;
    t1 = 1.0;
    // Each edge as p t <= q.
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - box.left, box.right - a.x, a.y - box.top, box.bottom - a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0) {
            if (t > t1)
                return false;
            if (t > t0)
                t0 = t;
        } else {
            if (t < t0)
                return false;
            if (t < t1)
                t1 = t;
        }
    }
    return true;
}

CClipPoint At(const CClipPoint& a, const CClipPoint& b, double t)
{
    return {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
}

} // namespace

bool ClipSegment(const CClipBox& box, CClipPoint& a, CClipPoint& b)
{
    double t0 = 0.0;
    double t1 = 1.0;
    if (!ClipParameters(box, a, b, t0, t1))
        return false;
    const CClipPoint from = a;
    const CClipPoint to = b;
    if (t0 > 0.0)
        a = At(from, to, t0);
    if (t1 < 1.0)
        b = At(from, to, t1);
    return true;
}

std::vector<std::vector<CClipPoint>> ClipPolyline(const CClipBox& box, const std::vector<CClipPoint>& points)
{
    std::vector<std::vector<CClipPoint>> parts;
    if (points.size() == 1) {
        if (Inside(box, points.front()))
            parts.push_back(points);
        return parts;
    }
    // Whether the last part ends at the start of the next segment.
    bool open = false;
    for (std::size_t i = 1; i < points.size(); ++i) {
        CClipPoint a = points[i - 1];
        CClipPoint b = points[i];
        double t0 = 0.0;
        double t1 = 1.0;
        if (!ClipParameters(box, a, b, t0, t1)) {
            open = false;
            continue;
        }
        if (!open || t0 > 0.0) {
            parts.push_back({t0 > 0.0 ? At(a, b, t0) : a});
        }
        parts.back().push_back(t1 < 1.0 ? At(a, b, t1) : b);
        open = t1 >= 1.0;
    }
    return parts;
}
