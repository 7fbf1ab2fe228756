#include "engine/sharesearch.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#if defined(__x86_64__) || defined(__SSE2__)
#define PIGMORA_X86_KERNELS 1
#include <immintrin.h>
#endif

namespace pigmora {

namespace {

constexpr SubtractiveShares makeShares()
{
    SubtractiveShares table{};
    float p = 0.0f;
    for (int k = 0; k < kSubtractiveShareCount; ++k) {
        table.shareAsFloat[static_cast<std::size_t>(k)] = p;
        table.share[static_cast<std::size_t>(k)] = p;
        table.weight[static_cast<std::size_t>(k)] = p < 0.5f ? static_cast<double>(p) : 1.0 - p;
        p = static_cast<float>(static_cast<double>(p) + 0.01);
    }
    return table; // the padding keeps share 0, weight 0
}

constexpr SubtractiveShares kShares = makeShares();

// The walk stops once the share reaches 1.0: exactly 101 shares are tried.
static_assert(static_cast<float>(static_cast<double>(kShares.shareAsFloat[100]) + 0.01) >= 1.0f);
static_assert(kShares.shareAsFloat[100] < 1.0f);
static_assert(kShares.shareAsFloat[50] < 0.5f);

// Per-channel constants of one pair. The linear part a·s + (1 - s)·b is exact
// in double for 8-bit channels and these shares, so it equals b + s·(a - b)
// bit for bit; the darkening w·D and the following steps round exactly as in
// mixSubtractive.
struct PairChannels {
    double base[3];
    double slope[3];
    double darkening[3];
    double target[3];
};

PairChannels pairChannels(const RgbColor &target, const RgbColor &a, const RgbColor &b)
{
    const int as[3] = {a.red, a.green, a.blue};
    const int bs[3] = {b.red, b.green, b.blue};
    const int ts[3] = {target.red, target.green, target.blue};
    PairChannels pc{};
    for (int c = 0; c < 3; ++c) {
        const int diff = std::abs(as[c] - bs[c]);
        pc.base[c] = bs[c];
        pc.slope[c] = as[c] - bs[c];
        pc.darkening[c] = diff * (diff / 255.0);
        pc.target[c] = ts[c];
    }
    return pc;
}

#ifdef PIGMORA_X86_KERNELS

double smallestOf(__m128d v)
{
    return std::min(_mm_cvtsd_f64(v), _mm_cvtsd_f64(_mm_unpackhi_pd(v, v)));
}

#endif

} // namespace

const SubtractiveShares &subtractiveShares()
{
    return kShares;
}

double shareDistancesScalar(const RgbColor &target, const RgbColor &a, const RgbColor &b, double *out)
{
    const PairChannels pc = pairChannels(target, a, b);
    double smallest = std::numeric_limits<double>::infinity();
    for (std::size_t k = 0; k < kPaddedShareCount; ++k) {
        double sum = 0.0;
        for (int c = 0; c < 3; ++c) {
            const double x = pc.base[c] + kShares.share[k] * pc.slope[c] - kShares.weight[k] * pc.darkening[c] + 0.5;
            const double v = std::max(std::trunc(x), 0.0) - pc.target[c];
            sum += v * v;
        }
        out[k] = sum;
        smallest = std::min(smallest, sum);
    }
    return smallest;
}

#ifdef PIGMORA_X86_KERNELS

double shareDistancesSse2(const RgbColor &target, const RgbColor &a, const RgbColor &b, double *out)
{
    const PairChannels pc = pairChannels(target, a, b);
    __m128d base[3], slope[3], darkening[3], goal[3];
    for (int c = 0; c < 3; ++c) {
        base[c] = _mm_set1_pd(pc.base[c]);
        slope[c] = _mm_set1_pd(pc.slope[c]);
        darkening[c] = _mm_set1_pd(pc.darkening[c]);
        goal[c] = _mm_set1_pd(pc.target[c]);
    }
    const __m128d half = _mm_set1_pd(0.5);
    const __m128d zero = _mm_setzero_pd();
    __m128d smallest = _mm_set1_pd(std::numeric_limits<double>::infinity());
    for (std::size_t k = 0; k < kPaddedShareCount; k += 2) {
        const __m128d s = _mm_load_pd(&kShares.share[k]);
        const __m128d w = _mm_load_pd(&kShares.weight[k]);
        __m128d sum = zero;
        for (int c = 0; c < 3; ++c) {
            const __m128d linear = _mm_add_pd(base[c], _mm_mul_pd(s, slope[c]));
            const __m128d x = _mm_add_pd(_mm_sub_pd(linear, _mm_mul_pd(w, darkening[c])), half);
            // Truncation through int32 (all values are far inside its range).
            const __m128d v = _mm_max_pd(_mm_cvtepi32_pd(_mm_cvttpd_epi32(x)), zero);
            const __m128d d = _mm_sub_pd(v, goal[c]);
            sum = _mm_add_pd(sum, _mm_mul_pd(d, d));
        }
        _mm_storeu_pd(out + k, sum);
        smallest = _mm_min_pd(smallest, sum);
    }
    return smallestOf(smallest);
}

__attribute__((target("avx2"))) double shareDistancesAvx2(const RgbColor &target, const RgbColor &a, const RgbColor &b,
                                                          double *out)
{
    static_assert(kPaddedShareCount % 4 == 0);
    const PairChannels pc = pairChannels(target, a, b);
    __m256d base[3], slope[3], darkening[3], goal[3];
    for (int c = 0; c < 3; ++c) {
        base[c] = _mm256_set1_pd(pc.base[c]);
        slope[c] = _mm256_set1_pd(pc.slope[c]);
        darkening[c] = _mm256_set1_pd(pc.darkening[c]);
        goal[c] = _mm256_set1_pd(pc.target[c]);
    }
    const __m256d half = _mm256_set1_pd(0.5);
    const __m256d zero = _mm256_setzero_pd();
    __m256d smallest = _mm256_set1_pd(std::numeric_limits<double>::infinity());
    for (std::size_t k = 0; k < kPaddedShareCount; k += 4) {
        const __m256d s = _mm256_load_pd(&kShares.share[k]);
        const __m256d w = _mm256_load_pd(&kShares.weight[k]);
        __m256d sum = zero;
        for (int c = 0; c < 3; ++c) {
            const __m256d linear = _mm256_add_pd(base[c], _mm256_mul_pd(s, slope[c]));
            const __m256d x = _mm256_add_pd(_mm256_sub_pd(linear, _mm256_mul_pd(w, darkening[c])), half);
            const __m256d v = _mm256_max_pd(_mm256_round_pd(x, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC), zero);
            const __m256d d = _mm256_sub_pd(v, goal[c]);
            sum = _mm256_add_pd(sum, _mm256_mul_pd(d, d));
        }
        _mm256_storeu_pd(out + k, sum);
        smallest = _mm256_min_pd(smallest, sum);
    }
    return smallestOf(_mm_min_pd(_mm256_castpd256_pd128(smallest), _mm256_extractf128_pd(smallest, 1)));
}

bool avx2Supported()
{
    static const bool supported = __builtin_cpu_supports("avx2");
    return supported;
}

ShareDistancesFn bestShareDistances()
{
    return avx2Supported() ? shareDistancesAvx2 : shareDistancesSse2;
}

#else

bool avx2Supported()
{
    return false;
}

ShareDistancesFn bestShareDistances()
{
    return shareDistancesScalar;
}

#endif

PairFit fitSubtractivePairWith(ShareDistancesFn distances, const RgbColor &target, const RgbColor &a, const RgbColor &b)
{
    if (a == b)
        return {1.0f, colorDistance(target, a), true, false};
    alignas(32) double sums[kPaddedShareCount];
    const double smallest = distances(target, a, b, sums);
    int first = 0;
    while (sums[first] != smallest)
        ++first;
    // Never 1.0 or above, so the end-of-fit snap to 1.0 cannot apply.
    return {kShares.shareAsFloat[static_cast<std::size_t>(first)], std::sqrt(smallest), true, true};
}

PairFit fitSubtractivePairFast(const RgbColor &target, const RgbColor &a, const RgbColor &b)
{
    static const ShareDistancesFn distances = bestShareDistances();
    return fitSubtractivePairWith(distances, target, a, b);
}

} // namespace pigmora
