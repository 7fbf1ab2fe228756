#include "engine/pigmentbound.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#if defined(__x86_64__)
#define PIGMORA_X86_KERNELS 1
#include <immintrin.h>
#endif

namespace pigmora {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
// Relative widening of a computed concentration and of a K/S bound.
constexpr double kConcentrationMargin = 1e-14;
constexpr double kKsMargin = 1e-13;
// Absolute widening of an XYZ bound and of a CIELAB f value.
constexpr double kXyzMargin = 1e-10;
constexpr double kFMargin = 1e-9;
// The chroma-hue terms of ΔE00 are at least this share of (Δa² + Δb²)/SC²
// (see deltaE00LowerBound), and the lightness weight SL is at most this for
// lightness means within 0 .. 100.
constexpr double kChromaShare = 0.1339;
// Beyond this limit the target box below would be unbounded.
constexpr double kWidestLimit = 10.0;

double lightnessWeightAt(double offset)
{
    const double squared = offset * offset;
    return 1.0 + 0.015 * squared / std::sqrt(20.0 + squared);
}

// The inverse of cielabF.
double cielabInverse(double f)
{
    constexpr double delta = 6.0 / 29.0;
    return f > delta ? f * f * f : 3.0 * delta * delta * (f - 4.0 / 29.0);
}

constexpr double kDegreeRadians = std::numbers::pi / 180.0;

double distanceToRange(double value, double low, double high)
{
    return value < low ? low - value : (value > high ? value - high : 0.0);
}

} // namespace

double concentrationBelow(double c)
{
    return std::max(c * (1.0 - kConcentrationMargin), 0.0);
}

double concentrationAbove(double c)
{
    return std::min(c * (1.0 + kConcentrationMargin), 1.0);
}

XyzBox pigmentMixBoxScalar(KsBounds first, KsBounds second, double cLow, double cHigh)
{
    const ObserverWeights &w = observerWeights();
    const double dLow = 1.0 - cLow;
    const double dHigh = 1.0 - cHigh;
    Xyz atLow; // the brightest each end can be
    Xyz atHigh;
    Xyz darkest;
    for (std::size_t k = 0; k < kPaddedWavelengthCount; ++k) {
        const double lowEndLow = (cLow * first.low[k] + dLow * second.low[k]) * (1.0 - kKsMargin);
        const double highEndLow = (cHigh * first.low[k] + dHigh * second.low[k]) * (1.0 - kKsMargin);
        const double highest
            = std::max(cLow * first.high[k] + dLow * second.high[k], cHigh * first.high[k] + dHigh * second.high[k])
            * (1.0 + kKsMargin);
        const double r1 = reflectanceOfKs(lowEndLow);
        const double r2 = reflectanceOfKs(highEndLow);
        const double r3 = reflectanceOfKs(highest);
        atLow.x += r1 * w.x[k];
        atLow.y += r1 * w.y[k];
        atLow.z += r1 * w.z[k];
        atHigh.x += r2 * w.x[k];
        atHigh.y += r2 * w.y[k];
        atHigh.z += r2 * w.z[k];
        darkest.x += r3 * w.x[k];
        darkest.y += r3 * w.y[k];
        darkest.z += r3 * w.z[k];
    }
    return {{darkest.x - kXyzMargin, darkest.y - kXyzMargin, darkest.z - kXyzMargin},
            {std::max(atLow.x, atHigh.x) + kXyzMargin, std::max(atLow.y, atHigh.y) + kXyzMargin,
             std::max(atLow.z, atHigh.z) + kXyzMargin}};
}

#ifdef PIGMORA_X86_KERNELS

