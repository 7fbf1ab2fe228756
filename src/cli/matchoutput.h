#pragma once

#include "data/standardcolorcard.h"

#include <optional>
#include <string>
#include <string_view>

namespace pigmora {
struct ColorPick;
}

namespace pigmora::cli {

// One line answering a colour pick, for people or for programs.
// strengths: where the pigment model's tinting strengths came from
// ("stored", "box" or "none").
std::string matchText(const ColorPick &pick, std::optional<CStandardColorCard::Card> card);
std::string matchJson(const ColorPick &pick, std::optional<CStandardColorCard::Card> card,
                      std::string_view strengths = "none");

} // namespace pigmora::cli
