#pragma once

#include "data/records.h"

#include <filesystem>
#include <ostream>
#include <string_view>
#include <vector>

namespace pigmora {

// A palette as a GIMP palette file (.gpl): the colours in cell order, each
// named by its code (or its cell when it has none). The name is UTF-8.
void writeGimpPalette(std::ostream &out, std::string_view name, std::vector<PaletteColorRecord> colors);

// The same into a file, replaced as a whole; false when it cannot be written.
bool saveGimpPalette(const std::filesystem::path &path, std::string_view name, std::vector<PaletteColorRecord> colors);

} // namespace pigmora
