#include "views/Readout.h"

#include <algorithm>
#include <cmath>
#include <ranges>

#include "core/Format.h"

int ReadoutDecimals(double span, int pixels)
{
    if (!(span > 0.0) || pixels <= 0 || !std::isfinite(span))
        return 0;
    const double step = span / pixels;
    return std::clamp(static_cast<int>(std::ceil(-std::log10(step))), 0, 12);
}

std::string ReadoutText(double x, int xDecimals, double y, int yDecimals, std::optional<double> h)
{
    std::string text = "X: " + FormatFixed(x, xDecimals) + ", Y: " + FormatFixed(y, yDecimals);
    if (h)
        text += ", H: " + FormatFixed(*h, 2);
    return text;
}

std::optional<double> NearestWindowH(const CHPointArray& windows, double origin, double x)
{
    const int count = windows.GetSize();
    if (count == 0)
        return std::nullopt;
    const auto at = [&](int i) { return windows[i].m_dX + origin; };
    bool ascending = true;
    for (int i = 1; i < count && ascending; ++i)
        ascending = at(i) >= at(i - 1);
    int best = 0;
    if (ascending) {
        const int lo = *std::ranges::partition_point(std::views::iota(0, count), [&](int i) { return at(i) < x; });
        best = std::min(lo, count - 1);
        if (lo > 0 && std::abs(at(lo - 1) - x) <= std::abs(at(best) - x))
            best = lo - 1;
    } else {
        for (int i = 1; i < count; ++i) {
            if (std::abs(at(i) - x) < std::abs(at(best) - x))
                best = i;
        }
    }
    return windows[best].m_dY;
}
