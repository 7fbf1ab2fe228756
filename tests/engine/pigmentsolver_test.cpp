#include "engine/mixsolver.h"

#include "engine/colordifference.h"
#include "engine/paintbox.h"
#include "engine/pigmentmix.h"

#include <gtest/gtest.h>

#include <cmath>

namespace pigmora {
namespace {

MixResult solve(const std::vector<PaintColorRecord> &box, const RgbColor &target, bool *found = nullptr)
{
    MixResult result = MixResult::forTarget(target);
    const bool ok = findPigmentMix(box, result);
    if (found)
        *found = ok;
    return result;
}

TEST(PigmentSolve, SinglePaintIsTheFirstWithinOneUnit)
{
    // (100,100,100) is within ΔE00 1 of (101,100,100) and comes first.
    const auto box = test::paintBox({{0, 0, 0}, {100, 100, 100}, {101, 100, 100}});
    bool found = false;
    const MixResult result = solve(box, {101, 100, 100}, &found);
    ASSERT_TRUE(found);
    EXPECT_EQ(result.paints[0].code(), "p0001");
    EXPECT_EQ(result.paints[0].usedFlag(), 1);
    EXPECT_EQ(result.paints[1].code(), "p0001");
    EXPECT_EQ(result.paints[1].usedFlag(), 0);
    EXPECT_EQ(result.paints[2].usedFlag(), 0);
    EXPECT_EQ(result.proportions, (std::array<float, 3>{1.0f, 0.0f, 0.0f}));
    EXPECT_EQ(result.mixed, box[1]);
    EXPECT_EQ(result.deviation, 1.0); // the RGB distance of the colour shown
}

TEST(PigmentSolve, BoxesWithoutAnAnswer)
{
    bool found = true;
    solve({}, {1, 2, 3}, &found);
    EXPECT_FALSE(found);
    solve(test::paintBox({{200, 0, 0}}), {1, 2, 3}, &found);
    EXPECT_FALSE(found);
    solve(test::paintBox({{2, 2, 3}}), {1, 2, 3}, &found);
    EXPECT_TRUE(found);
}

TEST(PigmentSolve, RedAndBlueAtEqualPartsMakeTheirPigmentMix)
{
    const auto box = test::paintBox({{255, 0, 0}, {0, 0, 255}});
    const RgbColor target = mixPigments(std::vector<RgbColor>{{255, 0, 0}, {0, 0, 255}}, std::vector{1.0, 1.0}).rgb;
    const MixResult result = solve(box, target);
    EXPECT_EQ(result.proportions, (std::array<float, 3>{0.5f, 0.5f, 0.0f}));
    EXPECT_EQ(result.mixed.color(), target);
    EXPECT_EQ(result.paints[0].usedFlag(), 1);
    EXPECT_EQ(result.paints[1].usedFlag(), 1);
    EXPECT_EQ(result.paints[2].usedFlag(), 0);
    EXPECT_EQ(result.deviation, 0.0);
}

TEST(PigmentSolve, ThirdPaintKeepsThePairsRatio)
{
    // Yellow and blue cannot make a pale green; white in the box can.
    const std::vector<RgbColor> colors{{255, 255, 0}, {0, 0, 255}, {255, 255, 255}};
    const RgbColor target = mixPigments(colors, std::vector{1.0, 1.0, 2.0}).rgb;
    const MixResult result = solve(test::paintBox(colors), target);
    const MixResult pairOnly = solve(test::paintBox({colors[0], colors[1]}), target);
    ASSERT_EQ(result.paints[2].usedFlag(), 1);
    EXPECT_EQ(result.paints[2].code(), "p0002");
    EXPECT_EQ(pairOnly.paints[2].usedFlag(), 0);
    EXPECT_LT(deltaE00(target, result.mixed.color()) + 1.0, deltaE00(target, pairOnly.mixed.color()));
    EXPECT_GT(result.proportions[2], 0.0f);
    EXPECT_NEAR(result.proportions[0] + result.proportions[1] + result.proportions[2], 1.0f, 1e-6f);
    // The pair keeps a ratio of whole hundredths.
    const double pairShare = 100.0 * result.proportions[0] / (result.proportions[0] + result.proportions[1]);
    EXPECT_NEAR(pairShare, std::round(pairShare), 1e-4);
    // The mix found is what the model predicts for the proportions shown.
    const std::vector<double> parts(result.proportions.begin(), result.proportions.end());
    EXPECT_EQ(mixPigments(colors, parts).rgb, result.mixed.color());
}

TEST(PigmentSolve, PairCloseEnoughGetsNoThirdPaint)
{
    // An in-gamut mix: its 8-bit colour is within ΔE00 1 of the model's.
    const std::vector<RgbColor> colors{{255, 255, 255}, {61, 41, 156}, {255, 255, 0}};
    const RgbColor target = mixPigments(std::vector<RgbColor>{colors[0], colors[1]}, std::vector{1.0, 3.0}).rgb;
    const MixResult result = solve(test::paintBox(colors), target);
    EXPECT_EQ(result.paints[2].usedFlag(), 0);
    EXPECT_NEAR(result.proportions[0], 0.25f, 0.015f); // the target is rounded to 8 bits
    EXPECT_EQ(result.proportions[0] + result.proportions[1], 1.0f);
    EXPECT_EQ(result.proportions[2], 0.0f);
}

} // namespace
} // namespace pigmora
