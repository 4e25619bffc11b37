#include "views/SeriesGraphRender.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <ranges>

#include <QLine>
#include <QPen>
#include <QString>

#include "views/AxisScales.h"
#include "views/ClippedLines.h"
#include "views/ColumnRuns.h"
#include "views/FineArea.h"
#include "core/Format.h"
#include "core/PlotMapping.h"
#include "core/WorkSplit.h"

namespace {

// ValueToPixel of the mapping functions for one rectangle, with the
// per-rectangle terms taken out of the loop. Each pixel is computed with the
// same operations in the same order (l + (x - xmin) / span * (r - l), and
// b - (y - ymin) / span * (b - t)), so the results are bit for bit those of
// ValueToPixelX and ValueToPixelY.
class CPointMapper
{
public:
    CPointMapper(const CPlotRect& r, const CPlotExtents& e)
        : m_xMin(e.m_dXMin), m_xSpan(e.m_dXMax - e.m_dXMin), m_yMin(e.m_dYMin), m_ySpan(e.m_dYMax - e.m_dYMin),
          m_left(r.left), m_width(r.right - r.left), m_bottom(r.bottom), m_height(r.bottom - r.top),
          m_leftPx(r.left), m_bottomPx(r.bottom), m_xFlat(m_xSpan == 0.0), m_yFlat(m_ySpan == 0.0)
    {
    }

