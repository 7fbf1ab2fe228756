#pragma once

#include "data/records.h"
#include "data/status.h"
#include "store/gimppalette.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace pigmora {

class CColorManager;

// A palette holds at most this many colours, in cells 0..99.
inline constexpr std::size_t kPaletteCellCount = 100;
// A palette name as the palette file keeps it (GBK bytes).
inline constexpr std::size_t kPaletteNameBytes = 31;

// A GIMP palette checked for import as a new palette: its colours in file
// order as records for cells 0, 1, 2, ... Each colour's code is its name in
// the file up to the recipe separator an export adds, trimmed and cut to the
// code field at a whole character; a name that is only the colour's own
// "#RRGGBB" (what an export writes for a colour without a code) or is empty
// gives no code.
struct PaletteImport {
    std::string name; // UTF-8, as the palette file will keep it
    bool nameCut = false;
    std::vector<PaletteColorRecord> colors;
    std::vector<int> cutLines; // lines whose colour name is kept cut
};

// Refuses, naming what is wrong: an empty name or one with a control
// character or a character GBK cannot hold, a name the palette file already
// holds, a file with no colours or with more than 100 (naming the count), a
// colour name with a control character or a character GBK cannot hold (with
// its line).
Result<PaletteImport> checkPaletteImport(std::string_view paletteName, const GimpPalette &file,
                                         const CColorManager &colors);

// Reads the GIMP palette file and adds it as the new palette, in one change
// of the palette file: the import as stored (what was cut included), or why
// nothing was imported, naming the file.
Result<PaletteImport> importPaletteFile(CColorManager &colors, std::string_view paletteName,
                                        const std::filesystem::path &path);

} // namespace pigmora
