#pragma once

#include "data/color.h"
#include "data/records.h"
#include "data/status.h"

#include <string>
#include <string_view>
#include <vector>

namespace pigmora {

class CColorManager;

// One row of a maker's paint list (a CSV with the header name,r,g,b), as
// both the command line and the colour group manager import it.
struct PaintListRow {
    std::string name; // trimmed, UTF-8
    RgbColor color;
};

// Why a row was refused, for callers that word the refusal themselves.
enum class PaintRowProblem {
    None,
    FieldCount,
    Channel,
    EmptyName,
    NotStorable,
    Duplicate,
    StoreFailed,
};

// Checks a row's fields: four of them, whole numbers 0..255 for r, g and b,
// a name that is not blank and that GBK can hold. The refusal says which.
Result<PaintListRow> checkPaintListRow(const std::vector<std::string> &fields, PaintRowProblem *problem = nullptr);

// Adds a checked row to a colour group as a user paint (strength 1.0, mixing
// class 2) and answers its record (code and name as stored); refused with "色谱中同名颜色存在!"
// when the group holds the name, "增加色谱颜色失败!" when the store fails.
Result<PaintColorRecord> importPaintListRow(CColorManager &colors, std::string_view groupName, const PaintListRow &row,
                                            PaintRowProblem *problem = nullptr);

} // namespace pigmora
