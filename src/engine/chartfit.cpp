#include "engine/chartfit.h"

#include "engine/colorchecker.h"
#include "engine/colordifference.h"
#include "image/picturesampler.h"
#include "image/picturesource.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace pigmora::chart {

namespace {

Lab labOfLinear(const Linear3 &linear)
{
    return labOfXyz(xyzOfLinearRgb(linear[0], linear[1], linear[2]), srgbWhite());
}

RgbColor encoded(const Linear3 &linear)
{
    return {linearToSrgb8(linear[0]), linearToSrgb8(linear[1]), linearToSrgb8(linear[2])};
}

std::string twoDecimals(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

} // namespace

std::optional<Matrix3> fitMatrix(std::span<const Linear3> measured, std::span<const Linear3> reference)
{
    // Normal equations: M = B^T A^-1 with A = sum m m^T, B = sum m r^T.
    Matrix3 a{{0, 0, 0, 0, 0, 0, 0, 0, 0}};
    Matrix3 b{{0, 0, 0, 0, 0, 0, 0, 0, 0}};
    for (std::size_t p = 0; p < measured.size() && p < reference.size(); ++p) {
        for (std::size_t i = 0; i < 3; ++i) {
            for (std::size_t j = 0; j < 3; ++j) {
                a.m[i * 3 + j] += measured[p][i] * measured[p][j];
                b.m[i * 3 + j] += measured[p][i] * reference[p][j];
            }
        }
    }
    const auto inverse = a.inverse();
    if (!inverse)
        return std::nullopt;
    Matrix3 bt;
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t j = 0; j < 3; ++j)
            bt.m[i * 3 + j] = b.m[j * 3 + i];
    return bt * *inverse;
}

Result<Fit> fitChart(const PictureSource &source, const std::array<Point, 4> &corners)
{
    for (const Point &corner : corners)
        if (!(corner.x >= 0.0 && corner.y >= 0.0 && corner.x < source.width() && corner.y < source.height()))
            return Status::error("a chart corner lies outside the picture");
    auto layout = layoutOf(corners);
    if (!layout)
        return layout.status();

    Fit fit;
    fit.layout = *layout;
    const auto &references = referenceLinear();
    std::vector<Linear3> measured;
    std::vector<Linear3> wanted;
    for (std::size_t i = 0; i < fit.patches.size(); ++i) {
        const Point &centre = fit.layout.centres[i];
        const auto sample = sampleArea(source, static_cast<int>(std::floor(centre.x)),
                                       static_cast<int>(std::floor(centre.y)), fit.layout.sampleSides[i]);
        if (!sample)
            return Status::error("a chart patch lies outside the picture");
        PatchFit &patch = fit.patches[i];
        patch.number = static_cast<int>(i) + 1;
        patch.measured = sample->color;
        patch.measuredLinear = sample->linear;
        patch.reference = encoded(references[i]);
        patch.used = sample->clippedPixels * 20 <= sample->pixels;
        if (patch.used) {
            measured.push_back(sample->linear);
            wanted.push_back(references[i]);
        }
    }
    fit.usedPatches = static_cast<int>(measured.size());
    if (fit.usedPatches < kMinUsedPatches)
        return Status::error("too many chart patches are clipped (" + std::to_string(kPatches - fit.usedPatches)
                             + " of 24): photograph the chart with less exposure");
    const auto matrix = fitMatrix(measured, wanted);
    if (!matrix || !ColorTransform::accepts(*matrix))
        return Status::error("the chart's patches do not tell the colours apart: the corners are probably wrong");
    fit.matrix = *matrix;

    const auto transform = ColorTransform::make(fit.matrix);
    if (!transform)
        return Status::error("not enough memory for the chart correction");
    double sum = 0.0;
    for (std::size_t i = 0; i < fit.patches.size(); ++i) {
        PatchFit &patch = fit.patches[i];
        patch.corrected = transform->applyLinear(patch.measuredLinear);
        patch.deltaE00 = deltaE00(labOfLinear(fit.matrix * patch.measuredLinear), labOfLinear(references[i]));
        if (patch.used) {
            sum += patch.deltaE00;
            fit.maxDeltaE00 = std::max(fit.maxDeltaE00, patch.deltaE00);
        }
    }
    fit.meanDeltaE00 = sum / fit.usedPatches;
    if (!(fit.meanDeltaE00 <= kMaxMeanDeltaE00))
        return Status::error("the chart fit is poor (mean ΔE00 " + twoDecimals(fit.meanDeltaE00)
                             + " over the patches, at most 10 is accepted): the corners are probably wrong");
    return fit;
}

} // namespace pigmora::chart
