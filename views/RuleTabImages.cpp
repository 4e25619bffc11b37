#include "views/RuleTabImages.h"

namespace {

// W white, K black, D dark grey, L light grey; one string per row, top first.
using Rows = const char* const[kRuleTabImageHeight];

constexpr Rows kNormalRows = {
    "WWKWW",
    "WKDDW",
    "KDLLD",
    "KDLLD",
    "KDLLD",
    "KKKKD",
};

constexpr Rows kDragRows = {
    "WWLWW",
    "WLLLW",
    "LLLLL",
    "LLLLL",
    "LLLLL",
    "LLLLL",
};

QRgb Colour(char c)
{
    switch (c) {
    case 'K': return qRgb(0, 0, 0);
    case 'D': return qRgb(128, 128, 128);
    case 'L': return qRgb(192, 192, 192);
    default: return qRgb(255, 255, 255);
    }
}

QImage Build(const Rows& rows)
{
    QImage image(kRuleTabImageWidth, kRuleTabImageHeight, QImage::Format_RGB32);
    for (int y = 0; y < kRuleTabImageHeight; ++y) {
        for (int x = 0; x < kRuleTabImageWidth; ++x)
            image.setPixel(x, y, Colour(rows[y][x]));
    }
    return image;
}

} // namespace

const QImage& RuleTabNormalImage()
{
    static const QImage image = Build(kNormalRows);
    return image;
}

const QImage& RuleTabDragImage()
{
    static const QImage image = Build(kDragRows);
    return image;
}
