// The predicted colour of a recipe: "mix".
#include "cli/colorarg.h"
#include "cli/commands.h"
#include "cli/context.h"
#include "cli/json.h"
#include "cli/output.h"
#include "cli/recipeargs.h"

#include "engine/colordifference.h"
#include "engine/recipe.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <memory>
#include <ostream>

namespace pigmora::cli {

namespace {

struct MixOptions {
    std::string mode = "pigment";
    std::string paintsFile;
    std::string target;
    bool json = false;
    std::vector<std::string> paints;
};

std::string fixedText(double value)
{
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.4f", value);
    return buffer;
}

int runMix(Context &context, const MixOptions &options)
{
    const auto model = parseModelName(context, options.mode);
    if (!model)
        return kExitFailure;
    if (options.paints.size() < 2 || options.paints.size() > 3) {
        return context.fail(options.mode + " mixing takes two or three paints, " + std::to_string(options.paints.size())
                            + " given");
    }
    std::optional<RgbColor> target;
    if (!options.target.empty()) {
        target = parseColor(options.target);
        if (!target) {
            return context.fail("malformed colour '" + options.target
                                + "' (expected R,G,B with values 0..255, or #RRGGBB)");
        }
    }
    const auto recipe = readRecipe(context, options.paints, options.paintsFile);
    if (!recipe)
        return kExitFailure;
    const RecipeColor mix = mixRecipe(*model, recipe->paints, recipe->parts);
    const double difference = target ? deltaE00(labOf(*target), mix.lab) : 0.0;

    if (options.json) {
        JsonWriter json;
        json.beginObject().key("mode").value(options.mode).key("paints").beginArray();
        for (const RecipeArgument &argument : recipe->arguments) {
            json.beginObject();
            if (!argument.code.empty())
                json.key("code").value(argument.code);
            json.key("rgb");
            writeRgb(json, argument.paint.color);
            json.key("parts").number(argument.parts, 17);
            if (!argument.code.empty())
                json.key("strength").number(argument.paint.strength, 17);
            json.endObject();
        }
        json.endArray().key("rgb");
        writeRgb(json, mix.rgb);
        json.key("lab").beginArray().fixed(mix.lab.lightness, 4).fixed(mix.lab.a, 4).fixed(mix.lab.b, 4).endArray();
        if (target)
            json.key("delta_e00").fixed(difference, 4);
        json.endObject();
        context.io.out << json.text() << '\n';
    } else {
        context.io.out << rgbText(mix.rgb) << "  Lab " << fixedText(mix.lab.lightness) << ' ' << fixedText(mix.lab.a)
                       << ' ' << fixedText(mix.lab.b) << "  (" << options.mode << ")";
        if (target)
            context.io.out << "  ΔE00 " << fixedText(difference);
        context.io.out << '\n';
    }
    return kExitOk;
}

} // namespace

void addMixCommands(CLI::App &app, Commands &commands)
{
    auto options = std::make_shared<MixOptions>();
    CLI::App *mix = app.add_subcommand("mix", "The predicted colour of paints mixed at the given parts");
    mix->add_option("--mode", options->mode, "pigment, spatial or subtractive (default pigment)");
    mix->add_option("--paints", options->paintsFile,
                    "Box CSV code,name,r,g,b[,strength]: its paints may be given as CODE:PARTS");
    mix->add_option("--target", options->target, "A colour to compare the mix with (its ΔE00)");
    mix->add_flag("--json", options->json, "One JSON object");
    mix->add_option("PAINT", options->paints, "COLOUR:PARTS or CODE:PARTS, two or three of them")->required();
    commands.push_back({mix, [options](Context &context) { return runMix(context, *options); }});
}

} // namespace pigmora::cli
