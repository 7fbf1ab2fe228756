#pragma once

#include "data/color.h"
#include "engine/colordifference.h"
#include "engine/mixsolver.h"
#include "engine/pigmentmix.h"

#include <array>
#include <span>
#include <vector>

// Recipes in parts: the colour of up to three paints mixed at given parts in
// any model, and the simplest whole-part recipe for a solved answer.
namespace pigmora {

// A paint as a recipe mixes it: its colour (0..255) and tinting strength
// (pigment model only; 1 unless the painter's mixes taught otherwise).
struct RecipePaint {
    RgbColor color;
    double strength = 1.0;
};

// A recipe's colour: CIELAB and 8-bit sRGB.
struct RecipeColor {
    Lab lab;
    RgbColor rgb;
};

// The colour of paints mixed at parts (finite, non-negative, at least one
// positive); a paint with 0 parts takes no part. One paint alone is its own
// colour. Pigment: concentrations from parts and strengths, CIELAB of the
// unrounded mix. Spatial and subtractive mix as their solves do: the first
// two paints at the first one's share p1 / (p1 + p2) in single precision,
// then a third into that colour at the base's share (p1 + p2) / T; CIELAB of
// the 8-bit result.
RecipeColor mixRecipe(MixModel model, std::span<const RecipePaint> paints, std::span<const double> parts);

// mixRecipe for one set of paints at many parts: the pigment curves are
// made once.
class RecipeMixer
{
public:
    RecipeMixer(MixModel model, std::span<const RecipePaint> paints);
    RecipeColor mix(std::span<const double> parts) const;
    std::size_t size() const { return m_paints.size(); }

private:
    MixModel m_model;
    std::vector<RecipePaint> m_paints;
    std::vector<KsCurve> m_curves;
};

inline constexpr int kDefaultMaxParts = 12;
inline constexpr int kMinMaxParts = 2;
inline constexpr int kMaxMaxParts = 100;
// Below the difference the unrounded recipe has plus this, a parts recipe is
// good enough to stop at its total.
inline constexpr double kPartsTolerance = 0.5;

// A whole-part recipe: parts per answer paint (0 where the paint takes no
// part), the ΔE00 of its mix to the target and how much one part more or
// less of any one paint changes the mix (its largest ΔE00 from the recipe's
// mix; never below 1 part).
struct PartsRecipe {
    std::array<int, 3> parts{};
    double deltaE00 = 0.0;
    double onePartOff = 0.0;
};

// The simplest whole-part recipe for the paints marked used (at least one):
// each at least 1 part, totals T from 2 (1 for a single paint) to maxParts.
// The smallest T whose best parts (lexicographic order first on exact ties)
// come within kPartsTolerance of unroundedDeltaE00; if none does, the best
// over all T, the smallest T on ties.
PartsRecipe findPartsRecipe(MixModel model, const std::array<RecipePaint, 3> &paints, const std::array<bool, 3> &used,
                            const Lab &target, double unroundedDeltaE00, int maxParts = kDefaultMaxParts);

// The largest ΔE00 between the recipe's mix and the same recipe with one
// paint's parts one more or one less (never below 1).
double onePartOff(MixModel model, const std::array<RecipePaint, 3> &paints, const std::array<int, 3> &parts);

} // namespace pigmora
