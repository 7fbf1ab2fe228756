#include "engine/mixsolver.h"

#include "data/colormanager.h"
#include "engine/paintbox.h"

#include <gtest/gtest.h>

#include <cmath>

namespace pigmora {
namespace {

using test::colorRecord;
using test::paintBox;

constexpr RgbColor kBlack{0, 0, 0};
constexpr RgbColor kWhite{255, 255, 255};
constexpr RgbColor kRed{255, 0, 0};
constexpr RgbColor kBlue{0, 0, 255};

MixResult solve(MixModel model, const std::vector<PaintColorRecord> &box, const RgbColor &target, bool expected = true)
{
    MixResult result = MixResult::forTarget(target);
    EXPECT_EQ(findMix(model, box, result), expected);
    return result;
}

TEST(MixResultTest, StartsAsNoAnswerWithOnlyTheTargetSet)
{
    const MixResult result = MixResult::forTarget({1, 2, 3});
    EXPECT_EQ(result.target.color(), (RgbColor{1, 2, 3}));
    EXPECT_EQ(result.mixed, PaintColorRecord());
    EXPECT_EQ(result.proportions, (std::array<float, 3>{1.0f, 0.0f, 0.0f}));
    EXPECT_EQ(result.deviation, -1.0);
    EXPECT_FALSE(result.isValid());
}

// --- Spatial building blocks ---

TEST(SpatialFitTest, ProjectionInsideTheSegmentUsesBothPaints)
{
    const PairFit fit = fitSpatialPair({100, 120, 140}, kBlack, kWhite);
    EXPECT_EQ(fit.share, static_cast<float>(135.0 / 255.0));
    EXPECT_TRUE(fit.firstUsed);
    EXPECT_TRUE(fit.secondUsed);
    EXPECT_NEAR(fit.distance, std::sqrt(800.0), 1e-9);
    EXPECT_EQ(mixSpatial(kBlack, kWhite, fit.share), (RgbColor{119, 119, 119})); // 119.99999 each
}

TEST(SpatialFitTest, ProjectionOutsideFallsBackToTheFirstPaintOnEitherSide)
{
    const RgbColor a{50, 50, 50};
    const RgbColor b{100, 100, 100};
    for (const RgbColor target : {RgbColor{150, 150, 150}, RgbColor{0, 0, 0}}) {
        // Beyond B (B is the nearer end) and beyond A: both give A alone.
        const PairFit fit = fitSpatialPair(target, a, b);
        EXPECT_EQ(fit.share, 1.0f);
        EXPECT_FALSE(fit.secondUsed);
        EXPECT_EQ(fit.distance, colorDistance(target, a));
    }
}

TEST(SpatialFitTest, SegmentEndsLieInsideTheWindow)
{
    const RgbColor a{10, 20, 30};
    const RgbColor b{200, 100, 50};
    const PairFit atB = fitSpatialPair(b, a, b);
    EXPECT_EQ(atB.share, 0.0f);
    EXPECT_FALSE(std::signbit(atB.share));
    EXPECT_TRUE(atB.secondUsed);
    EXPECT_EQ(atB.distance, 0.0);
    const PairFit atA = fitSpatialPair(a, a, b);
    EXPECT_EQ(atA.share, 1.0f);
    EXPECT_TRUE(atA.secondUsed);
    EXPECT_EQ(atA.distance, 0.0);
}

TEST(SpatialFitTest, EqualColoursUseTheFirstPaintAlone)
{
    const PairFit fit = fitSpatialPair({0, 0, 0}, {3, 4, 0}, {3, 4, 0});
    EXPECT_EQ(fit, (PairFit{1.0f, 5.0, true, false}));
}

// Targets on a segment at shares a float cannot hold: the rounded share leaves
// a radicand near 0, which must never turn into NaN and drop the pair. Covers
// every (|v|², n, m) with A = n·v, T = m·v (only those decide the arithmetic).
TEST(SpatialFitTest, TargetsOnASegmentHaveADistanceNearZero)
{
    int checked = 0;
    for (int n = 2; n <= 255; ++n) {
        const int top = 255 / n;
        for (int x = 0; x <= top; ++x) {
            for (int y = x; y <= top; ++y) {
                for (int z = std::max(y, 1); z <= top; ++z) {
                    for (int m = 1; m < n; ++m) {
                        const PairFit fit = fitSpatialPair({m * x, m * y, m * z}, {n * x, n * y, n * z}, kBlack);
                        ASSERT_TRUE(fit.distance >= 0.0 && fit.distance < 1e-4) << n << ' ' << m << ' ' << fit.distance;
                        ASSERT_TRUE(fit.secondUsed);
                        ++checked;
                    }
                }
            }
        }
    }
    EXPECT_GT(checked, 500000);
}

// --- Subtractive building blocks ---

TEST(SubtractiveMixTest, RedAndBlueAtEqualPartsMixToBlack)
{
    EXPECT_EQ(mixSubtractive(kRed, kBlue, 0.5f), kBlack);
}

TEST(SubtractiveMixTest, EndSharesReturnThePaintsExactly)
{
    const RgbColor a{243, 17, 90};
    const RgbColor b{5, 200, 90};
    EXPECT_EQ(mixSubtractive(a, b, 0.0f), b);
    EXPECT_EQ(mixSubtractive(a, b, 1.0f), a);
    EXPECT_EQ(mixSubtractive(a, b, 1.5f), a); // snapped to 1.0
}

TEST(SubtractiveMixTest, DarkensByTheSquaredDifferenceAtEqualParts)
{
    // 150 - 0.5·100·(100/255) + 0.5 = 130.89; equal channels only round.
    EXPECT_EQ(mixSubtractive({200, 77, 0}, {100, 77, 0}, 0.5f), (RgbColor{130, 77, 0}));
    EXPECT_EQ(mixSubtractive({200, 77, 0}, {100, 77, 0}, 0.25f), (RgbColor{115, 77, 0})); // 125 - 9.8 + 0.5
}

TEST(SubtractiveFitTest, RedAndBlueReachBlackFirstAtThe51stShare)
{
    const PairFit fit = fitSubtractivePair(kBlack, kRed, kBlue);
    EXPECT_EQ(fit.share, 0.49999982f);
    EXPECT_EQ(fit.distance, 0.0);
    EXPECT_TRUE(fit.firstUsed);
    EXPECT_TRUE(fit.secondUsed);
}

TEST(SubtractiveFitTest, TheFirstShareReachingTheSmallestDistanceWins)
{
    // Shares 0 .. 0.5 all leave the red channel at 0.
    const PairFit fit = fitSubtractivePair(kBlack, {1, 0, 0}, kBlack);
    EXPECT_EQ(fit.share, 0.0f);
    EXPECT_EQ(fit.distance, 0.0);
    EXPECT_TRUE(fit.secondUsed);
}

TEST(SubtractiveFitTest, EqualColoursUseTheFirstPaintAlone)
{
    EXPECT_EQ(fitSubtractivePair({0, 0, 0}, {0, 3, 4}, {0, 3, 4}), (PairFit{1.0f, 5.0, true, false}));
}

// --- Single paint, both models ---

class SinglePaintTest : public ::testing::TestWithParam<MixModel>
{ };

TEST_P(SinglePaintTest, ExactMatchReturnsThePaintAlone)
{
    const auto box = paintBox({{10, 10, 10}, {90, 40, 200}, {250, 250, 0}});
    const MixResult result = solve(GetParam(), box, {90, 40, 200});
    EXPECT_EQ(result.paints[0].code(), "p0001");
    EXPECT_EQ(result.paints[0].usedFlag(), 1);
    EXPECT_EQ(result.paints[1].code(), "p0001");
    EXPECT_EQ(result.paints[1].usedFlag(), 0);
    EXPECT_EQ(result.paints[2], PaintColorRecord());
    EXPECT_EQ(result.proportions, (std::array<float, 3>{1.0f, 0.0f, 0.0f}));
    EXPECT_EQ(result.deviation, 0.0);
    EXPECT_EQ(result.mixed, box[1]);
    EXPECT_TRUE(result.isValid());
}

TEST_P(SinglePaintTest, EarlierPaintUnderTheThresholdWinsOverALaterExactOne)
{
    const auto box = paintBox({{100, 100, 100}, {101, 101, 101}});
    const MixResult result = solve(GetParam(), box, {101, 101, 101});
    EXPECT_EQ(result.paints[0].code(), "p0000");
    EXPECT_EQ(result.deviation, std::sqrt(3.0));
    EXPECT_EQ(result.paints[1].usedFlag(), 0);
}

TEST_P(SinglePaintTest, OnePaintBoxFailsOutsideTheThresholdAndAnEmptyBoxAlways)
{
    const auto box = paintBox({{100, 100, 100}});
    EXPECT_EQ(solve(GetParam(), box, {101, 100, 100}).deviation, 1.0);
    EXPECT_FALSE(solve(GetParam(), box, {140, 100, 100}, false).isValid());
    EXPECT_FALSE(solve(GetParam(), {}, {1, 2, 3}, false).isValid());
}

TEST_P(SinglePaintTest, DamagedChannelsAreReadClamped)
{
    const auto box = paintBox({{300, -5, 1000}, {0, 0, 0}});
    const MixResult result = solve(GetParam(), box, {255, 0, 255});
    EXPECT_EQ(result.paints[0].code(), "p0000");
    EXPECT_EQ(result.deviation, 0.0);
}

INSTANTIATE_TEST_SUITE_P(BothModels, SinglePaintTest, ::testing::Values(MixModel::Subtractive, MixModel::Spatial),
                         ::testing::PrintToStringParamName());

TEST(SinglePaintThresholdTest, IsStrictAndDependsOnTheModel)
{
    // Stage 1 answers with paint 2 = paint 1; a pair names the other paint.
    const auto box = paintBox({{100, 100, 100}, {0, 0, 0}});
    auto single
        = [&](MixModel model, const RgbColor &target) { return solve(model, box, target).paints[1].code() == "p0000"; };
    EXPECT_FALSE(single(MixModel::Spatial, {100, 100, 102})); // exactly 2.0
    EXPECT_TRUE(single(MixModel::Spatial, {100, 101, 101})); // √2
    EXPECT_TRUE(single(MixModel::Subtractive, {102, 102, 102})); // √12
    EXPECT_FALSE(single(MixModel::Subtractive, {102, 103, 100})); // √13
}

// --- Worked pairs ---

TEST(SpatialSolveTest, BlackBeforeWhite)
{
    const auto box = paintBox({kBlack, kWhite});
    const MixResult result = solve(MixModel::Spatial, box, {100, 120, 140});
    EXPECT_EQ(result.paints[0].code(), "p0000");
    EXPECT_EQ(result.paints[1].code(), "p0001");
    EXPECT_EQ(result.paints[0].usedFlag(), 1);
    EXPECT_EQ(result.paints[1].usedFlag(), 1);
    EXPECT_EQ(result.paints[2], PaintColorRecord());
    EXPECT_EQ(result.proportions[0], static_cast<float>(135.0 / 255.0));
    EXPECT_NEAR(result.proportions[0], 0.5294118f, 1e-7);
    EXPECT_NEAR(result.proportions[1], 0.4705882f, 1e-7);
    EXPECT_EQ(result.proportions[1], 1.0f - result.proportions[0]);
    EXPECT_EQ(result.proportions[2], 0.0f);
    EXPECT_EQ(result.mixed.color(), (RgbColor{119, 119, 119}));
    EXPECT_NEAR(result.deviation, std::sqrt(800.0), 1e-9);
}

TEST(SubtractiveSolveTest, RedBeforeBlueMatchesBlack)
{
    const auto box = paintBox({kRed, kBlue});
    const MixResult result = solve(MixModel::Subtractive, box, kBlack);
    EXPECT_EQ(result.proportions[0], 0.49999982f);
    EXPECT_EQ(result.proportions[1], 1.0f - 0.49999982f);
    EXPECT_NEAR(result.proportions[1], 0.5000002f, 1e-7);
    EXPECT_EQ(result.proportions[2], 0.0f);
    EXPECT_EQ(result.paints[0].usedFlag(), 1);
    EXPECT_EQ(result.paints[1].usedFlag(), 1);
    EXPECT_EQ(result.paints[2], PaintColorRecord());
    EXPECT_EQ(result.mixed.color(), kBlack);
    EXPECT_EQ(result.deviation, 0.0);
}

TEST(PairSearchTest, ALaterPairWithinTheNearMatchDistanceReplacesAnExactOne)
{
    // (p0000, p0001) meets the target exactly; (p0000, p0002) is 4.8 away and
    // comes later, so it is kept.
    const auto box = paintBox({kBlack, {200, 200, 200}, {100, 100, 106}});
    BestPair pair;
    ASSERT_TRUE(findBestPair(MixModel::Spatial, box, {100, 100, 100}, pair));
    EXPECT_EQ(pair.first, 0);
    EXPECT_EQ(pair.second, 2);
    EXPECT_EQ(fitSpatialPair({100, 100, 100}, kBlack, {200, 200, 200}).distance, 0.0);
    EXPECT_GT(pair.fit.distance, 4.0);
}

TEST(PairSearchTest, OnePaintFarAwayFindsNothing)
{
    BestPair pair;
    EXPECT_FALSE(findBestPair(MixModel::Subtractive, paintBox({kWhite}), kBlack, pair));
    EXPECT_FALSE(findBestPair(MixModel::Spatial, {}, kBlack, pair));
}

// --- Third paint ---

class ThirdPaintImprovesTest : public ::testing::TestWithParam<MixModel>
{ };

TEST_P(ThirdPaintImprovesTest, ImprovesThePairWithProportionsOfTheTwoFits)
{
    const auto box = paintBox({kBlack, kWhite, kRed});
    const RgbColor target{200, 100, 100};
    const MixModel model = GetParam();
    BestPair pair;
    ASSERT_TRUE(findBestPair(model, box, target, pair));
    const MixResult result = solve(model, box, target);

    ASSERT_EQ(result.paints[2].usedFlag(), 1);
    EXPECT_EQ(result.paints[2].code(), "p0000");
    const PairFit third = model == MixModel::Spatial ? fitSpatialPair(target, pair.mixed, kBlack)
                                                     : fitSubtractivePair(target, pair.mixed, kBlack);
    EXPECT_EQ(result.deviation, third.distance);
    EXPECT_LT(result.deviation, pair.fit.distance);
    const float t = pair.fit.share;
    EXPECT_EQ(result.proportions,
              (std::array<float, 3>{t * third.share, (1.0f - t) * third.share, 1.0f - third.share}));
    const RgbColor mixed = model == MixModel::Spatial ? mixSpatial(pair.mixed, kBlack, third.share)
                                                      : mixSubtractive(pair.mixed, kBlack, third.share);
    // A mix is a bare colour, not a copy of any paint.
    EXPECT_EQ(result.mixed, colorRecord(mixed));
}

INSTANTIATE_TEST_SUITE_P(BothModels, ThirdPaintImprovesTest,
                         ::testing::Values(MixModel::Subtractive, MixModel::Spatial),
                         ::testing::PrintToStringParamName());

TEST(ThirdPaintTest, APaintThatDoesNotComeStrictlyCloserIsNotAdded)
{
    for (const MixModel model : {MixModel::Spatial, MixModel::Subtractive}) {
        const MixResult result = solve(model, paintBox({kBlack, kWhite, {128, 128, 128}}), {100, 120, 140});
        EXPECT_EQ(result.deviation, std::sqrt(800.0));
        EXPECT_EQ(result.proportions[2], 0.0f);
        EXPECT_FLOAT_EQ(result.proportions[0] + result.proportions[1], 1.0f);
        EXPECT_EQ(result.paints[2], PaintColorRecord());
        EXPECT_EQ(result.mixed.color(), (RgbColor{120, 120, 120}));
    }
}

TEST(ThirdPaintTest, AFitThatFallsBackToTheBaseAddsNoZeroSharePaint)
{
    // Fitting p0001 against the pair's truncated colour falls back to that
    // colour (share 1.0, p0001 unused) at 141.44, below the pair's 142.03. A
    // third paint with a 0 % share would be shown; the pair stays instead.
    const auto box = paintBox({{56, 14, 222}, {212, 52, 93}, {235, 250, 125}});
    const RgbColor target{22, 156, 101};
    BestPair pair;
    ASSERT_TRUE(findBestPair(MixModel::Spatial, box, target, pair));
    ASSERT_EQ(pair.second, 2);
    const PairFit fallback = fitSpatialPair(target, pair.mixed, box[1].color());
    ASSERT_LT(fallback.distance, pair.fit.distance);
    ASSERT_FALSE(fallback.secondUsed);

    const MixResult result = solve(MixModel::Spatial, box, target);
    EXPECT_EQ(result.paints[2], PaintColorRecord());
    EXPECT_EQ(result.deviation, pair.fit.distance);
    EXPECT_EQ(result.proportions, (std::array<float, 3>{pair.fit.share, 1.0f - pair.fit.share, 0.0f}));
    EXPECT_EQ(result.mixed.color(), pair.mixed);
}

TEST(ThirdPaintTest, JoinsASubtractiveSinglePaintThatIsNotCloseEnough)
{
    // 3.0 from the target: a subtractive single paint that still seeks a third.
    const RgbColor paint{100, 100, 100};
    const RgbColor other{60, 60, 195};
    const RgbColor target{102, 102, 101};
    const auto box = paintBox({paint, other});
    const MixResult result = solve(MixModel::Subtractive, box, target);
    const PairFit third = fitSubtractivePair(target, paint, other);
    EXPECT_EQ(result.paints[0].usedFlag(), 1);
    EXPECT_EQ(result.paints[1].code(), "p0000");
    EXPECT_EQ(result.paints[1].usedFlag(), 0);
    EXPECT_EQ(result.paints[2].code(), "p0001");
    EXPECT_EQ(result.proportions, (std::array<float, 3>{third.share, 0.0f, 1.0f - third.share}));
    EXPECT_EQ(result.deviation, std::sqrt(8.0));
    EXPECT_EQ(result.mixed, colorRecord({100, 100, 101}));
}

// --- Through the colour manager ---

TEST(ColorManagerMixTest, FailsWithoutOrWithAnEmptyBox)
{
    CColorManager manager{"/nonexistent"};
    MixResult result = MixResult::forTarget({10, 20, 30});
    EXPECT_FALSE(manager.findSpatialMix(result));
    EXPECT_FALSE(manager.findSubtractiveMix(result));
    ASSERT_TRUE(manager.buildBuiltInCatalogue());
    EXPECT_TRUE(manager.findSpatialMix(result));
    EXPECT_TRUE(result.isValid());
    result = MixResult::forTarget({243, 255, 15}); // 100 柠檬黄 of the provisional box
    EXPECT_TRUE(manager.findSubtractiveMix(result));
    EXPECT_EQ(result.paints[0].code(), "100");
    EXPECT_EQ(result.deviation, 0.0);
    manager.clearCurrentBox();
    result = MixResult::forTarget({10, 20, 30});
    EXPECT_FALSE(manager.findSubtractiveMix(result));
    EXPECT_FALSE(manager.findSpatialMix(result));
}

} // namespace
} // namespace pigmora
