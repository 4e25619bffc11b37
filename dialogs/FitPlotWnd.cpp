#include "dialogs/FitPlotWnd.h"

#include <algorithm>
#include <cmath>

#include <QFontInfo>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/AxisTicks.h"
#include "platform/ui/PictureFile.h"
#include "platform/UiServices.h"

namespace {

// A range that holds every value with a little room on both sides, and is
// never empty.
struct CRange
{
    double lo = 0.0;
    double hi = 1.0;
};

CRange RangeOf(const std::vector<double>& values, double extraLo, double extraHi)
{
    CRange range{std::min(extraLo, extraHi), std::max(extraLo, extraHi)};
    for (const double v : values) {
        if (!std::isfinite(v))
            continue;
        range.lo = std::min(range.lo, v);
        range.hi = std::max(range.hi, v);
    }
    double span = range.hi - range.lo;
    if (!(span > 1e-12))
        span = std::max(std::fabs(range.hi), 1.0) * 0.1;
    range.lo -= span * 0.08;
    range.hi += span * 0.08;
    return range;
}

// Where the plot's frame lies in an area and how values map into it.
struct CPlotFrame
{
    QRectF plot;
    CRange xr;
    CRange yr;

    double Px(double x) const { return plot.left() + (x - xr.lo) / (xr.hi - xr.lo) * plot.width(); }
    double Py(double y) const { return plot.bottom() - (y - yr.lo) / (yr.hi - yr.lo) * plot.height(); }
};

CPlotFrame FrameOf(const CFitPlotData& d, QSize size, const QFontMetrics& fm)
{
    CPlotFrame frame;
    const QRect area(QPoint(0, 0), size);
    frame.plot = QRectF(area).adjusted(fm.horizontalAdvance(QStringLiteral("-00.00")) + 14, fm.height() * 3 + 10, -16,
                                       -(fm.height() * 2 + 14));
    const double firstX = d.x.empty() ? 0.0 : d.x.front();
    const double lastX = d.x.empty() ? 1.0 : d.x.back();
    frame.xr = RangeOf(d.x, firstX, lastX);
    const bool curve = !d.fitted.empty();
    std::vector<double> ys = d.y;
    ys.insert(ys.end(), d.fitted.begin(), d.fitted.end());
    frame.yr = curve ? RangeOf(ys, d.fitted.front(), d.fitted.back())
                     : RangeOf(d.y, d.intercept + d.b * firstX, d.intercept + d.b * lastX);
    return frame;
}

} // namespace

CFitPlot::CFitPlot(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(360, 260);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CFitPlot::SetData(CFitPlotData data)
{
    m_data = std::move(data);
    update();
}

void CFitPlot::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Draw(painter, size());
    if (m_dragFrom) {
        // The lags being chosen: a light band across the plot.
        const double lo = std::min(*m_dragFrom, m_dragTo);
        const double hi = std::max(*m_dragFrom, m_dragTo);
        painter.fillRect(QRectF(lo, 0.0, hi - lo, height()), QColor(0, 0, 255, 40));
    }
}

void CFitPlot::SetRangeHandler(RangeHandler handler, std::function<void()> onTooFew)
{
    m_onRange = std::move(handler);
    m_onTooFew = std::move(onTooFew);
}

std::optional<QPointF> CFitPlot::PointPosition(std::size_t i) const
{
    if (i >= m_data.x.size() || i >= m_data.y.size() || !std::isfinite(m_data.x[i]) || !std::isfinite(m_data.y[i]))
        return std::nullopt;
    const CPlotFrame frame = FrameOf(m_data, size(), QFontMetrics(PictureFont()));
    return QPointF(frame.Px(m_data.x[i]), frame.Py(m_data.y[i]));
}

void CFitPlot::mousePressEvent(QMouseEvent* event)
{
    if (!m_onRange || event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    m_dragFrom = event->position().x();
    m_dragTo = *m_dragFrom;
    update();
}

void CFitPlot::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragFrom)
        return QWidget::mouseMoveEvent(event);
    m_dragTo = event->position().x();
    update();
}

