// The zoom of the window's display and the readout under the pointer: a
// rectangle dragged over the plot, the wheel (with Shift: pan), Zoom Out and
// Full View. The range shown belongs to the window's state; the series'
// extents, which every number is computed from, stay as they are.
#include <algorithm>
#include <cmath>

#include <QMouseEvent>
#include <QRubberBand>
#include <QWheelEvent>

#include "document/KestrinDoc.h"
#include "views/KestrinView.h"
#include "views/Readout.h"
#include "views/SeriesSummary.h"

namespace {

// Each wheel step (a notch of 120) shows this fraction of the X range.
constexpr double kWheelZoom = 0.8;
// Each step of a pan moves the range by this fraction of it.
constexpr double kPanStep = 0.1;
// The narrowest range shown, as a fraction of the series' X span.
constexpr double kMinSpanFraction = 1e-9;
// A dragged rectangle smaller than this (pixels) is a click.
constexpr int kMinDrag = 3;

// The rectangle between two corners, as wide and high as they lie apart.
QRect Between(QPoint a, QPoint b)
{
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QSize(std::abs(a.x() - b.x()), std::abs(a.y() - b.y())));
}

// X range [lo, lo + span] moved within [min, max].
std::pair<double, double> Within(double lo, double span, double min, double max)
{
    if (span >= max - min)
        return {min, max};
    lo = std::clamp(lo, min, max - span);
    return {lo, std::min(lo + span, max)};
}

} // namespace

CPlotExtents CKestrinView::ShownExtents() const
{
    const std::optional<CPlotExtents> zoomed = ZoomedExtents();
    return zoomed ? *zoomed : m_extents;
}

std::optional<CPlotExtents> CKestrinView::ZoomedExtents() const
{
    if (m_window.m_zoom.empty())
        return std::nullopt;
    const CShownRange& r = m_window.m_zoom.back();
    CPlotExtents e = m_extents;
    e.m_dXMin = r.xMin;
    e.m_dXMax = r.xMax;
    if (r.yZoomed) {
        e.m_dYMin = r.yMin;
        e.m_dYMax = r.yMax;
    }
    return e;
}

std::shared_ptr<const CSeriesSummary> CKestrinView::Summary() const
{
    if (!m_summary || !m_summary->Describes(m_doc.m_points))
        m_summary = std::make_shared<const CSeriesSummary>(m_doc.m_points);
    return m_summary;
}

void CKestrinView::ShowRange(const CShownRange& range, bool wheel)
{
    const bool whole = range.xMin == m_extents.m_dXMin && range.xMax == m_extents.m_dXMax && !range.yZoomed;
    if (whole) {
        m_window.m_zoom.clear();
    } else if (wheel && m_bWheelRun && !m_window.m_zoom.empty()) {
        m_window.m_zoom.back() = range;
    } else {
        m_window.m_zoom.push_back(range);
    }
    m_bWheelRun = wheel && !whole;
    ZoomChanged();
}

void CKestrinView::ZoomChanged()
{
    PlaceRulerTabs();
    m_seriesGraph.m_bRegenerate = 1;
    // One repaint, once the events waiting have been handled: a run of wheel
    // steps draws once.
    update();
    // The values under a pointer over the plot changed with the range.
    if (!m_readout.isEmpty())
        UpdateReadout(mapFromGlobal(QCursor::pos()));
    emit commandStateChanged();
}

bool CKestrinView::ZoomToRect(const QRect& r)
{
    if (!HasData() || r.width() < kMinDrag || r.height() < kMinDrag)
        return false;
    const CPlotRect plot = PlotRectOf(m_seriesGraph.rect());
    const CPlotExtents shown = ShownExtents();
    const double xSpan = shown.m_dXMax - shown.m_dXMin;
    const double ySpan = shown.m_dYMax - shown.m_dYMin;
    const double minSpan = (m_extents.m_dXMax - m_extents.m_dXMin) * kMinSpanFraction;
    CShownRange range;
    range.xMin = ::PixelToValue(plot, shown, r.left());
    range.xMax = ::PixelToValue(plot, shown, r.left() + r.width());
    if (!(range.xMax - range.xMin >= minSpan) || !(xSpan > 0.0))
        return false;
    range.yZoomed = ySpan > 0.0 && plot.Height() > 0;
    if (range.yZoomed) {
        const double perRow = ySpan / plot.Height();
        range.yMax = shown.m_dYMin + (plot.bottom - r.top()) * perRow;
        range.yMin = shown.m_dYMin + (plot.bottom - (r.top() + r.height())) * perRow;
    }
    ShowRange(range, false);
    return true;
}

