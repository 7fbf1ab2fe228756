// Recording the mix a painter made of a recipe, and the correction it asks
// for: the texts, the dialog on its own and in the main window.
#include "data/colormanager.h"
#include "data/platform.h"
#include "main/mainwindow.h"
#include "main/matchcontext.h"
#include "main/mixtexts.h"
#include "main/recordmixdialog.h"
#include "main/resultpanel.h"
#include "mainwindowfixture.h"
#include "uimaintestsupport.h"
#include "store/datafolder.h"
#include "support/uitestsupport.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>

#include <gtest/gtest.h>

namespace pigmora::ui {
namespace {

using test::findControl;

TEST(MixTexts, SayPartsCorrectionsAndStrengths)
{
    EXPECT_EQ(partsText(0), QString());
    EXPECT_EQ(partsText(3), QStringLiteral("3 份"));
    EXPECT_EQ(partsSummaryText({{2, 5, 1}, 1.236, 0.5}), QStringLiteral("整份 ΔE00 1.24\n差一份 ΔE00 0.50"));

    const QString names[] = {QStringLiteral("群青"), QStringLiteral("钛白"), QStringLiteral("%1")};
    const struct {
        std::vector<int> add;
        bool helps;
        const char *text;
    } corrections[] = {
        {{1, 0, 2}, true, "建议: 加 1 份 群青、2 份 %1 (ΔE00 6.20 → 1.10)"},
        {{0, 3, 0}, true, "建议: 加 3 份 钛白 (ΔE00 6.20 → 1.10)"},
        {{0, 0, 0}, false, "无法改善 (ΔE00 6.20)"},
    };
    for (const auto &c : corrections) {
        const MixCorrection correction{{}, c.add, 6.2, 1.1, c.helps};
        EXPECT_EQ(correctionText(correction, names), QString::fromUtf8(c.text));
    }
    EXPECT_EQ(strengthText(std::nullopt), QStringLiteral("着色力 1 (尚无记录的混色)"));
    EXPECT_EQ(strengthText(PaintStrength{0, "340", 0.5, 3}), QStringLiteral("着色力 0.50 (3 次混色)"));
}

TEST(MixTexts, ChannelFieldsMakeAColourOnlyWhenEachIs0To255)
{
    EXPECT_EQ(channelColor(QStringLiteral("0"), QStringLiteral("128"), QStringLiteral("255")), (RgbColor{0, 128, 255}));
    for (const char *bad : {"", "256", "999", "-1"})
        EXPECT_FALSE(channelColor(QString::fromLatin1(bad), QStringLiteral("1"), QStringLiteral("1"))) << bad;
}

TEST(MixRecipe, OfAnAnswerOfTwoOrThreePaintsInTheirOrder)
{
    ColorPick pick;
    pick.target = {10, 20, 30};
    pick.solved = true;
    pick.parts = PartsRecipe{{3, 0, 1}, 1.0, 0.5};
    pick.mix.paints[0].setColor({1, 1, 1});
    pick.mix.paints[2].setColor({3, 3, 3});
    pick.paints[0] = PickedPaint{{1, 1, 1}, "1", "a", "75.00 %", 3};
    pick.paints[2] = PickedPaint{{3, 3, 3}, "3", "c", "25.00 %", 1};
    const std::optional<MixRecipe> recipe = mixRecipeOf(pick, MixModel::Pigment);
    ASSERT_TRUE(recipe);
    EXPECT_EQ(recipe->parts, (std::vector<int>{3, 1}));
    EXPECT_EQ(recipe->paints[1].color(), (RgbColor{3, 3, 3}));
    EXPECT_EQ(recipe->target, pick.target);

    pick.paints[2].reset(); // one paint is no mix to record
    EXPECT_FALSE(mixRecipeOf(pick, MixModel::Pigment));
    pick.paints[2] = PickedPaint{};
    pick.solved = false;
    EXPECT_FALSE(mixRecipeOf(pick, MixModel::Pigment));
}

// The dialog on a data folder of its own: ultramarine and titanium white of
// the start box, mixed 1:4 for the target and 1:8 by the painter.
class RecordMixDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        recipe.paints = test::openStartBox(colors, notifier, {"340", "710"});
        ASSERT_EQ(recipe.paints.size(), 2u);
        context.setMixingMode(2);
        recipe.model = MixModel::Pigment;
        recipe.parts = {1, 4};
        recipe.target = mixAt({1, 4});
        got = mixAt({1, 8});
    }

    RgbColor mixAt(std::vector<double> parts) const
    {
        const RecipePaint paints[] = {{recipe.paints[0].color()}, {recipe.paints[1].color()}};
        return mixRecipe(MixModel::Pigment, paints, parts).rgb;
    }

    test::TempDir dir;
    test::RecordingNotifier notifier;
    CColorManager colors{dir.path(), &notifier};
    MatchContext context{&colors, nullptr};
    MixRecipe recipe;
    RgbColor got;
};

