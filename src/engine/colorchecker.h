#pragma once

#include "image/chartgeometry.h"
#include "image/colortransform.h"

#include <array>

// The reference colours of the classic 24-patch colour chart (data/colorchecker/
// names the source), patches 1 .. 24 row by row from the top left.
namespace pigmora::chart {

struct PatchReference {
    int number;
    const char *name;
    double lightness; // CIELAB, D50
    double a;
    double b;
};

extern const std::array<PatchReference, kPatches> kReferenceD50;

// The patches in linear sRGB (D65): CIELAB (D50) to XYZ, Bradford
// adaptation to the sRGB white, the sRGB matrix. Not clipped: a few patches
// lie a little outside sRGB.
const std::array<Linear3, kPatches> &referenceLinear();

} // namespace pigmora::chart
