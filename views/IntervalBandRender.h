#pragma once

#include <QPainter>

#include "document/IntervalBand.h"
#include "views/HGraphRender.h"

// The interval band on the H graph: for every window with an interval, the
// area between its low and high ends as a light green area, and its
// corrected H as a dashed green curve, with a key in the area's lower left
// corner naming both ("Interval band (95 %)", "Corrected H", and ", model
// check failed" when the band's check failed). Drawn before the H curve, so
// that the curve lies over it. data.windows are the sliding-window results
// the band belongs to (window i at data.windows[i].m_dX), mapped to the
// columns of the range shown as the H curve's; detail as the H curve's.
void DrawIntervalBand(QPainter& painter, int w, int h, const CHGraphData& data, const CIntervalBand& band,
                      double detail);

// The key's two texts.
QString IntervalBandKey(const CIntervalBand& band);
inline constexpr const char* kCorrectedHKey = "Corrected H";
