#include "engine/pigmentbound.h"

#include <algorithm>
#include <array>
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
// The largest T of ΔE00 over every hue (1.57247 at 234.4 degrees), rounded up.
constexpr double kHueWeightMax = 1.5726;

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

// The slope of cielabF where it takes the value f; it falls as f rises.
double cielabSlopeAt(double f)
{
    constexpr double delta = 6.0 / 29.0;
    const double at = std::max(f, delta);
    return 1.0 / (3.0 * at * at);
}

// The signed weights of u = X/Xn - Y/Yn and v = Y/Yn - Z/Zn.
struct DifferenceWeights {
    alignas(32) std::array<double, kPaddedWavelengthCount> u{};
    alignas(32) std::array<double, kPaddedWavelengthCount> v{};
};

const DifferenceWeights &differenceWeights()
{
    static const DifferenceWeights weights = [] {
        const ObserverWeights &w = observerWeights();
        DifferenceWeights d;
        for (std::size_t k = 0; k < kPaddedWavelengthCount; ++k) {
            d.u[k] = w.x[k] / w.white.x - w.y[k] / w.white.y;
            d.v[k] = w.y[k] / w.white.y - w.z[k] / w.white.z;
        }
        return d;
    }();
    return weights;
}

// The signed angle from reference to angle, in degrees within (-180, 180].
double angleFrom(double angle, double reference)
{
    double d = std::fmod(angle - reference, 360.0);
    if (d > 180.0)
        d -= 360.0;
    else if (d <= -180.0)
        d += 360.0;
    return d;
}

