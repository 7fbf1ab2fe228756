#pragma once

#include "data/records.h"

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace pigmora {

// A colour's name in the file (UTF-8); empty: its code, or its cell.
using PaletteColorLabel = std::function<std::string(const PaletteColorRecord &)>;

// A palette as a GIMP palette file (.gpl): the colours in cell order, each
// named by label, else by its code (or its cell when it has none). The name
// is UTF-8.
void writeGimpPalette(std::ostream &out, std::string_view name, std::vector<PaletteColorRecord> colors,
                      const PaletteColorLabel &label = {});

// The same into a file, replaced as a whole; false when it cannot be written.
bool saveGimpPalette(const std::filesystem::path &path, std::string_view name, std::vector<PaletteColorRecord> colors,
                     const PaletteColorLabel &label = {});

} // namespace pigmora
