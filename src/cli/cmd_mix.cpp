// The predicted colour of a recipe: "mix".
#include "cli/colorarg.h"
#include "cli/commands.h"
#include "cli/context.h"
#include "cli/json.h"
#include "cli/output.h"

#include "engine/colordifference.h"
#include "engine/mixsolver.h"
#include "engine/pigmentmix.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>
#include <ostream>

namespace pigmora::cli {

namespace {

struct MixOptions {
    std::string mode = "pigment";
    bool json = false;
    std::vector<std::string> paints;
};

struct Ingredient {
    RgbColor color;
    double parts = 0.0;
};

// Parts above this would let the sum of two or three overflow or swallow the
// smaller parts whole; a recipe never needs them.
constexpr double kMostParts = 1e6;

// A positive decimal number up to kMostParts filling the whole text.
std::optional<double> parseParts(std::string_view text)
{
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || !(value > 0.0)
        || !(value <= kMostParts))
        return std::nullopt;
    return value;
}

std::optional<Ingredient> parseIngredient(Context &context, const std::string &arg)
{
    const std::size_t colon = arg.rfind(':');
    if (colon == std::string::npos) {
        context.fail("'" + arg + "' is not COLOUR:PARTS (for example 255,0,0:2 or #FF0000:1.5)");
        return std::nullopt;
    }
    const auto color = parseColor(std::string_view(arg).substr(0, colon));
    if (!color) {
        context.fail("malformed colour '" + arg.substr(0, colon) + "' (expected R,G,B with values 0..255, or #RRGGBB)");
        return std::nullopt;
    }
    const auto parts = parseParts(std::string_view(arg).substr(colon + 1));
    if (!parts) {
        context.fail("parts '" + arg.substr(colon + 1) + "' of " + arg.substr(0, colon)
                     + " must be a positive number up to 1000000");
        return std::nullopt;
    }
    return Ingredient{*color, *parts};
}

std::string fixedText(double value)
{
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.4f", value);
    return buffer;
}

int runMix(Context &context, const MixOptions &options)
{
    std::optional<MixModel> model;
    if (options.mode == "pigment")
        model = MixModel::Pigment;
    else if (options.mode == "spatial")
        model = MixModel::Spatial;
    else if (options.mode == "subtractive")
        model = MixModel::Subtractive;
    else
        return context.fail("unknown mixing mode '" + options.mode + "' (pigment, spatial or subtractive)");
    const std::size_t most = *model == MixModel::Pigment ? 3 : 2;
    if (options.paints.size() < 2 || options.paints.size() > most) {
        return context.fail(options.mode + " mixing takes " + (most == 3 ? "two or three" : "two") + " paints, "
                            + std::to_string(options.paints.size()) + " given");
    }
    std::vector<RgbColor> colors;
    std::vector<double> parts;
    for (const std::string &arg : options.paints) {
        const auto ingredient = parseIngredient(context, arg);
        if (!ingredient)
            return kExitFailure;
        colors.push_back(ingredient->color);
        parts.push_back(ingredient->parts);
    }

    RgbColor rgb;
    Lab lab;
    if (*model == MixModel::Pigment) {
        const PigmentColor mix = mixPigments(colors, parts);
        rgb = mix.rgb;
        lab = mix.lab;
    } else {
        // The two-paint formulas take the first paint's share in single precision.
        const auto share = static_cast<float>(parts[0] / (parts[0] + parts[1]));
        rgb = *model == MixModel::Spatial ? mixSpatial(colors[0], colors[1], share)
                                          : mixSubtractive(colors[0], colors[1], share);
        lab = labOf(rgb);
    }

    if (options.json) {
        JsonWriter json;
        json.beginObject().key("mode").value(options.mode).key("paints").beginArray();
        for (std::size_t k = 0; k < colors.size(); ++k) {
            json.beginObject().key("rgb");
            writeRgb(json, colors[k]);
            json.key("parts").number(parts[k], 17).endObject();
        }
        json.endArray().key("rgb");
        writeRgb(json, rgb);
        json.key("lab").beginArray().fixed(lab.lightness, 4).fixed(lab.a, 4).fixed(lab.b, 4).endArray().endObject();
        context.io.out << json.text() << '\n';
    } else {
        context.io.out << rgbText(rgb) << "  Lab " << fixedText(lab.lightness) << ' ' << fixedText(lab.a) << ' '
                       << fixedText(lab.b) << "  (" << options.mode << ")\n";
    }
    return kExitOk;
}

} // namespace

void addMixCommands(CLI::App &app, Commands &commands)
{
    auto options = std::make_shared<MixOptions>();
    CLI::App *mix = app.add_subcommand("mix", "The predicted colour of paints mixed at the given parts");
    mix->add_option("--mode", options->mode, "pigment, spatial or subtractive (default pigment)");
    mix->add_flag("--json", options->json, "One JSON object");
    mix->add_option("PAINT", options->paints, "COLOUR:PARTS, two of them (three for pigment)")->required();
    commands.push_back({mix, [options](Context &context) { return runMix(context, *options); }});
}

} // namespace pigmora::cli
