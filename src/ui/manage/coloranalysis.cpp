#include "manage/coloranalysis.h"

#include "data/platform.h"
#include "main/language.h"
#include "main/uitext.h"
#include "engine/colorpick.h"

namespace pigmora::ui {

void applyColorPick(ColorAnalysis &analysis, const ColorPick &pick)
{
    analysis.target = pick.target;
    if (!pick.solved)
        return;
    for (std::size_t k = 0; k < analysis.paints.size(); ++k) {
        ColorAnalysis::Paint &paint = analysis.paints[k];
        const PaintColorRecord &record = pick.mix.paints[k];
        if (record.usedFlag() != 0) {
            paint.color = record.color();
            paint.name = platform::gbkToUtf8(record.name());
            paint.proportion = proportionText(pick.mix.proportions[k]);
            paint.englishName = toUtf8(englishPaintName(record).value_or(QString()));
        } else {
            paint = ColorAnalysis::Paint{};
        }
    }
    analysis.mixed = pick.mix.mixed.color();
    analysis.deviation = pick.mix.isValid() ? deviationText(pick.mix.deviation) : std::string();
    if (pick.cardEntry) {
        analysis.pantone = pick.cardEntry->color();
        analysis.pantoneName = platform::gbkToUtf8(pick.cardEntry->displayText());
    }
}

void analyseColor(ColorAnalysis &analysis, std::span<const PaintColorRecord> box, const RgbColor &color,
                  const CStandardColorCard *cards, MixModel model)
{
    applyColorPick(analysis, pickColor(box, color, model, cards, CStandardColorCard::Card::PantoneCoated));
}

} // namespace pigmora::ui
