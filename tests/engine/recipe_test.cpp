#include "engine/recipe.h"

#include "engine/colorpick.h"
#include "engine/mixcorrection.h"
#include "engine/paintbox.h"
#include "engine/pigmentsolver.h"
#include "engine/strengthfit.h"

#include <gtest/gtest.h>

#include <cmath>

namespace pigmora {
namespace {

std::array<RecipePaint, 3> answerPaints(const MixResult &mix)
{
    std::array<RecipePaint, 3> paints;
    for (std::size_t k = 0; k < 3; ++k)
        paints[k].color = mix.paints[k].color();
    return paints;
}

std::array<double, 3> asDoubles(const std::array<int, 3> &parts)
{
    return {static_cast<double>(parts[0]), static_cast<double>(parts[1]), static_cast<double>(parts[2])};
}

// Every pick's parts recipe follows the rule, checked against a plain
// enumeration of all parts vectors up to the largest total.
class PartsRule : public ::testing::TestWithParam<MixModel>
{ };

TEST_P(PartsRule, SmallestTotalWithinToleranceAndFirstOnTies)
{
    std::mt19937 rng(16);
    for (int round = 0; round < 40; ++round) {
        std::vector<RgbColor> colors;
        for (int k = 0; k < 6; ++k)
            colors.push_back(test::randomColor(rng));
        const auto box = test::paintBox(colors);
        const RgbColor target = test::randomColor(rng);
        const int most = round % 2 == 0 ? kDefaultMaxParts : 5;
        const ColorPick pick = pickColor(box, target, GetParam(), nullptr, std::nullopt, PickOptions{{}, most});
        ASSERT_TRUE(pick.solved && pick.parts);
        const Lab targetLab = labOf(target);
        const auto paints = answerPaints(pick.mix);
        std::array<bool, 3> used{};
        std::size_t n = 0;
        for (std::size_t k = 0; k < 3; ++k) {
            used[k] = pick.mix.paints[k].usedFlag() == 1;
            n += used[k] ? 1 : 0;
            EXPECT_EQ(pick.parts->parts[k] > 0, used[k]);
        }
        const auto score = [&](const std::array<int, 3> &parts) {
            return deltaE00(targetLab, mixRecipe(GetParam(), paints, asDoubles(parts)).lab);
        };
        EXPECT_EQ(pick.parts->deltaE00, score(pick.parts->parts));
        EXPECT_EQ(pick.parts->onePartOff, onePartOff(GetParam(), paints, pick.parts->parts));
        if (n == 1)
            continue;
        // The unrounded answer's difference, as the rule sees it.
        double unrounded = *pick.mixDeltaE00;
        if (GetParam() == MixModel::Pigment) {
            MixResult again = MixResult::forTarget(target);
            findPigmentMix(box, {}, again, &unrounded);
        }
        int chosenTotal = 0;
        for (const int p : pick.parts->parts)
            chosenTotal += p;
        double overall = INFINITY;
        for (int total = static_cast<int>(n); total <= most; ++total) {
            std::array<int, 3> first{};
            double best = INFINITY;
            auto consider = [&](int x, int y, int z) {
                std::array<int, 3> parts{};
                std::size_t slot = 0;
                const int values[3] = {x, y, z};
                for (std::size_t k = 0; k < 3; ++k) {
                    if (used[k])
                        parts[k] = values[slot++];
                }
                const double d = score(parts);
                if (d < best) {
                    best = d;
                    first = parts;
                }
            };
            for (int x = 1; x < total; ++x) {
                if (n == 2) {
                    consider(x, total - x, 0);
                    continue;
                }
                for (int y = 1; x + y < total; ++y)
                    consider(x, y, total - x - y);
            }
            if (total < chosenTotal) {
                EXPECT_TRUE(best > unrounded + kPartsTolerance && best >= pick.parts->deltaE00) << total;
            }
            if (total == chosenTotal) {
                EXPECT_EQ(first, pick.parts->parts);
            }
            overall = std::min(overall, best);
        }
        if (pick.parts->deltaE00 > unrounded + kPartsTolerance) {
            EXPECT_EQ(pick.parts->deltaE00, overall);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryModel, PartsRule,
                         ::testing::Values(MixModel::Subtractive, MixModel::Spatial, MixModel::Pigment));

TEST(Parts, SinglePaintAndTouchOfAStrongPaint)
{
    const auto box = test::paintBox({{255, 255, 255}, {20, 30, 140}});
    const ColorPick single = pickColor(box, {255, 255, 255}, MixModel::Pigment, nullptr, std::nullopt);
    ASSERT_TRUE(single.parts);
    EXPECT_EQ(single.parts->parts, (std::array<int, 3>{1, 0, 0}));
    EXPECT_EQ(single.parts->onePartOff, 0.0);
    // A tint needing less than 0.01 of the blue: reached by the fine shares,
    // read as a touch, and still at least one whole part.
    const RgbColor tint
        = mixPigments(std::vector<RgbColor>{{255, 255, 255}, {20, 30, 140}}, std::vector{996.0, 4.0}).rgb;
    const ColorPick pick = pickColor(box, tint, MixModel::Pigment, nullptr, std::nullopt);
    ASSERT_TRUE(pick.paints[0] && pick.paints[1]);
    EXPECT_LT(*pick.mixDeltaE00, 1.0);
    EXPECT_FALSE(pick.paints[0]->touch);
    EXPECT_TRUE(pick.paints[1]->touch);
    EXPECT_GE(pick.paints[1]->parts, 1);
}

// Strengths act as concentrations: a paint twice as strong at one part is
// the plain paint at two; equal strengths are no strengths at all.
TEST(Strengths, WeightTheSharesAndChangeNothingWhenEqual)
{
    const std::vector<RecipePaint> plain{{{250, 240, 230}, 1.0}, {{30, 60, 150}, 1.0}};
    const std::vector<RecipePaint> strong{{{250, 240, 230}, 1.0}, {{30, 60, 150}, 2.0}};
    const std::vector<RecipePaint> equal{{{250, 240, 230}, 3.0}, {{30, 60, 150}, 3.0}};
    const RecipeColor a = mixRecipe(MixModel::Pigment, strong, std::vector{3.0, 1.0});
    const RecipeColor b = mixRecipe(MixModel::Pigment, plain, std::vector{3.0, 2.0});
    EXPECT_LT(deltaE00(a.lab, b.lab), 1e-9);
    const RecipeColor c = mixRecipe(MixModel::Pigment, equal, std::vector{3.0, 1.0});
    const RecipeColor d = mixRecipe(MixModel::Pigment, plain, std::vector{3.0, 1.0});
    EXPECT_TRUE(c.lab.lightness == d.lab.lightness && c.lab.a == d.lab.a && c.lab.b == d.lab.b);

    std::mt19937 rng(5);
    for (int round = 0; round < 12; ++round) {
        std::vector<RgbColor> colors;
        std::vector<double> strengths;
        for (int k = 0; k < 7; ++k) {
            colors.push_back(test::randomColor(rng));
            strengths.push_back(std::exp(std::uniform_real_distribution<double>(-2.0, 2.0)(rng)));
        }
        const auto box = test::paintBox(colors);
        MixResult fast = MixResult::forTarget(test::randomColor(rng));
        MixResult plainSearch = fast;
        double fastDifference = 0.0;
        double plainDifference = 0.0;
        findPigmentMix(box, strengths, fast, &fastDifference);
        reference::findPigmentMix(box, strengths, plainSearch, &plainDifference);
        EXPECT_TRUE(test::sameResult(fast, plainSearch)) << round;
        EXPECT_EQ(fastDifference, plainDifference);
        MixResult unweighted = MixResult::forTarget(fast.target.color());
        MixResult allTwo = unweighted;
        findPigmentMix(box, unweighted);
        findPigmentMix(box, std::vector<double>(colors.size(), 2.0), allTwo);
        EXPECT_TRUE(test::sameResult(unweighted, allTwo)) << round;
    }
}

// Simulated paints with known strengths, measured as 8-bit colours: the fit
// finds the strengths again (up to a common factor, which mixes cannot tell).
TEST(StrengthFit, RecoversKnownStrengths)
{
    const std::vector<RgbColor> colors{{250, 250, 245}, {200, 30, 40}, {20, 40, 150},
                                       {240, 200, 20},  {30, 110, 60}, {90, 50, 30}};
    const std::vector<double> truth{3.0, 0.5, 1.6, 0.35, 1.0, 2.2};
    std::vector<MixObservation> observations;
    for (int a = 0; a < 6; ++a) {
        for (int b = a + 1; b < 6; ++b) {
            for (const auto &[pa, pb] : {std::pair{1.0, 1.0}, std::pair{2.0, 1.0}}) {
                MixObservation o;
                o.paints = {a, b, -1};
                o.parts = {pa, pb, 0.0};
                o.measured = mixRecipe(MixModel::Pigment,
                                       std::vector<RecipePaint>{
                                           {colors[static_cast<std::size_t>(a)], truth[static_cast<std::size_t>(a)]},
                                           {colors[static_cast<std::size_t>(b)], truth[static_cast<std::size_t>(b)]}},
                                       std::vector{pa, pb})
                                 .rgb;
                observations.push_back(o);
            }
        }
    }
    const StrengthFit fit = fitStrengths(colors, observations);
    for (std::size_t k = 1; k < truth.size(); ++k)
        EXPECT_NEAR(fit.strengths[k] / fit.strengths[0], truth[k] / truth[0], 0.04 * truth[k] / truth[0]) << k;
    EXPECT_GT(fit.meanBefore, 3.0);
    EXPECT_LT(fit.meanAfter, 0.5);
    EXPECT_EQ(fit.observationCounts, std::vector<int>(6, 10));
}

TEST(StrengthFit, UnseenPaintsKeepOneAndStrengthsStayInRange)
{
    // The white would have to be far stronger than the range allows; the
    // third paint is in no observation; the last observation names no paint.
    const std::vector<RgbColor> colors{{255, 255, 255}, {0, 0, 0}, {200, 30, 40}};
    std::vector<MixObservation> observations(3);
    for (MixObservation &o : observations) {
        o.paints = {0, 1, -1};
        o.parts = {1.0, 1.0, 0.0};
        o.measured = {250, 250, 250};
    }
    observations[2].paints = {0, 7, -1};
    const StrengthFit fit = fitStrengths(colors, observations);
    EXPECT_GE(fit.strengths[0] / fit.strengths[1], 1.0);
    for (const double s : fit.strengths) {
        EXPECT_GE(s, kMinStrength);
        EXPECT_LE(s, kMaxStrength);
    }
    EXPECT_EQ(fit.strengths[2], 1.0);
    EXPECT_EQ(fit.observationCounts, (std::vector<int>{2, 2, 0}));
    EXPECT_EQ(fitStrengths(colors, {}).strengths, std::vector<double>(3, 1.0));
}

// Simulated wrong mixes: one paint off by a few parts. The estimate finds the
// ratio really mixed, the suggestion brings the mix back, and the predicted
// result is what mixing the estimate plus the additions gives.
struct WrongMix {
    const char *name;
    MixModel model;
    std::vector<RgbColor> colors;
    std::vector<double> recipe;
    std::vector<double> mixed;
};

class Correction : public ::testing::TestWithParam<WrongMix>
{ };

TEST_P(Correction, SuggestsAdditionsThatBringTheMixBack)
{
    const WrongMix &c = GetParam();
    std::vector<RecipePaint> paints;
    for (const RgbColor &color : c.colors)
        paints.push_back({color, 1.0});
    const RgbColor target = mixRecipe(c.model, paints, c.recipe).rgb;
    const RgbColor got = mixRecipe(c.model, paints, c.mixed).rgb;
    const MixCorrection correction = correctMix(c.model, paints, c.recipe, target, got);
    ASSERT_TRUE(correction.helps);
    EXPECT_LT(correction.deltaE00After, correction.deltaE00Before / 3.0);
    int added = 0;
    std::vector<double> after(c.recipe.size());
    double recipeTotal = 0.0;
    for (std::size_t k = 0; k < after.size(); ++k) {
        EXPECT_GE(correction.add[k], 0);
        added += correction.add[k];
        after[k] = correction.estimatedParts[k] + correction.add[k];
        recipeTotal += c.recipe[k];
        EXPECT_EQ(correction.estimatedParts[k], std::round(correction.estimatedParts[k] * 1e4) / 1e4);
    }
    EXPECT_LE(added, recipeTotal);
    EXPECT_NEAR(deltaE00(labOf(target), mixRecipe(c.model, paints, after).lab), correction.deltaE00After, 1e-9);
    // The colour got is explained by the estimate.
    EXPECT_LT(deltaE00(labOf(got), mixRecipe(c.model, paints, correction.estimatedParts).lab), 1.0);
}

INSTANTIATE_TEST_SUITE_P(
    SimulatedMixes, Correction,
    ::testing::Values(
        WrongMix{"PigmentTooMuchYellow",
                 MixModel::Pigment,
                 {{30, 60, 150}, {255, 255, 255}, {200, 160, 40}},
                 {2, 5, 1},
                 {2, 5, 2}},
        WrongMix{"PigmentTooLittleWhite", MixModel::Pigment, {{30, 60, 150}, {255, 255, 255}}, {1, 4}, {1, 2}},
        WrongMix{"SubtractiveTooMuchRed", MixModel::Subtractive, {{220, 40, 40}, {240, 230, 60}}, {1, 3}, {2, 3}},
        WrongMix{"SpatialForgotTheThird",
                 MixModel::Spatial,
                 {{20, 20, 20}, {240, 240, 240}, {200, 40, 40}},
                 {2, 6, 2},
                 {2, 6, 0.2}}),
    [](const ::testing::TestParamInfo<WrongMix> &param) { return param.param.name; });

TEST(CorrectionEdge, NothingHelpsWhenTheMixIsRight)
{
    const std::vector<RecipePaint> paints{{{30, 60, 150}, 1.0}, {{255, 255, 255}, 1.0}};
    const RgbColor target = mixRecipe(MixModel::Pigment, paints, std::vector{1.0, 3.0}).rgb;
    const MixCorrection correction = correctMix(MixModel::Pigment, paints, std::vector{1.0, 3.0}, target, target);
    EXPECT_FALSE(correction.helps);
    EXPECT_EQ(correction.add, (std::vector<int>{0, 0}));
    EXPECT_EQ(correction.deltaE00Before, 0.0);
    EXPECT_NEAR(correction.estimatedParts[1] / correction.estimatedParts[0], 3.0, 0.05);
}

} // namespace
} // namespace pigmora
