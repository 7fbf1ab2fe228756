#include "manage/analysispanel.h"
#include "manage/coloranalysis.h"

#include "data/colormanager.h"
#include "data/platform.h"
#include "data/standardcolorcard.h"
#include "engine/colorpick.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace pigmora::ui {
namespace {

PaintColorRecord paint(const char *name, RgbColor color)
{
    PaintColorRecord record;
    record.setCode(name);
    record.setName(*platform::utf8ToGbk(name));
    record.setColor(color);
    return record;
}

ColorPick solvedPick(RgbColor target)
{
    ColorPick pick;
    pick.target = target;
    pick.solved = true;
    pick.mix = MixResult::forTarget(target);
    pick.mix.paints[0] = paint("钛白", {250, 250, 250});
    pick.mix.paints[0].setUsedFlag(1);
    pick.mix.paints[1] = paint("群青", {20, 30, 140});
    pick.mix.paints[1].setUsedFlag(1);
    pick.mix.proportions = {0.625f, 0.375f, 0.0f};
    pick.mix.mixed.setColor({160, 162, 196});
    pick.mix.deviation = 44.1672956;
    StandardColorRecord entry;
    entry.setCode("2717C");
    entry.setColor({165, 186, 224});
    pick.cardEntry = entry;
    return pick;
}

TEST(ColorAnalysis, SolvedPickFillsPaintsMixAndCard)
{
    ColorAnalysis analysis;
    applyColorPick(analysis, solvedPick({160, 170, 200}));
    EXPECT_EQ(analysis.target, (RgbColor{160, 170, 200}));
    EXPECT_EQ(analysis.paints[0].name, "钛白");
    EXPECT_EQ(analysis.paints[0].proportion, "62.50 %");
    EXPECT_EQ(analysis.paints[1].proportion, "37.50 %");
    EXPECT_EQ(analysis.paints[2].color, kWhite);
    EXPECT_EQ(analysis.paints[2].name, "");
    EXPECT_EQ(analysis.mixed, (RgbColor{160, 162, 196}));
    EXPECT_EQ(analysis.deviation, "10.00 %");
    EXPECT_EQ(analysis.pantoneName, "2717C");
    const auto cards = analysisCards(analysis);
    EXPECT_EQ(cards[0].caption, QStringLiteral("原色"));
    EXPECT_EQ(cards[4].caption, QStringLiteral("混合色差"));
    EXPECT_EQ(cards[4].value, QStringLiteral("10.00 %"));
    EXPECT_EQ(cards[5].caption, QStringLiteral("潘通号"));
    EXPECT_EQ(cards[3].caption, QString());
}

TEST(ColorAnalysis, FailuresKeepWhatTheyCannotReplace)
{
    ColorAnalysis analysis;
    applyColorPick(analysis, solvedPick({160, 170, 200}));

    // Unsolved: only the target changes.
    ColorPick failed;
    failed.target = {1, 2, 3};
    ColorAnalysis before = analysis;
    applyColorPick(analysis, failed);
    EXPECT_EQ(analysis.target, (RgbColor{1, 2, 3}));
    EXPECT_EQ(analysis.paints[0].name, before.paints[0].name);
    EXPECT_EQ(analysis.deviation, before.deviation);

    // No card entry: the previous Pantone colour stays.
    ColorPick noCard = solvedPick({9, 9, 9});
    noCard.cardEntry.reset();
    applyColorPick(analysis, noCard);
    EXPECT_EQ(analysis.pantoneName, "2717C");

    // A deviation left at -1: no deviation text, so cards 0 and 4 lose their captions.
    ColorPick noDeviation = solvedPick({9, 9, 9});
    noDeviation.mix.deviation = -1.0;
    applyColorPick(analysis, noDeviation);
    EXPECT_EQ(analysis.deviation, "");
    const auto cards = analysisCards(analysis);
    EXPECT_EQ(cards[0].caption, QString());
    EXPECT_EQ(cards[4].caption, QString());
    EXPECT_EQ(cards[4].value, QString());
}

TEST(ColorAnalysis, ExactMatchOnTheBuiltInBoxUsesTheSubtractiveModel)
{
    CColorManager colors("/nonexistent");
    ASSERT_TRUE(colors.buildBuiltInCatalogue());
    const auto box = colors.currentBoxRecords();
    ASSERT_FALSE(box.empty());
    const CStandardColorCard cards;
    ColorAnalysis analysis;
    analyseColor(analysis, box, box[0].color(), &cards);
    EXPECT_EQ(analysis.paints[0].name, platform::gbkToUtf8(box[0].name()));
    EXPECT_EQ(analysis.paints[0].proportion, "100.00 %");
    EXPECT_EQ(analysis.paints[1].name, "");
    EXPECT_EQ(analysis.deviation, "0.00 %");
    EXPECT_FALSE(analysis.pantoneName.empty());
    // The same texts as the result panel's pick in subtractive mode.
    const ColorPick pick
        = pickColor(box, box[0].color(), MixModel::Subtractive, &cards, CStandardColorCard::Card::PantoneCoated);
    EXPECT_EQ(analysis.pantoneName, platform::gbkToUtf8(pick.cardEntry->displayText()));
}

QImage panelImage(const ColorAnalysis *analysis)
{
    QImage image(532, 89, QImage::Format_RGB32);
    image.fill(QColor(240, 240, 240));
    QPainter painter(&image);
    const QImage card = analysisCardPicture();
    if (analysis)
        drawColorAnalysis(painter, 0, 0, card, *analysis);
    else
        drawEmptyColorAnalysis(painter, 0, 0, card);
    return image;
}

// Pixels of the card body below the swatch (the caption and value area).
bool textAreaIsBlank(const QImage &image, int card)
{
    for (int y = 48; y < 84; ++y) {
        for (int x = 11; x < 62; ++x) {
            if (image.pixel(card * kAnalysisCardWidth + x, y) != qRgb(255, 255, 255))
                return false;
        }
    }
    return true;
}

TEST(ColorAnalysisDrawing, BlankCardsHaveWhiteSwatchesAndNoText)
{
    const QImage image = panelImage(nullptr);
    for (int card = 0; card < kAnalysisCardCount; ++card) {
        const int left = card * kAnalysisCardWidth;
        EXPECT_EQ(image.pixel(left + 11, 11), qRgb(255, 255, 255)) << card;
        EXPECT_EQ(image.pixel(left + 61, 44), qRgb(255, 255, 255)) << card;
        EXPECT_TRUE(textAreaIsBlank(image, card)) << card;
    }
    EXPECT_EQ(image.pixel(450, 40), qRgb(240, 240, 240)) << "right of the six cards";
}

TEST(ColorAnalysisDrawing, CardsShowTheirColoursAndTexts)
{
    ColorAnalysis analysis;
    applyColorPick(analysis, solvedPick({160, 170, 200}));
    const QImage image = panelImage(&analysis);
    const QRgb expected[] = {qRgb(160, 170, 200), qRgb(250, 250, 250), qRgb(20, 30, 140),
                             qRgb(255, 255, 255), qRgb(160, 162, 196), qRgb(165, 186, 224)};
    for (int card = 0; card < kAnalysisCardCount; ++card) {
        const int left = card * kAnalysisCardWidth;
        EXPECT_EQ(image.pixel(left + 11, 11), expected[card]) << card;
        EXPECT_EQ(image.pixel(left + 61, 44), expected[card]) << card;
        EXPECT_EQ(image.pixel(left + 8, 11), qRgb(255, 255, 255)) << card;
        EXPECT_EQ(textAreaIsBlank(image, card), card == 3) << card;
    }
}

TEST(ColorAnalysisDrawing, LongNamesStayOnTheirCard)
{
    ColorAnalysis analysis;
    applyColorPick(analysis, solvedPick({160, 170, 200}));
    analysis.paints[0].name = "一个很长很长的自定义颜色名";
    const QImage image = panelImage(&analysis);
    // The shadow strip between card 1 and card 2 carries no text.
    for (int y = 48; y < 84; ++y) {
        for (int x = 2 * kAnalysisCardWidth - 5; x < 2 * kAnalysisCardWidth + 11; ++x) {
            const QColor pixel = image.pixelColor(x, y);
            ASSERT_GE(pixel.lightness(), 150) << x << "," << y;
        }
    }
}

} // namespace
} // namespace pigmora::ui
