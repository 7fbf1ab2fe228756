#include "image/valuekernel.h"

#include "engine/colordifference.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace pigmora::value {

namespace {

constexpr int kLuminanceBits = 24; // fixed-point luminance: white is 1 << 24
constexpr int kIndexShift = 8; // table index: luminance in 1/65536

// The inverse of the CIELAB companding function.
double cielabFInverse(double f)
{
    constexpr double delta = 6.0 / 29.0;
    return f > delta ? f * f * f : 3.0 * delta * delta * (f - 4.0 / 29.0);
}

struct Tables {
    std::array<std::array<std::uint32_t, 256>, 3> channel{}; // blue, green, red: their share of Y
    std::vector<std::uint8_t> continuous;
    std::array<std::vector<std::uint8_t>, 10> stepped; // by step count, 2..9 as asked

    Tables()
    {
        for (int v = 0; v < 256; ++v) {
            const double linear = srgbToLinear(v);
            const double shares[3]
                = {xyzOfLinearRgb(0, 0, linear).y, xyzOfLinearRgb(0, linear, 0).y, xyzOfLinearRgb(linear, 0, 0).y};
            for (int c = 0; c < 3; ++c)
                channel[c][v] = static_cast<std::uint32_t>(std::lround(shares[c] * (1 << kLuminanceBits)));
        }
        continuous = table([](double y) { return y; });
        for (int steps : kStepChoices)
            stepped[static_cast<std::size_t>(steps)] = table([steps](double y) {
                const double lightness = 116.0 * cielabF(y) - 16.0;
                const double level = std::clamp(std::round(lightness / 100.0 * (steps - 1)), 0.0, steps - 1.0);
                return cielabFInverse((level * 100.0 / (steps - 1) + 16.0) / 116.0);
            });
    }

    // The gray level for every table index, the luminance mapped first.
    template<typename Map>
    static std::vector<std::uint8_t> table(Map map)
    {
        constexpr int entries = (1 << (kLuminanceBits - kIndexShift)) + 4; // rounding may pass white a little
        std::vector<std::uint8_t> levels(entries);
        for (int i = 0; i < entries; ++i) {
            const double y = std::min(1.0, i / static_cast<double>(1 << (kLuminanceBits - kIndexShift)));
            levels[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(linearToSrgb8(map(y)));
        }
        return levels;
    }

    const std::uint8_t *levelsFor(int steps) const
    {
        if (steps >= 2 && steps < static_cast<int>(stepped.size()) && !stepped[static_cast<std::size_t>(steps)].empty())
            return stepped[static_cast<std::size_t>(steps)].data();
        return continuous.data();
    }
};

const Tables &tables()
{
    static const Tables built;
    return built;
}

} // namespace

std::uint8_t valueGray(std::uint8_t blue, std::uint8_t green, std::uint8_t red, int steps)
{
    const Tables &t = tables();
    const std::uint32_t y = t.channel[0][blue] + t.channel[1][green] + t.channel[2][red];
    return t.levelsFor(steps)[(y + (1u << (kIndexShift - 1))) >> kIndexShift];
}

void valuePixels(const std::uint8_t *src, std::uint8_t *dst, std::size_t count, int steps)
{
    const Tables &t = tables();
    const std::uint8_t *levels = t.levelsFor(steps);
    for (std::size_t i = 0; i < count; ++i, src += 4, dst += 4) {
        const std::uint32_t y = t.channel[0][src[0]] + t.channel[1][src[1]] + t.channel[2][src[2]];
        const std::uint8_t gray = levels[(y + (1u << (kIndexShift - 1))) >> kIndexShift];
        dst[0] = dst[1] = dst[2] = gray;
        dst[3] = src[3];
    }
}

} // namespace pigmora::value
