#include "manage/palettecells.h"

namespace pigmora::ui {

PaletteCells::PaletteCells()
{
    for (PaletteColorRecord &cell : m_cells)
        cell.setCell(PaletteColorRecord::kEmptyCell);
}

int PaletteCells::load(std::span<const PaletteColorRecord> records)
{
    *this = PaletteCells();
    int dropped = 0;
    for (const PaletteColorRecord &record : records) {
        const int at = record.cell();
        if (!isValidIndex(at) || isFilled(at)) {
            ++dropped;
            continue;
        }
        m_cells[static_cast<std::size_t>(at)] = record;
    }
    return dropped;
}

std::vector<PaletteColorRecord> PaletteCells::filledRecords() const
{
    std::vector<PaletteColorRecord> list;
    for (const PaletteColorRecord &cell : m_cells) {
        if (cell.cell() != PaletteColorRecord::kEmptyCell)
            list.push_back(cell);
    }
    return list;
}

bool PaletteCells::isFilled(int cell) const
{
    return isValidIndex(cell) && m_cells[static_cast<std::size_t>(cell)].cell() == cell;
}

RgbColor PaletteCells::colorAt(int cell) const
{
    return isValidIndex(cell) ? m_cells[static_cast<std::size_t>(cell)].color() : RgbColor{};
}

int PaletteCells::firstEmpty() const
{
    for (int cell = 0; cell < kCount; ++cell) {
        if (!isFilled(cell))
            return cell;
    }
    return -1;
}

int PaletteCells::filledCount() const
{
    int count = 0;
    for (int cell = 0; cell < kCount; ++cell)
        count += isFilled(cell) ? 1 : 0;
    return count;
}

bool PaletteCells::put(int cell, const RgbColor &color)
{
    if (!isValidIndex(cell) || isFilled(cell))
        return false;
    PaletteColorRecord record;
    record.setColor(color);
    record.setCell(cell);
    m_cells[static_cast<std::size_t>(cell)] = record;
    return true;
}

bool PaletteCells::move(int from, int to)
{
    if (from == to || !isFilled(from) || !isValidIndex(to) || isFilled(to))
        return false;
    PaletteColorRecord &target = m_cells[static_cast<std::size_t>(to)];
    target = m_cells[static_cast<std::size_t>(from)];
    target.setCell(to);
    m_cells[static_cast<std::size_t>(from)].setCell(PaletteColorRecord::kEmptyCell);
    return true;
}

bool PaletteCells::remove(int cell)
{
    if (!isFilled(cell))
        return false;
    m_cells[static_cast<std::size_t>(cell)].setCell(PaletteColorRecord::kEmptyCell);
    return true;
}

bool PaletteCells::clear()
{
    bool changed = false;
    for (int cell = 0; cell < kCount; ++cell)
        changed = remove(cell) || changed;
    return changed;
}

} // namespace pigmora::ui