TEST_F(RecordMixDialogTest, SuggestsAddingWhatTheMixLacks)
{
    RecordMixDialog dialog(recipe, context, &notifier);
    EXPECT_EQ(findControl<QSpinBox>(&dialog, "SpinBox_parts_2")->value(), 4);
    auto *suggest = findControl<QPushButton>(&dialog, "Button_suggest");
    EXPECT_FALSE(suggest->isEnabled()); // no colour yet
    findControl<QLineEdit>(&dialog, "Edit_gotRed")->setText(QString::number(got.red));
    findControl<QLineEdit>(&dialog, "Edit_gotGreen")->setText(QString::number(got.green));
    findControl<QLineEdit>(&dialog, "Edit_gotBlue")->setText(QString::number(got.blue));
    ASSERT_TRUE(suggest->isEnabled());
    suggest->click();
    const MixCorrection expected = correctionFor(recipe, recipe.parts, got, context.strengths());
    ASSERT_TRUE(expected.helps);
    EXPECT_GT(expected.add[0], 0) << "too much white: more ultramarine";
    const QString names[] = {QStringLiteral("群青"), QStringLiteral("钛白")};
    EXPECT_EQ(findControl<QLabel>(&dialog, "Label_suggestion")->text(), correctionText(expected, names));
}

TEST_F(RecordMixDialogTest, RecordsTheMixAsMadeAndRefits)
{
    RecordMixDialog dialog(recipe, context, &notifier);
    findControl<QSpinBox>(&dialog, "SpinBox_parts_2")->setValue(8);
    dialog.setGotColor(got);
    QSignalSpy changed(&context, &MatchContext::changed);
    findControl<QPushButton>(&dialog, "Button_record")->click();
    EXPECT_TRUE(notifier.messages().empty());
    const auto stored = ObservationStore(dir.path()).load();
    ASSERT_TRUE(stored && stored->size() == 1);
    const Observation &observation = stored->front();
    EXPECT_EQ(observation.measured, got);
    ASSERT_EQ(observation.paints.size(), 2u);
    EXPECT_EQ(observation.paints[0].code, "340");
    EXPECT_EQ(observation.paints[0].parts, 1.0);
    EXPECT_EQ(observation.paints[1].parts, 8.0);
    EXPECT_EQ(changed.count(), 1); // every answer follows
    EXPECT_EQ(context.strengths().paints().size(), 2u);
    EXPECT_TRUE(findControl<QLabel>(&dialog, "Label_strengths")->text().contains(QStringLiteral("1 次混色")));
}

TEST_F(RecordMixDialogTest, ADamagedFileIsRefusedWithItsReasonAndLeftAsItIs)
{
    const std::vector<unsigned char> damaged{'n', 'o', 't', ' ', 'a', ' ', 'f', 'i', 'l', 'e'};
    test::writeFileBytes(dir.path() / "QorObservation.bin", damaged);
    context.syncWithFiles();
    EXPECT_FALSE(context.observationProblem().empty());
    RecordMixDialog dialog(recipe, context, &notifier);
    dialog.setGotColor(got);
    findControl<QPushButton>(&dialog, "Button_record")->click();
    ASSERT_EQ(notifier.messages().size(), 1u);
    const std::string &shown = notifier.messages().front().text;
    EXPECT_NE(shown.find("不能记录这次混色：QorObservation.bin"), std::string::npos) << shown;
    EXPECT_EQ(notifier.messages().front().icon, MessageIcon::Error);
    EXPECT_EQ(test::readFileBytes(dir.path() / "QorObservation.bin"), damaged);
}

class RecordMixWindowTest : public test::MainWindowFixture
{ };

// From the result panel's answer to a recorded mix: the colour got taken
// from the picture, and the answer on show recomputed with the new strengths.
TEST_F(RecordMixWindowTest, TheAnswerOnShowFollowsARecordedMix)
{
    auto window = start();
    ASSERT_TRUE(window->openPicture(pictureFile({qRgb(150, 90, 60), qRgb(90, 120, 60)})));
    window->matching().setMixingMode(2);
    auto *action = findControl<QAction>(window.get(), "mi_recordMix");
    EXPECT_FALSE(action->isEnabled());
    window->pickColor({5, 5});
    QPushButton *button = window->resultPanel()->recordMixButton();
    ASSERT_TRUE(button->isEnabled()) << "the answer should mix two or three paints";
    EXPECT_TRUE(action->isEnabled());
    button->click();
    RecordMixDialog *dialog = window->recordMixDialog();
    ASSERT_TRUE(dialog && dialog->isVisible());

    findControl<QPushButton>(dialog, "Button_pickGot")->click();
    window->pickColor({5, 15});
    EXPECT_EQ(dialog->gotColor(), (RgbColor{90, 120, 60}));
    EXPECT_EQ(window->resultPanel()->pickedColor(), (RgbColor{150, 90, 60})) << "not a new pick";
    window->pickColor({5, 15}); // once taken, the next click picks again
    EXPECT_EQ(window->resultPanel()->pickedColor(), (RgbColor{90, 120, 60}));
    window->pickColor({5, 5});

    findControl<QPushButton>(dialog, "Button_record")->click();
    const auto stored = ObservationStore(dir.path()).load();
    ASSERT_TRUE(stored && stored->size() == 1);
    const auto box = window->colors()->currentBoxRecords();
    const std::vector<double> strengths = StoredStrengths::fit(*stored).forBox(box);
    ASSERT_FALSE(strengths.empty());
    const ColorPick expected = pickColor(box, {150, 90, 60}, MixModel::Pigment, nullptr, std::nullopt,
                                         PickOptions{strengths, kDefaultMaxParts});
    ASSERT_TRUE(window->resultPanel()->answer());
    EXPECT_EQ(window->resultPanel()->answer()->mix.proportions, expected.mix.proportions);
    EXPECT_EQ(window->resultPanel()->answer()->parts->parts, expected.parts->parts);
}

} // namespace
} // namespace pigmora::ui
