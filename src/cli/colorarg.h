#pragma once

#include "data/color.h"

#include <optional>
#include <string_view>

namespace pigmora::cli {

// A colour argument: "R,G,B" (three decimal integers 0..255) or "#RRGGBB"
// (either letter case). Empty optional for anything else.
std::optional<RgbColor> parseColor(std::string_view text);

// Parses a decimal integer in [low, high] that fills the whole text.
std::optional<int> parseInt(std::string_view text, int low, int high);

// A positive, finite decimal number filling the whole text.
std::optional<double> parsePositiveNumber(std::string_view text);

} // namespace pigmora::cli
