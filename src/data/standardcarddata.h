#pragma once

#include <cstdint>
#include <span>
#include <string_view>

// The published values of the three standard colour cards, in the order in
// which they are added (generated from data/cards/ by tools/gen_cards.py).
namespace pigmora::carddata {

struct CardEntry {
    std::string_view code;
    std::string_view name; // Chinese name, UTF-8; may be empty
    std::string_view englishName; // may be empty
    std::int16_t red; // -1 for all three: no published colour
    std::int16_t green;
    std::int16_t blue;
};

std::span<const CardEntry> pantoneCoatedEntries();
std::span<const CardEntry> ralEntries();
std::span<const CardEntry> buildingColorEntries();

} // namespace pigmora::carddata