namespace {

__attribute__((target("avx"))) double sum4(__m256d v)
{
    const __m128d pair = _mm_add_pd(_mm256_castpd256_pd128(v), _mm256_extractf128_pd(v, 1));
    return _mm_cvtsd_f64(_mm_add_sd(pair, _mm_unpackhi_pd(pair, pair)));
}

__attribute__((target("avx"))) __m256d reflectance4(__m256d ks)
{
    const __m256d root = _mm256_sqrt_pd(_mm256_add_pd(_mm256_mul_pd(ks, ks), _mm256_add_pd(ks, ks)));
    return _mm256_sub_pd(_mm256_add_pd(_mm256_set1_pd(1.0), ks), root);
}

// The sums run in four lanes, each in its own order: the bounds need not
// match the scalar ones bit for bit, only hold, which the margins see to.
__attribute__((target("avx"))) XyzBox mixBoxAvx(KsBounds first, KsBounds second, double cLow, double cHigh)
{
    const ObserverWeights &w = observerWeights();
    const __m256d c1 = _mm256_set1_pd(cLow);
    const __m256d c2 = _mm256_set1_pd(cHigh);
    const __m256d d1 = _mm256_set1_pd(1.0 - cLow);
    const __m256d d2 = _mm256_set1_pd(1.0 - cHigh);
    const __m256d down = _mm256_set1_pd(1.0 - kKsMargin);
    const __m256d up = _mm256_set1_pd(1.0 + kKsMargin);
    __m256d lx = _mm256_setzero_pd(), ly = lx, lz = lx, hx = lx, hy = lx, hz = lx, dx = lx, dy = lx, dz = lx;
    for (std::size_t k = 0; k < kPaddedWavelengthCount; k += 4) {
        const __m256d aLow = _mm256_loadu_pd(first.low + k);
        const __m256d bLow = _mm256_loadu_pd(second.low + k);
        const __m256d aHigh = _mm256_loadu_pd(first.high + k);
        const __m256d bHigh = _mm256_loadu_pd(second.high + k);
        const __m256d r1 = reflectance4(
            _mm256_mul_pd(_mm256_add_pd(_mm256_mul_pd(c1, aLow), _mm256_mul_pd(d1, bLow)), down));
        const __m256d r2 = reflectance4(
            _mm256_mul_pd(_mm256_add_pd(_mm256_mul_pd(c2, aLow), _mm256_mul_pd(d2, bLow)), down));
        const __m256d highest = _mm256_max_pd(_mm256_add_pd(_mm256_mul_pd(c1, aHigh), _mm256_mul_pd(d1, bHigh)),
                                              _mm256_add_pd(_mm256_mul_pd(c2, aHigh), _mm256_mul_pd(d2, bHigh)));
        const __m256d r3 = reflectance4(_mm256_mul_pd(highest, up));
        const __m256d wx = _mm256_load_pd(&w.x[k]);
        const __m256d wy = _mm256_load_pd(&w.y[k]);
        const __m256d wz = _mm256_load_pd(&w.z[k]);
        lx = _mm256_add_pd(lx, _mm256_mul_pd(r1, wx));
        ly = _mm256_add_pd(ly, _mm256_mul_pd(r1, wy));
        lz = _mm256_add_pd(lz, _mm256_mul_pd(r1, wz));
        hx = _mm256_add_pd(hx, _mm256_mul_pd(r2, wx));
        hy = _mm256_add_pd(hy, _mm256_mul_pd(r2, wy));
        hz = _mm256_add_pd(hz, _mm256_mul_pd(r2, wz));
        dx = _mm256_add_pd(dx, _mm256_mul_pd(r3, wx));
        dy = _mm256_add_pd(dy, _mm256_mul_pd(r3, wy));
        dz = _mm256_add_pd(dz, _mm256_mul_pd(r3, wz));
    }
    return {{sum4(dx) - kXyzMargin, sum4(dy) - kXyzMargin, sum4(dz) - kXyzMargin},
            {std::max(sum4(lx), sum4(hx)) + kXyzMargin, std::max(sum4(ly), sum4(hy)) + kXyzMargin,
             std::max(sum4(lz), sum4(hz)) + kXyzMargin}};
}

bool avxAvailable()
{
    static const bool supported = __builtin_cpu_supports("avx");
    return supported;
}

} // namespace

#endif

XyzBox pigmentMixBox(KsBounds first, KsBounds second, double cLow, double cHigh)
{
#ifdef PIGMORA_X86_KERNELS
    if (avxAvailable())
        return mixBoxAvx(first, second, cLow, cHigh);
#endif
    return pigmentMixBoxScalar(first, second, cLow, cHigh);
}

XyzBox targetXyzBox(const Lab &target, double limit)
{
    if (!(limit < kWidestLimit))
        return {{-kInfinity, -kInfinity, -kInfinity}, {kInfinity, kInfinity, kInfinity}};
    // A mix within limit has a lower bound within limit (the bound's margins undone).
    const double d = limit * (1.0 + 2e-9) + 2e-9;
    // |ΔL| <= d·SL, SL at its largest for the mean farthest from 50.
    const double reachL = d * lightnessWeightAt(std::fabs(target.lightness - 50.0) + d * 0.8736);
    // Δa² + Δb² <= (d·SC)² / kChromaShare with SC <= 1 + 0.03375·(2·C + reach):
    // solved for the reach.
    const double k = 1.0 / std::sqrt(kChromaShare);
    const double chroma = std::sqrt(target.a * target.a + target.b * target.b);
    const double reach = d * k * (1.0 + 0.0675 * chroma) / (1.0 - 0.03375 * k * d) * (1.0 + 1e-12);
    const double fyLow = (target.lightness - reachL + 16.0) / 116.0 - kFMargin;
    const double fyHigh = (target.lightness + reachL + 16.0) / 116.0 + kFMargin;
    const double fxLow = fyLow + (target.a - reach) / 500.0 - kFMargin;
    const double fxHigh = fyHigh + (target.a + reach) / 500.0 + kFMargin;
    const double fzLow = fyLow - (target.b + reach) / 200.0 - kFMargin;
    const double fzHigh = fyHigh - (target.b - reach) / 200.0 + kFMargin;
    const Xyz &white = observerWeights().white;
    return {{white.x * cielabInverse(fxLow) - kXyzMargin, white.y * cielabInverse(fyLow) - kXyzMargin,
             white.z * cielabInverse(fzLow) - kXyzMargin},
            {white.x * cielabInverse(fxHigh) + kXyzMargin, white.y * cielabInverse(fyHigh) + kXyzMargin,
             white.z * cielabInverse(fzHigh) + kXyzMargin}};
}

