#pragma once

#include "data/color.h"
#include "engine/mixsolver.h"

#include <array>
#include <cstdint>

// The subtractive pair fit tries the same 101 shares for every pair, so the
// shares and their darkening weights are constants and the 101 mixes of a
// pair are computed side by side in vector registers. Every step is the same
// IEEE double operation as the plain per-channel formula, so results are
// bit-identical to fitSubtractivePair.
namespace pigmora {

inline constexpr int kSubtractiveShareCount = 101;
// Rounded up to whole vectors; the extra slots repeat share 0 and can never
// be the first closest share.
inline constexpr int kPaddedShareCount = 104;

struct SubtractiveShares {
    alignas(32) std::array<double, kPaddedShareCount> share{}; // the float share, widened
    alignas(32) std::array<double, kPaddedShareCount> weight{}; // s below 0.5, else 1 - s
    std::array<float, kPaddedShareCount> shareAsFloat{};
};

// Shares 0, 0.01, ... each the exact sum rounded to single precision; the 51st
// is 0.49999982f and the 101st 0.99999934f.
const SubtractiveShares &subtractiveShares();

// Squared distances from the target of the mix of A and B at every share,
// written to out[0 .. kPaddedShareCount); returns the smallest. The colours
// are 0..255. The Sse2 and Avx2 variants exist for comparison in tests; the
// Avx2 one must only run when avx2Supported().
using ShareDistancesFn = double (*)(const RgbColor &target, const RgbColor &a, const RgbColor &b, double *out);
double shareDistancesScalar(const RgbColor &target, const RgbColor &a, const RgbColor &b, double *out);
#if defined(__x86_64__) || defined(__SSE2__)
double shareDistancesSse2(const RgbColor &target, const RgbColor &a, const RgbColor &b, double *out);
double shareDistancesAvx2(const RgbColor &target, const RgbColor &a, const RgbColor &b, double *out);
#endif
bool avx2Supported();
// The fastest variant this processor runs.
ShareDistancesFn bestShareDistances();

// fitSubtractivePair on the vectorised search.
PairFit fitSubtractivePairFast(const RgbColor &target, const RgbColor &a, const RgbColor &b);
PairFit fitSubtractivePairWith(ShareDistancesFn distances, const RgbColor &target, const RgbColor &a,
                               const RgbColor &b);

} // namespace pigmora
