#pragma once

#include "data/color.h"
#include "data/records.h"
#include "data/standardcolorcard.h"
#include "engine/mixresult.h"
#include "engine/mixsolver.h"
#include "engine/recipe.h"
#include "engine/solvecontrol.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// The colour pick's answer, independent of how it is shown: the result
// panel and the command line both build their output from a ColorPick.
namespace pigmora {

struct Cmyk {
    int cyan = 0;
    int magenta = 0;
    int yellow = 0;
    int black = 0;

    friend bool operator==(const Cmyk &, const Cmyk &) = default;
};

// C, M, Y, K in percent, each truncated toward zero.
Cmyk cmykOf(const RgbColor &color);

// A value with two decimals: 2.305 shows "2.31". Halves round away from
// zero, judged on the exact binary value; not finite shows "0.00".
std::string twoDecimals(double value);
// A value shown with two decimals and a percent sign: "62.50 %". Halves round
// away from zero, judged on the exact binary value.
std::string percentText(double value);
// A proportion (0..1) as a percentage: 0.625 shows "62.50 %".
std::string proportionText(float proportion);
// A deviation as a percentage of the longest RGB distance: 44.1672956 shows
// "10.00 %".
std::string deviationText(double deviation);

// A CIEDE2000 difference as shown beside the deviation: "ΔE00 2.31" (two
// decimals, rounded like percentText).
std::string deltaE00Text(double difference);
// What a difference means to a painter, one word: below 1 "不可见", below 2
// "极接近", below 5 "接近", otherwise "可见差异".
std::string deltaE00Reading(double difference);

// The status bar's mixing mode text: "减法混色", "空间混色" or "颜料混色".
// Pair it with mixModelOfSetting so the text always names the model in use.
std::string mixModelStatusText(MixModel model);

// The status bar texts: "R:255  G:128  B:0" and "C:0  M:49  Y:100  K:0".
std::string rgbStatusText(const RgbColor &color);
std::string cmykStatusText(const Cmyk &cmyk);

// A paint that takes part in a solved mix, ready to show (UTF-8).
struct PickedPaint {
    RgbColor color;
    std::string code;
    std::string name;
    std::string proportion; // "62.50 %"
    int parts = 0; // in the whole-part recipe
    // Its share is below half of one part of the largest total: the panel
    // adds kTouchText ("a touch") beside the percentage.
    bool touch = false;
};

inline constexpr std::string_view kTouchText = "一点";

struct ColorPick {
    RgbColor target;
    Cmyk cmyk;
    // The solver found an answer; mix is meaningful only then.
    bool solved = false;
    MixResult mix;
    // The nearest entry of the chosen card (queried only for a solved pick).
    std::optional<StandardColorRecord> cardEntry;

    // What a solved pick shows: paint k + 1 where its used flag is 1, the
    // deviation text and the card entry's display text (empty without one).
    std::array<std::optional<PickedPaint>, 3> paints;
    std::string deviation;
    std::string cardText;
    // CIEDE2000 from the target to the mixed colour as shown (when solved)
    // and to the card entry (when there is one with a colour).
    std::optional<double> mixDeltaE00;
    std::optional<double> cardDeltaE00;
    // The simplest whole-part recipe of a solved pick, its ΔE00 and how
    // forgiving it is (one part off).
    std::optional<PartsRecipe> parts;
};

// How a pick mixes beyond its model: the tinting strengths of the box's
// paints in box order (pigment model; empty: all 1) and the largest total
// of a parts recipe (kMinMaxParts .. kMaxMaxParts). control, when given,
// follows the solve from another thread and may cancel it: the pick then
// comes back unsolved.
struct PickOptions {
    std::span<const double> strengths;
    int maxParts = kDefaultMaxParts;
    SolveControl *control = nullptr;
};

// Solves for the target on the box with the model and, when solved and a card
// is chosen, asks the card for its nearest entry.
ColorPick pickColor(std::span<const PaintColorRecord> box, const RgbColor &target, MixModel model,
                    const CStandardColorCard *cards, std::optional<CStandardColorCard::Card> card);
ColorPick pickColor(std::span<const PaintColorRecord> box, const RgbColor &target, MixModel model,
                    const CStandardColorCard *cards, std::optional<CStandardColorCard::Card> card,
                    const PickOptions &options);

} // namespace pigmora