// The share of the chroma-hue terms that the rotation term leaves (see
// chromaShare), for mean hues within [low, high] (degrees, less than a turn
// apart) and a mean C' of at most meanHigh: 1 - |RT|/2 =
// 1 - sin(2·Δθ)·sqrt(C'⁷ / (C'⁷ + 25⁷)), Δθ at its largest where the range
// comes nearest to 275 degrees.
double rotationShare(double low, double high, double meanHigh)
{
    const double middle = (low + high) * 0.5;
    const double apart = std::max(std::fabs(angleFrom(275.0, middle)) - (high - low) * 0.5 - 1e-6, 0.0);
    const double rotation = 30.0 * std::exp(-(apart / 25.0) * (apart / 25.0));
    const double share = 1.0 - std::sin(2.0 * rotation * kDegreeRadians) * seventhRatio(meanHigh) * (1.0 + 1e-9) - 1e-9;
    return std::max(kChromaShare, share);
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

bool boxHolds(const XyzBox &box, double x, double y, double z)
{
    if (!(box.low.x <= x && x <= box.high.x && box.low.y <= y && y <= box.high.y && box.low.z <= z
          && z <= box.high.z))
        return false;
    const Xyz &white = observerWeights().white;
    const double u = x / white.x - y / white.y;
    const double v = y / white.y - z / white.z;
    return box.uLow <= u && u <= box.uHigh && box.vLow <= v && v <= box.vHigh;
}

XyzBox pigmentMixBoxScalar(KsBounds first, KsBounds second, double cLow, double cHigh)
{
    const ObserverWeights &w = observerWeights();
    const double dLow = 1.0 - cLow;
    const double dHigh = 1.0 - cHigh;
    const DifferenceWeights &d = differenceWeights();
    Xyz atLow; // the brightest each end can be
    Xyz atHigh;
    Xyz darkest;
    double uLow = 0.0;
    double uHigh = 0.0;
    double vLow = 0.0;
    double vHigh = 0.0;
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
        // u and v: each reflectance within [r3, max(r1, r2)].
        const double bright = std::max(r1, r2);
        uLow += std::min(d.u[k] * bright, d.u[k] * r3);
        uHigh += std::max(d.u[k] * bright, d.u[k] * r3);
        vLow += std::min(d.v[k] * bright, d.v[k] * r3);
        vHigh += std::max(d.v[k] * bright, d.v[k] * r3);
    }
    return {{darkest.x - kXyzMargin, darkest.y - kXyzMargin, darkest.z - kXyzMargin},
            {std::max(atLow.x, atHigh.x) + kXyzMargin, std::max(atLow.y, atHigh.y) + kXyzMargin,
             std::max(atLow.z, atHigh.z) + kXyzMargin},
            uLow - kXyzMargin,
            uHigh + kXyzMargin,
            vLow - kXyzMargin,
            vHigh + kXyzMargin};
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
    const DifferenceWeights &dw = differenceWeights();
    __m256d lx = _mm256_setzero_pd(), ly = lx, lz = lx, hx = lx, hy = lx, hz = lx, dx = lx, dy = lx, dz = lx;
    __m256d ul = lx, uh = lx, vl = lx, vh = lx;
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
        const __m256d bright = _mm256_max_pd(r1, r2);
        const __m256d wu = _mm256_load_pd(&dw.u[k]);
        const __m256d wv = _mm256_load_pd(&dw.v[k]);
        const __m256d u1 = _mm256_mul_pd(wu, bright);
        const __m256d u2 = _mm256_mul_pd(wu, r3);
        const __m256d v1 = _mm256_mul_pd(wv, bright);
        const __m256d v2 = _mm256_mul_pd(wv, r3);
        ul = _mm256_add_pd(ul, _mm256_min_pd(u1, u2));
        uh = _mm256_add_pd(uh, _mm256_max_pd(u1, u2));
        vl = _mm256_add_pd(vl, _mm256_min_pd(v1, v2));
        vh = _mm256_add_pd(vh, _mm256_max_pd(v1, v2));
    }
    return {{sum4(dx) - kXyzMargin, sum4(dy) - kXyzMargin, sum4(dz) - kXyzMargin},
            {std::max(sum4(lx), sum4(hx)) + kXyzMargin, std::max(sum4(ly), sum4(hy)) + kXyzMargin,
             std::max(sum4(lz), sum4(hz)) + kXyzMargin},
            sum4(ul) - kXyzMargin,
            sum4(uh) + kXyzMargin,
            sum4(vl) - kXyzMargin,
            sum4(vh) + kXyzMargin};
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
    XyzBox box{{white.x * cielabInverse(fxLow) - kXyzMargin, white.y * cielabInverse(fyLow) - kXyzMargin,
                white.z * cielabInverse(fzLow) - kXyzMargin},
               {white.x * cielabInverse(fxHigh) + kXyzMargin, white.y * cielabInverse(fyHigh) + kXyzMargin,
                white.z * cielabInverse(fzHigh) + kXyzMargin}};
    // u = f⁻¹(fy + a/500) - f⁻¹(fy) rises with a, and, f⁻¹ being convex,
    // with fy when a >= 0 and falls with it when a <= 0: its extremes lie at
    // the corners of the ranges of a and fy. v = f⁻¹(fy) - f⁻¹(fy - b/200) alike.
    const double aLow = (target.a - reach) / 500.0 - kFMargin;
    const double aHigh = (target.a + reach) / 500.0 + kFMargin;
    const double bLow = (target.b - reach) / 200.0 - kFMargin;
    const double bHigh = (target.b + reach) / 200.0 + kFMargin;
    const auto u = [](double fy, double a) { return cielabInverse(fy + a) - cielabInverse(fy); };
    const auto v = [](double fy, double b) { return cielabInverse(fy) - cielabInverse(fy - b); };
    box.uLow = std::min(u(fyLow, aLow), u(fyHigh, aLow)) - kXyzMargin;
    box.uHigh = std::max(u(fyLow, aHigh), u(fyHigh, aHigh)) + kXyzMargin;
    box.vLow = std::min(v(fyLow, bLow), v(fyHigh, bLow)) - kXyzMargin;
    box.vHigh = std::max(v(fyLow, bHigh), v(fyHigh, bHigh)) + kXyzMargin;
    return box;
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
    // chromaShare at the widest hue spread it meets (90 degrees, half of it
    // in the mean hue).
    const double halfWidth = out.hueHalfWidth + 45.0;
    out.farShare = rotationShare(out.hueMiddle - halfWidth, out.hueMiddle + halfWidth, kInfinity);
    return out;
}

