#pragma once

#include <algorithm>
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

// Hands the callback the whole percentages a window-by-window loop would
// show before each window (window d of total shows TruncatedPercent(d,
// total)), each distinct value once and in order, as far as the windows done
// so far allow. Computations that finish windows in blocks or on several
// workers thus show what the plain loop shows.
class CPercentReporter
{
public:
    CPercentReporter(const PercentCallback& callback, std::int64_t total) : m_callback(callback), m_total(total) {}

    // `done` windows are finished: the loop would now be showing the
    // percentage of window `done` (the last window's at most).
    void Report(std::int64_t done)
    {
        if (!m_callback)
            return;
        const std::int64_t upTo = std::min(done, m_total - 1);
        for (; m_next <= upTo; ++m_next) {
            const int percent = TruncatedPercent(m_next, m_total);
            if (percent != m_shown)
                m_callback(m_shown = percent);
        }
    }
    void Start() { Report(0); }
    void Finish() { Report(m_total); }

private:
    const PercentCallback& m_callback;
    std::int64_t m_total;
    std::int64_t m_next = 0;
    int m_shown = -1;
};
