#pragma once

#include "data/color.h"
#include "engine/colordifference.h"
#include "engine/colorimetrytables.h"

#include <array>
#include <cmath>
#include <span>

// Paints mixed as pigment (Kubelka-Munk, one constant): each paint's 8-bit
// sRGB colour is turned into a reflectance curve from the three sRGB basis
// curves, the curve into absorption over scattering (K/S) per wavelength; a
// mix's K/S is the concentration-weighted sum of its paints' K/S, and its
// reflectance is seen through the CIE 1931 observer under D65.
namespace pigmora {

// Rounded up to whole vectors of four; the padding holds K/S 0 (reflectance
// 1) and observer weight 0, so it adds exact zeros to every sum.
inline constexpr int kPaddedWavelengthCount = 84;
// Reflectances are kept within [kMinReflectance, 1 - kMinReflectance] so that
// K/S stays finite.
inline constexpr double kMinReflectance = 1e-4;

struct KsCurve {
    alignas(32) std::array<double, kPaddedWavelengthCount> ks{};
};

// The observer's weights per wavelength (x̄·D65 etc., scaled so that a flat
// reflectance of 1 has Y = 1) and that flat reflectance's XYZ, the white of
// the mixes' CIELAB.
struct ObserverWeights {
    alignas(32) std::array<double, kPaddedWavelengthCount> x{};
    alignas(32) std::array<double, kPaddedWavelengthCount> y{};
    alignas(32) std::array<double, kPaddedWavelengthCount> z{};
    Xyz white;
};
const ObserverWeights &observerWeights();

// The reflectance curve of an 8-bit sRGB colour, clamped, as K/S.
KsCurve ksCurveOf(const RgbColor &color);

// Reflectance of a K/S value: 1 + K/S - sqrt((K/S)² + 2·K/S).
inline double reflectanceOfKs(double ks)
{
    return 1.0 + ks - std::sqrt(ks * ks + 2.0 * ks);
}

// XYZ of a mix at the given concentrations (adding up to 1). Every wavelength
// is summed in order, 380 nm first; the three-paint K/S is (c1·K1 + c2·K2) + c3·K3.
Xyz pigmentXyz(const KsCurve &first, double c1, const KsCurve &second, double c2);
Xyz pigmentXyz(const KsCurve &first, double c1, const KsCurve &second, double c2, const KsCurve &third, double c3);

// A mix's CIELAB (white: the flat reflectance of 1) and its 8-bit sRGB colour
// (inverse sRGB matrix, transfer curve, rounded and clipped).
Lab pigmentLab(const Xyz &xyz);
RgbColor pigmentRgb(const Xyz &xyz);

// The concentrations of paints mixed at the given parts (non-negative, some
// positive) with the given tinting strengths: S_i·p_i / Σ S_j·p_j, so a
// strong paint colours a mix more than its share says. When the strengths are
// all equal (no strengths known: all 1) they are p_i / Σ p_j exactly, the
// sums taken in order. out has the size of parts.
void pigmentConcentrations(std::span<const double> parts, std::span<const double> strengths, std::span<double> out);

// The colour of two or three paints at the given parts (positive; they need
// not add up to 1), with a tinting strength each (empty: all 1). Anything
// else yields nothing useful: callers check.
struct PigmentColor {
    Lab lab;
    RgbColor rgb;
};
PigmentColor mixPigments(std::span<const RgbColor> colors, std::span<const double> parts,
                         std::span<const double> strengths = {});

} // namespace pigmora
