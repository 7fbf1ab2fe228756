#pragma once

#include "data/standardcolorcard.h"

#include <optional>
#include <string>

namespace pigmora {
struct ColorPick;
}

namespace pigmora::cli {

// One line answering a colour pick, for people or for programs.
std::string matchText(const ColorPick &pick, std::optional<CStandardColorCard::Card> card);
std::string matchJson(const ColorPick &pick, std::optional<CStandardColorCard::Card> card);

} // namespace pigmora::cli