void CFitPlot::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_dragFrom || event->button() != Qt::LeftButton)
        return QWidget::mouseReleaseEvent(event);
    const double lo = std::min(*m_dragFrom, event->position().x());
    const double hi = std::max(*m_dragFrom, event->position().x());
    m_dragFrom.reset();
    update();
    // The points whose X lies under the drag (a point's X is the same for
    // every y, so a drag anywhere above or below a point reaches it).
    std::optional<std::size_t> first, last;
    for (std::size_t i = 0; i < m_data.x.size(); ++i) {
        const std::optional<QPointF> at = PointPosition(i);
        if (!at || at->x() < lo || at->x() > hi)
            continue;
        if (!first)
            first = i;
        last = i;
    }
    if (!first || *last == *first) {
        // A click chooses nothing; a drag over one point is too few.
        if (hi - lo > 2.0 && m_onTooFew)
            m_onTooFew();
        return;
    }
    m_onRange(static_cast<int>(*first) + 1, static_cast<int>(*last) + 1);
}

QFont CFitPlot::PictureFont() const
{
    // Sized in pixels, so that a file of any resolution keeps the window's
    // proportions.
    QFont picture = font();
    picture.setPixelSize(QFontInfo(picture).pixelSize());
    return picture;
}

void CFitPlot::Draw(QPainter& painter, QSize size) const
{
    painter.save();
    DrawPlot(painter, size);
    painter.restore();
}

