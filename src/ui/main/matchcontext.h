#pragma once

#include "data/color.h"
#include "data/standardcolorcard.h"
#include "engine/colorpick.h"
#include "store/filestamp.h"
#include "store/observationstore.h"

#include <QObject>

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace pigmora {
class CColorManager;
class SolveControl;
} // namespace pigmora

namespace pigmora::ui {

// Everything a colour's answer depends on besides the colour: the main
// colour manager's current colour box, the mixing mode and the standard card
// choice. Every window that shows an answer asks answer() and listens to
// changed(), which is emitted after anything here changed the answers, so
// that no window shows one computed under other settings. A further input
// (a colour correction, say) belongs here, with its own setter emitting
// changed().
class MatchContext : public QObject
{
    Q_OBJECT

public:
    MatchContext(CColorManager *colors, const CStandardColorCard *cards, QObject *parent = nullptr);

    CColorManager *colors() const { return m_colors; }
    const CStandardColorCard *cards() const { return m_cards; }

    // The stored mixing mode (0 subtractive, 1 spatial, 2 pigment; any
    // other value answers subtractively).
    int mixingMode() const { return m_mixingMode; }
    void setMixingMode(int mode);
    // 1 Pantone coated, 2 RAL, 3 building colours; any other value: none.
    int cardChoice() const { return m_cardChoice; }
    void setCardChoice(int choice);
    // The largest total of a whole-part recipe (clamped to
    // kMinMaxParts..kMaxMaxParts).
    int maxParts() const { return m_maxParts; }
    void setMaxParts(int maxParts);

    // The tinting strengths learnt from the mixes recorded in the data
    // folder (the pigment model mixes with them); none when the file is
    // missing or damaged (observationProblem() then says why).
    const StoredStrengths &strengths() const { return m_strengths; }
    const std::string &observationProblem() const { return m_observationProblem; }
    // Reads the recorded mixes again and refits: after one was recorded.
    void reloadObservations();
    // The strengths of the box's paints the pigment model mixes with (empty:
    // all 1); none in the other models.
    std::vector<double> boxStrengths(std::span<const PaintColorRecord> box) const;

    // Makes the named box current (an unknown name changes nothing).
    void selectColorBox(const std::string &name);
    // The current box as the files hold it now: reloads it by name, and
    // first the paint catalogue when the colour group file was replaced
    // since it was read (a paint added, changed or deleted here or by
    // another program). After a management window changed the files.
    void reloadFromFiles();
    // The same, only when the colour group or colour box file was replaced
    // since they were read; true when it reloaded. Recorded mixes changed
    // by another program are read again as well.
    bool syncWithFiles();

    // The answer for a colour under the current settings; nothing without a
    // colour manager. A worker thread may ask it with a control that cancels
    // it; aboutToChange() tells it to stop and be joined first.
    std::optional<ColorPick> answer(const RgbColor &target, SolveControl *control = nullptr) const;
    // The same with another card than the chosen one (none: no card).
    std::optional<ColorPick> answer(const RgbColor &target, std::optional<CStandardColorCard::Card> card,
                                    SolveControl *control = nullptr) const;

Q_SIGNALS:
    // Emitted before anything answer() reads changes: a search still
    // reading it must end before the slot returns.
    void aboutToChange();
    void changed();
    // The colour box file was replaced: the list of boxes may differ.
    void colorBoxesChanged();

private:
    void reload(const ColorFileStamps &now);
    void readObservations();

    CColorManager *m_colors;
    const CStandardColorCard *m_cards;
    int m_mixingMode = 0;
    int m_cardChoice = 0;
    int m_maxParts = kDefaultMaxParts;
    ColorFileStamps m_stamps; // of the files the catalogue and box were read from
    StoredStrengths m_strengths;
    std::string m_observationProblem;
    FileStamp m_observationStamp; // of the file the strengths were fitted to
};

} // namespace pigmora::ui
