#pragma once

#include "data/color.h"
#include "data/records.h"

#include <array>

namespace pigmora {

// The solver's in/out record. The caller sets the target's red, green and
// blue and leaves everything else as constructed; the solver fills the rest.
// paints[k] / proportions[k] hold paint k + 1 and its share; a paint takes
// part in the mix when its used flag is 1.
struct MixResult {
    PaintColorRecord target;
    PaintColorRecord mixed;
    std::array<PaintColorRecord, 3> paints{};
    std::array<float, 3> proportions{1.0f, 0.0f, 0.0f};
    double deviation = -1.0;

    static MixResult forTarget(const RgbColor &color)
    {
        MixResult result;
        result.target.setColor(color);
        return result;
    }

    // A solve that returned true left a usable answer.
    bool isValid() const { return deviation > -1e-8; }
};

} // namespace pigmora
