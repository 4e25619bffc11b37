#pragma once

#include <cstdint>
#include <functional>

// Called on the calling thread with each whole percentage a long window
// computation passes, in increasing order, once each: 0 first, then every
// integer up to that of the last window (never 100).
using PercentCallback = std::function<void(int percent)>;

// Whole percentage of done out of total, as the status texts show it:
// (done / total * 100) in floating point, truncated.
inline int TruncatedPercent(std::int64_t done, std::int64_t total)
{
    if (total <= 0 || done <= 0)
        return 0;
    const double p = static_cast<double>(done) / static_cast<double>(total) * 100.0;
    return p >= 100.0 ? 100 : static_cast<int>(p);
}
