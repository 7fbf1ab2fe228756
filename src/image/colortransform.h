#pragma once

#include "data/color.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

namespace pigmora {

// Red, green and blue in linear light (the sRGB curve decoded), 1 = full.
using Linear3 = std::array<double, 3>;

// A 3 x 3 matrix, rows first: out[i] = m[3i] in[0] + m[3i + 1] in[1] + m[3i + 2] in[2].
struct Matrix3 {
    std::array<double, 9> m{1.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 1.0};

    double at(int row, int column) const { return m[static_cast<std::size_t>(row * 3 + column)]; }
    Linear3 operator*(const Linear3 &v) const;
    Matrix3 operator*(const Matrix3 &other) const;
    // None when the matrix is singular (or nearly: a determinant below 1e-12).
    std::optional<Matrix3> inverse() const;
    static Matrix3 diagonal(double a, double b, double c);
};

// A colour correction as pictures get it: 8-bit sRGB decoded to linear light,
// multiplied by a 3 x 3 matrix, encoded with the sRGB curve and rounded
// (encodeLinearToSrgb8, clipped to 0..255). Lookup tables stand in for
// both curves: per input channel and value the matrix column's three products
// as floats, summed blue + green, then red, so a pixel costs three table rows,
// two vector additions and three table encodings (a run of equal pixels
// costs one).
//
// A single pixel, a row of pixels and a linear colour (an area's mean) take
// the same float steps: apply(c) == applyLinear(linear of c) for every
// colour. Pictures are corrected through PictureSource::make: each original
// pixel once, before the view scales it.
class ColorTransform
{
public:
    // The largest coefficient a transform takes; larger ones are no
    // correction of a photograph (they would amplify noise beyond use).
    static constexpr double kMaxCoefficient = 16.0;

    // None for a coefficient that is not finite or larger than
    // kMaxCoefficient in size, or when memory is refused.
    static std::shared_ptr<const ColorTransform> make(const Matrix3 &matrix);
    // Whether make takes the matrix (memory aside).
    static bool accepts(const Matrix3 &matrix);

    const Matrix3 &matrix() const { return m_matrix; }

    RgbColor apply(const RgbColor &color) const;
    RgbColor applyLinear(const Linear3 &linear) const;
    // Corrects count 32-bit pixels (blue, green, red, fourth byte) from in
    // to out, which may be in itself; the fourth byte is kept.
    void applyPixels(const std::uint8_t *in, std::uint8_t *out, std::size_t count) const;
    void applyPixels(std::uint8_t *pixels, std::size_t count) const { applyPixels(pixels, pixels, count); }

private:
    ColorTransform() = default;

    Matrix3 m_matrix;
    // m_terms[channel][value] for the stored channel order (blue, green,
    // red): the products with the outputs blue, green, red, and 0.
    alignas(16) float m_terms[3][256][4];
};

// The sRGB encoding of a float linear value by a table over the float's
// leading bits: linearToSrgb8's code (0 for anything not above 0, 255 from 1
// on) except within a ninth of a code of a boundary between two codes, where
// it may be the neighbour.
std::uint8_t encodeLinearToSrgb8(float linear);

} // namespace pigmora
