// The result panel read at a glance: a layout that does not move with the
// number of paints, whole names in tooltips, the picked and mixed colours
// side by side.
#include "data/colormanager.h"
#include "engine/colorpick.h"
#include "main/resultpanel.h"
#include "support/testsupport.h"
#include "support/uitestsupport.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

namespace pigmora::ui {
namespace {

using test::findControl;

ColorPick answerWith(int paints, const char *firstName = "柠檬黄")
{
    ColorPick pick;
    pick.target = {90, 120, 60};
    pick.solved = paints > 0;
    for (int k = 0; k < paints; ++k)
        pick.paints[static_cast<std::size_t>(k)]
            = PickedPaint{{10 * k, 20, 30}, "10" + std::to_string(k), k == 0 ? firstName : "白色", "50.00 %"};
    pick.mix.mixed.setColor({88, 118, 61});
    pick.deviation = "0.70 %";
    return pick;
}

TEST(ResultPanel, KeepsItsLayoutForOneTwoOrThreePaints)
{
    ResultPanel panel;
    panel.resize(1300, 116);
    panel.show();
    QList<int> places;
    for (int paints : {3, 1, 2, 3}) {
        panel.showPick(answerWith(paints));
        QApplication::processEvents();
        EXPECT_EQ(findControl<QGroupBox>(&panel, "GroupBox_color_3")->isHidden(), paints < 3);
        places << findControl<QGroupBox>(&panel, "GroupBox_color_mix")->x();
    }
    EXPECT_EQ(places, QList<int>(4, places.front()));
}

TEST(ResultPanel, ShowsLongNamesWholeAndThePairOfColours)
{
    ResultPanel panel;
    const char *longName = "一个很长很长很长很长的自定义颜色名称";
    panel.showPick(answerWith(2, longName));
    EXPECT_TRUE(findControl<QGroupBox>(&panel, "GroupBox_color_1")->toolTip().contains(QString::fromUtf8(longName)));
    EXPECT_EQ(panel.comparedPicked()->color(), (RgbColor{90, 120, 60}));
    EXPECT_EQ(panel.comparedMixed()->color(), (RgbColor{88, 118, 61}));
    // A new pick without an answer: the pair never shows the old mix beside it.
    ColorPick unsolved = answerWith(0);
    unsolved.target = {1, 2, 3};
    panel.showPick(unsolved);
    EXPECT_EQ(panel.comparedPicked()->color(), (RgbColor{1, 2, 3}));
    EXPECT_FALSE(panel.comparedMixed()->color());
}

// The whole-part recipe of real answers on the built-in box: parts under
// each percentage, "一点" beside a touch, the parts line in the mix group.
TEST(ResultPanel, ShowsThePartsRecipeBesideTheProportions)
{
    test::TempDir dir;
    CColorManager colors(dir.path());
    ASSERT_TRUE(colors.buildBuiltInCatalogue());
    const struct {
        RgbColor target;
        MixModel model;
        int maxParts;
    } cases[] = {
        {{0xEF, 0xD4, 0xC3}, MixModel::Pigment, 12}, // skin: a touch of a strong paint in white
        {{150, 90, 60}, MixModel::Subtractive, 12},
        {{150, 90, 60}, MixModel::Pigment, 40},
    };
    ResultPanel panel;
    bool touched = false;
    for (const auto &c : cases) {
        const ColorPick pick = pickColor(colors.currentBoxRecords(), c.target, c.model, nullptr, std::nullopt,
                                         PickOptions{{}, c.maxParts});
        ASSERT_TRUE(pick.solved && pick.parts);
        panel.showPick(pick);
        int paints = 0;
        for (std::size_t k = 0; k < 3; ++k) {
            const std::string n = std::to_string(k + 1);
            const QString parts = findControl<QLabel>(&panel, ("Label_colorparts_" + n).c_str())->text();
            const QString touch = findControl<QLabel>(&panel, ("Label_colortouch_" + n).c_str())->text();
            if (!pick.paints[k]) {
                EXPECT_TRUE(findControl<QGroupBox>(&panel, ("GroupBox_color_" + n).c_str())->isHidden());
                continue;
            }
            ++paints;
            EXPECT_EQ(parts, QStringLiteral("%1 份").arg(pick.parts->parts[k]));
            EXPECT_EQ(touch, pick.paints[k]->touch ? QStringLiteral("一点") : QString());
            touched = touched || pick.paints[k]->touch;
        }
        EXPECT_EQ(findControl<QLabel>(&panel, "Label_mixParts")->text(),
                  QStringLiteral("整份 ΔE00 %1\n差一份 ΔE00 %2")
                      .arg(QString::fromStdString(twoDecimals(pick.parts->deltaE00)),
                           QString::fromStdString(twoDecimals(pick.parts->onePartOff))));
        EXPECT_EQ(panel.recordMixButton()->isEnabled(), paints >= 2);
    }
    EXPECT_TRUE(touched) << "the skin colour should need a touch";
    EXPECT_FALSE(findControl<QLabel>(&panel, "Label_mixParts")->toolTip().isEmpty());
    panel.clearAnswer();
    EXPECT_TRUE(findControl<QLabel>(&panel, "Label_colorparts_1")->text().isEmpty());
    EXPECT_TRUE(findControl<QLabel>(&panel, "Label_mixParts")->text().isEmpty());
    EXPECT_FALSE(panel.recordMixButton()->isEnabled());
    EXPECT_FALSE(panel.answer());
}

} // namespace
} // namespace pigmora::ui
