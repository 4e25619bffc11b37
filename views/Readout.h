#pragma once

#include <optional>
#include <string>

#include "core/GrowArray.h"

// The status bar's readout of the values under the pointer.

// Decimals enough for a step of one pixel over a span of that many pixels
// to show (0 to 12).
int ReadoutDecimals(double span, int pixels);

// "X: %.*f, Y: %.*f", and ", H: %.2f" with a window's H, '.' as decimal
// point whatever the locale.
std::string ReadoutText(double x, int xDecimals, double y, int yDecimals, std::optional<double> h);

// H of the sliding window plotted nearest to x (the first of two as near),
// its plot position counted from origin; none without windows. Positions
// that ascend are searched by halves, others one by one.
std::optional<double> NearestWindowH(const CHPointArray& windows, double origin, double x);
