#pragma once

#include "data/color.h"
#include "data/records.h"
#include "data/status.h"

#include <cstddef>
#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace pigmora {

struct PaletteExport;

// A palette as a GIMP palette file (.gpl): the colours in cell order, each
// named as paletteSwatches() names it. The palette name is UTF-8.
void writeGimpPalette(std::ostream &out, const PaletteExport &palette);
void writeGimpPalette(std::ostream &out, std::string_view name, std::vector<PaletteColorRecord> colors);

// The same into a file, replaced as a whole; false when it cannot be written.
bool saveGimpPalette(const std::filesystem::path &path, std::string_view name, std::vector<PaletteColorRecord> colors);

// One colour line of a GIMP palette file.
struct GimpPaletteColor {
    int line = 0;
    RgbColor color;
    std::string name; // UTF-8, trimmed; may be empty
};

struct GimpPalette {
    std::string name; // from the "Name:" line; may be empty
    std::vector<GimpPaletteColor> colors;
};

// Reads a GIMP palette: "GIMP Palette" on the first line (after a UTF-8
// byte-order mark, if any), then in any order "Name:" and "Columns:" lines,
// comments (#), blank lines and colours, one a line: three whole numbers
// 0..255 and an optional name, separated by blanks. The first line that is
// none of these, or that is not UTF-8, refuses the file with its number.
Result<GimpPalette> parseGimpPalette(std::string_view text);
Result<GimpPalette> readGimpPaletteFile(const std::filesystem::path &path, std::size_t maxBytes = 16 * 1024 * 1024);

} // namespace pigmora