// The share of the chroma-hue terms of ΔE00, (ΔC'/SC)² + (ΔH'/SH)² + RT·…,
// that they keep at least of (ΔC'/SC)² + (ΔH'/SH)², for a box whose mixes
// have (a', b) at a distance of at least distance from the target's.
//
// The terms are c² + h² + RT·c·h >= (1 - |RT|/2)·(c² + h²) (rotationShare):
// far from blue hues the rotation term vanishes. A mix within δ of the target
// in (a', b) has a hue within asin(δ / C) of the target's (C' >= C), and the
// mean hue H lies within half that. For δ up to δ* = distance / sqrt(kChromaShare)
// the share is at least its value at δ*. Beyond δ*, kChromaShare times the
// mix's weighted terms already exceeds the box's least (they grow at least as
// δ², see xyzBoxLowerBound); so the share at δ* bounds both.
double chromaShare(const BoundTarget &target, double distance)
{
    const double reach = distance / std::sqrt(kChromaShare) * (1.0 + 1e-9);
    if (!(reach < target.chroma * 0.999))
        return kChromaShare;
    if (target.farShare > 0.99)
        return target.farShare;
    const double halfWidth = target.hueHalfWidth + std::asin(reach / target.chroma) / kDegreeRadians * 0.5;
    return rotationShare(target.hueMiddle - halfWidth, target.hueMiddle + halfWidth, kInfinity);
}

