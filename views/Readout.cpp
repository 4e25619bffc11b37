#include "views/Readout.h"

#include <algorithm>
#include <cmath>

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
        int lo = 0;
        int hi = count;
        while (lo < hi) {
            const int mid = lo + (hi - lo) / 2;
            if (at(mid) < x)
                lo = mid + 1;
            else
                hi = mid;
        }
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
