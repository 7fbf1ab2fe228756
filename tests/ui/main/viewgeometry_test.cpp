#include "main/chartclicks.h"
#include "main/viewgeometry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

namespace pigmora::ui::geometry {
namespace {

TEST(ViewGeometry, GridLinesLieOnTheEdgesAndSplitTheSides)
{
    EXPECT_EQ(gridLinePositions(400, 4), (std::vector<int>{18, 118, 218, 318, 417}));
    EXPECT_EQ(gridLinePositions(300, 3), (std::vector<int>{18, 118, 218, 317}));
    // Steps that are not whole numbers round half up.
    EXPECT_EQ(gridLinePositions(10, 4), (std::vector<int>{18, 21, 23, 26, 27}));
    EXPECT_EQ(gridLinePositions(1, 2), (std::vector<int>{18, 18, 18})); // never past the last column
    EXPECT_TRUE(gridLinePositions(400, 0).empty());
    EXPECT_TRUE(gridLinePositions(400, -3).empty());
    EXPECT_TRUE(gridLinePositions(0, 4).empty());
    // The largest count the dialog takes: every line inside the picture.
    const std::vector<int> many = gridLinePositions(500, 999);
    ASSERT_EQ(many.size(), 1000u);
    EXPECT_EQ(many.front(), 18);
    EXPECT_EQ(many.back(), 517);
    for (int x : many)
        EXPECT_TRUE(x >= 18 && x <= 517) << x;
    // A damaged stored count does not make a billion lines.
    EXPECT_EQ(gridLinePositions(500, 2147483647), many);
}

TEST(ViewGeometry, SquareCellsTakeTheSmallerDivision)
{
    const struct {
        QSize view;
        int columns, rows;
        float cell;
        std::vector<int> across, down;
    } cases[] = {
        // 400 / 4 = 100 across, 300 / 6 = 50 down: cells of 50.
        {{400, 300}, 4, 6, 50.0f, {18, 68, 118, 168, 218, 268, 318, 368, 417}, {18, 68, 118, 168, 218, 268, 317}},
        // 300 / 2 = 150 across is smaller than 400 / 1: the last cells are cut by the edge.
        {{300, 400}, 2, 1, 150.0f, {18, 168, 317}, {18, 168, 318, 417}},
        // A count of 0 divides nothing: the other one gives the side.
        {{100, 50}, 0, 2, 25.0f, {18, 43, 68, 93, 117}, {18, 43, 67}},
        {{100, 50}, 0, 0, 0.0f, {}, {}},
    };
    for (const auto &c : cases) {
        const float cell = squareCellSide(c.view, c.columns, c.rows);
        EXPECT_EQ(cell, c.cell) << c.columns << "x" << c.rows;
        EXPECT_EQ(squareGridLinePositions(c.view.width(), cell), c.across) << c.columns << "x" << c.rows;
        EXPECT_EQ(squareGridLinePositions(c.view.height(), cell), c.down) << c.columns << "x" << c.rows;
    }
}

TEST(ViewGeometry, RoomAndThePicturesPixelUnderTheMouse)
{
    EXPECT_EQ(pictureRoom(QSize(1581, 900)), QSize(1562, 881));
    EXPECT_EQ(pictureRoom(QSize(10, 10)), QSize(0, 0));
    const struct {
        QPoint view;
        QSize viewSize, base;
        QPoint pixel;
    } cases[] = {
        {{0, 0}, {1200, 800}, {6000, 4000}, {2, 2}}, // a view pixel covers 5 x 5: its middle one
        {{1199, 799}, {1200, 800}, {6000, 4000}, {5997, 3997}},
        {{10, 20}, {40, 30}, {40, 30}, {10, 20}}, // 100 %
        {{9, 9}, {80, 60}, {40, 30}, {4, 4}}, // 200 %
        {{166, 0}, {166, 125}, {667, 500}, {666, 2}}, // never past the last pixel
    };
    for (const auto &c : cases)
        EXPECT_EQ(basePixelOf(c.view, c.viewSize, c.base), c.pixel) << c.view.x() << "," << c.view.y();
    EXPECT_EQ(basePixelText(QPoint(3407, 21)), QStringLiteral("原图 X : 3407  Y : 21"));
}

TEST(ViewGeometry, ClicksMapToViewPixelsOutsideTheMargin)
{
    const QSize view(400, 300);
    const struct {
        QPoint click;
        std::optional<QPoint> pixel;
    } cases[] = {
        {{19, 19}, QPoint(1, 1)},   {{18, 50}, std::nullopt},       {{50, 18}, std::nullopt},
        {{0, 0}, std::nullopt},     {{417, 317}, QPoint(399, 299)}, {{418, 100}, std::nullopt},
        {{100, 318}, std::nullopt}, {{-5, 40}, std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(viewPixelOfClick(c.click, view), c.pixel) << c.click.x() << "," << c.click.y();
    EXPECT_EQ(paintBoxSize(view), QSize(419, 319));
}

TEST(ViewGeometry, MousePositionTextPadsEachNumberToSixCharacters)
{
    EXPECT_EQ(mousePositionText({5, 123}), QStringLiteral("X : 5     Y : 123   "));
    EXPECT_EQ(mousePositionText({123456, -7}), QStringLiteral("X : 123456Y : -7    "));
    EXPECT_EQ(mousePositionText({1234567, 0}), QStringLiteral("X : 1234567Y : 0     "));
}

TEST(ViewGeometry, LensBoundsTest)
{
    const QSize box(519, 686); // a 500 x 667 picture
    EXPECT_TRUE(lensInBounds({53, 43}, box));
    EXPECT_FALSE(lensInBounds({52, 43}, box));
    EXPECT_FALSE(lensInBounds({53, 42}, box));
    EXPECT_TRUE(lensInBounds({483, 660}, box));
    EXPECT_FALSE(lensInBounds({484, 660}, box));
    EXPECT_FALSE(lensInBounds({483, 661}, box));
    EXPECT_FALSE(lensInBounds({60, 60}, QSize(19, 19))); // no picture
}

TEST(ViewGeometry, LensOutlineCoversEachPixelOnce)
{
    const auto outline = lensOutline({100, 100});
    QRect bounds;
    std::multiset<std::pair<int, int>> covered;
    for (const QRect &strip : outline) {
        bounds = bounds.united(strip);
        for (int y = strip.top(); y <= strip.bottom(); ++y)
            for (int x = strip.left(); x <= strip.right(); ++x)
                covered.insert({x, y});
    }
    EXPECT_EQ(bounds, QRect(QPoint(65, 75), QPoint(135, 125)));
    EXPECT_EQ(covered.size(), 2u * 70 + 2u * 50);
    for (const auto &pixel : covered)
        EXPECT_EQ(covered.count(pixel), 1u);
}

TEST(ViewGeometry, MagnifierSourceFollowsTheFactor)
{
    // 100 %: f = 4, the rectangle's 70 x 50 view pixels four times enlarged.
    EXPECT_EQ(magnifierSource({100, 100}, 4.0f), QRect(QPoint(188, 228), QPoint(467, 427)));
    // 400 %: f = 2, 140 x 100 view pixels from the rectangle's corner.
    EXPECT_EQ(magnifierSource({100, 100}, 2.0f), QRect(94, 114, 280, 200));
    // 800 %: f = 1.
    EXPECT_EQ(magnifierSource({100, 100}, 1.0f), QRect(47, 57, 280, 200));
    // 300 %: f = 8/3, truncated.
    EXPECT_EQ(magnifierSource({100, 100}, 8.0f / 3.0f).topLeft(), QPoint(125, 152));
}

TEST(ViewGeometry, SampledAreaCoversTheSampledPixelsAtEveryZoom)
{
    const struct {
        QPoint pixel;
        int size;
        QSize view, base;
        QRect area;
    } cases[] = {
        {{50, 40}, 1, {200, 100}, {200, 100}, QRect(50, 40, 1, 1)}, // 100 %: the pixel
        {{50, 40}, 5, {200, 100}, {200, 100}, QRect(48, 38, 5, 5)},
        {{1, 98}, 9, {200, 100}, {200, 100}, QRect(QPoint(0, 94), QPoint(5, 99))}, // clipped at the edges
        // 200 %: each picture pixel is two view pixels; view 51 shows 25.
        {{51, 40}, 3, {400, 200}, {200, 100}, QRect(QPoint(48, 38), QPoint(53, 43))},
        // 25 %: view 10 shows picture pixel 42 (centre 10.5 x 4); 31 spans 27..57.
        {{10, 10}, 31, {50, 25}, {200, 100}, QRect(QPoint(6, 6), QPoint(14, 14))},
        // Less than a view pixel: the pixel itself.
        {{10, 10}, 3, {50, 25}, {200, 100}, QRect(10, 10, 1, 1)},
        // 33 %: sides that do not divide.
        {{0, 0}, 15, {67, 33}, {200, 100}, QRect(QPoint(0, 0), QPoint(3, 2))},
    };
    for (const auto &c : cases)
        EXPECT_EQ(sampledArea(c.pixel, c.size, c.view, c.base), c.area) << c.pixel.x() << " " << c.size;
    EXPECT_TRUE(sampledArea({1, 1}, 3, {}, {10, 10}).isNull());
}

TEST(ViewGeometry, FramesAndMarksCoverEachPixelOnce)
{
    // Inverted twice, each pixel must come back: no pixel in two strips.
    const auto count = [](const auto &strips) {
        std::multiset<std::pair<int, int>> pixels;
        for (const QRect &strip : strips)
            for (int y = strip.top(); y <= strip.bottom(); ++y)
                for (int x = strip.left(); x <= strip.right(); ++x)
                    pixels.insert({x, y});
        return pixels;
    };
    const auto frame = count(frameAround(QRect(10, 20, 3, 2)));
    EXPECT_EQ(frame.size(), 2u * 5 + 2u * 2); // 5 x 4 outline around 3 x 2
    EXPECT_EQ(std::set(frame.begin(), frame.end()).size(), frame.size());
    EXPECT_EQ(frame.count({9, 19}), 1u);
    EXPECT_EQ(frame.count({13, 22}), 1u);
    EXPECT_EQ(frame.count({10, 20}), 0u); // the area itself stays as it is
    const auto frameOfOne = count(frameAround(QRect(5, 5, 1, 1)));
    EXPECT_EQ(frameOfOne.size(), 8u);
    const auto mark = count(markStrips({30, 30}));
    EXPECT_EQ(mark.size(), 4u * kMarkArm + 1);
    EXPECT_EQ(std::set(mark.begin(), mark.end()).size(), mark.size());
    EXPECT_EQ(mark.count({30, 30}), 1u);
}

TEST(ViewGeometry, BasePointsMapToTheViewPixelShowingThem)
{
    EXPECT_EQ(viewPixelOfBasePoint({25.5, 10.5}, {200, 100}, {200, 100}), QPoint(25, 10));
    EXPECT_EQ(viewPixelOfBasePoint({25.5, 10.5}, {400, 200}, {200, 100}), QPoint(51, 21));
    EXPECT_EQ(viewPixelOfBasePoint({25.5, 10.5}, {50, 25}, {200, 100}), QPoint(6, 2));
    EXPECT_EQ(viewPixelOfBasePoint({200.0, -3.0}, {50, 25}, {200, 100}), QPoint(49, 0)); // clamped
    // Round trip with the click mapping at every zoom: the same base pixel.
    for (const QSize view : {QSize(50, 25), QSize(67, 33), QSize(200, 100), QSize(600, 300)}) {
        for (int x = 0; x < 200; x += 7) {
            const QPoint v = viewPixelOfBasePoint({x + 0.5, 0.5}, view, {200, 100});
            const QPoint back = basePixelOf(v, view, {200, 100});
            EXPECT_LE(std::abs(back.x() - x), 200 / view.width()) << view.width() << " " << x;
        }
    }
}

TEST(ChartClicks, TakesTheFourCornersInOrderThenStartsAgain)
{
    ChartClicks clicks;
    const chart::Point points[] = {{1, 2}, {30, 2}, {30, 20}, {1, 20}, {5, 5}};
    EXPECT_NE(ChartClicks::hint(0).indexOf(QStringLiteral("1/4")), -1);
    EXPECT_NE(ChartClicks::hint(0).indexOf(QStringLiteral("深肤色")), -1);
    EXPECT_NE(ChartClicks::hint(1).indexOf(QStringLiteral("蓝绿色")), -1);
    EXPECT_NE(ChartClicks::hint(2).indexOf(QStringLiteral("黑色")), -1);
    EXPECT_NE(ChartClicks::hint(3).indexOf(QStringLiteral("4/4")), -1);
    EXPECT_NE(ChartClicks::hint(3).indexOf(QStringLiteral("白色")), -1);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_FALSE(clicks.add(points[i]));
        EXPECT_EQ(clicks.count(), i + 1);
    }
    const auto corners = clicks.add(points[3]);
    ASSERT_TRUE(corners);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ((*corners)[i].x, points[i].x);
        EXPECT_EQ((*corners)[i].y, points[i].y);
    }
    EXPECT_EQ(clicks.count(), 0u);
    EXPECT_FALSE(clicks.add(points[4]));
    clicks.clear();
    EXPECT_EQ(clicks.count(), 0u);
}

} // namespace
} // namespace pigmora::ui::geometry
