#include "engine/colorpick.h"

#include "data/platform.h"
#include "engine/colordifference.h"
#include "engine/pigmentsolver.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace pigmora {

Cmyk cmykOf(const RgbColor &color)
{
    const double c = 1.0 - color.red / 255.0;
    const double m = 1.0 - color.green / 255.0;
    const double y = 1.0 - color.blue / 255.0;
    double k = 1.0;
    if (c < k)
        k = c;
    if (m < k)
        k = m;
    if (y < k)
        k = y;
    double cc = 0.0;
    double mm = 0.0;
    double yy = 0.0;
    if (k < 1.0) {
        cc = (c - k) / (1.0 - k);
        mm = (m - k) / (1.0 - k);
        yy = (y - k) / (1.0 - k);
    }
    return {static_cast<int>(cc * 100.0), static_cast<int>(mm * 100.0), static_cast<int>(yy * 100.0),
            static_cast<int>(k * 100.0)};
}

std::string twoDecimals(double value)
{
    if (!std::isfinite(value))
        return "0.00";
    // The exact decimal expansion of the binary value, then rounding half away
    // from zero at the second decimal.
    char exact[512];
    std::snprintf(exact, sizeof exact, "%.60f", std::fabs(value));
    std::string digits(exact);
    const std::size_t point = digits.find('.');
    std::string kept = digits.substr(0, point) + digits.substr(point + 1, 2);
    if (digits[point + 3] >= '5') {
        int i = static_cast<int>(kept.size()) - 1;
        while (i >= 0 && kept[static_cast<std::size_t>(i)] == '9')
            kept[static_cast<std::size_t>(i--)] = '0';
        if (i < 0)
            kept.insert(kept.begin(), '1');
        else
            ++kept[static_cast<std::size_t>(i)];
    }
    const bool zero = kept.find_first_not_of('0') == std::string::npos;
    std::string text = (value < 0 && !zero) ? "-" : "";
    text += kept.substr(0, kept.size() - 2) + '.' + kept.substr(kept.size() - 2);
    return text;
}

std::string percentText(double value)
{
    return twoDecimals(value) + " %";
}

std::string deltaE00Text(double difference)
{
    return "ΔE00 " + twoDecimals(difference);
}

std::string deltaE00Reading(double difference)
{
    if (difference < 1.0)
        return "不可见";
    if (difference < 2.0)
        return "极接近";
    if (difference < 5.0)
        return "接近";
    return "可见差异";
}

std::string mixModelStatusText(MixModel model)
{
    switch (model) {
    case MixModel::Spatial:
        return "空间混色";
    case MixModel::Pigment:
        return "颜料混色";
    case MixModel::Subtractive:
        break;
    }
    return "减法混色";
}

std::string proportionText(float proportion)
{
    // A float times 100 is exact in double.
    return percentText(static_cast<double>(proportion) * 100.0);
}

std::string deviationText(double deviation)
{
    const float share = static_cast<float>(deviation * (1.0 / kMaxRgbDistance));
    return percentText(static_cast<double>(share) * 100.0);
}

std::string rgbStatusText(const RgbColor &color)
{
    return "R:" + std::to_string(color.red) + "  G:" + std::to_string(color.green)
        + "  B:" + std::to_string(color.blue);
}

std::string cmykStatusText(const Cmyk &cmyk)
{
    return "C:" + std::to_string(cmyk.cyan) + "  M:" + std::to_string(cmyk.magenta)
        + "  Y:" + std::to_string(cmyk.yellow) + "  K:" + std::to_string(cmyk.black);
}

namespace {

// The answer's paints as a recipe mixes them, with their strengths.
std::array<RecipePaint, 3> recipePaints(const MixResult &mix, std::span<const PaintColorRecord> box,
                                        std::span<const double> strengths)
{
    std::array<RecipePaint, 3> paints;
    for (std::size_t k = 0; k < 3; ++k) {
        paints[k].color = clampedColor(mix.paints[k].color());
        for (std::size_t i = 0; i < strengths.size() && i < box.size(); ++i) {
            if (box[i].samePaint(mix.paints[k])) {
                paints[k].strength = strengths[i];
                break;
            }
        }
    }
    return paints;
}

} // namespace

ColorPick pickColor(std::span<const PaintColorRecord> box, const RgbColor &target, MixModel model,
                    const CStandardColorCard *cards, std::optional<CStandardColorCard::Card> card)
{
    return pickColor(box, target, model, cards, card, PickOptions());
}

ColorPick pickColor(std::span<const PaintColorRecord> box, const RgbColor &target, MixModel model,
                    const CStandardColorCard *cards, std::optional<CStandardColorCard::Card> card,
                    const PickOptions &options)
{
    ColorPick pick;
    pick.target = target;
    pick.cmyk = cmykOf(target);
    pick.mix = MixResult::forTarget(target);
    double unrounded = 0.0;
    bool found = false;
    if (model == MixModel::Pigment)
        found = findPigmentMix(box, options.strengths, pick.mix, &unrounded, options.control);
    else
        found = options.control ? findMix(model, box, pick.mix, *options.control) : findMix(model, box, pick.mix);
    if (options.control && options.control->isCancelled())
        return pick;
    pick.solved = found && pick.mix.isValid();
    if (!pick.solved)
        return pick;
    const Lab targetLab = labOf(target);
    pick.mixDeltaE00 = deltaE00(targetLab, labOf(pick.mix.mixed.color()));
    if (model != MixModel::Pigment)
        unrounded = *pick.mixDeltaE00;
    std::array<bool, 3> used{};
    for (std::size_t k = 0; k < 3; ++k)
        used[k] = pick.mix.paints[k].usedFlag() == 1;
    pick.parts = findPartsRecipe(model, recipePaints(pick.mix, box, options.strengths), used, targetLab, unrounded,
                                 options.maxParts);
    const double touchShare = 0.5 / std::clamp(options.maxParts, kMinMaxParts, kMaxMaxParts);
    for (std::size_t k = 0; k < pick.paints.size(); ++k) {
        const PaintColorRecord &paint = pick.mix.paints[k];
        if (!used[k])
            continue;
        pick.paints[k] = PickedPaint{paint.color(),
                                     platform::gbkToUtf8(paint.code()),
                                     platform::gbkToUtf8(paint.name()),
                                     proportionText(pick.mix.proportions[k]),
                                     pick.parts->parts[k],
                                     pick.mix.proportions[k] < touchShare};
    }
    pick.deviation = deviationText(pick.mix.deviation);
    if (cards && card) {
        pick.cardEntry = cards->findNearestColor(*card, target);
        if (pick.cardEntry)
            pick.cardText = platform::gbkToUtf8(pick.cardEntry->displayText());
    }
    if (pick.cardEntry && pick.cardEntry->hasColor())
        pick.cardDeltaE00 = deltaE00(targetLab, labOf(pick.cardEntry->color()));
    return pick;
}

} // namespace pigmora