void CKestrinView::ZoomAround(int px, double steps)
{
    if (!HasData() || steps == 0.0)
        return;
    const double fullSpan = m_extents.m_dXMax - m_extents.m_dXMin;
    if (!(fullSpan > 0.0) || !std::isfinite(fullSpan))
        return;
    const CPlotExtents shown = ShownExtents();
    const double span = shown.m_dXMax - shown.m_dXMin;
    const double x = ::PixelToValue(PlotRectOf(m_seriesGraph.rect()), shown, px);
    const double newSpan = std::clamp(span * std::pow(kWheelZoom, steps), fullSpan * kMinSpanFraction, fullSpan);
    // The X under the pointer stays under it.
    const double fraction = span > 0.0 ? (x - shown.m_dXMin) / span : 0.0;
    CShownRange range = m_window.m_zoom.empty() ? CShownRange{} : m_window.m_zoom.back();
    std::tie(range.xMin, range.xMax) = Within(x - fraction * newSpan, newSpan, m_extents.m_dXMin, m_extents.m_dXMax);
    ShowRange(range, true);
}

void CKestrinView::Pan(double steps)
{
    if (!HasData() || !IsZoomed() || steps == 0.0)
        return;
    CShownRange range = m_window.m_zoom.back();
    const double span = range.xMax - range.xMin;
    std::tie(range.xMin, range.xMax) =
        Within(range.xMin - steps * kPanStep * span, span, m_extents.m_dXMin, m_extents.m_dXMax);
    ShowRange(range, true);
}

void CKestrinView::ZoomBack(std::size_t steps)
{
    if (m_window.m_zoom.empty())
        return;
    m_window.m_zoom.resize(m_window.m_zoom.size() - std::min(steps, m_window.m_zoom.size()));
    m_bWheelRun = false;
    ZoomChanged();
}

void CKestrinView::ZoomOut()
{
    ZoomBack(1);
}

void CKestrinView::FullView()
{
    ZoomBack(m_window.m_zoom.size());
}

QString CKestrinView::ReadoutAt(int px, int py) const
{
    const CPlotRect plot = PlotRectOf(m_seriesGraph.rect());
    const CPlotExtents shown = ShownExtents();
    const double x = ::PixelToValue(plot, shown, px);
    const double ySpan = shown.m_dYMax - shown.m_dYMin;
    const double y = plot.Height() > 0 ? shown.m_dYMin + (plot.bottom - py) * (ySpan / plot.Height()) : shown.m_dYMin;
    const std::optional<double> h = NearestWindowH(m_doc.m_windows, m_extents.m_dXMin, x);
    return QString::fromStdString(ReadoutText(x, ReadoutDecimals(shown.m_dXMax - shown.m_dXMin, plot.Width()), y,
                                              ReadoutDecimals(ySpan, plot.Height()), h));
}

void CKestrinView::UpdateReadout(const QPoint& pos)
{
    QString text;
    const QRect plot = m_seriesGraph.geometry();
    if (HasData() && m_seriesGraph.IsCreated() && plot.contains(pos))
        text = ReadoutAt(pos.x() - plot.left(), pos.y() - plot.top());
    if (text == m_readout)
        return;
    m_readout = text;
    emit readoutChanged(text);
}

void CKestrinView::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && HasData() && m_seriesGraph.geometry().contains(pos)) {
        m_dragStart = pos;
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void CKestrinView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (m_dragStart) {
        if (!m_rubberBand)
            m_rubberBand = new QRubberBand(QRubberBand::Rectangle, this);
        const QRect plot = m_seriesGraph.geometry();
        const QPoint end(std::clamp(pos.x(), plot.left(), plot.right() + 1),
                         std::clamp(pos.y(), plot.top(), plot.bottom() + 1));
        m_rubberBand->setGeometry(Between(*m_dragStart, end));
        m_rubberBand->show();
    }
    UpdateReadout(pos);
    QWidget::mouseMoveEvent(event);
}

void CKestrinView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_dragStart) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const QPoint start = *m_dragStart;
    m_dragStart.reset();
    if (m_rubberBand)
        m_rubberBand->hide();
    const QRect plot = m_seriesGraph.geometry();
    const QPoint pos = event->position().toPoint();
    const QPoint end(std::clamp(pos.x(), plot.left(), plot.right() + 1),
                     std::clamp(pos.y(), plot.top(), plot.bottom() + 1));
    ZoomToRect(Between(start, end).translated(-plot.topLeft()));
    event->accept();
}

void CKestrinView::wheelEvent(QWheelEvent* event)
{
    const QPoint pos = event->position().toPoint();
    const QRect plot = m_seriesGraph.geometry();
    if (!HasData() || pos.x() < plot.left() || pos.x() > plot.right() + 1) {
        QWidget::wheelEvent(event);
        return;
    }
    const QPoint delta = event->angleDelta();
    // Shift turns the wheel into a pan (some systems then report it as a
    // sideways wheel); a sideways wheel pans.
    if (event->modifiers() & Qt::ShiftModifier)
        Pan((delta.y() != 0 ? delta.y() : delta.x()) / 120.0);
    else if (delta.y() != 0)
        ZoomAround(pos.x() - plot.left(), delta.y() / 120.0);
    else
        Pan(delta.x() / 120.0);
    event->accept();
}

void CKestrinView::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    if (!m_readout.isEmpty()) {
        m_readout.clear();
        emit readoutChanged(m_readout);
    }
}
