#include "manage/palettecells.h"

#include <gtest/gtest.h>

namespace pigmora::ui {
namespace {

PaletteColorRecord record(const char *code, RgbColor color, int cell)
{
    PaletteColorRecord r;
    r.setCode(code);
    r.setColor(color);
    r.setCell(cell);
    return r;
}

TEST(PaletteCells, LoadDropsRecordsWithoutAPlaceInTheGrid)
{
    PaletteCells cells;
    const std::vector<PaletteColorRecord> list = {
        record("a", {1, 0, 0}, 5), record("b", {2, 0, 0}, 100), record("c", {3, 0, 0}, -1),
        record("d", {4, 0, 0}, 5), record("e", {5, 0, 0}, 99),  record("f", {6, 0, 0}, INT32_MIN),
        record("g", {7, 0, 0}, 0),
    };
    EXPECT_EQ(cells.load(list), 4);
    EXPECT_EQ(cells.filledCount(), 3);
    EXPECT_EQ(cells.colorAt(5), (RgbColor{1, 0, 0})); // the first record for a cell wins
    EXPECT_EQ(cells.colorAt(99), (RgbColor{5, 0, 0}));
    // Saved back in cell order, codes kept.
    const auto saved = cells.filledRecords();
    ASSERT_EQ(saved.size(), 3u);
    EXPECT_EQ(saved[0].code(), "g");
    EXPECT_EQ(saved[1].cell(), 5);
    EXPECT_EQ(saved[2].cell(), 99);
    // A later load replaces everything.
    EXPECT_EQ(cells.load({}), 0);
    EXPECT_EQ(cells.filledCount(), 0);
}

TEST(PaletteCells, EditsCheckTheirCells)
{
    PaletteCells cells;
    cells.load(std::vector{record("x", {9, 9, 9}, 3)});
    EXPECT_FALSE(cells.put(3, {1, 1, 1})) << "filled";
    EXPECT_FALSE(cells.put(-1, {1, 1, 1}));
    EXPECT_FALSE(cells.put(100, {1, 1, 1}));
    EXPECT_TRUE(cells.put(0, {1, 2, 3}));
    EXPECT_EQ(cells.filledRecords()[0].code(), "") << "a placed colour has no code";

    EXPECT_FALSE(cells.move(3, 3));
    EXPECT_FALSE(cells.move(3, 0)) << "onto a filled cell";
    EXPECT_FALSE(cells.move(7, 8)) << "from an empty cell";
    EXPECT_FALSE(cells.move(3, 100));
    EXPECT_TRUE(cells.move(3, 60));
    EXPECT_FALSE(cells.isFilled(3));
    EXPECT_EQ(cells.colorAt(60), (RgbColor{9, 9, 9}));
    EXPECT_EQ(cells.filledRecords()[1].code(), "x") << "the whole record moves";

    EXPECT_FALSE(cells.remove(3));
    EXPECT_TRUE(cells.remove(60));
    EXPECT_TRUE(cells.clear());
    EXPECT_FALSE(cells.clear());
    EXPECT_EQ(cells.firstEmpty(), 0);
}

TEST(PaletteCells, FullGridHasNoEmptyCell)
{
    PaletteCells cells;
    for (int cell = 0; cell < PaletteCells::kCount; ++cell)
        ASSERT_TRUE(cells.put(cell, {cell, 0, 0}));
    EXPECT_EQ(cells.firstEmpty(), -1);
    cells.remove(42);
    EXPECT_EQ(cells.firstEmpty(), 42);
}

} // namespace
} // namespace pigmora::ui
