#include "main/matchcontext.h"

#include "data/colormanager.h"
#include "data/standardcolorcard.h"

namespace pigmora::ui {

namespace {

std::optional<CStandardColorCard::Card> cardOf(int choice)
{
    switch (choice) {
    case 1:
        return CStandardColorCard::Card::PantoneCoated;
    case 2:
        return CStandardColorCard::Card::Ral;
    case 3:
        return CStandardColorCard::Card::BuildingColors;
    default:
        return std::nullopt;
    }
}

} // namespace

MatchContext::MatchContext(CColorManager *colors, const CStandardColorCard *cards, QObject *parent)
    : QObject(parent)
    , m_colors(colors)
    , m_cards(cards)
{ }

void MatchContext::setMixingMode(int mode)
{
    m_mixingMode = mode;
    Q_EMIT changed();
}

void MatchContext::setCardChoice(int choice)
{
    m_cardChoice = cardOf(choice) ? choice : 0;
    Q_EMIT changed();
}

void MatchContext::selectColorBox(const std::string &name)
{
    if (!m_colors)
        return;
    m_colors->loadColorBox(name);
    Q_EMIT changed();
}

void MatchContext::reloadFromFiles()
{
    if (!m_colors)
        return;
    m_colors->reloadCurrentColorBox();
    Q_EMIT changed();
}

std::optional<ColorPick> MatchContext::answer(const RgbColor &target) const
{
    if (!m_colors)
        return std::nullopt;
    return pickColor(m_colors->currentBoxRecords(), target, mixModelOfSetting(m_mixingMode), m_cards,
                     m_cards ? cardOf(m_cardChoice) : std::nullopt);
}

} // namespace pigmora::ui
