#pragma once

#include "data/color.h"
#include "data/dcarray.h"
#include "data/records.h"

#include <array>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

namespace pigmora {

// The three built-in standard colour cards and the nearest-entry query the
// result panel, the colour dialog and the palette analysis ask. The cards are
// fixed after construction.
class CStandardColorCard
{
public:
    enum class Card {
        PantoneCoated = 0,
        Ral = 1,
        BuildingColors = 2,
    };
    static constexpr int kCardCount = 3;

    CStandardColorCard();
    ~CStandardColorCard();

    CStandardColorCard(const CStandardColorCard &) = delete;
    CStandardColorCard &operator=(const CStandardColorCard &) = delete;

    // Adds one entry to a card (texts UTF-8, cut at 20 GBK bytes); false when
    // the card already holds that code and name, or a text has no GBK form.
    bool addColor(Card card, std::string_view code, std::string_view name, std::string_view englishName,
                  const RgbColor &color);

    // The entry nearest to the target by plain RGB distance; ties keep the
    // entry first in code order. Entries without a known colour never match.
    std::optional<StandardColorRecord> findNearestColor(Card card, const RgbColor &target) const;

    // The card's entries in array order (code, then name).
    std::span<const StandardColorRecord> entries(Card card) const;
    int count(Card card) const;

private:
    void buildCard(Card card);
    DCArray *array(Card card) const { return m_cards[static_cast<std::size_t>(card)].get(); }

    std::array<std::unique_ptr<DCArray>, kCardCount> m_cards;
};

// Card names as the command line spells them ("pantone", "ral", "building").
std::optional<CStandardColorCard::Card> cardFromName(std::string_view name);
std::string_view cardName(CStandardColorCard::Card card);

} // namespace pigmora