// The share (as chromaShare) from the hues the mixes of a box can have: a
// in [aLow, aHigh], b in [bLow, bHigh], a' = (1 + G)·a with G in
// [gLow, gHigh]; kChromaShare when the box holds the neutral axis or when a
// mix may lie near the hue opposite the target's (the mean hue then jumps).
double boxHueShare(const BoundTarget &target, double aLow, double aHigh, double bLow, double bHigh, double gLow,
                   double gHigh, double meanHigh)
{
    if (target.chroma < 1e-6)
        return kChromaShare;
    const double pLow = aLow * (aLow < 0.0 ? 1.0 + gHigh : 1.0 + gLow);
    const double pHigh = aHigh * (aHigh > 0.0 ? 1.0 + gHigh : 1.0 + gLow);
    if (pLow <= 0.0 && 0.0 <= pHigh && bLow <= 0.0 && 0.0 <= bHigh)
        return kChromaShare;
    // The box lies in a half-plane through the origin: its hues span less
    // than half a turn around its centre's.
    const double centre = hueDegrees((bLow + bHigh) * 0.5, (pLow + pHigh) * 0.5);
    double mixLow = kInfinity;
    double mixHigh = -kInfinity;
    for (const double p : {pLow, pHigh}) {
        for (const double q : {bLow, bHigh}) {
            const double d = angleFrom(hueDegrees(q, p), centre);
            mixLow = std::min(mixLow, d);
            mixHigh = std::max(mixHigh, d);
        }
    }
    double targetLow = kInfinity;
    double targetHigh = -kInfinity;
    for (const double g : {gLow, gHigh}) {
        const double d = angleFrom(hueDegrees(target.lab.b, target.lab.a * (1.0 + g)), centre);
        targetLow = std::min(targetLow, d);
        targetHigh = std::max(targetHigh, d);
    }
    constexpr double kAngleMargin = 1e-6;
    mixLow -= kAngleMargin;
    mixHigh += kAngleMargin;
    targetLow -= kAngleMargin;
    targetHigh += kAngleMargin;
    if (std::max(mixHigh - targetLow, targetHigh - mixLow) >= 179.0)
        return kChromaShare;
    return rotationShare(centre + (mixLow + targetLow) * 0.5, centre + (mixHigh + targetHigh) * 0.5, meanHigh);
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
    // a = 500·(f(x) - f(y)) with x - y = u: f(x) - f(y) = f'(ξ)·u for some ξ
    // between x and y, and f' falls, so lies between its values at the
    // smallest and largest f. The same for b with v. Within the corners' ranges.
    const double uSteep = cielabSlopeAt(std::min(fxLow, fyLow)) * (1.0 + 1e-9);
    const double uFlat = cielabSlopeAt(std::max(fxHigh, fyHigh)) * (1.0 - 1e-9);
    const double vSteep = cielabSlopeAt(std::min(fyLow, fzLow)) * (1.0 + 1e-9);
    const double vFlat = cielabSlopeAt(std::max(fyHigh, fzHigh)) * (1.0 - 1e-9);
    const double aLow = std::max(500.0 * (fxLow - fyHigh), 500.0 * std::min(uSteep * box.uLow, uFlat * box.uLow) - 1e-9);
    const double aHigh
        = std::min(500.0 * (fxHigh - fyLow), 500.0 * std::max(uSteep * box.uHigh, uFlat * box.uHigh) + 1e-9);
    const double bLow = std::max(200.0 * (fyLow - fzHigh), 200.0 * std::min(vSteep * box.vLow, vFlat * box.vLow) - 1e-9);
    const double bHigh
        = std::min(200.0 * (fyHigh - fzLow), 200.0 * std::max(vSteep * box.vHigh, vFlat * box.vHigh) + 1e-9);

    const double dL = distanceToRange(target.lightness, lLow, lHigh);
    // SL grows with the mean's distance from 50: largest at one end.
    const double sl = std::max(lightnessWeightAt((target.lightness + lLow) * 0.5 - 50.0),
                               lightnessWeightAt((target.lightness + lHigh) * 0.5 - 50.0));
    const double l = dL / sl;

    // The mixes' chroma C*ab, and G, which falls as the mean chroma rises.
    const double da = distanceToRange(target.a, aLow, aHigh);
    const double db = distanceToRange(target.b, bLow, bHigh);
    const double aMin = distanceToRange(0.0, aLow, aHigh);
    const double bMin = distanceToRange(0.0, bLow, bHigh);
    const double aMax = std::max(std::fabs(aLow), std::fabs(aHigh));
    const double bMax = std::max(std::fabs(bLow), std::fabs(bHigh));
    const double chromaLow = std::sqrt(aMin * aMin + bMin * bMin) * (1.0 - 1e-12);
    const double chromaHigh = std::sqrt(aMax * aMax + bMax * bMax) * (1.0 + 1e-12);
    const double gLow = std::max(0.5 * (1.0 - seventhRatio((bound.chroma + chromaHigh) * 0.5)) - 1e-12, 0.0);
    const double gHigh = std::min(0.5 * (1.0 - seventhRatio((bound.chroma + chromaLow) * 0.5)) + 1e-12, 0.5);
    // Both a* scale by the same 1 + G: (a', b) lie at least this far apart.
    const double aApart = (1.0 + gLow) * da;
    const double distance = std::sqrt(aApart * aApart + db * db);
    // C' of the target and of the mixes: their mean sets SC and SH, their
    // difference is ΔC'.
    const double gain2Low = (1.0 + gLow) * (1.0 + gLow);
    const double gain2High = (1.0 + gHigh) * (1.0 + gHigh);
    const double ta2 = target.a * target.a;
    const double tb2 = target.b * target.b;
    const double targetLow = std::sqrt(gain2Low * ta2 + tb2) * (1.0 - 1e-12);
    const double targetHigh = std::sqrt(gain2High * ta2 + tb2) * (1.0 + 1e-12);
    const double mixLow = std::sqrt(gain2Low * aMin * aMin + bMin * bMin) * (1.0 - 1e-12);
    const double mixHigh = std::sqrt(gain2High * aMax * aMax + bMax * bMax) * (1.0 + 1e-12);
    const double meanHigh = (targetHigh + mixHigh) * 0.5;
    const double scMax = 1.0 + 0.045 * meanHigh;
    const double shMax = 1.0 + 0.015 * kHueWeightMax * meanHigh;
    const double chromaApart = std::max(mixHigh - targetLow, targetHigh - mixLow);
    // ΔC'² + ΔH'² = Δa'² + Δb², and SH <= SC: the terms are least with ΔC'
    // as large as it can be; for a given ΔC' bound they grow at least as
    // fast as the squared distance.
    const double squaredDistance = distance * distance;
    const double chromaPart = std::min(squaredDistance, chromaApart * chromaApart);
    const double terms = chromaPart / (scMax * scMax) + (squaredDistance - chromaPart) / (shMax * shMax);
    double share = chromaShare(bound, distance);
    if (share < 0.999)
        share = std::max(share, boxHueShare(bound, aLow, aHigh, bLow, bHigh, gLow, gHigh, meanHigh));
    const double squared = l * l + share * terms;
    return std::sqrt(squared) * (1.0 - 1e-9) - 1e-9;
}

} // namespace pigmora
