#pragma once

#include "data/color.h"
#include "data/records.h"
#include "engine/mixresult.h"
#include "engine/solvecontrol.h"

#include <span>

// The mixing solver: which paints of a colour box, mixed in which
// proportions, come closest to a target colour. Two models: spatial (linear
// in RGB) and subtractive (linear, darkened by the paints' difference).
//
// Colour arguments of the building blocks are channels 0..255. The solves
// read box and target colours clamped to that range, so damaged records can
// never drive the integer arithmetic out of range.
namespace pigmora {

// The mixing models, numbered as the "ColorMixingMode" setting stores them.
// Pigment mixes paints by their reflectance (Kubelka-Munk, see pigmentmix.h)
// and scores mixes by CIEDE2000.
enum class MixModel : int { Subtractive = 0, Spatial = 1, Pigment = 2 };

// The model a stored "ColorMixingMode" value selects: 0 subtractive,
// 1 spatial, 2 pigment; any other value (a damaged file) subtractive.
MixModel mixModelOfSetting(int storedMode);

inline constexpr double kSpatialSingleThreshold = 2.0;
inline constexpr double kSubtractiveSingleThreshold = 3.5;
inline constexpr double kNearMatchDistance = 10.0;
// Exceeds every RGB distance (the largest is 441.67).
inline constexpr double kStartDistance = 442.0;
// A pair closer than this gets no third paint.
inline constexpr double kPairIsEnoughDistance = 2.0;

// Fit of a target between colour A and colour B: A's share of the mix, the
// mix's distance from the target and which of the two take part.
struct PairFit {
    float share = 1.0f;
    double distance = 0.0;
    bool firstUsed = true;
    bool secondUsed = false;

    friend bool operator==(const PairFit &, const PairFit &) = default;
};

// Euclidean RGB distance: integer sum of squares, root in double.
double colorDistance(const RgbColor &a, const RgbColor &b);
RgbColor clampedColor(const RgbColor &color);

// Spatial model: the target projected onto the segment from B to A.
PairFit fitSpatialPair(const RgbColor &target, const RgbColor &a, const RgbColor &b);
// Each channel A·s + B - B·s, truncated toward zero.
RgbColor mixSpatial(const RgbColor &a, const RgbColor &b, float share);

// Subtractive model: shares above 0.999999999 count as 1.0.
RgbColor mixSubtractive(const RgbColor &a, const RgbColor &b, float share);
// Tries the shares 0, 0.01, ... (summed in single precision) and keeps the
// first that comes closest. This is the plain loop; the solves use an
// equivalent vectorised search (sharesearch.h).
PairFit fitSubtractivePair(const RgbColor &target, const RgbColor &a, const RgbColor &b);

// The best single paint or pair of a box. first/second index the box; for a
// single paint both name it and fit is {1.0, distance, true, false}.
struct BestPair {
    int first = -1;
    int second = -1;
    PairFit fit;
    RgbColor mixed;
    bool single = false;
};
// Plain exhaustive search; false when it finds nothing (an empty box, or one
// paint outside the single-paint threshold). The solves prune it (pairsearch.h).
bool findBestPair(MixModel model, std::span<const PaintColorRecord> box, const RgbColor &target, BestPair &best);

// The full solve on a box in box order (code, then name). False when the box
// is empty or nothing fits; result then holds no answer (paint 3 zeroed).
bool findSpatialMix(std::span<const PaintColorRecord> box, MixResult &result);
bool findSubtractiveMix(std::span<const PaintColorRecord> box, MixResult &result);
// Pigment model: one paint within ΔE00 1.0 of the target (the first in box
// order); else the pair and share (0 .. 1 in steps of 0.01, and of 0.001
// below 0.01 and above 0.99) with the smallest ΔE00, the earliest on ties;
// when that is 1.0 or more, a third paint at the same shares but 0 with the
// pair's ratio kept, taken only when it lowers ΔE00. The search scores the
// unrounded mix; mixed is its rounded sRGB colour and deviation that colour's
// RGB distance from the target, as in the other models. Proportions are the
// shares (k/1000 and so on), a paint with proportion 0 is not used. Tinting
// strengths: pigmentsolver.h.
bool findPigmentMix(std::span<const PaintColorRecord> box, MixResult &result);
bool findMix(MixModel model, std::span<const PaintColorRecord> box, MixResult &result);
// The same solve, for a worker thread: control reports its progress, and once
// another thread cancels it the solve returns false (no answer) within a few
// milliseconds.
bool findMix(MixModel model, std::span<const PaintColorRecord> box, MixResult &result, SolveControl &control);

// The same solves built only from the plain building blocks above. They give
// bit-identical results and serve as the yardstick for the fast path.
namespace reference {
bool findMix(MixModel model, std::span<const PaintColorRecord> box, MixResult &result);
// The same solve, for a worker thread: control reports its progress, and once
// another thread cancels it the solve returns false (no answer) within a few
// milliseconds.
bool findMix(MixModel model, std::span<const PaintColorRecord> box, MixResult &result, SolveControl &control);
bool findPigmentMix(std::span<const PaintColorRecord> box, MixResult &result);
} // namespace reference

} // namespace pigmora
