#include "cli/ProgressLine.h"

#include <cmath>
#include <cstdio>

#include <unistd.h>

namespace {

constexpr auto kRedrawInterval = std::chrono::milliseconds(200);

// "m:ss", or "h:mm:ss" from an hour on.
std::string Duration(double seconds)
{
    const long long total = std::isfinite(seconds) && seconds > 0 ? std::llround(seconds) : 0;
    const long long h = total / 3600;
    const long long m = total / 60 % 60;
    const long long s = total % 60;
    char buf[48];
    if (h > 0)
        std::snprintf(buf, sizeof buf, "%lld:%02lld:%02lld", h, m, s);
    else
        std::snprintf(buf, sizeof buf, "%lld:%02lld", m, s);
    return buf;
}

} // namespace

CProgressLine::CProgressLine(std::size_t total, bool enabled)
    : m_total(total), m_enabled(enabled), m_start(Clock::now()), m_lastDrawn(m_start - kRedrawInterval)
{
}

std::string CProgressLine::Text(std::size_t done, std::size_t total, std::size_t failed, double elapsed)
{
    std::string text = std::to_string(done) + " of " + std::to_string(total) + " series, " +
                       std::to_string(failed) + " failed, " + Duration(elapsed) + " elapsed";
    if (done > 0 && done < total)
        text += ", " + Duration(elapsed / static_cast<double>(done) * static_cast<double>(total - done)) + " left";
    return text;
}

void CProgressLine::Update(std::size_t done, std::size_t failed, bool force)
{
    if (!m_enabled)
        return;
    const Clock::time_point now = Clock::now();
    if (!force && now - m_lastDrawn < kRedrawInterval)
        return;
    m_lastDrawn = now;
    const double elapsed = std::chrono::duration<double>(now - m_start).count();
    // Carriage return, the text, then erase what a longer line left behind.
    const std::string line = "\r" + Text(done, m_total, failed, elapsed) + "\033[K";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
    m_shown = true;
}

void CProgressLine::Clear()
{
    if (!m_shown)
        return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    m_shown = false;
}

bool StandardErrorIsTerminal()
{
    return ::isatty(STDERR_FILENO) == 1;
}
