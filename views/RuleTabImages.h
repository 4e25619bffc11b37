#pragma once

#include <QImage>

// The two 5-by-6 markers of an H tab, an upward-pointing arrow whose tip is
// the third column: the normal one (white, black, dark and light grey) and
// the light-grey one shown while the tab is dragged.
constexpr int kRuleTabImageWidth = 5;
constexpr int kRuleTabImageHeight = 6;
// The markers' top edge on the ruler.
constexpr int kRuleTabTop = 8;

const QImage& RuleTabNormalImage();
const QImage& RuleTabDragImage();
