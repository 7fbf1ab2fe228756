#include "main/mixtexts.h"

#include "engine/colorpick.h"
#include "main/language.h"
#include "main/uitext.h"

#include <QCoreApplication>
#include <QStringList>

namespace pigmora::ui {

namespace {

// The texts' translation context.
class MixTexts
{
    Q_DECLARE_TR_FUNCTIONS(MixTexts)
};

QString number(double value)
{
    return fromUtf8(twoDecimals(value));
}

} // namespace

QString partsText(int parts)
{
    return parts > 0 ? MixTexts::tr("%n 份", nullptr, parts) : QString();
}

QString touchText()
{
    return MixTexts::tr("一点");
}

QString partsSummaryText(const PartsRecipe &recipe)
{
    return MixTexts::tr("整份 ΔE00 %1\n差一份 ΔE00 %2").arg(number(recipe.deltaE00), number(recipe.onePartOff));
}

QString partsSummaryHint()
{
    return MixTexts::tr("整份：按各颜料下方的整份数调配时，混色与原色的色差 ΔE00。\n"
                        "差一份：任一颜料多一份或少一份时，混色最多变化的 ΔE00；越小，配方越经得起调错。");
}

QString correctionText(const MixCorrection &correction, std::span<const QString> names)
{
    if (!correction.helps)
        return MixTexts::tr("无法改善 (ΔE00 %1)").arg(number(correction.deltaE00Before));
    QStringList additions;
    for (std::size_t k = 0; k < correction.add.size() && k < names.size(); ++k) {
        if (correction.add[k] > 0)
            additions << MixTexts::tr("%n 份 %1", nullptr, correction.add[k]).arg(names[k]);
    }
    return MixTexts::tr("建议: 加 %1 (ΔE00 %2 → %3)")
        .arg(additions.join(MixTexts::tr("、")), number(correction.deltaE00Before), number(correction.deltaE00After));
}

QString strengthText(const std::optional<PaintStrength> &strength)
{
    if (!strength)
        return MixTexts::tr("着色力 1 (尚无记录的混色)");
    return MixTexts::tr("着色力 %1 (%2 次混色)")
        .arg(number(strength->strength), QString::number(strength->observations));
}

QString observedRecipeText(const Observation &observation)
{
    QStringList paints;
    for (const ObservedPaint &paint : observation.paints) {
        PaintColorRecord record;
        record.setCode(platform::utf8ToGbk(paint.code).value_or(std::string()));
        record.setName(platform::utf8ToGbk(paint.name).value_or(std::string()));
        record.setGroup(static_cast<std::uint8_t>(paint.group));
        const QString name = englishPaintName(record).value_or(fromUtf8(paint.name));
        const int whole = static_cast<int>(paint.parts);
        const QString parts = whole == paint.parts && whole > 0
                                  ? partsText(whole)
                                  : MixTexts::tr("%1 份").arg(QString::number(paint.parts, 'g', 6));
        paints << name + QLatin1Char(' ') + parts;
    }
    return paints.join(QStringLiteral(" + "));
}

} // namespace pigmora::ui
