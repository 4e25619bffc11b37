#include "analysis/ui/PlotPointDlg.h"

#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include "platform/ui/DataExchange.h"
#include "platform/ui/DialogUnits.h"

namespace {

constexpr int kSliderMax = 100;

// The slider position of a plot point: its percentage truncated toward
// zero. A plot point outside 0..1 (or NaN, from a damaged caller) puts the
// slider at the nearer end instead of at an undefined position.
int SliderPosition(double plotPoint)
{
    const double percent = plotPoint * 100.0;
    if (!(percent > 0.0))
        return 0;
    if (percent >= kSliderMax)
        return kSliderMax;
    return static_cast<int>(percent);
}

QString PercentLabel(int position)
{
    return QStringLiteral("%1 %").arg(position);
}

} // namespace

CPlotPointDlg::CPlotPointDlg(QWidget* parent) : CKestrinDialog(parent)
{
    setWindowTitle(QStringLiteral("Set Plot Point for Sliding Windows"));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(ControlName("button", 1));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(ControlName("button", 2));

    auto* text = new QLabel(QStringLiteral("A sliding window is a series of points, but it is graphed as a single "
                                           "point.  Use this dialog to specify which point in the window is plotted."),
                            this);
    text->setObjectName(QStringLiteral("labelText"));
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setObjectName(ControlName("slider", 1084));
    m_slider->setTickPosition(QSlider::TicksBelow);
    m_slider->setTickInterval(10);
    m_slider->setPageStep(10);
    m_label = new QLabel(this);
    m_label->setObjectName(ControlName("static", 1085));

    const CDialogUnits du(font());
    const auto at = [&](QWidget* w, int x, int y, int cx, int cy) { w->setGeometry(du.Rect(x, y, cx, cy)); };
    at(text, 7, 7, 170, 34);
    at(m_slider, 7, 46, 140, 18);
    at(m_label, 152, 50, 28, 8);
    at(ok, 191, 7, 50, 14);
    at(cancel, 191, 24, 50, 14);
    setFixedSize(du.X(248), du.Y(72));

    connect(ok, &QPushButton::clicked, this, &CPlotPointDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CPlotPointDlg::reject);
    // Every change of position, by mouse, keyboard or wheel, shows at once.
    connect(m_slider, &QSlider::valueChanged, this, &CPlotPointDlg::OnScroll);
}

void CPlotPointDlg::OnInitDialog()
{
    m_nSliderPos = SliderPosition(m_dPlotPoint);
    m_strLabel = PercentLabel(m_nSliderPos);
    const QSignalBlocker quiet(m_slider);
    m_slider->setRange(0, kSliderMax);
    m_slider->setValue(m_nSliderPos);
    m_label->setText(m_strLabel);
}

void CPlotPointDlg::OnScroll()
{
    m_nSliderPos = m_slider->value();
    m_strLabel = PercentLabel(m_nSliderPos);
    m_label->setText(m_strLabel);
}

bool CPlotPointDlg::OnOK()
{
    m_nSliderPos = m_slider->value();
    m_dPlotPoint = m_nSliderPos * 0.01;
    return true;
}
