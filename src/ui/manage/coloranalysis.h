#pragma once

#include "data/color.h"
#include "engine/mixsolver.h"

#include <array>
#include <span>
#include <string>

namespace pigmora {
class CStandardColorCard;
struct ColorPick;
struct PaintColorRecord;
} // namespace pigmora

namespace pigmora::ui {

inline constexpr RgbColor kWhite{255, 255, 255};

// What the analysis panel shows for a palette colour: the colour, up to three
// paints with their shares, the mixed colour with its deviation and the
// nearest Pantone coated colour. Texts are UTF-8.
struct ColorAnalysis {
    struct Paint {
        RgbColor color = kWhite;
        std::string name;
        std::string proportion;
        std::string englishName; // shown instead of name when set (English)
    };

    RgbColor target = kWhite;
    std::array<Paint, 3> paints;
    RgbColor mixed = kWhite;
    std::string deviation;
    RgbColor pantone = kWhite;
    std::string pantoneName;
};

// Takes a pick's answer into the analysis. An unsolved pick changes only the
// target; a pick without a card entry keeps the previous Pantone colour. The
// texts are the result panel's.
void applyColorPick(ColorAnalysis &analysis, const ColorPick &pick);

// Analyses a colour on a colour box with the mixing model (the main
// window's; subtractive unless it chose another), and with the Pantone
// coated card when there is one.
void analyseColor(ColorAnalysis &analysis, std::span<const PaintColorRecord> box, const RgbColor &color,
                  const CStandardColorCard *cards, MixModel model = MixModel::Subtractive);

} // namespace pigmora::ui
