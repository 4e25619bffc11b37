#include "views/ClippedLines.h"

#include <limits>

#include <QPolygonF>

#include "core/ClipGeometry.h"

namespace {

// The rows a w by h area shows of a line one pixel wide. Its columns are
// left alone: the X scale keeps every mark within the area's width, so a
// line inside is drawn with exactly the points it was given.
CClipBox AreaBox(int w, int h, bool columns)
{
    constexpr double kEndless = std::numeric_limits<double>::infinity();
    if (columns)
        return {0.0, 0.0, static_cast<double>(w), h - 1.0};
    return {-kEndless, 0.0, kEndless, h - 1.0};
}

} // namespace

void DrawClippedHLine(QPainter& painter, int w, int h, int x0, int x1, int y, bool columns)
{
    CClipPoint a{static_cast<double>(x0), static_cast<double>(y)};
    CClipPoint b{static_cast<double>(x1), static_cast<double>(y)};
    if (ClipSegment(AreaBox(w, h, columns), a, b))
        painter.drawLine(QPoint(static_cast<int>(a.x), y), QPoint(static_cast<int>(b.x), y));
}

void DrawClippedPolyline(QPainter& painter, int w, int h, const std::vector<QPoint>& vertices, bool columns)
{
    std::vector<CClipPoint> points;
    points.reserve(vertices.size());
    for (const QPoint& v : vertices)
        points.push_back({static_cast<double>(v.x()), static_cast<double>(v.y())});
    const std::vector<std::vector<CClipPoint>> parts = ClipPolyline(AreaBox(w, h, columns), points);
    if (parts.size() == 1 && parts.front() == points) {
        painter.drawPolyline(vertices.data(), static_cast<int>(vertices.size()));
        return;
    }
    for (const std::vector<CClipPoint>& part : parts) {
        QPolygonF line;
        line.reserve(static_cast<qsizetype>(part.size()));
        for (const CClipPoint& p : part)
            line.append(QPointF(p.x, p.y));
        painter.drawPolyline(line);
    }
}
