#pragma once

#include <cstdint>
#include <functional>

// Called on the calling thread with each whole percentage a long window
// computation shows, in increasing order, once each: window d of total
// shows d / total * 100 truncated, so 0 first and never 100.
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
