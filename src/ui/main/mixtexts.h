#pragma once

#include "engine/mixcorrection.h"
#include "engine/recipe.h"
#include "store/observationstore.h"

#include <QString>

#include <optional>
#include <span>

// How the windows word whole-part recipes, a painter's learnt paints and the
// correction of a mix that came out wrong.
namespace pigmora::ui {

// "2 份"; empty for no parts.
QString partsText(int parts);
// "一点": beside the percentage of a paint the recipe needs only a touch of.
QString touchText();
// The parts recipe's difference to the picked colour and how forgiving it
// is, on two lines: "整份 ΔE00 1.23" and "差一份 ΔE00 0.85".
QString partsSummaryText(const PartsRecipe &recipe);
QString partsSummaryHint();
// "建议: 加 1 份 群青、2 份 钛白 (ΔE00 6.20 → 1.10)", or when no addition
// helps "无法改善 (ΔE00 6.20)". names[k] names recipe paint k.
QString correctionText(const MixCorrection &correction, std::span<const QString> names);
// A paint's learnt tinting strength: "着色力 1.35 (3 次混色)", or
// "着色力 1 (尚无记录的混色)" without one.
QString strengthText(const std::optional<PaintStrength> &strength);
// A recorded mix's recipe with the paints' names as the catalogue shows them
// in the interface's language: "群青 2 份 + 钛白 1 份" (parts that are not
// whole: "1.5 份").
QString observedRecipeText(const Observation &observation);

} // namespace pigmora::ui