    int X(double x) const { return m_xFlat ? m_leftPx : TruncateToPixel(m_left + (x - m_xMin) / m_xSpan * m_width); }
    int Y(double y) const { return m_yFlat ? m_bottomPx : TruncateToPixel(m_bottom - (y - m_yMin) / m_ySpan * m_height); }

private:
    double m_xMin, m_xSpan, m_yMin, m_ySpan;
    double m_left, m_width, m_bottom, m_height;
    int m_leftPx, m_bottomPx;
    bool m_xFlat, m_yFlat;
};

// Gathers the runs of count points: the loop every point of the series goes
// through.
void ReduceBlock(const double* xs, const double* ys, int count, const CPointMapper& map, std::vector<CColumnRun>& out)
{
    out.clear();
    if (count <= 0)
        return;
    CColumnRun run = SingleRun(map.X(xs[0]), map.Y(ys[0]));
    for (int i = 1; i < count; ++i) {
        const int px = map.X(xs[i]);
        const int py = map.Y(ys[i]);
        if (px == run.col) {
            run.lo = std::min(run.lo, py);
            run.hi = std::max(run.hi, py);
            run.last = py;
            run.multi = true;
        } else {
            out.push_back(run);
            run = SingleRun(px, py);
        }
    }
    out.push_back(run);
}

// Blocks of points reduced in parallel; memory stays bounded by the block
// size whatever the shape of the series.
constexpr int kBlockSize = 1 << 20;
// Below this many points one thread is quicker than starting others.
constexpr int kParallelThreshold = 1 << 18;

// At most 8 blocks at a time, which bounds the runs held before joining.
int WorkerCount(int count)
{
    if (count < kParallelThreshold)
        return 1;
    return static_cast<int>(std::min(WorkerLimit(), 8u));
}

// Walks the series line of a w by h area, handing each vertex to the sink in
// drawing order.
// The line starts on the left edge: at the bottom-left corner when the
// first point lies on the left edge, otherwise at the first point's height.
// Zoomed (startAnywhere false), only when the first point lies within or
// right of the range shown: elsewhere the edge is not the series' start.
std::optional<QPoint> StartVertex(const CSeriesPoint& first, const CPointMapper& map, const CPlotRect& rect,
                                  bool startAnywhere)
{
    const int firstX = map.X(first.m_dX);
    if (!startAnywhere && firstX < rect.left)
        return std::nullopt;
    const int firstY = map.Y(first.m_dY);
    return firstX != rect.left ? QPoint(rect.left, firstY) : QPoint(rect.left, rect.bottom);
}

template <class Sink>
void WalkSeries(const CSeriesArray& points, const CPlotExtents& extents, int w, int h, bool reduce, Sink& sink,
                bool startAnywhere = true)
{
    const int count = points.GetSize();
    if (count == 0)
        return;
    const CPlotRect rect{0, 0, w, h};
    const CPointMapper map(rect, extents);
    const double* xs = points.Xs();
    const double* ys = points.Ys();
    const std::optional<QPoint> start = StartVertex(points[0], map, rect, startAnywhere);

    if (!reduce) {
        if (start)
            sink.Add(*start);
        for (int i = 0; i < count; ++i)
            sink.Add(QPoint(map.X(xs[i]), map.Y(ys[i])));
        return;
    }

    CRunJoiner<Sink> joiner(sink);
    if (start)
        joiner.Add(SingleRun(start->x(), start->y()));

    const int workers = WorkerCount(count);
    std::vector<std::vector<CColumnRun>> runs(static_cast<std::size_t>(workers));
    for (int batch = 0; batch < count;) {
        // One block per worker, joined in order.
        const int left = count - batch;
        const int used = std::min(workers, (left + kBlockSize - 1) / kBlockSize);
        CWorkSplit(used, static_cast<unsigned>(used)).Run([&](std::int64_t item, unsigned) {
            const int begin = batch + static_cast<int>(item) * kBlockSize;
            ReduceBlock(xs + begin, ys + begin, std::min(kBlockSize, count - begin), map, runs[static_cast<std::size_t>(item)]);
        });
        for (int t = 0; t < used; ++t) {
            for (const CColumnRun& run : runs[static_cast<std::size_t>(t)])
                joiner.Add(run);
        }
        batch += std::min(left, used * kBlockSize);
    }
    joiner.Finish();
}

bool FinitePositive(double span)
{
    return span > 0.0 && span < std::numeric_limits<double>::infinity();
}

// The zoomed walk over a summary of points whose X ascends: the points of
// each column drawn are found by binary search and the column's run is made
// from their Y extremes. The runs equal those of the walk through every
// point, since a pixel's column and row never decrease (or increase) as X
// (or Y) grows. Columns further than margin beyond the area's edges are
// left out but for the vertex next to the first and the last column drawn.
// False, with nothing walked, where the mapping is not monotone.
template <class Sink>
bool WalkSeriesColumns(const CSeriesArray& points, const CSeriesSummary& summary, const CPlotExtents& shown, int w,
                       int h, int margin, Sink& sink)
{
    if (!summary.Describes(points) || !summary.XAscending() || !FinitePositive(shown.m_dXMax - shown.m_dXMin) ||
        !FinitePositive(shown.m_dYMax - shown.m_dYMin) || !std::isfinite(shown.m_dXMin) ||
        !std::isfinite(shown.m_dYMin))
        return false;
    const int count = points.GetSize();
    if (count == 0)
        return true;
    const CPlotRect rect{0, 0, w, h};
    const CPointMapper map(rect, shown);
    const double* xs = points.Xs();
    const double* ys = points.Ys();
    const auto column = [&](int i) { return map.X(xs[i]); };
    const auto row = [&](int i) { return map.Y(ys[i]); };
    // The first point from `from` on whose column is at least c.
    const auto firstFrom = [&](int from, int c) {
        return *std::ranges::partition_point(std::views::iota(from, count), [&](int i) { return column(i) < c; });
    };
    const int begin = firstFrom(0, rect.left - margin);
    const int end = firstFrom(begin, rect.right + margin + 1);

    CRunJoiner<Sink> joiner(sink);
    if (begin == 0) {
        if (const std::optional<QPoint> start = StartVertex(points[0], map, rect, false))
            joiner.Add(SingleRun(start->x(), start->y()));
    } else {
        joiner.Add(SingleRun(column(begin - 1), row(begin - 1)));
    }
    for (int i = begin; i < end;) {
        const int col = column(i);
        const int next = firstFrom(i + 1, col + 1);
        CColumnRun run = SingleRun(col, row(i));
        if (next - i > 1) {
            const CSeriesSummary::Extremes e = summary.YExtremes(i, next);
            // Rows grow downward: the highest Y has the lowest row. A NaN Y
            // has row 0.
            run.lo = e.empty ? 0 : map.Y(e.hi);
            run.hi = e.empty ? 0 : map.Y(e.lo);
            if (e.nan) {
                run.lo = std::min(run.lo, 0);
                run.hi = std::max(run.hi, 0);
            }
            run.last = row(next - 1);
            run.multi = true;
        }
        joiner.Add(run);
        i = next;
    }
    if (end < count)
        joiner.Add(SingleRun(column(end), row(end)));
    joiner.Finish();
    return true;
}

// Columns beyond the area's edges that a pen of that width can still reach
// into, with room to spare.
int PenMargin(double penWidth)
{
    return 4 + static_cast<int>(std::ceil(std::max(penWidth, 0.0)));
}

// The series line of the data in a w by h area: the whole series as ever,
// or the zoomed range (through its summary where it serves).
template <class Sink>
void WalkPicture(const CSeriesGraphData& data, int w, int h, bool reduce, double penWidth, Sink& sink)
{
    if (!data.shown) {
        WalkSeries(*data.points, data.extents, w, h, reduce, sink);
        return;
    }
    if (reduce && data.summary &&
        WalkSeriesColumns(*data.points, *data.summary, *data.shown, w, h, PenMargin(penWidth), sink))
        return;
    WalkSeries(*data.points, *data.shown, w, h, reduce, sink, false);
}

// Draws the line through the vertices, segment by segment, in batches.
class CLineSink
{
public:
    explicit CLineSink(QPainter& painter) : m_painter(painter) { m_lines.reserve(kBatch); }
    ~CLineSink() { Flush(); }
    CLineSink(const CLineSink&) = delete;
    CLineSink& operator=(const CLineSink&) = delete;

