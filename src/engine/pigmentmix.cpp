#include "engine/pigmentmix.h"

#include <algorithm>
#include <cassert>

namespace pigmora {

namespace {

ObserverWeights makeWeights()
{
    ObserverWeights w;
    double norm = 0.0;
    for (const spectral::ObserverRow &row : spectral::kObserverD65)
        norm += row.ybar * row.d65;
    for (std::size_t k = 0; k < spectral::kWavelengthCount; ++k) {
        const spectral::ObserverRow &row = spectral::kObserverD65[k];
        w.x[k] = row.xbar * row.d65 / norm;
        w.y[k] = row.ybar * row.d65 / norm;
        w.z[k] = row.zbar * row.d65 / norm;
    }
    // The white is summed like every mix: a reflectance of 1 everywhere.
    for (std::size_t k = 0; k < spectral::kWavelengthCount; ++k) {
        w.white.x += 1.0 * w.x[k];
        w.white.y += 1.0 * w.y[k];
        w.white.z += 1.0 * w.z[k];
    }
    return w;
}

} // namespace

const ObserverWeights &observerWeights()
{
    static const ObserverWeights weights = makeWeights();
    return weights;
}

KsCurve ksCurveOf(const RgbColor &color)
{
    const double r = srgbToLinear(color.red);
    const double g = srgbToLinear(color.green);
    const double b = srgbToLinear(color.blue);
    KsCurve curve;
    for (std::size_t k = 0; k < spectral::kWavelengthCount; ++k) {
        const spectral::BasisRow &basis = spectral::kSrgbBasis[k];
        const double reflectance
            = std::clamp(r * basis.red + g * basis.green + b * basis.blue, kMinReflectance, 1.0 - kMinReflectance);
        curve.ks[k] = (1.0 - reflectance) * (1.0 - reflectance) / (2.0 * reflectance);
    }
    return curve;
}

Xyz pigmentXyz(const KsCurve &first, double c1, const KsCurve &second, double c2)
{
    const ObserverWeights &w = observerWeights();
    Xyz xyz;
    for (std::size_t k = 0; k < spectral::kWavelengthCount; ++k) {
        const double reflectance = reflectanceOfKs(c1 * first.ks[k] + c2 * second.ks[k]);
        xyz.x += reflectance * w.x[k];
        xyz.y += reflectance * w.y[k];
        xyz.z += reflectance * w.z[k];
    }
    return xyz;
}

Xyz pigmentXyz(const KsCurve &first, double c1, const KsCurve &second, double c2, const KsCurve &third, double c3)
{
    const ObserverWeights &w = observerWeights();
    Xyz xyz;
    for (std::size_t k = 0; k < spectral::kWavelengthCount; ++k) {
        const double reflectance = reflectanceOfKs(c1 * first.ks[k] + c2 * second.ks[k] + c3 * third.ks[k]);
        xyz.x += reflectance * w.x[k];
        xyz.y += reflectance * w.y[k];
        xyz.z += reflectance * w.z[k];
    }
    return xyz;
}

Lab pigmentLab(const Xyz &xyz)
{
    return labOfXyz(xyz, observerWeights().white);
}

RgbColor pigmentRgb(const Xyz &xyz)
{
    double r = 0.0;
    double g = 0.0;
    double b = 0.0;
    linearRgbOfXyz(xyz, r, g, b);
    return {linearToSrgb8(r), linearToSrgb8(g), linearToSrgb8(b)};
}

void pigmentConcentrations(std::span<const double> parts, std::span<const double> strengths, std::span<double> out)
{
    assert(out.size() == parts.size() && (strengths.empty() || strengths.size() == parts.size()));
    const bool equal = std::all_of(strengths.begin(), strengths.end(),
                                   [&](double strength) { return strength == strengths.front(); });
    double total = 0.0;
    for (std::size_t k = 0; k < parts.size(); ++k)
        total += equal ? parts[k] : strengths[k] * parts[k];
    for (std::size_t k = 0; k < parts.size(); ++k)
        out[k] = (equal ? parts[k] : strengths[k] * parts[k]) / total;
}

PigmentColor mixPigments(std::span<const RgbColor> colors, std::span<const double> parts,
                         std::span<const double> strengths)
{
    assert(colors.size() == parts.size() && (colors.size() == 2 || colors.size() == 3));
    std::array<double, 3> c{};
    pigmentConcentrations(parts, strengths, std::span(c.data(), parts.size()));
    Xyz xyz;
    if (colors.size() == 3) {
        xyz = pigmentXyz(ksCurveOf(colors[0]), c[0], ksCurveOf(colors[1]), c[1], ksCurveOf(colors[2]), c[2]);
    } else {
        xyz = pigmentXyz(ksCurveOf(colors[0]), c[0], ksCurveOf(colors[1]), c[1]);
    }
    return {pigmentLab(xyz), pigmentRgb(xyz)};
}

} // namespace pigmora