BoundTarget boundTarget(const Lab &target)
{
    BoundTarget out;
    out.lab = target;
    out.chroma = std::sqrt(target.a * target.a + target.b * target.b);
    // Scaling a keeps the quadrant, so the hue moves monotonically between
    // its values at G = 0 and G = 0.5, less than 90 degrees apart.
    const double plain = hueDegrees(target.b, target.a);
    const double widened = hueDegrees(target.b, 1.5 * target.a);
    out.hueMiddle = (plain + widened) * 0.5;
    out.hueHalfWidth = std::fabs(plain - widened) * 0.5;
    return out;
}

// The share of (Δa² + Δb²)/SC² that the chroma-hue terms of ΔE00 keep at
// least, for mixes at a chroma distance of at least distance from target.
//
// The terms are c² + h² + RT·c·h >= (1 - |RT|/2)·(c² + h²) with
// |RT| <= 2·sin(2·Δθ), Δθ = 30°·exp(-((H - 275°)/25°)²) at the mean hue H: far
// from blue hues the rotation term vanishes. A mix at chroma distance δ from
// the target has (a', b) within 1.5·δ of the target's, so its hue is within
// asin(1.5·δ / C) of the target's, and H within half that. For δ up to
// δ* = distance / sqrt(kChromaShare) the share is at least its value at δ*;
// beyond δ*, kChromaShare·δ² already exceeds distance²; so the share at δ*
// times distance² bounds both.
double chromaShare(const BoundTarget &target, double distance)
{
    const double reach = 1.5 * distance / std::sqrt(kChromaShare) * (1.0 + 1e-9);
    if (!(reach < target.chroma * 0.999))
        return kChromaShare;
    const double hueSpread = std::asin(reach / target.chroma) / kDegreeRadians;
    const double halfWidth = target.hueHalfWidth + hueSpread * 0.5 + 1e-6;
    const double offset = std::fabs(target.hueMiddle - 275.0);
    const double apart = std::max(std::min(offset, 360.0 - offset) - halfWidth, 0.0);
    const double rotation = 30.0 * std::exp(-(apart / 25.0) * (apart / 25.0));
    const double share = 1.0 - std::sin(2.0 * rotation * kDegreeRadians);
    return std::max(kChromaShare, share - 1e-9);
}

double xyzBoxLowerBound(const BoundTarget &bound, const XyzBox &box)
{
    const Lab &target = bound.lab;
    const Xyz &white = observerWeights().white;
    // f rises with its argument.
    const double fxLow = cielabF(box.low.x / white.x) - kFMargin;
    const double fxHigh = cielabF(box.high.x / white.x) + kFMargin;
    const double fyLow = cielabF(box.low.y / white.y) - kFMargin;
    const double fyHigh = cielabF(box.high.y / white.y) + kFMargin;
    const double fzLow = cielabF(box.low.z / white.z) - kFMargin;
    const double fzHigh = cielabF(box.high.z / white.z) + kFMargin;
    const double lLow = 116.0 * fyLow - 16.0;
    const double lHigh = 116.0 * fyHigh - 16.0;
    const double aLow = 500.0 * (fxLow - fyHigh);
    const double aHigh = 500.0 * (fxHigh - fyLow);
    const double bLow = 200.0 * (fyLow - fzHigh);
    const double bHigh = 200.0 * (fyHigh - fzLow);

    const double dL = distanceToRange(target.lightness, lLow, lHigh);
    // SL grows with the mean's distance from 50: largest at one end.
    const double sl = std::max(lightnessWeightAt((target.lightness + lLow) * 0.5 - 50.0),
                               lightnessWeightAt((target.lightness + lHigh) * 0.5 - 50.0));
    const double da = distanceToRange(target.a, aLow, aHigh);
    const double db = distanceToRange(target.b, bLow, bHigh);
    const double aMax = std::max(std::fabs(aLow), std::fabs(aHigh));
    const double bMax = std::max(std::fabs(bLow), std::fabs(bHigh));
    const double chromaSum = bound.chroma + std::sqrt(aMax * aMax + bMax * bMax);
    const double l = dL / sl;
    const double scMax = 1.0 + 0.045 * 0.75 * chromaSum;
    const double chromaDistance = da * da + db * db;
    const double squared
        = l * l + chromaShare(bound, std::sqrt(chromaDistance)) * chromaDistance / (scMax * scMax);
    return std::sqrt(squared) * (1.0 - 1e-9) - 1e-9;
}

} // namespace pigmora
