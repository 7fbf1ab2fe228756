#pragma once

#include "engine/colordifference.h"
#include "engine/pigmentmix.h"

#include <array>

// The pigment search scores the same shares for every pair, so the mixes of
// a pair (or of a pair with a third paint) are computed side by side, one
// share per vector lane. Each lane runs the very operations of pigmentXyz in
// the same order, so the XYZ values are bit-identical to it.
namespace pigmora {

// The shares the search tries, in thousandths, ascending: a pair's first
// paint 0, 1 .. 9, 10, 20 .. 990, 991 .. 999, 1000 (the fine ends reach a
// touch of a strong paint); a third paint the same without 0. Lanes are
// rounded up to whole vectors.
inline constexpr int kPigmentShareCount = 119;
inline constexpr int kPigmentThirdShareCount = 118;
inline constexpr int kPaddedPigmentShares = 128;
const std::array<int, kPigmentShareCount> &pigmentPairShares();
const std::array<int, kPigmentThirdShareCount> &pigmentThirdShares();

struct PigmentLanes {
    alignas(32) std::array<double, kPaddedPigmentShares> c1{};
    alignas(32) std::array<double, kPaddedPigmentShares> c2{};
    alignas(32) std::array<double, kPaddedPigmentShares> c3{};
};

struct LaneXyz {
    alignas(32) std::array<double, kPaddedPigmentShares> x{};
    alignas(32) std::array<double, kPaddedPigmentShares> y{};
    alignas(32) std::array<double, kPaddedPigmentShares> z{};
};

// XYZ of every lane's mix: c1·first + c2·second (+ c3·third when third is
// not null), as pigmentXyz computes it. Padding lanes hold concentrations 0.
void pigmentLanesXyz(const KsCurve &first, const KsCurve &second, const KsCurve *third, const PigmentLanes &lanes,
                     LaneXyz &out);
// Only the lanes begin .. end - 1 (both multiples of 4).
void pigmentLanesXyz(const KsCurve &first, const KsCurve &second, const KsCurve *third, const PigmentLanes &lanes,
                     LaneXyz &out, int begin, int end);
// The same with the plain per-lane loop (for machines without AVX and for tests).
void pigmentLanesXyzScalar(const KsCurve &first, const KsCurve &second, const KsCurve *third, const PigmentLanes &lanes,
                           LaneXyz &out);

// A lower bound of deltaE00(target, mix) that needs no trigonometry: the
// lightness term in full plus the chroma-hue terms at their weakest rotation
// and widest weighting. Never above the true value (with a margin for
// rounding), so a mix whose bound exceeds the best so far cannot win.
double deltaE00LowerBound(const Lab &target, const Lab &mix);
// The lightness term alone: a weaker bound that needs only L*.
double lightnessLowerBound(const Lab &target, double lightness);

// A paint's own reflectance (its K/S turned back), the ends of every mix's
// reflectance range: K/S is linear in the share and the reflectance falls
// with K/S, so at every wavelength any mix of two paints lies between theirs.
struct ReflectanceCurve {
    alignas(32) std::array<double, kPaddedWavelengthCount> r{};
};
ReflectanceCurve reflectanceOf(const KsCurve &curve);
// The reflectance of a two-paint mix at concentrations c1, c2.
ReflectanceCurve reflectanceOf(const KsCurve &first, double c1, const KsCurve &second, double c2);
// A lower bound of deltaE00 from the target to every mix of the two paints:
// the XYZ range their reflectances span, as a CIELAB box, at its nearest to
// the target.
double pairLowerBound(const Lab &target, const ReflectanceCurve &first, const ReflectanceCurve &second);

} // namespace pigmora
