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

constexpr int kSteps = 4096;
// The largest float below 1: everything from 1 on encodes as 255.
constexpr float kBelowOne = 0x1.fffffep-1f;

struct EncodeTables {
    // The code of the first float of each step, and for each code the
    // smallest float that encodes to the next one. A step (1/4096) is
    // narrower than the closest two thresholds (near black, 1/255/12.92),
    // so a value passes at most one threshold beyond its step's code.
    std::array<std::uint8_t, kSteps> firstCode{};
    std::array<float, 256> threshold{};

    EncodeTables()
    {
        for (int code = 0; code < 255; ++code) {
            // The curve's inverse at the half code, then to the exact float.
            const double half = (code + 0.5) / 255.0;
            float t = static_cast<float>(half <= 0.04045 ? half / 12.92 : std::pow((half + 0.055) / 1.055, 2.4));
            while (linearToSrgb8(t) > code)
                t = std::nextafter(t, 0.0f);
            while (linearToSrgb8(t) <= code)
                t = std::nextafter(t, 1.0f);
            threshold[static_cast<std::size_t>(code)] = t;
        }
        threshold[255] = 2.0f; // never passed
        for (int step = 0; step < kSteps; ++step)
            firstCode[static_cast<std::size_t>(step)]
                = static_cast<std::uint8_t>(linearToSrgb8(static_cast<float>(step) / kSteps));
    }
};

const EncodeTables &encodeTables()
{
    static const EncodeTables tables;
    return tables;
}

inline std::uint8_t encodeWith(const EncodeTables &tables, float v)
{
    v = v > 0.0f ? v : 0.0f; // NaN too
    v = v < kBelowOne ? v : kBelowOne;
    unsigned code = tables.firstCode[static_cast<std::size_t>(v * static_cast<float>(kSteps))];
    code += v >= tables.threshold[code] ? 1u : 0u;
    return static_cast<std::uint8_t>(code);
}

using Lanes = float __attribute__((vector_size(16)));

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

void ColorTransform::applyPixels(std::uint8_t *pixels, std::size_t count) const
{
    const EncodeTables &tables = encodeTables();
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t *p = pixels + 4 * i;
        const Lanes sum = (loadLanes(m_terms[0][p[0]]) + loadLanes(m_terms[1][p[1]])) + loadLanes(m_terms[2][p[2]]);
        p[0] = encodeWith(tables, sum[0]);
        p[1] = encodeWith(tables, sum[1]);
        p[2] = encodeWith(tables, sum[2]);
    }
}

} // namespace pigmora
