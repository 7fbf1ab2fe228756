#include "image/colortransform.h"

#include "engine/colordifference.h"

#include <cmath>
#include <cstring>
#include <new>

namespace pigmora {

Linear3 Matrix3::operator*(const Linear3 &v) const
{
    return {m[0] * v[0] + m[1] * v[1] + m[2] * v[2], m[3] * v[0] + m[4] * v[1] + m[5] * v[2],
            m[6] * v[0] + m[7] * v[1] + m[8] * v[2]};
}

Matrix3 Matrix3::operator*(const Matrix3 &other) const
{
    Matrix3 r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r.m[static_cast<std::size_t>(i * 3 + j)]
                = at(i, 0) * other.at(0, j) + at(i, 1) * other.at(1, j) + at(i, 2) * other.at(2, j);
    return r;
}

std::optional<Matrix3> Matrix3::inverse() const
{
    const double c00 = at(1, 1) * at(2, 2) - at(1, 2) * at(2, 1);
    const double c01 = at(1, 2) * at(2, 0) - at(1, 0) * at(2, 2);
    const double c02 = at(1, 0) * at(2, 1) - at(1, 1) * at(2, 0);
    const double det = at(0, 0) * c00 + at(0, 1) * c01 + at(0, 2) * c02;
    if (!(std::fabs(det) >= 1e-12))
        return std::nullopt;
    return Matrix3{{c00 / det, (at(0, 2) * at(2, 1) - at(0, 1) * at(2, 2)) / det,
                    (at(0, 1) * at(1, 2) - at(0, 2) * at(1, 1)) / det, c01 / det,
                    (at(0, 0) * at(2, 2) - at(0, 2) * at(2, 0)) / det,
                    (at(0, 2) * at(1, 0) - at(0, 0) * at(1, 2)) / det, c02 / det,
                    (at(0, 1) * at(2, 0) - at(0, 0) * at(2, 1)) / det,
                    (at(0, 0) * at(1, 1) - at(0, 1) * at(1, 0)) / det}};
}

Matrix3 Matrix3::diagonal(double a, double b, double c)
{
    return Matrix3{{a, 0.0, 0.0, 0.0, b, 0.0, 0.0, 0.0, c}};
}

namespace {

// Linear values are encoded through a table indexed by the float's exponent
// and top mantissa bits: 1024 buckets per octave from 2^-14 (which encodes
// to 0, as everything below it) up to 1, each holding the code of its
// middle. A bucket spans at most a ninth of a code, so the result is
// linearToSrgb8's except within that of a boundary between two codes, where
// it may be the neighbour: one table load, no comparison.
constexpr int kMantissaBits = 10;
constexpr int kBucketShift = 23 - kMantissaBits;
constexpr std::uint32_t kLowestBits = 113u << 23; // 2^-14
constexpr int kBuckets = 14 << kMantissaBits;
constexpr float kLowest = 0x1p-14f;
// The largest float below 1: everything from 1 on encodes as 255.
constexpr float kBelowOne = 0x1.fffffep-1f;

struct EncodeTables {
    std::array<std::uint8_t, kBuckets> code{};

