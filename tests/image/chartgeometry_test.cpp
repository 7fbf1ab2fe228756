#include "image/chartgeometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace pigmora::chart {
namespace {

TEST(ChartGeometry, AnUprightChartIsARegularGrid)
{
    // Patch centres 60 pixels apart: samples of 19 (a third of 60, odd).
    const auto layout = layoutOf({Point{100, 50}, {400, 50}, {400, 230}, {100, 230}});
    ASSERT_TRUE(layout) << layout.message();
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const Point &p = layout->centres[static_cast<std::size_t>(row * kColumns + column)];
            EXPECT_NEAR(p.x, 100 + 60 * column, 1e-9);
            EXPECT_NEAR(p.y, 50 + 60 * row, 1e-9);
            EXPECT_EQ(layout->sampleSides[static_cast<std::size_t>(row * kColumns + column)], 19);
        }
    }
    EXPECT_NEAR(layout->spacing, 60.0, 1e-9);
}

TEST(ChartGeometry, PerspectiveKeepsTheCornersAndStraightRows)
{
    const std::array<Point, 4> corners{Point{120, 80}, {470, 110}, {455, 310}, {105, 335}};
    for (const auto &order : {corners, std::array<Point, 4>{corners[1], corners[0], corners[3], corners[2]}}) {
        const auto layout = layoutOf(order); // mirrored is a quadrilateral too
        ASSERT_TRUE(layout) << layout.message();
        const int cornerPatches[4] = {0, 5, 23, 18};
        for (std::size_t i = 0; i < 4; ++i) {
            EXPECT_NEAR(layout->centres[static_cast<std::size_t>(cornerPatches[i])].x, order[i].x, 1e-9);
            EXPECT_NEAR(layout->centres[static_cast<std::size_t>(cornerPatches[i])].y, order[i].y, 1e-9);
        }
        // The centres of a row stay on the line through its ends.
        for (int row = 0; row < kRows; ++row) {
            const Point &a = layout->centres[static_cast<std::size_t>(row * kColumns)];
            const Point &b = layout->centres[static_cast<std::size_t>(row * kColumns + kColumns - 1)];
            for (int column = 1; column < kColumns - 1; ++column) {
                const Point &p = layout->centres[static_cast<std::size_t>(row * kColumns + column)];
                EXPECT_NEAR((b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x), 0.0, 1e-6);
            }
        }
    }
}

TEST(ChartGeometry, RefusesCornersThatMakeNoUsableChart)
{
    struct Case {
        const char *what;
        std::array<Point, 4> corners;
        const char *message;
    };
    const Case cases[] = {
        {"crossed (24 and 19 swapped)", {Point{0, 0}, {100, 0}, {0, 60}, {100, 60}}, "do not make a quadrilateral"},
        {"three in a line", {Point{0, 0}, {50, 0}, {100, 0}, {0, 60}}, "do not make a quadrilateral"},
        {"all in one point", {Point{5, 5}, {5, 5}, {5, 5}, {5, 5}}, "do not make a quadrilateral"},
        {"reflex corner", {Point{0, 0}, {100, 0}, {30, 20}, {0, 60}}, "do not make a quadrilateral"},
        {"patches 3.8 pixels apart", {Point{0, 0}, {19, 0}, {19, 11.4}, {0, 11.4}}, "too small"},
        {"not a number", {Point{0, 0}, {100, 0}, {100, std::nan("")}, {0, 60}}, "not points of a picture"},
        {"far beyond any picture",
         {Point{8, 6}, {0, 1.9e214}, {1.9e214, 1.9e214}, {1.9e214, 3.5e-310}},
         "not points of a picture"},
    };
    for (const Case &c : cases) {
        const auto layout = layoutOf(c.corners);
        ASSERT_FALSE(layout) << c.what;
        EXPECT_NE(layout.message().find(c.message), std::string::npos) << c.what << ": " << layout.message();
    }
    // Four pixels apart is enough, with one-pixel samples.
    const auto smallest = layoutOf({Point{0, 0}, {20, 0}, {20, 12}, {0, 12}});
    ASSERT_TRUE(smallest);
    EXPECT_EQ(smallest->sampleSides[0], 1);
}

} // namespace
} // namespace pigmora::chart
