#pragma once

#include "data/builtincatalogue.h"
#include "data/color.h"

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

// What a first start writes into the colour box and palette files (UTF-8).
namespace pigmora {

struct DefaultColorBox {
    std::string_view name;
    std::uint8_t group; // the entry's tag
    std::span<const PaintKey> paints; // looked up in the catalogue exactly
};

// The eleven system colour boxes, in the order they are written.
std::span<const DefaultColorBox> defaultColorBoxes();

struct DefaultPaletteColor {
    std::string_view code;
    RgbColor color;
};

struct DefaultPalette {
    std::string_view name;
    std::array<std::int32_t, 8> cells; // cell of each colour of defaultPaletteColors()
};

// The eight colours every default palette holds, in code order.
std::span<const DefaultPaletteColor> defaultPaletteColors();
// The three system palettes, in the order they are written.
std::span<const DefaultPalette> defaultPalettes();

} // namespace pigmora
