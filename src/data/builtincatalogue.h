#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace pigmora {

inline constexpr int kColorGroupCount = 6;

// One built-in paint as listed (UTF-8 texts; converted to GBK when recorded).
struct BuiltInPaint {
    std::string_view code;
    std::string_view name;
    std::string_view englishName;
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    float strength;
    std::uint8_t mixingClass;
    std::uint8_t group;
};

// A paint named by its identity (code and name), UTF-8.
struct PaintKey {
    std::string_view code;
    std::string_view name;
};

// The 261 built-in paints, in the order they are added to a new catalogue.
std::span<const BuiltInPaint> builtInPaints();

// The 17 (code, name) pairs of the provisional colour box, in order.
std::span<const PaintKey> provisionalBoxPaints();

// The six colour group names by index ("油画颜色" ... "纺织颜色"), UTF-8;
// empty for any other index.
std::string_view colorGroupNameOf(int index);
// 0 to 5, or -1 for any other text.
int colorGroupIndexOf(std::string_view name);

} // namespace pigmora
