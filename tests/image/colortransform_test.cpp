#include "image/colortransform.h"

#include "engine/colordifference.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace pigmora {
namespace {

TEST(ColorTransform, EncodingRoundsLikeTheCurveAwayFromCodeBoundaries)
{
    // Everywhere within one code; off only within a ninth of a code of a
    // boundary between two codes.
    for (const float v : {-1.0f, 0.0f, 0x1p-20f, 1.0f, 2.0f, std::numeric_limits<float>::quiet_NaN()})
        EXPECT_EQ(encodeLinearToSrgb8(v), std::isnan(v) ? 0 : linearToSrgb8(v)) << v;
    int off = 0;
    constexpr int kSteps = 255 * 400;
    for (int i = 0; i <= kSteps; ++i) {
        const double encoded = static_cast<double>(i) / kSteps; // uniform over the codes
        const auto v = static_cast<float>(encoded <= 0.04045 ? encoded / 12.92
                                                             : std::pow((encoded + 0.055) / 1.055, 2.4));
        const int exact = linearToSrgb8(v);
        const int got = encodeLinearToSrgb8(v);
        ASSERT_LE(std::abs(got - exact), 1) << v;
        if (got != exact) {
            ++off;
            const double code = encoded * 255.0;
            ASSERT_LT(std::fabs(code - std::floor(code) - 0.5), 0.12) << v;
        }
    }
    EXPECT_LT(off, kSteps / 50);
}

TEST(ColorTransform, PixelsRowsAndMeansAgreeAndFollowTheMatrix)
{
    const Matrix3 matrices[] = {
        Matrix3{},
        Matrix3::diagonal(1.3, 1.0, 0.6),
        Matrix3{{1.6, -0.4, 0.1, -0.2, 1.3, -0.05, 0.05, -0.3, 1.8}},
    };
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    std::vector<std::uint8_t> row(4 * 4096);
    for (auto &b : row)
        b = static_cast<std::uint8_t>(byte(random));
    for (const Matrix3 &matrix : matrices) {
        const auto transform = ColorTransform::make(matrix);
        ASSERT_TRUE(transform);
        std::vector<std::uint8_t> corrected = row;
        transform->applyPixels(corrected.data(), row.size() / 4);
        for (std::size_t i = 0; i < row.size(); i += 4) {
            const RgbColor in{row[i + 2], row[i + 1], row[i]};
            const RgbColor out = transform->apply(in);
            ASSERT_EQ(out, (RgbColor{corrected[i + 2], corrected[i + 1], corrected[i]}));
            ASSERT_EQ(corrected[i + 3], row[i + 3]); // the fourth byte is kept
            const Linear3 linear{srgbToLinear(in.red), srgbToLinear(in.green), srgbToLinear(in.blue)};
            ASSERT_EQ(transform->applyLinear(linear), out);
            // Float sums: at most one code from the exact result.
            const Linear3 exact = matrix * linear;
            EXPECT_LE(std::abs(out.red - linearToSrgb8(exact[0])), 1);
            EXPECT_LE(std::abs(out.green - linearToSrgb8(exact[1])), 1);
            EXPECT_LE(std::abs(out.blue - linearToSrgb8(exact[2])), 1);
        }
    }
    // The identity gives every colour back.
    const auto identity = ColorTransform::make(Matrix3{});
    for (int v = 0; v < 256; ++v)
        ASSERT_EQ(identity->apply({v, 255 - v, v / 2}), (RgbColor{v, 255 - v, v / 2}));
}

TEST(ColorTransform, RefusesUnusableMatrices)
{
    EXPECT_FALSE(ColorTransform::make(Matrix3::diagonal(17.0, 1.0, 1.0)));
    EXPECT_FALSE(ColorTransform::make(Matrix3::diagonal(1.0, -16.5, 1.0)));
    EXPECT_FALSE(ColorTransform::make(Matrix3::diagonal(1.0, 1.0, std::numeric_limits<double>::quiet_NaN())));
    EXPECT_TRUE(ColorTransform::make(Matrix3::diagonal(16.0, -16.0, 0.0)));
    EXPECT_FALSE(Matrix3::diagonal(1.0, 0.0, 1.0).inverse());
}

} // namespace
} // namespace pigmora
