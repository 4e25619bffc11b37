#pragma once

#include <vector>

// Tick marks at round values along an axis: multiples of a step that is 1, 2
// or 5 times a power of ten, chosen as the smallest such step that puts at
// most maxTicks intervals over the range.
struct CAxisTicks
{
    double step = 0.0;          // 0 when there are no ticks
    std::vector<double> values; // ascending, every multiple of step in [lo, hi]
    int decimals = 0;           // digits after the point that tell the values apart
};

// No ticks for an empty, reversed or non-finite range, or maxTicks below 1.
// Values within a millionth of a step of an end count as inside; a value
// that is zero up to rounding is exactly 0.
CAxisTicks ComputeAxisTicks(double lo, double hi, int maxTicks);
