#pragma once

#include "data/color.h"
#include "engine/mixsolver.h"
#include "engine/recipe.h"

#include <span>
#include <vector>

// Mix, check, correct: the painter mixed a recipe for a target and got
// another colour. Estimate the parts really in the mix, then suggest whole
// parts of the recipe's paints to add (paint cannot be taken out).
namespace pigmora {

struct MixCorrection {
    // Per recipe paint. The estimate is a multiple of 0.0001 (so that it can
    // be written down and mixed again exactly); the additions are whole parts.
    std::vector<double> estimatedParts;
    std::vector<int> add;
    double deltaE00Before = 0.0; // the colour got to the target
    double deltaE00After = 0.0; // the predicted corrected mix to the target
    // False when no addition brings the mix closer: add is all 0 and After
    // is the estimated mix's difference.
    bool helps = false;
};

// The estimate: among all non-negative parts, those whose mix comes closest
// to the colour got, each ratio taken at the scale nearest the recipe, with
// a small pull toward the recipe itself (kEstimatePull ΔE00 per recipe total
// of distance², so that of two nearly equal explanations the nearer wins).
// The additions: whole parts, at most the recipe's total (its parts summed,
// rounded down, at least 1) in all, minimising the predicted ΔE00 to the
// target plus kPartCost per part added (an extra part must buy at least
// that much). They help only when they beat both the estimate's prediction
// and the colour got.
inline constexpr double kEstimatePull = 1.0;
inline constexpr double kPartCost = 0.01;
MixCorrection correctMix(MixModel model, std::span<const RecipePaint> paints, std::span<const double> parts,
                         const RgbColor &target, const RgbColor &got);

} // namespace pigmora
