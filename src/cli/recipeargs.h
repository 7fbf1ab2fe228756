#pragma once

#include "engine/mixsolver.h"
#include "engine/recipe.h"

#include <optional>
#include <string>
#include <vector>

namespace pigmora::cli {

class Context;
struct PaintsFile;

// One paint of a recipe on the command line: COLOUR:PARTS, or CODE:PARTS
// naming a paint of the --paints box (with its strength).
struct RecipeArgument {
    RecipePaint paint;
    double parts = 0.0;
    std::string code; // empty for a colour
    std::string label; // "#RRGGBB", or "CODE NAME"
};

// Parses every argument; nothing (the reason printed) at the first bad one.
std::optional<std::vector<RecipeArgument>> parseRecipeArguments(Context &context, const std::vector<std::string> &args,
                                                                const PaintsFile *paints);

// A recipe from the command line, with the --paints box its codes name
// (when paintsFile is not empty): the arguments and their paints and parts.
struct Recipe {
    std::vector<RecipeArgument> arguments;
    std::vector<RecipePaint> paints;
    std::vector<double> parts;
};
std::optional<Recipe> readRecipe(Context &context, const std::vector<std::string> &args, const std::string &paintsFile);

// "pigment", "spatial" or "subtractive"; nothing (the reason printed) else.
std::optional<MixModel> parseModelName(Context &context, const std::string &name);

// "#RRGGBB".
std::string hexText(const RgbColor &color);

} // namespace pigmora::cli
