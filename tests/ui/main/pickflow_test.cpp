// A pick's answer under changing settings: never one computed under others.
#include "data/colormanager.h"
#include "data/platform.h"
#include "main/mainwindow.h"
#include "main/matchcontext.h"
#include "main/pickcontroller.h"
#include "main/resultpanel.h"
#include "mainwindowfixture.h"
#include "support/uitestsupport.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <functional>

#include <gtest/gtest.h>

namespace pigmora::ui {
namespace {

using test::findControl;

// What the result panel says about the recipe.
QStringList recipe(const TForm_TintoraMain &window)
{
    QStringList shown;
    for (const char *n : {"1", "2", "3"}) {
        const QString k = QString::fromLatin1(n);
        if (findControl<QGroupBox>(&window, ("GroupBox_color_" + k).toLatin1())->isHidden())
            continue;
        shown << findControl<QLabel>(&window, ("Label_colorname_" + k).toLatin1())->text()
                + findControl<QLabel>(&window, ("Label_colorrate_" + k).toLatin1())->text();
    }
    shown << findControl<QLabel>(&window, "Label_mixdistance")->text();
    return shown;
}

// Another program's colour manager on the same data folder.
std::unique_ptr<CColorManager> otherProgram(const std::filesystem::path &folder)
{
    auto colors = std::make_unique<CColorManager>(folder);
    colors->buildBuiltInCatalogue();
    colors->loadColorGroups();
    return colors;
}

void reactivate(TForm_TintoraMain &window)
{
    QApplication::setActiveWindow(nullptr);
    QApplication::setActiveWindow(&window);
}

class PickFlowTest : public test::MainWindowFixture
{
protected:
    void SetUp() override
    {
        window = start();
        ASSERT_TRUE(window->openPicture(pictureFile({qRgb(150, 90, 60), qRgb(90, 120, 60)})));
    }

