#pragma once

#include "data/color.h"
#include "data/records.h"
#include "data/status.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace pigmora {

// The file types a palette leaves the program as: a GIMP palette (.gpl), an
// Adobe swatch exchange file (.ase) and a Krita palette (.kpl).
enum class PaletteFileType { Gimp, SwatchExchange, Krita };

// A palette as an export sees it. Texts are UTF-8. recipes holds, by cell,
// the mix the palette window found for a colour; a cell without one is named
// by its colour alone.
struct PaletteExport {
    std::string name;
    std::vector<PaletteColorRecord> colors; // any order; written in cell order
    std::map<std::int32_t, std::string> recipes;
};

// Between a colour's label and its recipe in the exported colour names.
inline constexpr std::string_view kRecipeSeparator = " — ";

// One colour as the exports write it.
struct PaletteSwatch {
    std::int32_t cell = 0;
    RgbColor color; // channels held to 0..255
    // The colour's code, or "#RRGGBB" when it has none, followed by the
    // recipe separator and the cell's recipe where there is one.
    std::string name;
};

// The palette's colours in cell order (equal cells keep their list order).
std::vector<PaletteSwatch> paletteSwatches(const PaletteExport &palette);

// "#RRGGBB" in upper case.
std::string hexColorText(const RgbColor &color);

// The whole file. Fails only when the zip container of a .kpl cannot be made.
Result<std::string> paletteFileBytes(const PaletteExport &palette, PaletteFileType type);

// Writes the file through a copy beside it that is renamed over it, so a
// failed export leaves whatever the path held before.
Status savePaletteFile(const std::filesystem::path &path, const PaletteExport &palette, PaletteFileType type);

// The usual file name extension of a type, with its dot.
std::string_view paletteFileExtension(PaletteFileType type);

} // namespace pigmora
