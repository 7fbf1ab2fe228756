#pragma once

#include "data/color.h"
#include "data/records.h"
#include "engine/colorpick.h"
#include "engine/mixcorrection.h"
#include "store/observationstore.h"

#include <QDialog>

#include <array>
#include <optional>
#include <span>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace pigmora {
class Notifier;
}

namespace pigmora::ui {

class ColorSwatch;
class MatchContext;

// A recipe the painter is about to mix: the answer's paints as the box holds
// them, their whole parts, the colour it was for and the model that solved it.
struct MixRecipe {
    RgbColor target;
    MixModel model = MixModel::Subtractive;
    std::vector<PaintColorRecord> paints;
    std::vector<int> parts;
};

// The recipe of a solved answer of two or three paints with a whole-part
// recipe; none for any other.
std::optional<MixRecipe> mixRecipeOf(const ColorPick &pick, MixModel model);

// The recipe's paints mixed at parts came out as got: what to add, in the
// recipe's model and (pigment) with the strengths learnt so far.
MixCorrection correctionFor(const MixRecipe &recipe, std::span<const int> parts, const RgbColor &got,
                            const StoredStrengths &strengths);

// A colour typed as three channel fields; none unless each is 0..255.
std::optional<RgbColor> channelColor(const QString &red, const QString &green, const QString &blue);

// "记录实际混色": the recipe's paints with their parts (editable, the whole-part
// recipe to begin with) and the colour the mix came out (typed, or the next
// colour picked on the picture). Records the mix in the data folder, after
// which the learnt strengths are refitted and every answer follows, and
// suggests what to add to bring the mix to the picked colour. Not modal, so
// that the picture can be clicked while it is open.
class RecordMixDialog final : public QDialog
{
    Q_OBJECT

public:
    RecordMixDialog(MixRecipe recipe, MatchContext &context, Notifier *notifier, QWidget *parent = nullptr);

    const MixRecipe &recipe() const { return m_recipe; }
    std::vector<int> parts() const;
    std::optional<RgbColor> gotColor() const;
    void setGotColor(const RgbColor &color);

    // While "从图片取色" is down, the next colour picked on the picture is the
    // colour got: true when it was taken.
    bool waitingForPick() const;
    bool offerPickedColor(const RgbColor &color);

public Q_SLOTS:
    void recordClick();
    void suggestClick();

private:
    void gotChanged();
    void showStrengths();
    QString paintName(std::size_t k) const;

    MixRecipe m_recipe;
    MatchContext &m_context;
    Notifier *m_notifier;
    std::vector<QSpinBox *> m_parts;
    std::array<QLineEdit *, 3> m_channels{};
    ColorSwatch *m_got;
    QPushButton *m_pick;
    QPushButton *m_record;
    QPushButton *m_suggest;
    QLabel *m_suggestion;
    QLabel *m_strengths;
};

} // namespace pigmora::ui
