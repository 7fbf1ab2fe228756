#include "main/matchcontext.h"

#include "data/colormanager.h"
#include "data/standardcolorcard.h"

#include <algorithm>

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
{
    if (m_colors) {
        m_stamps = colorFileStampsOf(m_colors->programFolder());
        readObservations();
    }
}

void MatchContext::setMaxParts(int maxParts)
{
    Q_EMIT aboutToChange();
    m_maxParts = std::clamp(maxParts, kMinMaxParts, kMaxMaxParts);
    Q_EMIT changed();
}

void MatchContext::readObservations()
{
    const ObservationStore store(m_colors->programFolder());
    m_observationStamp = fileStampOf(store.path());
    auto observations = store.load();
    m_observationProblem = observations ? std::string() : observations.message();
    m_strengths = observations ? StoredStrengths::fit(*observations) : StoredStrengths();
}

void MatchContext::reloadObservations()
{
    if (!m_colors)
        return;
    Q_EMIT aboutToChange();
    readObservations();
    Q_EMIT changed();
}

std::vector<double> MatchContext::boxStrengths(std::span<const PaintColorRecord> box) const
{
    if (mixModelOfSetting(m_mixingMode) != MixModel::Pigment)
        return {};
    return m_strengths.forBox(box);
}

void MatchContext::setMixingMode(int mode)
{
    Q_EMIT aboutToChange();
    m_mixingMode = mode;
    Q_EMIT changed();
}

void MatchContext::setCardChoice(int choice)
{
    Q_EMIT aboutToChange();
    m_cardChoice = cardOf(choice) ? choice : 0;
    Q_EMIT changed();
}

void MatchContext::selectColorBox(const std::string &name)
{
    if (!m_colors)
        return;
    Q_EMIT aboutToChange();
    m_colors->loadColorBox(name);
    Q_EMIT changed();
}

void MatchContext::reloadFromFiles()
{
    if (m_colors)
        reload(colorFileStampsOf(m_colors->programFolder()));
}

bool MatchContext::syncWithFiles()
{
    if (!m_colors)
        return false;
    const ColorFileStamps now = colorFileStampsOf(m_colors->programFolder());
    const bool observationsReplaced
        = fileStampOf(ObservationStore(m_colors->programFolder()).path()) != m_observationStamp;
    if (observationsReplaced) {
        Q_EMIT aboutToChange(); // the strengths a search reads change
        readObservations();
    }
    if (now != m_stamps) {
        reload(now);
        return true;
    }
    if (observationsReplaced)
        Q_EMIT changed();
    return observationsReplaced;
}

void MatchContext::reload(const ColorFileStamps &now)
{
    Q_EMIT aboutToChange();
    // The boxes name their paints; the catalogue holds them. A paint added
    // since the catalogue was read would be missing from every box.
    if (now.groups != m_stamps.groups)
        m_colors->loadColorGroups();
    m_colors->reloadCurrentColorBox();
    const bool boxesReplaced = now.boxes != m_stamps.boxes;
    m_stamps = now;
    Q_EMIT changed();
    if (boxesReplaced)
        Q_EMIT colorBoxesChanged();
}

std::optional<ColorPick> MatchContext::answer(const RgbColor &target, SolveControl *control) const
{
    return answer(target, cardOf(m_cardChoice), control);
}

std::optional<ColorPick> MatchContext::answer(const RgbColor &target, std::optional<CStandardColorCard::Card> card,
                                              SolveControl *control) const
{
    if (!m_colors)
        return std::nullopt;
    const auto box = m_colors->currentBoxRecords();
    const std::vector<double> strengths = boxStrengths(box);
    PickOptions options{strengths, m_maxParts};
    options.control = control;
    return pickColor(box, target, mixModelOfSetting(m_mixingMode), m_cards, m_cards ? card : std::nullopt, options);
}

} // namespace pigmora::ui
