#pragma once

#include "data/records.h"
#include "store/csv.h"

#include <optional>
#include <string>
#include <vector>

namespace pigmora::cli {

class Context;

// An ad-hoc colour box from a UTF-8 CSV "code,name,r,g,b" with an optional
// "strength" column (empty: 1): each row becomes a paint as the catalogue
// records one (group 0, record strength 1.0, mixing class 2, user origin),
// put into the box in box order. The tinting strengths are kept apart, in
// box order; the rows as read, in file order, for printing the file back.
struct PaintsFile {
    std::string path;
    std::vector<PaintColorRecord> box;
    std::vector<double> strengths; // per box paint
    bool hasStrengths = false; // some row gives a strength
    std::vector<CsvRow> rows; // code,name,r,g,b of each row
    std::vector<std::string> codes; // per row

    // The box index of the paint with this code (UTF-8), if exactly one.
    std::optional<std::size_t> indexOfCode(const std::string &code) const;
};

// Nothing (the reason printed, naming the line) when the file is unusable.
std::optional<PaintsFile> readPaintsFile(Context &context, const std::string &path);

} // namespace pigmora::cli
