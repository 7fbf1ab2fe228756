#pragma once

#include "data/color.h"

#include <optional>
#include <string_view>
#include <vector>

namespace pigmora::cli {

// A colour argument: "R,G,B" (three decimal integers 0..255) or "#RRGGBB"
// (either letter case). Empty optional for anything else.
std::optional<RgbColor> parseColor(std::string_view text);

// Parses a decimal integer in [low, high] that fills the whole text.
std::optional<int> parseInt(std::string_view text, int low, int high);

// Parses exactly count comma-separated integers in [low, high] ("X,Y").
std::optional<std::vector<int>> parseIntList(std::string_view text, std::size_t count, int low, int high);

// A positive, finite decimal number filling the whole text.
std::optional<double> parsePositiveNumber(std::string_view text);

} // namespace pigmora::cli
