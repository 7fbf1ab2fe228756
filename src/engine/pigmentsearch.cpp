#include "engine/pigmentsearch.h"

#include <algorithm>
#include <cmath>

#if defined(__x86_64__)
#define PIGMORA_X86_KERNELS 1
#include <immintrin.h>
#endif

namespace pigmora {

namespace {

#ifdef PIGMORA_X86_KERNELS

template<bool Three>
__attribute__((target("avx"))) void lanesXyzAvx(const KsCurve &first, const KsCurve &second, const KsCurve *third,
                                                const PigmentLanes &lanes, LaneXyz &out, std::size_t begin,
                                                std::size_t end)
{
    const ObserverWeights &w = observerWeights();
    const __m256d one = _mm256_set1_pd(1.0);
    const __m256d two = _mm256_set1_pd(2.0);
    for (std::size_t g = begin; g < end; g += 4) {
        const __m256d c1 = _mm256_load_pd(&lanes.c1[g]);
        const __m256d c2 = _mm256_load_pd(&lanes.c2[g]);
        const __m256d c3 = _mm256_load_pd(&lanes.c3[g]);
        __m256d x = _mm256_setzero_pd();
        __m256d y = _mm256_setzero_pd();
        __m256d z = _mm256_setzero_pd();
        for (std::size_t k = 0; k < spectral::kWavelengthCount; ++k) {
            __m256d ks = _mm256_add_pd(_mm256_mul_pd(c1, _mm256_broadcast_sd(&first.ks[k])),
                                       _mm256_mul_pd(c2, _mm256_broadcast_sd(&second.ks[k])));
            if constexpr (Three)
                ks = _mm256_add_pd(ks, _mm256_mul_pd(c3, _mm256_broadcast_sd(&third->ks[k])));
            const __m256d root = _mm256_sqrt_pd(_mm256_add_pd(_mm256_mul_pd(ks, ks), _mm256_mul_pd(two, ks)));
            const __m256d reflectance = _mm256_sub_pd(_mm256_add_pd(one, ks), root);
            x = _mm256_add_pd(x, _mm256_mul_pd(reflectance, _mm256_broadcast_sd(&w.x[k])));
            y = _mm256_add_pd(y, _mm256_mul_pd(reflectance, _mm256_broadcast_sd(&w.y[k])));
            z = _mm256_add_pd(z, _mm256_mul_pd(reflectance, _mm256_broadcast_sd(&w.z[k])));
        }
        _mm256_store_pd(&out.x[g], x);
        _mm256_store_pd(&out.y[g], y);
        _mm256_store_pd(&out.z[g], z);
    }
}

// Unaligned stores, kept out of interprocedural alignment assumptions: a returned curve's
// slot on the stack need not keep its alignment.
__attribute__((target("avx"), noipa)) void reflectanceAvx(const double *first, double c1, const double *second,
                                                          double c2, double *out)
{
    const __m256d one = _mm256_set1_pd(1.0);
    const __m256d two = _mm256_set1_pd(2.0);
    const __m256d a = _mm256_set1_pd(c1);
    const __m256d b = _mm256_set1_pd(c2);
    for (std::size_t k = 0; k < kPaddedWavelengthCount; k += 4) {
        const __m256d ks = _mm256_add_pd(_mm256_mul_pd(a, _mm256_loadu_pd(first + k)),
                                         _mm256_mul_pd(b, _mm256_loadu_pd(second + k)));
        const __m256d root = _mm256_sqrt_pd(_mm256_add_pd(_mm256_mul_pd(ks, ks), _mm256_mul_pd(two, ks)));
        _mm256_storeu_pd(out + k, _mm256_sub_pd(_mm256_add_pd(one, ks), root));
    }
}

bool avxSupported()
{
    static const bool supported = __builtin_cpu_supports("avx");
    return supported;
}

#endif

} // namespace

namespace {

void lanesXyzScalar(const KsCurve &first, const KsCurve &second, const KsCurve *third, const PigmentLanes &lanes,
                    LaneXyz &out, std::size_t begin, std::size_t end)
{
    for (std::size_t g = begin; g < end; ++g) {
        const Xyz xyz = third ? pigmentXyz(first, lanes.c1[g], second, lanes.c2[g], *third, lanes.c3[g])
                              : pigmentXyz(first, lanes.c1[g], second, lanes.c2[g]);
        out.x[g] = xyz.x;
        out.y[g] = xyz.y;
        out.z[g] = xyz.z;
    }
}

} // namespace

void pigmentLanesXyzScalar(const KsCurve &first, const KsCurve &second, const KsCurve *third, const PigmentLanes &lanes,
                           LaneXyz &out)
{
    lanesXyzScalar(first, second, third, lanes, out, 0, kPaddedPigmentShares);
}

void pigmentLanesXyz(const KsCurve &first, const KsCurve &second, const KsCurve *third, const PigmentLanes &lanes,
                     LaneXyz &out, int begin, int end)
{
    const auto from = static_cast<std::size_t>(begin);
    const auto to = static_cast<std::size_t>(end);
#ifdef PIGMORA_X86_KERNELS
    if (avxSupported()) {
        if (third)
            lanesXyzAvx<true>(first, second, third, lanes, out, from, to);
        else
            lanesXyzAvx<false>(first, second, third, lanes, out, from, to);
        return;
    }
#endif
    lanesXyzScalar(first, second, third, lanes, out, from, to);
}

void pigmentLanesXyz(const KsCurve &first, const KsCurve &second, const KsCurve *third, const PigmentLanes &lanes,
                     LaneXyz &out)
{
    pigmentLanesXyz(first, second, third, lanes, out, 0, kPaddedPigmentShares);
}

namespace {

template<std::size_t N>
std::array<int, N> sharesFrom(int first)
{
    std::array<int, N> shares{};
    std::size_t n = 0;
    for (int t = first; t <= 1000; ++t) {
        if (t < 10 || t > 990 || t % 10 == 0)
            shares[n++] = t;
    }
    return shares;
}

} // namespace

const std::array<int, kPigmentShareCount> &pigmentPairShares()
{
    static const auto shares = sharesFrom<kPigmentShareCount>(0);
    return shares;
}

const std::array<int, kPigmentThirdShareCount> &pigmentThirdShares()
{
    static const auto shares = sharesFrom<kPigmentThirdShareCount>(1);
    return shares;
}

namespace {

double distanceToRange(double value, double low, double high)
{
    return value < low ? low - value : (value > high ? value - high : 0.0);
}

double lightnessWeight(double lMean)
{
    const double lOff = (lMean - 50.0) * (lMean - 50.0);
    return 1.0 + 0.015 * lOff / std::sqrt(20.0 + lOff);
}

// The lower bound's form with its parts already bounded: the lightness
// difference and weight, the a and b differences and the chroma sum.
double boundOf(double dL, double sl, double da, double db, double chromaSum)
{
    const double l = dL / sl;
    const double scMax = 1.0 + 0.045 * 0.75 * chromaSum;
    const double squared = l * l + 0.1339 * (da * da + db * db) / (scMax * scMax);
    return std::sqrt(squared) * (1.0 - 1e-9);
}

} // namespace

ReflectanceCurve reflectanceOf(const KsCurve &curve)
{
    ReflectanceCurve out;
    for (std::size_t k = 0; k < spectral::kWavelengthCount; ++k)
        out.r[k] = reflectanceOfKs(curve.ks[k]);
    return out;
}

ReflectanceCurve reflectanceOf(const KsCurve &first, double c1, const KsCurve &second, double c2)
{
    ReflectanceCurve out;
#ifdef PIGMORA_X86_KERNELS
    if (avxSupported()) {
        reflectanceAvx(first.ks.data(), c1, second.ks.data(), c2, out.r.data());
        return out;
    }
#endif
    for (std::size_t k = 0; k < kPaddedWavelengthCount; ++k)
        out.r[k] = reflectanceOfKs(c1 * first.ks[k] + c2 * second.ks[k]);
    return out;
}

double pairLowerBound(const Lab &target, const ReflectanceCurve &first, const ReflectanceCurve &second)
{
    const ObserverWeights &w = observerWeights();
    double low[3] = {0.0, 0.0, 0.0};
    double high[3] = {0.0, 0.0, 0.0};
    for (std::size_t k = 0; k < kPaddedWavelengthCount; ++k) {
        const double lo = std::min(first.r[k], second.r[k]);
        const double hi = std::max(first.r[k], second.r[k]);
        low[0] += lo * w.x[k];
        low[1] += lo * w.y[k];
        low[2] += lo * w.z[k];
        high[0] += hi * w.x[k];
        high[1] += hi * w.y[k];
        high[2] += hi * w.z[k];
    }
    // The sums above may differ from a mix's sums in the last bits; the
    // bound's relative margin covers that. f rises with its argument.
    const double fxLow = cielabF(low[0] / w.white.x);
    const double fxHigh = cielabF(high[0] / w.white.x);
    const double fyLow = cielabF(low[1] / w.white.y);
    const double fyHigh = cielabF(high[1] / w.white.y);
    const double fzLow = cielabF(low[2] / w.white.z);
    const double fzHigh = cielabF(high[2] / w.white.z);
    const Lab lowLab{116.0 * fyLow - 16.0, 0.0, 0.0};
    const Lab highLab{116.0 * fyHigh - 16.0, 0.0, 0.0};
    const double aLow = 500.0 * (fxLow - fyHigh);
    const double aHigh = 500.0 * (fxHigh - fyLow);
    const double bLow = 200.0 * (fyLow - fzHigh);
    const double bHigh = 200.0 * (fyHigh - fzLow);

    const double dL = distanceToRange(target.lightness, lowLab.lightness, highLab.lightness);
    // The lightness weight grows with the mean's distance from 50.
    const double sl = std::max(lightnessWeight((target.lightness + lowLab.lightness) * 0.5),
                               lightnessWeight((target.lightness + highLab.lightness) * 0.5));
    const double da = distanceToRange(target.a, aLow, aHigh);
    const double db = distanceToRange(target.b, bLow, bHigh);
    const double aMax = std::max(std::fabs(aLow), std::fabs(aHigh));
    const double bMax = std::max(std::fabs(bLow), std::fabs(bHigh));
    const double chromaSum
        = std::sqrt(target.a * target.a + target.b * target.b) + std::sqrt(aMax * aMax + bMax * bMax);
    return boundOf(dL, sl, da, db, chromaSum);
}

double lightnessLowerBound(const Lab &target, double lightness)
{
    return std::fabs(lightness - target.lightness) / lightnessWeight((target.lightness + lightness) * 0.5)
        * (1.0 - 1e-9);
}

double deltaE00LowerBound(const Lab &target, const Lab &mix)
{
    // deltaE00² = l² + c² + h² + RT·c·h with |RT| <= 2·sin 60°, so the last
    // three terms are at least (1 - sin 60°)·(c² + h²) >= 0.1339·(c² + h²).
    // SH <= SC, and ΔC'² + ΔH'² = |(a1', b1) - (a2', b2)|² >= Δa² + Δb² since
    // a' = (1 + G)·a with G >= 0; SC is largest when G = 0.5.
    const double chromaSum
        = std::sqrt(target.a * target.a + target.b * target.b) + std::sqrt(mix.a * mix.a + mix.b * mix.b);
    return boundOf(mix.lightness - target.lightness, lightnessWeight((target.lightness + mix.lightness) * 0.5),
                   mix.a - target.a, mix.b - target.b, chromaSum);
}

} // namespace pigmora
