#include "views/RulerRender.h"

#include <QPen>

#include "core/PlotMapping.h"
#include "views/RuleTabImages.h"

namespace {

const QColor kEnabledColour(255, 0, 0);
const QColor kDisabledColour(180, 180, 180);
constexpr int kPenWidth = 2;

} // namespace

void DrawRuler(QPainter& painter, int w, int h, bool enabled)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(
        QPen(enabled ? kEnabledColour : kDisabledColour, kPenWidth, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter.drawLine(0, h / 2, w, h / 2);
    painter.drawLine(0, 0, 0, h);
    painter.drawLine(w, 0, w, h);
    painter.restore();
}

void DrawRulerTabs(QPainter& painter, int w, const CRulerData& data, const CPlotExtents& extents)
{
    const bool asShown = w == data.shownWidth;
    for (const CRulerData::Tab& tab : data.tabs) {
        const int left = asShown ? tab.left : ValueToPixelX(CPlotRect{0, 0, w, 0}, extents, tab.value);
        painter.drawImage(left, kRuleTabTop, RuleTabNormalImage());
    }
}
