#include "engine/colorpick.h"

#include "data/colormanager.h"
#include "engine/colordifference.h"

#include <gtest/gtest.h>

namespace pigmora {
namespace {

TEST(ColorPick, CmykValues)
{
    EXPECT_EQ(cmykOf({255, 128, 0}), (Cmyk{0, 49, 100, 0}));
    EXPECT_EQ(cmykOf({255, 0, 0}), (Cmyk{0, 100, 100, 0}));
    EXPECT_EQ(cmykOf({0, 0, 0}), (Cmyk{0, 0, 0, 100}));
    EXPECT_EQ(cmykOf({255, 255, 255}), (Cmyk{0, 0, 0, 0}));
    EXPECT_EQ(cmykOf({128, 128, 128}), (Cmyk{0, 0, 0, 49}));
    EXPECT_EQ(cmykOf({0, 128, 255}), (Cmyk{100, 49, 0, 0}));
}

TEST(ColorPick, StatusTexts)
{
    EXPECT_EQ(rgbStatusText({255, 0, 0}), "R:255  G:0  B:0");
    EXPECT_EQ(cmykStatusText(cmykOf({255, 128, 0})), "C:0  M:49  Y:100  K:0");
}

TEST(ColorPick, PercentTexts)
{
    EXPECT_EQ(proportionText(0.625f), "62.50 %");
    EXPECT_EQ(proportionText(1.0f), "100.00 %");
    EXPECT_EQ(proportionText(0.0f), "0.00 %");
    EXPECT_EQ(proportionText(0.5294118f), "52.94 %");
    EXPECT_EQ(deviationText(44.1672956), "10.00 %");
    EXPECT_EQ(deviationText(0.0), "0.00 %");
    EXPECT_EQ(deviationText(441.672956), "100.00 %");
    // Halves round away from zero on the exact binary value: 0.125 is exact,
    // 0.145 is stored just below and rounds down.
    EXPECT_EQ(percentText(0.125), "0.13 %");
    EXPECT_EQ(percentText(0.145), "0.14 %");
    EXPECT_EQ(percentText(99.995), "100.00 %"); // stored as 99.99500000000000454...
    EXPECT_EQ(percentText(9.995), "9.99 %"); // stored as 9.99499999999999921...
    EXPECT_EQ(percentText(-1.005), "-1.00 %"); // stored as -1.00499999999999989...
}

TEST(ColorPick, SolvedPickQueriesTheCardAndAFailedOneDoesNot)
{
    CColorManager colors("/nonexistent");
    colors.buildBuiltInCatalogue();
    CStandardColorCard cards;
    const auto box = colors.currentBoxRecords();

    ColorPick pick
        = pickColor(box, {243, 255, 15}, MixModel::Subtractive, &cards, CStandardColorCard::Card::PantoneCoated);
    ASSERT_TRUE(pick.solved);
    EXPECT_EQ(pick.mix.paints[0].code(), "100"); // the box's lemon yellow, exactly
    EXPECT_EQ(pick.mix.deviation, 0.0);
    ASSERT_TRUE(pick.cardEntry);
    EXPECT_EQ(pick.cmyk, cmykOf({243, 255, 15}));

    pick = pickColor({}, {1, 2, 3}, MixModel::Spatial, &cards, CStandardColorCard::Card::Ral);
    EXPECT_FALSE(pick.solved);
    EXPECT_FALSE(pick.cardEntry);
    EXPECT_EQ(pick.cmyk, cmykOf({1, 2, 3}));

    pick = pickColor(box, {1, 2, 3}, MixModel::Spatial, &cards, std::nullopt);
    EXPECT_TRUE(pick.solved);
    EXPECT_FALSE(pick.cardEntry);
}

TEST(ColorPick, ShowsThePaintsThatTakePartInUtf8)
{
    CColorManager colors("/nonexistent");
    colors.buildBuiltInCatalogue();
    CStandardColorCard cards;
    const auto box = colors.currentBoxRecords();

    ColorPick pick
        = pickColor(box, {243, 255, 15}, MixModel::Subtractive, &cards, CStandardColorCard::Card::PantoneCoated);
    ASSERT_TRUE(pick.paints[0]);
    EXPECT_EQ(pick.paints[0]->code, "100");
    EXPECT_EQ(pick.paints[0]->name, "柠檬黄");
    EXPECT_EQ(pick.paints[0]->proportion, "100.00 %");
    EXPECT_EQ(pick.paints[0]->color, (RgbColor{243, 255, 15}));
    EXPECT_FALSE(pick.paints[1]);
    EXPECT_FALSE(pick.paints[2]);
    EXPECT_EQ(pick.deviation, "0.00 %");
    EXPECT_FALSE(pick.cardText.empty());

    // A mix of several paints: the shown ones are exactly the used ones.
    pick = pickColor(box, {120, 90, 160}, MixModel::Spatial, &cards, std::nullopt);
    ASSERT_TRUE(pick.solved);
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(pick.paints[k].has_value(), pick.mix.paints[k].usedFlag() == 1) << k;
        if (pick.paints[k]) {
            EXPECT_EQ(pick.paints[k]->proportion, proportionText(pick.mix.proportions[k]));
        }
    }
    EXPECT_TRUE(pick.cardText.empty());

    pick = pickColor({}, {1, 2, 3}, MixModel::Spatial, &cards, std::nullopt);
    EXPECT_FALSE(pick.paints[0] || pick.paints[1] || pick.paints[2]);
    EXPECT_TRUE(pick.deviation.empty());
}

} // namespace
TEST(ColorPick, DifferencesOfTheMixAndTheCardEntry)
{
    CColorManager colors("/nonexistent");
    colors.buildBuiltInCatalogue();
    CStandardColorCard cards;
    const auto box = colors.currentBoxRecords();
    for (const MixModel model : {MixModel::Subtractive, MixModel::Spatial, MixModel::Pigment}) {
        const ColorPick pick = pickColor(box, {90, 120, 60}, model, &cards, CStandardColorCard::Card::PantoneCoated);
        ASSERT_TRUE(pick.solved);
        ASSERT_TRUE(pick.mixDeltaE00 && pick.cardEntry && pick.cardDeltaE00);
        EXPECT_EQ(*pick.mixDeltaE00, deltaE00(RgbColor{90, 120, 60}, pick.mix.mixed.color()));
        EXPECT_EQ(*pick.cardDeltaE00, deltaE00(RgbColor{90, 120, 60}, pick.cardEntry->color()));
    }
    const ColorPick failed = pickColor({}, {1, 2, 3}, MixModel::Pigment, &cards, CStandardColorCard::Card::Ral);
    EXPECT_FALSE(failed.mixDeltaE00 || failed.cardDeltaE00);
}

} // namespace pigmora
