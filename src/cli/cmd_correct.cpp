// Correcting a mix that came out wrong: "correct".
#include "cli/colorarg.h"
#include "cli/commands.h"
#include "cli/context.h"
#include "cli/json.h"
#include "cli/recipeargs.h"

#include "engine/mixcorrection.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <memory>
#include <ostream>

namespace pigmora::cli {

namespace {

struct CorrectOptions {
    std::string mode = "pigment";
    std::string paintsFile;
    bool json = false;
    std::vector<std::string> args; // TARGET GOT PAINT...
};

std::string twoDecimals(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

// "add 1 part of #1E3C96 and 2 parts of 340 群青".
std::string additionText(const std::vector<RecipeArgument> &recipe, const std::vector<int> &add)
{
    std::vector<std::string> items;
    for (std::size_t k = 0; k < add.size(); ++k) {
        if (add[k] > 0)
            items.push_back(std::to_string(add[k]) + (add[k] == 1 ? " part of " : " parts of ") + recipe[k].label);
    }
    std::string text = "add ";
    for (std::size_t k = 0; k < items.size(); ++k)
        text += (k == 0 ? "" : (k + 1 == items.size() ? " and " : ", ")) + items[k];
    return text;
}

int runCorrect(Context &context, const CorrectOptions &options)
{
    const auto model = parseModelName(context, options.mode);
    if (!model)
        return kExitFailure;
    if (options.args.size() < 4 || options.args.size() > 5) {
        return context.fail("correct takes TARGET, GOT and two or three paints, "
                            + std::to_string(options.args.size() < 2 ? 0 : options.args.size() - 2) + " paints given");
    }
    const auto target = parseColor(options.args[0]);
    const auto got = parseColor(options.args[1]);
    if (!target || !got) {
        return context.fail("malformed colour '" + options.args[target ? 1 : 0]
                            + "' (expected R,G,B with values 0..255, or #RRGGBB)");
    }
    const std::vector<std::string> paintArgs(options.args.begin() + 2, options.args.end());
    const auto recipe = readRecipe(context, paintArgs, options.paintsFile);
    if (!recipe)
        return kExitFailure;
    const MixCorrection correction = correctMix(*model, recipe->paints, recipe->parts, *target, *got);

    if (options.json) {
        JsonWriter json;
        json.beginObject().key("add").beginArray();
        for (const int a : correction.add)
            json.value(a);
        json.endArray().key("estimated_parts").beginArray();
        for (const double p : correction.estimatedParts)
            json.fixed(p, 4);
        json.endArray()
            .key("delta_e00_before")
            .fixed(correction.deltaE00Before, 4)
            .key("delta_e00_after")
            .fixed(correction.deltaE00After, 4)
            .key("helps")
            .value(correction.helps)
            .endObject();
        context.io.out << json.text() << '\n';
    } else if (correction.helps) {
        context.io.out << additionText(recipe->arguments, correction.add) << " (ΔE00 "
                       << twoDecimals(correction.deltaE00Before) << " → " << twoDecimals(correction.deltaE00After)
                       << ")\n";
    } else {
        context.io.out << "nothing helps: no paint of the recipe added brings the mix closer (ΔE00 "
                       << twoDecimals(correction.deltaE00Before) << ")\n";
    }
    return kExitOk;
}

} // namespace

void addCorrectCommands(CLI::App &app, Commands &commands)
{
    auto options = std::make_shared<CorrectOptions>();
    CLI::App *correct = app.add_subcommand(
        "correct", "A mix came out wrong: which whole parts of its paints to add to get closer to the target");
    correct->add_option("--mode", options->mode, "pigment, spatial or subtractive (default pigment)");
    correct->add_option("--paints", options->paintsFile,
                        "Box CSV code,name,r,g,b[,strength]: its paints may be given as CODE:PARTS");
    correct->add_flag("--json", options->json, "One JSON object");
    correct
        ->add_option("ARGS", options->args,
                     "TARGET GOT PAINT PAINT [PAINT]: colours R,G,B or #RRGGBB, paints COLOUR:PARTS or CODE:PARTS")
        ->required();
    commands.push_back({correct, [options](Context &context) { return runCorrect(context, *options); }});
}

} // namespace pigmora::cli
