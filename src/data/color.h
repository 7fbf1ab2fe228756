#pragma once

#include <cstdint>

namespace pigmora {

// An RGB colour with channels 0..255, held as int32 like the records do.
struct RgbColor {
    std::int32_t red = 0;
    std::int32_t green = 0;
    std::int32_t blue = 0;

    friend bool operator==(const RgbColor &, const RgbColor &) = default;
};

// Squared Euclidean distance in RGB, exact in integers.
constexpr std::int32_t squaredDistance(const RgbColor &a, const RgbColor &b)
{
    const std::int32_t dr = a.red - b.red;
    const std::int32_t dg = a.green - b.green;
    const std::int32_t db = a.blue - b.blue;
    return dr * dr + dg * dg + db * db;
}

// The longest possible RGB distance, 255·√3.
inline constexpr double kMaxRgbDistance = 441.672956;

} // namespace pigmora
