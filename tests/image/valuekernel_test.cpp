#include "image/valuekernel.h"

#include "engine/colordifference.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

namespace pigmora {
namespace {

double lightnessOf(int red, int green, int blue)
{
    return labOf(RgbColor{red, green, blue}).lightness;
}

TEST(ValueKernel, AGrayIsItsOwnValueAndTheEndsStay)
{
    for (int v = 0; v < 256; ++v) {
        const auto level = static_cast<std::uint8_t>(v);
        EXPECT_EQ(value::valueGray(level, level, level), level) << v;
    }
    for (int steps : {0, 3, 5, 9}) {
        EXPECT_EQ(value::valueGray(0, 0, 0, steps), 0) << steps;
        EXPECT_EQ(value::valueGray(255, 255, 255, steps), 255) << steps;
    }
}

// The gray has the colour's lightness to within half a gray level, and the
// steps are that lightness rounded to steps levels from 0 to 100.
TEST(ValueKernel, SweepOfColoursKeepsTheirLightness)
{
    std::vector<std::uint8_t> pixels;
    for (int r = 0; r < 256; r += 15)
        for (int g = 0; g < 256; g += 15)
            for (int b = 0; b < 256; b += 15)
                pixels.insert(
                    pixels.end(),
                    {static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(r), 7});
    for (int steps : {0, 3, 5, 9}) {
        std::vector<std::uint8_t> converted = pixels;
        value::valuePixels(converted.data(), converted.data(), converted.size() / 4, steps);
        std::set<int> levels;
        double worst = 0;
        for (std::size_t i = 0; i < pixels.size(); i += 4) {
            const std::uint8_t gray = converted[i];
            ASSERT_EQ(gray, value::valueGray(pixels[i], pixels[i + 1], pixels[i + 2], steps));
            ASSERT_TRUE(converted[i + 1] == gray && converted[i + 2] == gray && converted[i + 3] == 7);
            levels.insert(gray);
            const double lightness = lightnessOf(pixels[i + 2], pixels[i + 1], pixels[i]);
            const double target = steps ? std::round(lightness / 100.0 * (steps - 1)) * 100.0 / (steps - 1) : lightness;
            worst = std::max(worst, std::abs(lightnessOf(gray, gray, gray) - target));
        }
        EXPECT_LT(worst, 0.5) << steps << " steps";
        if (steps) {
            EXPECT_EQ(levels.size(), static_cast<std::size_t>(steps));
        }
    }
}

} // namespace
} // namespace pigmora
