#pragma once

#include <chrono>
#include <cstddef>
#include <string>

// The one updating line a long batch run shows on standard error when that
// is a terminal: "12 of 400 series, 1 failed, 0:07 elapsed, 3:52 left".
// Redrawn at most a few times a second; cleared away at the end, so that
// nothing of it stays in the terminal.
class CProgressLine
{
public:
    // enabled: whether to draw at all (a terminal, and not --quiet).
    CProgressLine(std::size_t total, bool enabled);
    ~CProgressLine() { Clear(); }

    // Redraws when enough time has passed since the last drawing, or when
    // force is set.
    void Update(std::size_t done, std::size_t failed, bool force = false);
    // Removes the line (before rows are written to the same terminal, and
    // at the end).
    void Clear();

    // The line's text, for done of total after elapsed seconds.
    static std::string Text(std::size_t done, std::size_t total, std::size_t failed, double elapsed);

private:
    using Clock = std::chrono::steady_clock;
    std::size_t m_total;
    bool m_enabled;
    bool m_shown = false;
    Clock::time_point m_start;
    Clock::time_point m_lastDrawn;
};

// Whether standard error is a terminal.
bool StandardErrorIsTerminal();
