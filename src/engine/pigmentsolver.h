#pragma once

#include "data/records.h"
#include "engine/mixresult.h"
#include "engine/solvecontrol.h"

#include <span>

// The pigment model's solve with the painter's own paints: each paint may
// carry a tinting strength S (1 by default), and a mix at shares p has the
// concentrations S_i·p_i / Σ S_j·p_j (see pigmentConcentrations). The answer's
// proportions are the shares, the parts a painter measures; with every
// strength 1 (or all equal) the answer is exactly that of findPigmentMix.
namespace pigmora {

// strengths: one per box paint in box order, each positive; empty: all 1.
// difference, when given, receives the ΔE00 the search scored for the answer:
// that of the unrounded mix (for a single paint, of its own colour). control,
// when given, follows the search and may cancel it: it then returns false
// within a few milliseconds, with no answer.
bool findPigmentMix(std::span<const PaintColorRecord> box, std::span<const double> strengths, MixResult &result,
                    double *difference = nullptr, SolveControl *control = nullptr);

namespace reference {
bool findPigmentMix(std::span<const PaintColorRecord> box, std::span<const double> strengths, MixResult &result,
                    double *difference = nullptr);
} // namespace reference

} // namespace pigmora
