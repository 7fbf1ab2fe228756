#pragma once

#include "data/color.h"
#include "data/records.h"
#include "engine/mixresult.h"
#include "engine/mixsolver.h"

#include <bit>
#include <cstdio>
#include <initializer_list>
#include <ostream>
#include <random>
#include <string_view>
#include <vector>

// Small builders for solver tests: boxes of bare paints whose codes sort in
// the order given, and random colours.
namespace pigmora::test {

inline PaintColorRecord paintRecord(std::string_view code, const RgbColor &color)
{
    PaintColorRecord record;
    record.setCode(code);
    record.setName("p");
    record.setColor(color);
    record.setBoxFlag(1);
    return record;
}

// A record holding only a colour, as the solver writes a mixed colour.
inline PaintColorRecord colorRecord(const RgbColor &color)
{
    PaintColorRecord record;
    record.setColor(color);
    return record;
}

// Paints with codes "p0000", "p0001", ... so box order is the order given.
inline std::vector<PaintColorRecord> paintBox(const std::vector<RgbColor> &colors)
{
    std::vector<PaintColorRecord> box;
    char code[16];
    for (const RgbColor &color : colors) {
        std::snprintf(code, sizeof code, "p%04zu", box.size());
        box.push_back(paintRecord(code, color));
    }
    return box;
}

inline std::vector<PaintColorRecord> paintBox(std::initializer_list<RgbColor> colors)
{
    return paintBox(std::vector<RgbColor>(colors));
}

inline RgbColor randomColor(std::mt19937 &rng)
{
    std::uniform_int_distribution<int> channel(0, 255);
    const int r = channel(rng);
    const int g = channel(rng);
    return {r, g, channel(rng)};
}

// Field by field, floats and doubles compared by their bits.
inline bool sameResult(const MixResult &a, const MixResult &b)
{
    for (std::size_t k = 0; k < 3; ++k) {
        if (std::bit_cast<std::uint32_t>(a.proportions[k]) != std::bit_cast<std::uint32_t>(b.proportions[k]))
            return false;
    }
    return a.target == b.target && a.mixed == b.mixed && a.paints == b.paints
        && std::bit_cast<std::uint64_t>(a.deviation) == std::bit_cast<std::uint64_t>(b.deviation);
}

} // namespace pigmora::test

namespace pigmora {
// Test names and messages show the model by name.
inline void PrintTo(MixModel model, std::ostream *os)
{
    *os << (model == MixModel::Spatial ? "Spatial" : model == MixModel::Pigment ? "Pigment" : "Subtractive");
}
} // namespace pigmora
