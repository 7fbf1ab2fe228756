#include "engine/whitebalance.h"

#include "image/picturesampler.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace pigmora {

namespace {

constexpr double kMaxChannelRatio = 16.0;

// XYZ to the Bradford cone space.
constexpr Matrix3 kBradford{{0.8951, 0.2664, -0.1614, -0.7502, 1.7135, 0.0367, 0.0389, -0.0685, 1.0296}};

// The sRGB matrix, as colordifference uses it, and its exact inverse.
Matrix3 srgbToXyz()
{
    const Xyz r = xyzOfLinearRgb(1.0, 0.0, 0.0);
    const Xyz g = xyzOfLinearRgb(0.0, 1.0, 0.0);
    const Xyz b = xyzOfLinearRgb(0.0, 0.0, 1.0);
    return Matrix3{{r.x, g.x, b.x, r.y, g.y, b.y, r.z, g.z, b.z}};
}

std::string percent(double share)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %%", share * 100.0);
    return text;
}

} // namespace

double luminanceOf(const Linear3 &linear)
{
    return xyzOfLinearRgb(linear[0], linear[1], linear[2]).y;
}

Matrix3 bradfordAdaptation(const Xyz &from, const Xyz &to)
{
    const Linear3 source = kBradford * Linear3{from.x, from.y, from.z};
    const Linear3 target = kBradford * Linear3{to.x, to.y, to.z};
    const Matrix3 scale = Matrix3::diagonal(target[0] / source[0], target[1] / source[1], target[2] / source[2]);
    return *kBradford.inverse() * scale * kBradford;
}

Result<Matrix3> whiteBalanceMatrix(const AreaSample &reference)
{
    const Linear3 &linear = reference.linear;
    const double luminance = luminanceOf(linear);
    if (!(luminance >= kMinReferenceLuminance))
        return Status::error("the white reference is too dark (luminance " + percent(luminance)
                             + ", at least 2 % is needed)");
    const RgbColor &c = reference.color;
    if (c.red == 255 || c.green == 255 || c.blue == 255 || reference.clippedPixels * 10 > reference.pixels)
        return Status::error("the white reference is clipped (a channel at 255): pick a part of it that is not "
                             "burnt out");
    const Xyz white = srgbWhite();
    const Xyz from = xyzOfLinearRgb(linear[0], linear[1], linear[2]);
    const Linear3 cones = kBradford * Linear3{from.x, from.y, from.z};
    const Matrix3 toXyz = srgbToXyz();
    // A neutral under any light a photo is taken in keeps its channels
    // within a factor of 16 of each other; beyond that it is a colour.
    const double lowest = std::min({linear[0], linear[1], linear[2]});
    const double highest = std::max({linear[0], linear[1], linear[2]});
    std::optional<Matrix3> matrix;
    if (highest <= kMaxChannelRatio * lowest && cones[0] > 0.0 && cones[1] > 0.0 && cones[2] > 0.0) {
        const Matrix3 adapt
            = bradfordAdaptation(from, {white.x * luminance, white.y * luminance, white.z * luminance});
        if (const auto toRgb = toXyz.inverse())
            matrix = *toRgb * adapt * toXyz;
    }
    if (!matrix || !ColorTransform::accepts(*matrix))
        return Status::error("the white reference is too strongly coloured to be taken for a neutral");
    return *matrix;
}

} // namespace pigmora
