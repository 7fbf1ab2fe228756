// The result panel read at a glance: a layout that does not move with the
// number of paints, whole names in tooltips, the picked and mixed colours
// side by side.
#include "engine/colorpick.h"
#include "main/resultpanel.h"
#include "support/uitestsupport.h"

#include <QApplication>
#include <QGroupBox>

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

} // namespace
} // namespace pigmora::ui
