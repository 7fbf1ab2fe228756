#include "cli/output.h"

#include "cli/colorarg.h"
#include "cli/context.h"
#include "cli/json.h"

namespace pigmora::cli {

std::string rgbText(const RgbColor &color)
{
    return std::to_string(color.red) + ',' + std::to_string(color.green) + ',' + std::to_string(color.blue);
}

void writeRgb(JsonWriter &json, const RgbColor &color)
{
    json.beginArray().value(color.red).value(color.green).value(color.blue).endArray();
}

void writeDifference(JsonWriter &json, std::optional<double> difference)
{
    if (difference)
        json.fixed(*difference, 4);
    else
        json.null();
}

std::optional<std::vector<RgbColor>> parseColorArguments(Context &context, const std::vector<std::string> &args)
{
    std::vector<RgbColor> colors;
    for (const std::string &arg : args) {
        const auto color = parseColor(arg);
        if (!color) {
            context.fail("malformed colour '" + arg + "' (expected R,G,B with values 0..255, or #RRGGBB)");
            return std::nullopt;
        }
        colors.push_back(*color);
    }
    return colors;
}

} // namespace pigmora::cli
