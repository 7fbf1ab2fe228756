#pragma once

#include "data/color.h"
#include "data/status.h"
#include "image/chartgeometry.h"
#include "image/colortransform.h"

#include <array>
#include <optional>
#include <span>

namespace pigmora {
class PictureSource;
}

// Calibration with a photographed 24-patch colour chart: the patches located
// by the perspective mapping of the four corner clicks, each sampled with a
// square of a third of the patch spacing, and a 3 x 3 matrix in linear sRGB
// fitted by least squares to the chart's reference colours.
namespace pigmora::chart {

// A fit worse than this (mean ΔE00 over the patches) means the corners were
// not the chart's.
inline constexpr double kMaxMeanDeltaE00 = 10.0;
// Fewer usable patches than this (the others clipped) give no trustworthy fit.
inline constexpr int kMinUsedPatches = 12;

struct PatchFit {
    int number = 0; // 1 .. 24
    RgbColor measured; // the patch's sample as photographed
    RgbColor corrected; // that sample corrected, as a pick shows it
    RgbColor reference; // the chart's colour in sRGB (clipped to it)
    Linear3 measuredLinear{};
    // From the fitted colour (linear, before rounding) to the reference.
    double deltaE00 = 0.0;
    // False for a patch left out of the fit: more than a twentieth of its
    // sample's pixels had a channel at 255.
    bool used = true;
};

struct Fit {
    Matrix3 matrix;
    std::array<PatchFit, kPatches> patches{};
    // Over the patches used.
    double meanDeltaE00 = 0.0;
    double maxDeltaE00 = 0.0;
    int usedPatches = 0;
    Layout layout;
};

// The least-squares matrix M minimising the sum of |M measured - reference|^2;
// none when the measured colours do not span the three channels.
std::optional<Matrix3> fitMatrix(std::span<const Linear3> measured, std::span<const Linear3> reference);

// Samples the patches of the picture and fits the matrix. Corners in
// picture coordinates (centres of patches 1, 6, 24, 19). Refused with the
// layout's reasons, for a corner outside the picture, for too many clipped
// patches, for a fit that cannot be made, and for a mean ΔE00 above
// kMaxMeanDeltaE00 (the corners are probably wrong).
Result<Fit> fitChart(const PictureSource &source, const std::array<Point, 4> &corners);

} // namespace pigmora::chart
