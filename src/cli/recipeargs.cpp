#include "cli/recipeargs.h"

#include "cli/colorarg.h"
#include "cli/context.h"
#include "cli/paintsfile.h"

#include "data/platform.h"

#include <cstdio>

namespace pigmora::cli {

namespace {

// Parts beyond this are no recipe a painter mixes; it keeps every sum finite.
constexpr double kMostParts = 1e6;

std::optional<RecipeArgument> parseRecipeArgument(Context &context, const std::string &arg, const PaintsFile *paints)
{
    const std::size_t colon = arg.rfind(':');
    if (colon == std::string::npos) {
        context.fail("'" + arg + "' is not " + (paints ? "CODE:PARTS or " : "") + "COLOUR:PARTS (for example "
                     + "255,0,0:2 or #FF0000:1.5)");
        return std::nullopt;
    }
    const std::string name = arg.substr(0, colon);
    RecipeArgument argument;
    std::size_t matches = 0;
    if (paints) {
        for (std::size_t k = 0; k < paints->box.size(); ++k) {
            if (platform::gbkToUtf8(paints->box[k].code()) != name)
                continue;
            if (++matches > 1)
                break;
            argument.paint = {paints->box[k].color(), paints->strengths[k]};
            argument.code = name;
            argument.label = name + ' ' + platform::gbkToUtf8(paints->box[k].name());
        }
    }
    if (matches > 1) {
        context.fail("code '" + name + "' names more than one paint of the --paints box");
        return std::nullopt;
    }
    if (matches == 0) {
        const auto color = parseColor(name);
        if (!color) {
            context.fail((paints ? "'" + name + "' is no code of the --paints box and no colour"
                                 : "malformed colour '" + name + "'")
                         + " (expected R,G,B with values 0..255, or #RRGGBB)");
            return std::nullopt;
        }
        argument.paint = {*color, 1.0};
        argument.label = hexText(*color);
    }
    const auto parts = parsePositiveNumber(std::string_view(arg).substr(colon + 1));
    if (!parts || *parts > kMostParts) {
        context.fail("parts '" + arg.substr(colon + 1) + "' of " + name + " must be a positive number up to 1000000");
        return std::nullopt;
    }
    argument.parts = *parts;
    return argument;
}

} // namespace

std::optional<std::vector<RecipeArgument>> parseRecipeArguments(Context &context, const std::vector<std::string> &args,
                                                                const PaintsFile *paints)
{
    std::vector<RecipeArgument> arguments;
    for (const std::string &arg : args) {
        auto argument = parseRecipeArgument(context, arg, paints);
        if (!argument)
            return std::nullopt;
        arguments.push_back(std::move(*argument));
    }
    return arguments;
}

std::optional<Recipe> readRecipe(Context &context, const std::vector<std::string> &args, const std::string &paintsFile)
{
    std::optional<PaintsFile> paints;
    if (!paintsFile.empty()) {
        paints = readPaintsFile(context, paintsFile);
        if (!paints)
            return std::nullopt;
    }
    auto arguments = parseRecipeArguments(context, args, paints ? &*paints : nullptr);
    if (!arguments)
        return std::nullopt;
    Recipe recipe;
    recipe.arguments = std::move(*arguments);
    for (const RecipeArgument &argument : recipe.arguments) {
        recipe.paints.push_back(argument.paint);
        recipe.parts.push_back(argument.parts);
    }
    return recipe;
}

std::optional<MixModel> parseModelName(Context &context, const std::string &name)
{
    if (name == "pigment")
        return MixModel::Pigment;
    if (name == "spatial")
        return MixModel::Spatial;
    if (name == "subtractive")
        return MixModel::Subtractive;
    context.fail("unknown mixing mode '" + name + "' (pigment, spatial or subtractive)");
    return std::nullopt;
}

std::string hexText(const RgbColor &color)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", color.red & 0xFF, color.green & 0xFF, color.blue & 0xFF);
    return text;
}

} // namespace pigmora::cli
