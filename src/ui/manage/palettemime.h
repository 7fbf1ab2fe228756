#pragma once

#include "data/color.h"

#include <optional>

class QMimeData;

namespace pigmora::ui {

// What a drag onto the palette grid carries, under a private MIME type: a
// colour from the main window's picked-colour swatch, or the cell a colour is
// moved from inside the grid.
struct PaletteDrag {
    RgbColor color;
    int sourceCell = -1; // -1: a colour from outside the grid
};

inline constexpr const char *kPaletteDragMimeType = "application/x-pigmora-palette-color";

// Ownership of the returned object passes to the caller (normally a QDrag).
QMimeData *encodePaletteDrag(const PaletteDrag &drag);
// None when the data is not a palette drag or is malformed.
std::optional<PaletteDrag> decodePaletteDrag(const QMimeData *data);

} // namespace pigmora::ui
