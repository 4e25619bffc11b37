#include "dialogs/FitPlotWnd.h"

#include <algorithm>
#include <cmath>

#include <QFontInfo>
#include <QHBoxLayout>
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
    const QRectF plot = QRectF(area).adjusted(fm.horizontalAdvance(QStringLiteral("-00.00")) + 14, fm.height() * 3 + 10,
                                              -16, -(fm.height() * 2 + 14));
    if (plot.width() < 10 || plot.height() < 10)
        return;
    const CFitPlotData& d = m_data;
    const double firstX = d.x.empty() ? 0.0 : d.x.front();
    const double lastX = d.x.empty() ? 1.0 : d.x.back();
    const CRange xr = RangeOf(d.x, firstX, lastX);
    const bool curve = !d.fitted.empty();
    std::vector<double> ys = d.y;
    ys.insert(ys.end(), d.fitted.begin(), d.fitted.end());
    const CRange yr = curve ? RangeOf(ys, d.fitted.front(), d.fitted.back())
                            : RangeOf(d.y, d.intercept + d.b * firstX, d.intercept + d.b * lastX);
    const auto px = [&](double x) { return plot.left() + (x - xr.lo) / (xr.hi - xr.lo) * plot.width(); };
    const auto py = [&](double y) { return plot.bottom() - (y - yr.lo) / (yr.hi - yr.lo) * plot.height(); };

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
    for (std::size_t i = 0; i < d.x.size(); ++i)
        if (std::isfinite(d.x[i]) && std::isfinite(d.y[i]))
            painter.drawEllipse(QPointF(px(d.x[i]), py(d.y[i])), radius, radius);
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
