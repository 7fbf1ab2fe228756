#pragma once

#include "data/color.h"

#include <array>
#include <span>
#include <vector>

// Learning the painter's paints: a tinting strength per paint, fitted to
// mixes the painter made and measured (observations), so that the pigment
// model predicts their own mixes (see pigmentConcentrations).
namespace pigmora {

inline constexpr double kMinStrength = 0.05;
inline constexpr double kMaxStrength = 20.0;

// One mix the painter made: up to three paints (indexes into the paint list,
// -1 for none) at parts (positive where a paint is given), and the colour it
// came out.
struct MixObservation {
    RgbColor measured;
    std::array<int, 3> paints{-1, -1, -1};
    std::array<double, 3> parts{};
};

struct StrengthFit {
    std::vector<double> strengths; // per paint; 1 for a paint in no observation
    std::vector<int> observationCounts; // per paint
    double meanBefore = 0.0; // mean ΔE00 of the observations with every strength 1
    double meanAfter = 0.0; // ... with the fitted strengths
};

// Minimises the mean ΔE00 between the observations and the pigment model's
// prediction of them plus a weak pull of each log-strength toward 0:
//   (1/N) Σ ΔE00_n + (kStrengthPrior / N) Σ_i (ln S_i)²,
// S_i in [kMinStrength, kMaxStrength]. The pull costs as much as 0.5 ΔE00 in
// one observation for ln S = ±1 (S = 2.7 or 0.37), so a paint seen in a mix
// or two moves only as far as those mixes clearly ask, while one seen in many
// follows its mixes. (On simulated paints whose true mixing differs from the
// model, this weight predicted held-out ratios as well as 0.05 with all
// observations and better with 30; 2.0 was worse with 30.)
// Observations naming an index outside the paint list or no two paints with
// positive parts are ignored.
//
// Optimiser: cyclic coordinate descent on ln S. Each strength only moves the
// observations it is in, so one coordinate is cheap to scan: a grid over the
// whole range in the first sweeps (mixes can have more than one good ratio),
// then a narrower grid, each refined by golden-section search. Mixes depend
// only on ratios of strengths, so after each sweep every connected group of
// paints is shifted together to where the pull is least (which changes no
// prediction). Deterministic; stops when a sweep gains less than 1e-7.
inline constexpr double kStrengthPrior = 0.5;
StrengthFit fitStrengths(std::span<const RgbColor> paints, std::span<const MixObservation> observations);

} // namespace pigmora