void CFitPlot::DrawPlot(QPainter& painter, QSize size) const
{
    const QRect area(QPoint(0, 0), size);
    painter.fillRect(area, Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(PictureFont());
    const QFontMetrics fm = painter.fontMetrics();
    const CFitPlotData& d = m_data;
    const CPlotFrame frame = FrameOf(d, size, fm);
    const QRectF plot = frame.plot;
    if (plot.width() < 10 || plot.height() < 10)
        return;
    const double firstX = d.x.empty() ? 0.0 : d.x.front();
    const double lastX = d.x.empty() ? 1.0 : d.x.back();
    const CRange xr = frame.xr;
    const CRange yr = frame.yr;
    const bool curve = !d.fitted.empty();
    const auto px = [&](double x) { return frame.Px(x); };
    const auto py = [&](double y) { return frame.Py(y); };

    // Axes, ticks and their values.
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(plot);
    // About five ticks an axis, at the same round values as the main picture's.
    const auto ticks = [&](const CRange& range, auto draw) {
        const CAxisTicks axis = ComputeAxisTicks(range.lo, range.hi, 5);
        for (const double t : axis.values)
            draw(t, axis.decimals);
    };
    ticks(xr, [&](double t, int decimals) {
        const double x = px(t);
        painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + 4));
        const QString text = QString::number(t, 'f', decimals);
        painter.drawText(QPointF(x - fm.horizontalAdvance(text) / 2.0, plot.bottom() + 6 + fm.ascent()), text);
    });
    ticks(yr, [&](double t, int decimals) {
        const double y = py(t);
        painter.drawLine(QPointF(plot.left() - 4, y), QPointF(plot.left(), y));
        const QString text = QString::number(t, 'f', decimals);
        painter.drawText(QPointF(plot.left() - 6 - fm.horizontalAdvance(text), y + fm.ascent() / 2.0 - 1), text);
    });
    const QString xTitle = d.xTitle.empty() ? QStringLiteral("log10 r") : QString::fromStdString(d.xTitle);
    painter.drawText(QPointF(plot.center().x() - fm.horizontalAdvance(xTitle) / 2.0, size.height() - 4.0), xTitle);
    painter.drawText(QPointF(4, fm.height() * 2 + 6),
                     d.yTitle.empty() ? QStringLiteral("log10(L(r)/r)") : QString::fromStdString(d.yTitle));

    // The numbers of the fit, and whose fit it is.
    const QString numbers = !d.caption.empty() ? QString::fromStdString(d.caption)
                                               : QStringLiteral("%1   H: %2   b: %3   r: %4   n: %5")
                                                     .arg(QString::fromStdString(d.label))
                                                     .arg(d.h, 0, 'f', 4)
                                                     .arg(d.b, 0, 'f', 4)
                                                     .arg(d.r, 0, 'f', 4)
                                                     .arg(d.n);
    painter.drawText(QPointF(4, fm.ascent() + 4), numbers);

    // The least-squares line over the lags, then the points on top; a
    // fitted curve goes over the points, which may be many (a point without
    // a logarithm, a zero, is left out).
    painter.setClipRect(plot);
    painter.setPen(QPen(QColor(0, 0, 255), 1.5));
    if (!curve)
        painter.drawLine(QPointF(px(firstX), py(d.intercept + d.b * firstX)),
                         QPointF(px(lastX), py(d.intercept + d.b * lastX)));
    painter.setPen(QPen(QColor(200, 0, 0), 1.5));
    painter.setBrush(QColor(200, 0, 0));
    const double radius = curve && d.x.size() > 100 ? 1.5 : 3.0;
    // The lags before the first one fitted are drawn hollow, in white.
    const std::size_t firstFitted = static_cast<std::size_t>(std::max(d.firstFitted, 0));
    for (std::size_t i = 0; i < d.x.size(); ++i) {
        if (!std::isfinite(d.x[i]) || !std::isfinite(d.y[i]))
            continue;
        painter.setBrush(i < firstFitted ? QColor(Qt::white) : QColor(200, 0, 0));
        painter.drawEllipse(QPointF(px(d.x[i]), py(d.y[i])), radius, radius);
    }
    if (curve) {
        QPolygonF line;
        for (std::size_t i = 0; i < d.x.size() && i < d.fitted.size(); ++i)
            if (std::isfinite(d.x[i]) && std::isfinite(d.fitted[i]))
                line << QPointF(px(d.x[i]), py(d.fitted[i]));
        painter.setPen(QPen(QColor(0, 0, 255), 2.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawPolyline(line);
    }
}

CFitPlotWnd::CFitPlotWnd(IUiServices& ui, QWidget* parent) : QDialog(parent), m_ui(ui)
{
    setWindowTitle(QStringLiteral("Fit Plot"));
    setModal(false);
    setObjectName(QStringLiteral("CFitPlotWnd"));
    m_plot = new CFitPlot(this);
    m_plot->setObjectName(QStringLiteral("fitPlot"));
    auto* save = new QPushButton(QStringLiteral("&Save Image..."), this);
    save->setObjectName(QStringLiteral("buttonSaveImage"));
    save->setAutoDefault(false);
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("buttonClose"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_plot, 1);
    layout->addLayout(buttons);
    resize(520, 400);
    connect(save, &QPushButton::clicked, this, &CFitPlotWnd::OnSaveImage);
    connect(close, &QPushButton::clicked, this, &QDialog::hide);
}

void CFitPlotWnd::SetData(CFitPlotData data)
{
    m_plot->SetData(std::move(data));
}

void CFitPlotWnd::SetRangeHandler(CFitPlot::RangeHandler handler)
{
    m_plot->SetRangeHandler(std::move(handler), [this] {
        m_ui.MessageBox("Drag across at least two points: the line is fitted through two lags or more.",
                        MsgButtons::ok, MsgIcon::warning);
    });
}

bool CFitPlotWnd::SaveImage(const QString& path, QString& error) const
{
    CPictureFileSettings settings;
    settings.size = m_plot->size();
    settings.title = QStringLiteral("Kestrin fit plot");
    const CFitPlot& plot = *m_plot;
    return WritePictureFile(
        path, settings, [&plot](QPainter& painter, QSize size, bool) { plot.Draw(painter, size); }, error);
}

void CFitPlotWnd::OnSaveImage()
{
    FileDialogOptions options = PictureFileOptions("Save Fit Plot");
    options.fileName = "fit.png";
    const std::optional<std::string> chosen = m_ui.ChooseSaveFile(options);
    if (!chosen || chosen->empty())
        return;
    QString error;
    CWaitCursor wait(m_ui);
    if (!SaveImage(QString::fromStdString(*chosen), error))
        m_ui.ShowError("Cannot save the fit plot to " + *chosen + ": " + error.toStdString() + ".");
}
