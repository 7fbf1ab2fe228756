#pragma once

#include "data/color.h"

#include <optional>
#include <string>
#include <vector>

namespace pigmora::cli {

class Context;
class JsonWriter;

// "R,G,B".
std::string rgbText(const RgbColor &color);
// [R,G,B]
void writeRgb(JsonWriter &json, const RgbColor &color);
// A CIEDE2000 difference with 4 decimals, or null.
void writeDifference(JsonWriter &json, std::optional<double> difference);

// Parses every colour argument; on the first malformed one prints what was
// wrong and returns nothing.
std::optional<std::vector<RgbColor>> parseColorArguments(Context &context, const std::vector<std::string> &args);

} // namespace pigmora::cli
