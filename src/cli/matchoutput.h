#pragma once

#include "data/standardcolorcard.h"

#include <optional>
#include <string>
#include <string_view>

namespace pigmora {
struct ColorPick;
class PhotoCorrection;
}

namespace pigmora::cli {

// What a pick from a photo adds to its answer: the sample size, the colour
// sampled and the correction that made the matched colour from it.
struct PickReport {
    int sample = 1;
    RgbColor raw;
    const PhotoCorrection *correction = nullptr; // null: none
};

// One line answering a colour pick, for people or for programs; a report
// adds its fields at the end. strengths: where the pigment model's tinting
// strengths came from ("stored", "box" or "none").
std::string matchText(const ColorPick &pick, std::optional<CStandardColorCard::Card> card,
                      const PickReport *report = nullptr);
std::string matchJson(const ColorPick &pick, std::optional<CStandardColorCard::Card> card,
                      std::string_view strengths = "none", const PickReport *report = nullptr);

} // namespace pigmora::cli
