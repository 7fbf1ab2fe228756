#include "manage/palettegeometry.h"

#include <gtest/gtest.h>

namespace pigmora::ui {
namespace {

const PaletteGridGeometry kGrid = paletteGridGeometry(QSize(512, 91));

TEST(PaletteGeometry, CellSizeTruncatesTheSpaceLeftByTheMargin)
{
    EXPECT_EQ(kGrid.cellWidth, 20);
    EXPECT_EQ(kGrid.cellHeight, 21);
    const PaletteGridGeometry tiny = paletteGridGeometry(QSize(29, 8));
    EXPECT_EQ(tiny.cellWidth, 0);
    EXPECT_EQ(tiny.cellHeight, 0);
    EXPECT_EQ(paletteCellAt(tiny, QPoint(6, 6)), -1);
}

TEST(PaletteGeometry, OutlineAndPatchOfACell)
{
    // Cell 26: column 1, row 1, corner (25, 26).
    EXPECT_EQ(paletteCellCorner(kGrid, 26), QPoint(25, 26));
    EXPECT_EQ(paletteCellOutline(kGrid, 26), QRect(QPoint(26, 27), QPoint(44, 46)));
    EXPECT_EQ(paletteCellPatch(kGrid, 26), QRect(QPoint(28, 29), QPoint(42, 44)));
    EXPECT_EQ(paletteCellOutline(kGrid, 99).bottomRight(), QPoint(504, 88));
}

TEST(PaletteGeometry, HitTestTakesOnlyTheInnerAreaOfACell)
{
    const struct {
        QPoint point;
        int cell;
    } cases[] = {
        {{0, 0}, -1},    {{4, 20}, -1},   {{20, 4}, -1}, // margins
        {{-3, 10}, -1},  {{10, -3}, -1}, // outside the box, truncating towards 0
        {{5, 10}, -1},   {{6, 10}, -1}, // the corner column and the outline
        {{7, 7}, 0},     {{23, 24}, 0}, // first and last inner pixels of cell 0
        {{24, 10}, -1},  {{25, 10}, -1},  {{26, 10}, -1}, // between cells 0 and 1
        {{27, 10}, 1},   {{7, 28}, 25},   {{503, 87}, 99}, {{504, 87}, -1},
        {{503, 88}, -1}, {{505, 50}, -1}, {{508, 50}, -1}, {{511, 50}, -1}, // right of the 25th column
        {{50, 89}, -1},  {{50, 90}, -1},  {{50, 200}, -1}, // below the 4th row
    };
    for (const auto &c : cases)
        EXPECT_EQ(paletteCellAt(kGrid, c.point), c.cell) << c.point.x() << "," << c.point.y();
}

TEST(PaletteGeometry, EveryInnerPointHitsItsCell)
{
    for (int cell = 0; cell < kPaletteCellCount; ++cell) {
        const QRect outline = paletteCellOutline(kGrid, cell);
        for (int y = outline.top(); y <= outline.bottom(); ++y) {
            for (int x = outline.left(); x <= outline.right(); ++x) {
                const bool inner
                    = x > outline.left() && x < outline.right() && y > outline.top() && y < outline.bottom();
                ASSERT_EQ(paletteCellAt(kGrid, QPoint(x, y)), inner ? cell : -1) << cell << ": " << x << "," << y;
            }
        }
    }
}

TEST(PaletteGeometry, SelectionSwatch)
{
    EXPECT_EQ(selectionSwatchFrame(QSize(89, 91)), QRect(QPoint(3, 7), QPoint(87, 89)));
    EXPECT_EQ(selectionSwatchPatch(QSize(89, 91)), QRect(QPoint(8, 12), QPoint(82, 84)));
}

TEST(PaletteGeometry, ArrowKeysStayInsideTheGrid)
{
    const struct {
        int cell, dx, dy, expected;
    } cases[] = {
        {-1, 1, 0, 0},  {0, -1, 0, 0},  {0, 0, -1, 0},   {0, 1, 0, 1},    {0, 0, 1, 25},
        {24, 1, 0, 24}, {99, 0, 1, 99}, {99, -1, 0, 98}, {75, 0, -1, 50}, {100, 1, 0, 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(paletteCellMovedBy(c.cell, c.dx, c.dy), c.expected) << c.cell << " " << c.dx << " " << c.dy;
}

TEST(PaletteGeometry, TheWindowGoesBesideTheMainWindowWhereThereIsRoom)
{
    const QSize window(646, 259);
    const QRect screen(0, 0, 1600, 1000);
    const struct {
        QRect main;
        QPoint place;
    } cases[] = {
        {{0, 0, 900, 700}, {900, 0}}, // right of it
        {{900, 100, 700, 700}, {254, 100}}, // left of it
        {{300, 0, 1000, 600}, {300, 600}}, // below it
        {{300, 500, 1000, 500}, {300, 241}}, // above it
        {{0, 0, 1600, 1000}, {954, 717}}, // maximised: its bottom-right, above the status bar
    };
    for (const auto &c : cases)
        EXPECT_EQ(paletteWindowPlace(c.main, window, screen, 24), c.place) << c.main.x() << "," << c.main.y();
}

} // namespace
} // namespace pigmora::ui
