#pragma once

#include "data/color.h"
#include "data/status.h"
#include "store/csv.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pigmora {

class CColorManager;

// Why a row of a maker's paint list was refused. The command line words it
// as PaintListRow::refusal; the desktop program words it from the kind.
enum class PaintRowProblem {
    None,
    FieldCount,
    Channel,
    EmptyName,
    ControlCharacter,
    NotStorable,
    Duplicate,
};

// One row of a maker's paint list (a UTF-8 CSV with the header name,r,g,b),
// checked. The command line and the colour group manager import through it.
struct PaintListRow {
    int line = 0; // in the file
    std::string name; // trimmed UTF-8; up to a control character and "..."; empty for a wrong field count
    RgbColor color; // for an accepted row
    std::string storedName; // UTF-8, as the group stores it (cut to the field), for an accepted row
    bool cut = false; // storedName is shorter than name
    PaintRowProblem problem = PaintRowProblem::None;
    std::string refusal; // the refusal in the command line's words
    std::size_t fieldCount = 0;
    unsigned char control = 0; // the control character refused

    bool accepted() const { return problem == PaintRowProblem::None; }
};

// Checks a row's fields, the first problem deciding: four fields, whole
// numbers 0..255 for r, g and b, then a name that is not blank, holds no
// control character (U+0000-U+001F, U+007F) and that GBK can hold.
PaintListRow checkPaintListRow(const CsvRow &fields, int line = 0);

// Checks every row of a paint list against a colour group as stored: each
// row as above, then its name as stored (GBK cut to the field) neither in
// the group nor earlier in the file. Linear in the rows and the catalogue.
Result<std::vector<PaintListRow>> checkPaintList(const CsvTable &table, const CColorManager &colors,
                                                 std::string_view groupName);

// Adds the accepted rows to the group as user paints (strength 1.0, mixing
// class 2), as one change of the colour group file: all of them or none.
// codes receives the new paints' codes in row order.
Status addPaintListRows(CColorManager &colors, std::string_view groupName, std::span<const PaintListRow> rows,
                        std::vector<std::string> *codes = nullptr);

} // namespace pigmora
