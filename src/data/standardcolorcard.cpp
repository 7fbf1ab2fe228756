#include "data/standardcolorcard.h"

#include "data/platform.h"
#include "data/standardcarddata.h"

namespace pigmora {

namespace {

std::span<const carddata::CardEntry> publishedEntries(CStandardColorCard::Card card)
{
    switch (card) {
    case CStandardColorCard::Card::PantoneCoated:
        return carddata::pantoneCoatedEntries();
    case CStandardColorCard::Card::Ral:
        return carddata::ralEntries();
    case CStandardColorCard::Card::BuildingColors:
        return carddata::buildingColorEntries();
    }
    return {};
}

constexpr std::int32_t kLargestSquaredDistance = 3 * 255 * 255;

} // namespace

CStandardColorCard::CStandardColorCard()
{
    buildCard(Card::PantoneCoated);
    buildCard(Card::Ral);
    buildCard(Card::BuildingColors);
}

CStandardColorCard::~CStandardColorCard() = default;

void CStandardColorCard::buildCard(Card card)
{
    auto &slot = m_cards[static_cast<std::size_t>(card)];
    slot = std::make_unique<DCArray>(static_cast<std::uint32_t>(StandardColorRecord::kSize),
                                     compareStandardColorRecords);
    for (const carddata::CardEntry &entry : publishedEntries(card))
        addColor(card, entry.code, entry.name, entry.englishName, {entry.red, entry.green, entry.blue});
}

bool CStandardColorCard::addColor(Card card, std::string_view code, std::string_view name, std::string_view englishName,
                                  const RgbColor &color)
{
    const auto gbkCode = platform::utf8ToGbk(code);
    const auto gbkName = platform::utf8ToGbk(name);
    const auto gbkEnglish = platform::utf8ToGbk(englishName);
    DCArray *cardArray = array(card);
    if (!cardArray || !gbkCode || !gbkName || !gbkEnglish)
        return false;
    StandardColorRecord record;
    record.setCode(*gbkCode);
    record.setName(*gbkName);
    record.setEnglishName(*gbkEnglish);
    record.setColor(color);
    return cardArray->insertSorted(&record) >= 0;
}

std::optional<StandardColorRecord> CStandardColorCard::findNearestColor(Card card, const RgbColor &target) const
{
    std::optional<StandardColorRecord> nearest;
    std::int32_t best = kLargestSquaredDistance;
    for (const StandardColorRecord &entry : entries(card)) {
        if (!entry.hasColor())
            continue;
        const std::int32_t d = squaredDistance(target, entry.color());
        if (d < best) {
            best = d;
            nearest = entry;
        }
    }
    return nearest;
}

std::span<const StandardColorRecord> CStandardColorCard::entries(Card card) const
{
    const DCArray *cardArray = array(card);
    return cardArray ? cardArray->recordsAs<StandardColorRecord>() : std::span<const StandardColorRecord>();
}

int CStandardColorCard::count(Card card) const
{
    const DCArray *cardArray = array(card);
    return cardArray ? cardArray->count() : 0;
}

std::optional<CStandardColorCard::Card> cardFromName(std::string_view name)
{
    if (name == "pantone")
        return CStandardColorCard::Card::PantoneCoated;
    if (name == "ral")
        return CStandardColorCard::Card::Ral;
    if (name == "building")
        return CStandardColorCard::Card::BuildingColors;
    return std::nullopt;
}

std::string_view cardName(CStandardColorCard::Card card)
{
    switch (card) {
    case CStandardColorCard::Card::PantoneCoated:
        return "pantone";
    case CStandardColorCard::Card::Ral:
        return "ral";
    case CStandardColorCard::Card::BuildingColors:
        return "building";
    }
    return {};
}

} // namespace pigmora