    std::unique_ptr<TForm_TintoraMain> window;
};

struct Change {
    const char *what;
    std::function<void(const std::filesystem::path &folder, TForm_TintoraMain &)> apply;
};

void PrintTo(const Change &change, std::ostream *out)
{
    *out << change.what;
}

class AnswerFollows : public PickFlowTest, public ::testing::WithParamInterface<Change>
{ };

TEST_P(AnswerFollows, TheChangeAtOnce)
{
    window->pickColor({5, 5});
    const QStringList before = recipe(*window);
    GetParam().apply(dir.path(), *window);
    const QStringList shown = recipe(*window);
    window->pickColor({5, 5}); // what a pick under the new settings answers
    EXPECT_EQ(shown, recipe(*window));
    EXPECT_NE(shown, before) << "the change should alter the answer";
}

INSTANTIATE_TEST_SUITE_P(
    Changes, AnswerFollows,
    ::testing::Values(Change{"MixingMode",
                             [](const std::filesystem::path &, TForm_TintoraMain &w) {
                                 const auto answered = test::whenModalShown([](QWidget *dialog) {
                                     findControl<QRadioButton>(dialog, "RadioButton_spaceMixing")->setChecked(true);
                                     findControl<QPushButton>(dialog, "Button_ok")->click();
                                 });
                                 w.mi_mixingOptionClick();
                             }},
                      Change{"ColourBox",
                             [](const std::filesystem::path &, TForm_TintoraMain &w) {
                                 findControl<QComboBox>(&w, "ComboBox_currentColorBox")
                                     ->setCurrentText(QStringLiteral("12色丙烯颜色盒"));
                             }},
                      Change{"PaintsOfTheBoxChangedElsewhere",
                             [](const std::filesystem::path &folder, TForm_TintoraMain &w) {
                                 auto other = otherProgram(folder);
                                 ASSERT_TRUE(other->loadColorBox("我的颜色盒"));
                                 const PaintColorRecord first = other->currentBoxRecords().front();
                                 other->clearCurrentBox();
                                 ASSERT_TRUE(other->addToCurrentBox(platform::gbkToUtf8(first.code()),
                                                                    platform::gbkToUtf8(first.name())));
                                 ASSERT_TRUE(other->saveCurrentColorBox());
                                 reactivate(w);
                             }}),
    [](const ::testing::TestParamInfo<Change> &change) { return change.param.what; });

TEST_F(PickFlowTest, WithoutAPickAChangeShowsNothing)
{
    const auto answered = test::whenModalShown([](QWidget *dialog) {
        findControl<QRadioButton>(dialog, "RadioButton_spaceMixing")->setChecked(true);
        findControl<QPushButton>(dialog, "Button_ok")->click();
    });
    window->mi_mixingOptionClick();
    EXPECT_EQ(recipe(*window), (QStringList{QString(), QString(), QString(), QString()}));
    EXPECT_FALSE(window->resultPanel()->pickedColor());
}

TEST_F(PickFlowTest, AnAnswerThatNoLongerSolvesLeavesNoRecipe)
{
    window->pickColor({5, 5});
    ASSERT_FALSE(findControl<QLabel>(window.get(), "Label_colorrate_1")->text().isEmpty());
    auto other = otherProgram(dir.path());
    ASSERT_TRUE(other->createColorBox(0, "空盒"));
    reactivate(*window);
    findControl<QComboBox>(window.get(), "ComboBox_currentColorBox")->setCurrentText(QStringLiteral("空盒"));
    EXPECT_EQ(window->colors()->currentColorBoxName(), "空盒");
    EXPECT_EQ(recipe(*window), QStringList{QString()});
    EXPECT_EQ(window->resultPanel()->pickedColor(), (RgbColor{150, 90, 60})); // the pick itself stays
}

// A paint added by the colour group manager or another program is in the
// boxes that name it at once, not after a restart.
TEST_F(PickFlowTest, APaintAddedElsewhereAnswersAtTheNextPick)
{
    auto other = otherProgram(dir.path());
    ASSERT_TRUE(
        other->addGroupColor("油画颜色", "测试青绿", "", {90, 120, 60}, 1.0f, 2, PaintColorRecord::kOriginUser));
    ASSERT_TRUE(other->loadColorBox("我的颜色盒"));
    other->clearCurrentBox();
    PaintColorRecord added;
    ASSERT_TRUE(other->findGroupColor("油画颜色", "测试青绿", added));
    const std::vector<std::pair<std::string, std::string>> paints
        = {{"100", "柠檬黄"}, {"700", "白色"}, {platform::gbkToUtf8(added.code()), "测试青绿"}};
    for (const auto &[code, name] : paints)
        ASSERT_TRUE(other->addToCurrentBox(code, name)) << name;
    ASSERT_TRUE(other->saveCurrentColorBox());

    window->pickColor({5, 15});
    EXPECT_EQ(recipe(*window), (QStringList{QStringLiteral("测试青绿 : 100.00 %"), QStringLiteral("0.00 %")}));
}

// Searches on the worker: the panel keeps the previous answer until the
// newest search's answer comes; a superseded or cancelled one never shows.
class BackgroundPick : public PickFlowTest
{
protected:
    QStringList answerOf(const RgbColor &colour)
    {
        window->picks().pick(colour); // the quick wait of the tests: answered at once
        return recipe(*window);
    }
    void goBackground()
    {
        window->picks().setQuickWait(std::chrono::milliseconds(0));
        QObject::connect(&window->picks(), &PickController::answered, [this] { ++answers; });
    }
    int answers = 0;
    const RgbColor first{150, 90, 60};
    const RgbColor second{90, 120, 60};
};

TEST_F(BackgroundPick, OnlyTheNewestPickAnswers)
{
    const QStringList forSecond = answerOf(second);
    const QStringList forFirst = answerOf(first);
    ASSERT_NE(forFirst, forSecond);
    goBackground();
    window->picks().pick(second);
    window->picks().pick(first);
    window->picks().pick(second);
    EXPECT_TRUE(window->picks().searching());
    EXPECT_EQ(recipe(*window), forFirst) << "the old answer stays until the new one arrives";
    ASSERT_TRUE(window->picks().waitForAnswer());
    QCoreApplication::processEvents(); // superseded searches' answers arrive, and are dropped
    EXPECT_EQ(recipe(*window), forSecond);
    EXPECT_EQ(answers, 1);
}

TEST_F(BackgroundPick, ASettingChangedDuringTheSearchAnswersUnderTheNewSetting)
{
    window->matching().setMixingMode(1);
    const QStringList spatial = answerOf(first);
    window->matching().setMixingMode(0);
    const QStringList subtractive = answerOf(first);
    ASSERT_NE(spatial, subtractive);
    goBackground();
    window->picks().pick(first);
    window->matching().setMixingMode(1);
    ASSERT_TRUE(window->picks().waitForAnswer());
    QCoreApplication::processEvents();
    EXPECT_EQ(recipe(*window), spatial);
    EXPECT_EQ(answers, 1);
}

TEST_F(BackgroundPick, AStoppedSearchNeverAnswers)
{
    const QStringList forFirst = answerOf(first);
    goBackground();
    window->picks().pick(second);
    window->picks().stop(); // as closing the window does
    EXPECT_FALSE(window->picks().searching());
    QCoreApplication::processEvents();
    EXPECT_EQ(recipe(*window), forFirst);
    EXPECT_EQ(answers, 0);
}

} // namespace
} // namespace pigmora::ui
