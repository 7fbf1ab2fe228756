#pragma once

#include "engine/colordifference.h"
#include "engine/pigmentmix.h"

#include <limits>

// Proven bounds on whole families of pigment mixes, for the pruned search:
// two groups of paints (a group may be one paint, or a fixed mix) mixed at
// any concentration within a range.
//
// At each wavelength a mix's K/S is c·K1 + (1 - c)·K2, linear in c, and the
// reflectance falls as K/S rises; so over a range of c and over groups whose
// K/S lie within known bounds, each reflectance lies between the values at
// the extreme K/S, and XYZ (non-negative weights) between their sums. The
// reflectance is also convex in K/S, hence each of X, Y, Z is convex in c for
// one pair: over a range it never exceeds its larger value at the range's ends.
// Besides X, Y and Z the box bounds X/Xn - Y/Yn and Y/Yn - Z/Zn (weights of
// either sign, each reflectance at its worst end): a* and b* follow their
// differences far more closely than the corners of the XYZ box, whose
// components rise and fall together with the lightness.
//
// Rounding: the computed concentrations and K/S err by a few units in the last
// place (relative, all terms non-negative), the computed reflectance by less
// than 3·2⁻⁵³·(1 + K/S) <= 2e-12 (K/S <= 5000), the weighted sums by less
// than 1e-14. The margins below exceed these a hundredfold, so the bounds hold
// for the colours the search computes, not only for exact ones.
namespace pigmora {

// Every paint of a group has its K/S within [low, high] at each wavelength
// (kPaddedWavelengthCount values each; one paint: low == high).
struct KsBounds {
    const double *low = nullptr;
    const double *high = nullptr;
};

struct XyzBox {
    Xyz low;
    Xyz high;
    // The range of u = X/Xn - Y/Yn and of v = Y/Yn - Z/Zn (n: the white).
    double uLow = -std::numeric_limits<double>::infinity();
    double uHigh = std::numeric_limits<double>::infinity();
    double vLow = -std::numeric_limits<double>::infinity();
    double vHigh = std::numeric_limits<double>::infinity();
};

// Widens a concentration range by the rounding of the computed concentrations.
double concentrationBelow(double c);
double concentrationAbove(double c);

// A box holding the computed XYZ of every mix of a paint of first at a
// concentration within [cLow, cHigh] (widened as above) with a paint of
// second making up the rest, the concentrations as pigmentConcentrations
// computes them.
XyzBox pigmentMixBox(KsBounds first, KsBounds second, double cLow, double cHigh);
// The same with the plain loop (machines without AVX, and tests).
XyzBox pigmentMixBoxScalar(KsBounds first, KsBounds second, double cLow, double cHigh);

// A box holding every computed XYZ whose computed ΔE00 from target may be at
// most limit: outside it every mix loses to a mix at limit. Everything for an
// infinite limit.
XyzBox targetXyzBox(const Lab &target, double limit);

inline bool boxesMeet(const XyzBox &a, const XyzBox &b)
{
    return a.low.x <= b.high.x && b.low.x <= a.high.x && a.low.y <= b.high.y && b.low.y <= a.high.y
        && a.low.z <= b.high.z && b.low.z <= a.high.z && a.uLow <= b.uHigh && b.uLow <= a.uHigh
        && a.vLow <= b.vHigh && b.vLow <= a.vHigh;
}

// Whether box holds the computed XYZ (x, y, z), its u and v included.
bool boxHolds(const XyzBox &box, double x, double y, double z);

// A target prepared for xyzBoxLowerBound: its chroma and the hues its
// ΔE00 sees (the hue of (a·(1 + G), b) for any G in [0, 0.5]), as a middle
// and half a width in degrees.
struct BoundTarget {
    Lab lab;
    double chroma = 0.0;
    double hueMiddle = 0.0;
    double hueHalfWidth = 0.0;
    // The share of the chroma-hue terms kept at any distance from the target,
    // when its hue is far enough from blue for that to say something.
    double farShare = 0.0;
};
BoundTarget boundTarget(const Lab &target);

// A lower bound of the computed ΔE00 from target to the CIELAB colour of any
// computed XYZ within box.
double xyzBoxLowerBound(const BoundTarget &target, const XyzBox &box);

} // namespace pigmora
