// Segments and polylines clipped to a rectangle, worked by hand on the box
// 0..10 by 0..5.
#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "core/ClipGeometry.h"

namespace {

using Points = std::vector<CClipPoint>;
const CClipBox kBox{0, 0, 10, 5};
const double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(ClipGeometry, Segments)
{
    struct Case
    {
        const char* what;
        CClipPoint a, b;
        bool kept;
        CClipPoint wantA, wantB;
    };
    const Case cases[] = {
        {"inside, untouched", {1, 1}, {9, 4}, true, {1, 1}, {9, 4}},
        {"on the edges", {0, 5}, {10, 5}, true, {0, 5}, {10, 5}},
        {"above", {-3, -1}, {12, -1}, false, {-3, -1}, {12, -1}},
        {"below", {0, 5.5}, {10, 5.5}, false, {0, 5.5}, {10, 5.5}},
        {"horizontal across", {-2, 3}, {14, 3}, true, {0, 3}, {10, 3}},
        {"leaves through the top", {2, 4}, {6, -4}, true, {2, 4}, {4, 0}},
        {"enters through the bottom", {4, 9}, {6, 1}, true, {5, 5}, {6, 1}},
        {"diagonal through a corner region", {-5, 0}, {5, -5}, false, {-5, 0}, {5, -5}},
        {"crosses both sides", {-10, 2}, {30, 6}, true, {0, 3}, {10, 4}},
        {"one point inside", {3, 3}, {3, 3}, true, {3, 3}, {3, 3}},
        {"one point outside", {11, 3}, {11, 3}, false, {11, 3}, {11, 3}},
        {"NaN", {1, kNaN}, {2, 2}, false, {1, kNaN}, {2, 2}},
        {"infinite", {1, 1}, {std::numeric_limits<double>::infinity(), 1}, false, {1, 1},
         {std::numeric_limits<double>::infinity(), 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CClipPoint a = c.a;
        CClipPoint b = c.b;
        EXPECT_EQ(ClipSegment(kBox, a, b), c.kept);
        if (c.kept) {
            EXPECT_EQ(a, c.wantA);
            EXPECT_EQ(b, c.wantB);
        }
    }
}

// A box open to the sides cuts rows only and leaves every X as it was.
TEST(ClipGeometry, RowsOnly)
{
    const double inf = std::numeric_limits<double>::infinity();
    const CClipBox rows{-inf, 0, inf, 5};
    CClipPoint a{-1e300, 3};
    CClipPoint b{7, 3};
    EXPECT_TRUE(ClipSegment(rows, a, b));
    EXPECT_EQ(a, (CClipPoint{-1e300, 3}));
    EXPECT_EQ(b, (CClipPoint{7, 3}));
    CClipPoint c{0, 6};
    CClipPoint d{9, 6};
    EXPECT_FALSE(ClipSegment(rows, c, d));
    EXPECT_EQ(ClipPolyline(rows, {{0, 4}, {2, 8}, {4, 4}}),
              (std::vector<Points>{{{0, 4}, {0.5, 5}}, {{3.5, 5}, {4, 4}}}));
}

TEST(ClipGeometry, Polylines)
{
    struct Case
    {
        const char* what;
        Points in;
        std::vector<Points> want;
    };
    const Case cases[] = {
        {"empty", {}, {}},
        {"one point inside", {{2, 2}}, {{{2, 2}}}},
        {"one point outside", {{2, -2}}, {}},
        {"inside", {{1, 1}, {2, 2}, {3, 1}}, {{{1, 1}, {2, 2}, {3, 1}}}},
        {"leaves and comes back: two parts",
         {{1, 2}, {3, -2}, {5, 2}, {6, 3}},
         {{{1, 2}, {2, 0}}, {{4, 0}, {5, 2}, {6, 3}}}},
        {"touches the edge: one part", {{1, 2}, {2, 0}, {3, 2}}, {{{1, 2}, {2, 0}, {3, 2}}}},
        {"all above", {{1, -1}, {5, -3}, {9, -1}}, {}},
        {"passes through from outside to outside", {{-1, 1}, {11, 1}}, {{{0, 1}, {10, 1}}}},
        {"a NaN splits", {{1, 1}, {2, kNaN}, {3, 1}, {4, 2}}, {{{3, 1}, {4, 2}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ClipPolyline(kBox, c.in), c.want);
    }
}

} // namespace
