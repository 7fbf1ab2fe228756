#include "engine/pairbound.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

#if defined(__x86_64__)
#define PIGMORA_X86_KERNELS 1
#include <immintrin.h>
#endif

namespace pigmora {

namespace {

constexpr int kLanes = 8;
// Rounding moves a subtractive channel by at most 1/2: √3/2 in all three.
constexpr double kRoundingReach = 0.8660254038;
// Covers the single-precision bounds and the fit's own rounding: the
// computed spatial distance and the bounds each err by far less than 1e-3.
constexpr double kArithmeticMargin = 0.005;
constexpr float kHalf = 0.5f;
constexpr float kInverse510 = 1.0f / 510.0f;
// Keeps a zero-length segment from dividing 0 by 0.
constexpr float kTinyLength = 1e-12f;

// The square rounded up to the next float, so a limit never shrinks.
float squaredUp(double distance)
{
    if (!std::isfinite(distance))
        return std::numeric_limits<float>::infinity();
    return std::nextafter(static_cast<float>(distance * distance), std::numeric_limits<float>::infinity());
}

// Squared distance from the origin to the segment p..q.
float segmentSq(const float p[3], const float q[3])
{
    float e[3];
    for (int c = 0; c < 3; ++c)
        e[c] = q[c] - p[c];
    const float toward = 0.0f - (p[0] * e[0] + p[1] * e[1] + p[2] * e[2]);
    const float length = std::max(e[0] * e[0] + e[1] * e[1] + e[2] * e[2], kTinyLength);
    const float t = std::min(std::max(toward / length, 0.0f), 1.0f);
    float sum = 0.0f;
    for (int c = 0; c < 3; ++c) {
        const float r = p[c] + t * e[c];
        sum = sum + r * r;
    }
    return sum;
}

bool passes(bool subtractive, const float a[3], const float b[3], BoundLimits limits)
{
    float box = 0.0f;
    for (int c = 0; c < 3; ++c) {
        const float high = std::max(a[c], b[c]);
        const float low = std::min(a[c], b[c]);
        const float gap = std::max(std::max(0.0f - high, low), 0.0f);
        box = box + gap * gap;
    }
    if (!(box < limits.boxSq))
        return false;
    if (!subtractive)
        return segmentSq(b, a) < limits.curveSq;
    float mid[3];
    for (int c = 0; c < 3; ++c) {
        const float diff = a[c] - b[c];
        mid[c] = (a[c] + b[c]) * kHalf - diff * diff * kInverse510;
    }
    return std::min(segmentSq(b, mid), segmentSq(mid, a)) < limits.curveSq;
}

#ifdef PIGMORA_X86_KERNELS

struct Lanes3 {
    __m256 c[3];
};

__attribute__((target("avx"))) __m256 segmentSqAvx(const Lanes3 &p, const Lanes3 &q)
{
    Lanes3 e;
    for (int c = 0; c < 3; ++c)
        e.c[c] = _mm256_sub_ps(q.c[c], p.c[c]);
    const __m256 zero = _mm256_setzero_ps();
    const __m256 dot = _mm256_add_ps(_mm256_add_ps(_mm256_mul_ps(p.c[0], e.c[0]), _mm256_mul_ps(p.c[1], e.c[1])),
                                     _mm256_mul_ps(p.c[2], e.c[2]));
    const __m256 toward = _mm256_sub_ps(zero, dot);
    const __m256 squares = _mm256_add_ps(_mm256_add_ps(_mm256_mul_ps(e.c[0], e.c[0]), _mm256_mul_ps(e.c[1], e.c[1])),
                                         _mm256_mul_ps(e.c[2], e.c[2]));
    const __m256 length = _mm256_max_ps(squares, _mm256_set1_ps(kTinyLength));
    const __m256 t = _mm256_min_ps(_mm256_max_ps(_mm256_div_ps(toward, length), zero), _mm256_set1_ps(1.0f));
    __m256 sum = zero;
    for (int c = 0; c < 3; ++c) {
        const __m256 r = _mm256_add_ps(p.c[c], _mm256_mul_ps(t, e.c[c]));
        sum = _mm256_add_ps(sum, _mm256_mul_ps(r, r));
    }
    return sum;
}

// One bit per lane whose pair passes. The box bound is cheap and rejects most
// pairs of a large box, so the curve is computed only when some lane passes it.
template<bool Subtractive>
__attribute__((target("avx"))) int passMaskAvx(const Lanes3 &a, const Lanes3 &b, __m256 boxSq, __m256 curveSq)
{
    const __m256 zero = _mm256_setzero_ps();
    __m256 box = zero;
    for (int c = 0; c < 3; ++c) {
        const __m256 high = _mm256_max_ps(a.c[c], b.c[c]);
        const __m256 low = _mm256_min_ps(a.c[c], b.c[c]);
        const __m256 gap = _mm256_max_ps(_mm256_max_ps(_mm256_sub_ps(zero, high), low), zero);
        box = _mm256_add_ps(box, _mm256_mul_ps(gap, gap));
    }
    const __m256 inBox = _mm256_cmp_ps(box, boxSq, _CMP_LT_OQ);
    if (_mm256_movemask_ps(inBox) == 0)
        return 0;
    __m256 curve;
    if constexpr (!Subtractive) {
        curve = segmentSqAvx(b, a);
    } else {
        const __m256 half = _mm256_set1_ps(kHalf);
        const __m256 inverse510 = _mm256_set1_ps(kInverse510);
        Lanes3 mid;
        for (int c = 0; c < 3; ++c) {
            const __m256 diff = _mm256_sub_ps(a.c[c], b.c[c]);
            mid.c[c] = _mm256_sub_ps(_mm256_mul_ps(_mm256_add_ps(a.c[c], b.c[c]), half),
                                     _mm256_mul_ps(_mm256_mul_ps(diff, diff), inverse510));
        }
        curve = _mm256_min_ps(segmentSqAvx(b, mid), segmentSqAvx(mid, a));
    }
    return _mm256_movemask_ps(_mm256_and_ps(inBox, _mm256_cmp_ps(curve, curveSq, _CMP_LT_OQ)));
}

template<bool Subtractive>
__attribute__((target("avx"))) int candidatesAvx(const RelativeColors &colors, ColorOffset a, int begin, int end,
                                                 BoundLimits limits, int *out)
{
    const Lanes3 first{{_mm256_set1_ps(a.red), _mm256_set1_ps(a.green), _mm256_set1_ps(a.blue)}};
    const __m256 boxSq = _mm256_set1_ps(limits.boxSq);
    const __m256 curveSq = _mm256_set1_ps(limits.curveSq);
    int count = 0;
    for (int k = begin; k < end; k += kLanes) {
        Lanes3 second;
        for (int c = 0; c < 3; ++c)
            second.c[c] = _mm256_loadu_ps(colors.channel(c) + k);
        unsigned mask = static_cast<unsigned>(passMaskAvx<Subtractive>(first, second, boxSq, curveSq));
        if (end - k < kLanes)
            mask &= (1u << (end - k)) - 1u;
        while (mask != 0) {
            out[count++] = k + std::countr_zero(mask);
            mask &= mask - 1u;
        }
    }
    return count;
}

bool avxSupported()
{
    static const bool supported = __builtin_cpu_supports("avx");
    return supported;
}

#endif

} // namespace

ColorOffset offsetFrom(const RgbColor &color, const RgbColor &target)
{
    return {static_cast<float>(color.red - target.red), static_cast<float>(color.green - target.green),
            static_cast<float>(color.blue - target.blue)};
}

RelativeColors::RelativeColors(std::span<const RgbColor> colors, const RgbColor &target)
    : m_size(static_cast<int>(colors.size()))
{
    for (auto &channel : m_channels)
        channel.assign(colors.size() + kLanes, 0.0f);
    for (std::size_t k = 0; k < colors.size(); ++k) {
        const ColorOffset offset = offsetFrom(colors[k], target);
        m_channels[0][k] = offset.red;
        m_channels[1][k] = offset.green;
        m_channels[2][k] = offset.blue;
    }
}

ColorOffset RelativeColors::at(int k) const
{
    const auto i = static_cast<std::size_t>(k);
    return {m_channels[0][i], m_channels[1][i], m_channels[2][i]};
}

double boxReach(MixModel model, double limit)
{
    // The subtractive box bound is exact: mixed channels are whole numbers
    // between the paints' channels, and the fit's distance is their root.
    return model == MixModel::Spatial ? limit + kArithmeticMargin : limit;
}

BoundLimits boundLimits(MixModel model, double limit)
{
    const double curveReach
        = model == MixModel::Spatial ? limit + kArithmeticMargin : limit + kRoundingReach + kArithmeticMargin;
    return {squaredUp(boxReach(model, limit)), squaredUp(curveReach)};
}

int pairCandidatesScalar(MixModel model, const RelativeColors &colors, ColorOffset a, int begin, int end,
                         BoundLimits limits, int *out)
{
    const bool subtractive = model != MixModel::Spatial;
    const float first[3] = {a.red, a.green, a.blue};
    int count = 0;
    for (int k = begin; k < end; ++k) {
        const ColorOffset b = colors.at(k);
        const float second[3] = {b.red, b.green, b.blue};
        if (passes(subtractive, first, second, limits))
            out[count++] = k;
    }
    return count;
}

#ifdef PIGMORA_X86_KERNELS

int pairCandidatesAvx(MixModel model, const RelativeColors &colors, ColorOffset a, int begin, int end,
                      BoundLimits limits, int *out)
{
    if (model == MixModel::Spatial)
        return candidatesAvx<false>(colors, a, begin, end, limits, out);
    return candidatesAvx<true>(colors, a, begin, end, limits, out);
}

PairCandidatesFn bestPairCandidates()
{
    return avxSupported() ? pairCandidatesAvx : pairCandidatesScalar;
}

#else

PairCandidatesFn bestPairCandidates()
{
    return pairCandidatesScalar;
}

#endif

bool pairMayComeCloser(MixModel model, const RgbColor &target, const RgbColor &a, const RgbColor &b, double limit)
{
    const ColorOffset x = offsetFrom(a, target);
    const ColorOffset y = offsetFrom(b, target);
    const float first[3] = {x.red, x.green, x.blue};
    const float second[3] = {y.red, y.green, y.blue};
    return passes(model != MixModel::Spatial, first, second, boundLimits(model, limit));
}

} // namespace pigmora