    void Add(const QPoint& pt)
    {
        if (m_hasPen) {
            m_lines.emplace_back(m_pen, pt);
            if (m_lines.size() == kBatch)
                Flush();
        }
        m_pen = pt;
        m_hasPen = true;
    }

    void Flush()
    {
        if (!m_lines.empty())
            m_painter.drawLines(m_lines.data(), static_cast<int>(m_lines.size()));
        m_lines.clear();
    }

private:
    static constexpr std::size_t kBatch = 4096;
    QPainter& m_painter;
    std::vector<QLine> m_lines;
    QPoint m_pen;
    bool m_hasPen = false;
};

QPen SolidPen(const QColor& color, int width)
{
    QPen pen(color, width, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
    return pen;
}

} // namespace

std::string SeriesGraphLabel(double h, double r, int n)
{
    return "H: " + FormatFixed(h, 2) + ", r: " + FormatFixed(r, 2) + ", n: " + std::to_string(n);
}

std::vector<QPoint> SeriesGraphPath(const CSeriesArray& points, const CPlotExtents& extents, int w, int h, bool reduce)
{
    CPathSink sink;
    WalkSeries(points, extents, w, h, reduce, sink);
    return std::move(sink.vertices);
}

std::vector<QPoint> SeriesGraphPath(const CSeriesGraphData& data, int w, int h, double penWidth)
{
    CPathSink sink;
    if (data.points)
        WalkPicture(data, w, h, true, penWidth, sink);
    return std::move(sink.vertices);
}

void DrawSeriesGraph(QPainter& painter, int w, int h, const CSeriesGraphData& data, bool reduce, bool onePath,
                     double detail)
{
    using namespace seriesgraph;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setBrush(Qt::NoBrush);

    if (data.axisScales)
        DrawAxisGrid(painter, w, h, data.Shown());

    // Axes: the Y axis on the left edge, the X axis on the bottom edge.
    painter.setPen(SolidPen(kAxisColor, kAxisWidth));
    const QPoint axes[3] = {QPoint(0, 0), QPoint(0, h), QPoint(w, h)};
    painter.drawLine(axes[0], axes[1]);
    painter.drawLine(axes[1], axes[2]);

    // The series, joined in the document's order.
    if (data.points) {
        const CFineArea fine(painter, w, h, detail);
        QPen pen = SolidPen(kSeriesColor, kSeriesWidth);
        pen.setWidthF(kSeriesWidth * fine.PenScale());
        painter.setPen(pen);
        if (onePath) {
            CPathSink sink;
            WalkPicture(data, fine.Width(), fine.Height(), reduce, pen.widthF(), sink);
            // Zoomed, the line reaches beyond the area, which a file would
            // keep.
            if (data.shown)
                DrawClippedPolyline(painter, fine.Width(), fine.Height(), sink.vertices, true);
            else
                painter.drawPolyline(sink.vertices.data(), static_cast<int>(sink.vertices.size()));
        } else {
            CLineSink sink(painter);
            WalkPicture(data, fine.Width(), fine.Height(), reduce, pen.widthF(), sink);
        }
    }

    // The whole series' H on the fixed 0 (bottom) to 1 (top) scale.
    const int yH = HToPixel(CPlotRect{0, 0, w, h}, data.dH);
    painter.setPen(SolidPen(kHColor, kHLineWidth));
    DrawClippedHLine(painter, w, h, 0, w, yH);

    // The label: top-left corner 20 pixels below the line, or above it
    // when the line lies near the bottom.
    const int top = data.dH < kLabelAboveBelow ? yH - kLabelOffset : yH + kLabelOffset;
    painter.drawText(QPoint(kLabelLeft, top + painter.fontMetrics().ascent()),
                     QString::fromStdString(SeriesGraphLabel(data.dH, data.dR, data.nCount)));
    painter.restore();
}