    EncodeTables()
    {
        for (int i = 0; i < kBuckets; ++i) {
            const std::uint32_t middle
                = kLowestBits + (static_cast<std::uint32_t>(i) << kBucketShift) + (1u << (kBucketShift - 1));
            float f;
            std::memcpy(&f, &middle, sizeof f);
            code[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(linearToSrgb8(f));
        }
    }
};

const EncodeTables &encodeTables()
{
    static const EncodeTables tables;
    return tables;
}

inline std::uint8_t encodeWith(const EncodeTables &tables, float v)
{
    v = v > kLowest ? v : kLowest; // NaN too
    v = v < kBelowOne ? v : kBelowOne;
    std::uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return tables.code[(bits - kLowestBits) >> kBucketShift];
}

using Lanes = float __attribute__((vector_size(16)));
using Words = std::uint32_t __attribute__((vector_size(16)));

inline Lanes loadLanes(const float *p)
{
    Lanes v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

} // namespace

std::uint8_t encodeLinearToSrgb8(float linear)
{
    return encodeWith(encodeTables(), linear);
}

bool ColorTransform::accepts(const Matrix3 &matrix)
{
    for (const double c : matrix.m)
        if (!(std::fabs(c) <= kMaxCoefficient))
            return false;
    return true;
}

std::shared_ptr<const ColorTransform> ColorTransform::make(const Matrix3 &matrix)
{
    if (!accepts(matrix))
        return nullptr;
    std::shared_ptr<ColorTransform> transform(new (std::nothrow) ColorTransform);
    if (!transform)
        return nullptr;
    transform->m_matrix = matrix;
    // Stored channel s (blue, green, red) is matrix column 2 - s; output lane
    // o (blue, green, red) is matrix row 2 - o.
    for (int s = 0; s < 3; ++s) {
        for (int value = 0; value < 256; ++value) {
            float *terms = transform->m_terms[s][value];
            for (int o = 0; o < 3; ++o)
                terms[o] = static_cast<float>(matrix.at(2 - o, 2 - s) * srgbToLinear(value));
            terms[3] = 0.0f;
        }
    }
    encodeTables();
    return transform;
}

RgbColor ColorTransform::apply(const RgbColor &color) const
{
    std::uint8_t p[4] = {static_cast<std::uint8_t>(color.blue), static_cast<std::uint8_t>(color.green),
                         static_cast<std::uint8_t>(color.red), 0};
    applyPixels(p, 1);
    return {p[2], p[1], p[0]};
}

RgbColor ColorTransform::applyLinear(const Linear3 &linear) const
{
    const EncodeTables &tables = encodeTables();
    std::uint8_t out[3];
    for (int o = 0; o < 3; ++o) {
        const float b = static_cast<float>(m_matrix.at(2 - o, 2) * linear[2]);
        const float g = static_cast<float>(m_matrix.at(2 - o, 1) * linear[1]);
        const float r = static_cast<float>(m_matrix.at(2 - o, 0) * linear[0]);
        out[o] = encodeWith(tables, (b + g) + r);
    }
    return {out[2], out[1], out[0]};
}

void ColorTransform::applyPixels(const std::uint8_t *in, std::uint8_t *out, std::size_t count) const
{
    const EncodeTables &tables = encodeTables();
    const Lanes lowest = {kLowest, kLowest, kLowest, kLowest};
    const Lanes belowOne = {kBelowOne, kBelowOne, kBelowOne, kBelowOne};
    const Words lowestBits = {kLowestBits, kLowestBits, kLowestBits, kLowestBits};
    // Flat areas repeat pixels: a run costs one conversion.
    std::uint32_t last = 0;
    std::uint32_t lastOut = 0;
    bool known = false;
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t pixel;
        std::memcpy(&pixel, in + 4 * i, sizeof pixel);
        if (!known || ((pixel ^ last) & 0xFFFFFFu) != 0) {
            Lanes sum = (loadLanes(m_terms[0][pixel & 0xFF]) + loadLanes(m_terms[1][pixel >> 8 & 0xFF]))
                + loadLanes(m_terms[2][pixel >> 16 & 0xFF]);
            sum = sum > lowest ? sum : lowest;
            sum = sum < belowOne ? sum : belowOne;
            Words bits;
            std::memcpy(&bits, &sum, sizeof bits);
            const Words index = (bits - lowestBits) >> kBucketShift;
            lastOut = static_cast<std::uint32_t>(tables.code[index[0]])
                | static_cast<std::uint32_t>(tables.code[index[1]]) << 8
                | static_cast<std::uint32_t>(tables.code[index[2]]) << 16;
            last = pixel;
            known = true;
        }
        const std::uint32_t corrected = lastOut | (pixel & 0xFF000000u);
        std::memcpy(out + 4 * i, &corrected, sizeof corrected);
    }
}

} // namespace pigmora
