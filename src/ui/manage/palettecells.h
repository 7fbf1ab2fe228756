#pragma once

#include "data/color.h"
#include "data/records.h"

#include <array>
#include <span>
#include <vector>

namespace pigmora::ui {

// The 100 cells of the palette window. A filled cell holds a record whose cell
// field is its own index; an empty cell's field is -1. Every operation checks
// its indices, so nothing reads or writes outside the grid.
class PaletteCells
{
public:
    static constexpr int kCount = 100;

    PaletteCells();

    // Replaces the contents with the records of a loaded palette. Records
    // outside 0..99, and later records for a cell already taken, are dropped;
    // the result is how many were.
    int load(std::span<const PaletteColorRecord> records);
    // The filled cells in increasing index order, as the store saves them.
    std::vector<PaletteColorRecord> filledRecords() const;

    static bool isValidIndex(int cell) { return cell >= 0 && cell < kCount; }
    bool isFilled(int cell) const;
    // The cell's colour; black for an index outside the grid.
    RgbColor colorAt(int cell) const;
    int firstEmpty() const;
    int filledCount() const;

    // Each returns whether the cells changed.
    // Fills an empty cell; a colour placed here has an empty code.
    bool put(int cell, const RgbColor &color);
    // Moves a filled cell's whole record onto a different, empty cell.
    bool move(int from, int to);
    bool remove(int cell);
    bool clear();

private:
    std::array<PaletteColorRecord, kCount> m_cells;
};

} // namespace pigmora::ui
