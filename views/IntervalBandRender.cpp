#include "views/IntervalBandRender.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

#include <QPen>
#include <QString>

#include "core/Format.h"
#include "core/PlotMapping.h"
#include "views/ClippedLines.h"
#include "views/ColumnRuns.h"
#include "views/FineArea.h"

namespace {

const QColor kBandFill(0, 200, 0, 56);
const QColor kCorrectedColour(0, 140, 0);

// The band's extent in each pixel column: between consecutive windows with
// an interval the ends are joined by straight lines, column by column.
struct CColumnSpans
{
    explicit CColumnSpans(int width)
        : top(static_cast<std::size_t>(std::max(width, 0)), INT_MAX),
          bottom(static_cast<std::size_t>(std::max(width, 0)), INT_MIN)
    {
    }

    void Add(int x, int yTop, int yBottom)
    {
        if (x < 0 || x >= static_cast<int>(top.size()))
            return;
        top[static_cast<std::size_t>(x)] = std::min(top[static_cast<std::size_t>(x)], std::min(yTop, yBottom));
        bottom[static_cast<std::size_t>(x)] =
            std::max(bottom[static_cast<std::size_t>(x)], std::max(yTop, yBottom));
    }

    void Join(const CPixel& high0, const CPixel& low0, const CPixel& high1, const CPixel& low1)
    {
        const int x0 = std::max(std::min(high0.x, high1.x), 0);
        const int x1 = std::min(std::max(high0.x, high1.x), static_cast<int>(top.size()) - 1);
        const double dx = static_cast<double>(high1.x - high0.x);
        for (int x = x0; x <= x1; ++x) {
            const double t = dx != 0.0 ? (x - high0.x) / dx : 1.0;
            Add(x, static_cast<int>(std::lround(high0.y + t * (high1.y - high0.y))),
                static_cast<int>(std::lround(low0.y + t * (low1.y - low0.y))));
        }
    }

    std::vector<int> top;
    std::vector<int> bottom;
};

void DrawKey(QPainter& painter, int h, const CIntervalBand& band)
{
    const QFontMetrics metrics = painter.fontMetrics();
    const int line = metrics.height();
    const int swatch = metrics.ascent();
    const int x = 4;
    int y = h - 2 * line - 4;
    painter.fillRect(QRect(x, y + (line - swatch) / 2, 2 * swatch, swatch), kBandFill);
    painter.setPen(Qt::black);
    painter.drawText(QPoint(x + 2 * swatch + 4, y + metrics.ascent()), IntervalBandKey(band));
    y += line;
    QPen dashed(kCorrectedColour, 1, Qt::DashLine);
    painter.setPen(dashed);
    painter.drawLine(x, y + line / 2, x + 2 * swatch, y + line / 2);
    painter.setPen(Qt::black);
    painter.drawText(QPoint(x + 2 * swatch + 4, y + metrics.ascent()), QString::fromLatin1(kCorrectedHKey));
}

} // namespace

QString IntervalBandKey(const CIntervalBand& band)
{
    QString key = QStringLiteral("Interval band (%1 %)").arg(QString::fromStdString(FormatFixed(100.0 * band.level, 0)));
    if (!band.check.passed)
        key += QStringLiteral(", model check failed");
    return key;
}

void DrawIntervalBand(QPainter& painter, int w, int h, const CHGraphData& data, const CIntervalBand& band,
                      double detail)
{
    const CHPointArray& windows = *data.windows;
    // Plot positions count from the whole series' X minimum; the columns are
    // those of the range shown.
    const CPlotExtents& shown = data.Shown();
    const double origin = data.extents.m_dXMin;
    const auto toPixel = [&](const CPlotRect& area, double x, double value) {
        return CPixel{ValueToPixelX(area, shown, x + origin), HToPixel(area, value)};
    };
    const int count = std::min(windows.GetSize(), static_cast<int>(band.windows.size()));
    painter.save();
    {
        const CFineArea fine(painter, w, h, detail);
        const CPlotRect area{0, 0, fine.Width(), fine.Height()};
        CColumnSpans spans(fine.Width());
        CPathSink curve;
        CRunJoiner<CPathSink> columns(curve);
        bool joined = false;
        CPixel lastHigh{}, lastLow{};
        for (int i = 0; i < count; ++i) {
            const CBandWindow& v = band.windows[static_cast<std::size_t>(i)];
            if (!v.Reached()) {
                joined = false;
                continue;
            }
            const double x = windows[i].m_dX;
            const CPixel high = toPixel(area, x, v.high);
            const CPixel low = toPixel(area, x, v.low);
            spans.Join(joined ? lastHigh : high, joined ? lastLow : low, high, low);
            lastHigh = high;
            lastLow = low;
            joined = true;
            const CPixel corrected = toPixel(area, x, v.corrected);
            columns.Add(SingleRun(corrected.x, corrected.y));
        }
        columns.Finish();
        for (std::size_t x = 0; x < spans.top.size(); ++x)
            if (spans.top[x] <= spans.bottom[x])
                painter.fillRect(QRect(static_cast<int>(x), spans.top[x], 1, spans.bottom[x] - spans.top[x] + 1),
                                 kBandFill);
        QPen pen(kCorrectedColour, fine.PenScale(), Qt::DashLine, Qt::FlatCap, Qt::BevelJoin);
        painter.setPen(pen);
        DrawClippedPolyline(painter, fine.Width(), fine.Height(), curve.vertices);
    }
    DrawKey(painter, h, band);
    painter.restore();
}
