// The area sample and the colour corrections in the main window: the sample
// size selector and its setting, a white balance and a chart calibration
// taken by clicks, what the view, the pick and the status bar then show.
#include "data/color.h"
#include "main/mainwindow.h"
#include "main/pictureview.h"
#include "main/resultpanel.h"
#include "main/viewgeometry.h"
#include "main/viewstate.h"
#include "mainwindowfixture.h"
#include "support/photoscene.h"
#include "support/uitestsupport.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QMenu>

#include <algorithm>
#include <cstdlib>

#include <gtest/gtest.h>

namespace pigmora::ui {
namespace {

using test::findControl;

class CorrectionTest : public test::MainWindowFixture
{
protected:
    // A photo of the scene by a camera with a warm cast, as a PNG file.
    std::filesystem::path photo(const test::PhotoScene &scene, const char *name)
    {
        const test::Camera camera{Matrix3::diagonal(1.3, 1.0, 0.65), 1.5};
        const std::vector<std::uint8_t> rows = test::takePhoto(scene, camera);
        const QImage image(rows.data(), scene.width, scene.height, scene.width * 4, QImage::Format_RGB32);
        const std::filesystem::path path = dir.path() / name;
        EXPECT_TRUE(image.save(QString::fromStdString(path.string())));
        return path;
    }

    // A gray card (linear 0.5) at the left, a dark background elsewhere.
    std::filesystem::path grayCardPhoto()
    {
        test::PhotoScene scene{.width = 160, .height = 100};
        scene.background = {0.005, 0.005, 0.005};
        scene.patches = {{10, 10, 60, 60, {0.5, 0.5, 0.5}}, {90, 10, 60, 60, {0.3, 0.1, 0.05}}};
        return photo(scene, "graycard.png");
    }

    // The view pixel showing a point of the picture, and a click on it.
    static QPoint viewPixel(TForm_TintoraMain &window, double x, double y)
    {
        return geometry::viewPixelOfBasePoint({x, y}, window.viewState().view()->size(), window.viewState().baseSize());
    }
    static void clickAt(TForm_TintoraMain &window, double x, double y)
    {
        const QPoint pixel = viewPixel(window, x, y);
        window.paintBoxMouseDown(pixel + QPoint(geometry::kViewMargin, geometry::kViewMargin), Qt::LeftButton);
    }

    static void trigger(TForm_TintoraMain &window, const char *name) { findControl<QAction>(&window, name)->trigger(); }

    static void chooseSampleSize(TForm_TintoraMain &window, int size)
    {
        for (QAction *action : findControl<QMenu>(&window, "mi_sampleSize")->actions())
            if (action->data().toInt() == size)
                action->trigger();
    }

    // The patch dialog's answer to the chart's fourth click, and that click.
    static void lastCornerAnswered(TForm_TintoraMain &window, const chart::Point &corner, bool ok)
    {
        const auto answered = test::whenModalShown([ok](QWidget *modal) {
            auto *dialog = qobject_cast<QDialog *>(modal);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->objectName(), QStringLiteral("TForm_chartFit"));
            // Each patch shown three ways with its ΔE00.
            for (const char *name : {"Shape_measured_24", "Shape_corrected_24", "Shape_reference_1"})
                EXPECT_NE(findControl<QWidget>(dialog, name), nullptr);
            EXPECT_FALSE(findControl<QLabel>(dialog, "Label_deltaE00_19")->text().isEmpty());
            EXPECT_NE(findControl<QLabel>(dialog, "Label_fitSummary")->text().indexOf(QStringLiteral("ΔE00")), -1);
            ok ? dialog->accept() : dialog->reject();
        });
        clickAt(window, corner.x, corner.y);
        EXPECT_TRUE(answered.answered());
    }

    static RgbColor picked(const TForm_TintoraMain &window)
    {
        const auto color = window.resultPanel()->pickedColor();
        EXPECT_TRUE(color);
        return color.value_or(RgbColor{});
    }
};

int spread(const RgbColor &c)
{
    return std::max({c.red, c.green, c.blue}) - std::min({c.red, c.green, c.blue});
}

TEST_F(CorrectionTest, WhiteBalanceNeutralisesTheCastAndCancelRestoresIt)
{
    auto window = start();
    ASSERT_TRUE(window->openPicture(grayCardPhoto()));
    chooseSampleSize(*window, 9);
    window->pickColor(viewPixel(*window, 40, 40));
    const RgbColor cast = picked(*window);
    EXPECT_GT(cast.red - cast.blue, 40);
    QLabel *photoLine = findControl<QLabel>(window.get(), "Label_photoColor");
    EXPECT_TRUE(photoLine->isHidden());
    const auto plainShown = window->viewState().view()->colorAt(viewPixel(*window, 40, 40));
    QAction *shownAction = findControl<QAction>(window.get(), "mi_showCorrected");
    EXPECT_FALSE(shownAction->isEnabled());
    EXPECT_EQ(findControl<QAction>(window.get(), "mi_whiteBalance")->text(), QStringLiteral("点选白色参照"));

    trigger(*window, "mi_whiteBalance");
    EXPECT_NE(window->statusText(6).indexOf(QStringLiteral("白平衡")), -1);
    clickAt(*window, 40.5, 40.5);
    EXPECT_TRUE(notifier.messages().empty());
    EXPECT_EQ(window->statusText(6), QStringLiteral("已校正：白平衡"));
    EXPECT_TRUE(shownAction->isEnabled() && shownAction->isChecked());
    // The reference stays marked.
    const QPoint mark = viewPixel(*window, 40.5, 40.5) + QPoint(geometry::kViewMargin, geometry::kViewMargin);
    EXPECT_EQ(window->pictureView()->overlay().marks, std::vector<QPoint>{mark});
    // The pick answers again, now for the corrected colour, the photo's beside.
    const RgbColor balanced = picked(*window);
    EXPECT_LE(spread(balanced), 2) << balanced.red << " " << balanced.green << " " << balanced.blue;
    EXPECT_FALSE(photoLine->isHidden());
    EXPECT_NE(photoLine->text().indexOf(QStringLiteral("#%1").arg(cast.red, 2, 16, QLatin1Char('0')).toUpper()), -1);
    // The view shows the corrected picture; a coloured patch stays coloured.
    const auto shown = window->viewState().view()->colorAt(viewPixel(*window, 40, 40));
    ASSERT_TRUE(shown);
    EXPECT_LE(spread(*shown), 8);
    window->pickColor(viewPixel(*window, 120, 40));
    EXPECT_GT(picked(*window).red - picked(*window).blue, 40);
    window->pickColor(viewPixel(*window, 40, 40));

    // Hidden: the picture, its pick and the status exactly as without it.
    shownAction->setChecked(false);
    EXPECT_EQ(picked(*window), cast);
    EXPECT_TRUE(photoLine->isHidden());
    EXPECT_EQ(window->viewState().view()->colorAt(viewPixel(*window, 40, 40)), plainShown);
    EXPECT_TRUE(window->pictureView()->overlay().marks.empty());
    EXPECT_EQ(window->statusText(6).indexOf(QStringLiteral("已校正")), -1);
    chooseSampleSize(*window, 1); // the pixel as shown, not the sample path
    EXPECT_EQ(std::optional(picked(*window)), plainShown);
    chooseSampleSize(*window, 9);
    shownAction->setChecked(true);
    EXPECT_EQ(picked(*window), balanced);
    EXPECT_EQ(window->viewState().view()->colorAt(viewPixel(*window, 40, 40)), shown);
    EXPECT_EQ(window->pictureView()->overlay().marks.size(), 1u);

    trigger(*window, "mi_clearCorrection");
    EXPECT_EQ(picked(*window), cast);
    EXPECT_TRUE(photoLine->isHidden());
    EXPECT_FALSE(shownAction->isEnabled() || shownAction->isChecked());
    EXPECT_TRUE(window->pictureView()->overlay().marks.empty());
    EXPECT_TRUE(window->statusText(6).isEmpty());
    EXPECT_TRUE(findControl<QLabel>(window.get(), "StatusPanel_6")->isHidden());
}

TEST_F(CorrectionTest, ARefusedReferenceSaysWhyAndChangesNothing)
{
    auto window = start();
    ASSERT_TRUE(window->openPicture(grayCardPhoto()));
    window->pickColor(viewPixel(*window, 40, 40));
    const RgbColor before = picked(*window);
    trigger(*window, "mi_whiteBalance");
    clickAt(*window, 80.5, 90.5); // the dark background
    ASSERT_EQ(notifier.messages().size(), 1u);
    EXPECT_NE(notifier.messages()[0].text.find("白色参考太暗"), std::string::npos);
    EXPECT_FALSE(window->viewState().correction().isOn());
    EXPECT_TRUE(window->statusText(6).isEmpty());
    EXPECT_EQ(picked(*window), before);
    // The click took the reference: the next one picks again.
    window->paintBoxMouseDown(viewPixel(*window, 120, 40) + QPoint(18, 18), Qt::LeftButton);
    EXPECT_NE(picked(*window), before);
}

TEST_F(CorrectionTest, ChartCornersAreGuidedMarkedCancelledAndFitted)
{
    test::PhotoScene scene{.width = 320, .height = 220};
    scene.chart = std::array<chart::Point, 4>{{{40.5, 40.5}, {270.5, 48.5}, {262.5, 170.5}, {46.5, 178.5}}};
    auto window = start();
    ASSERT_TRUE(window->openPicture(photo(scene, "chart.png")));
    const auto &corners = *scene.chart;
    const std::vector<QPoint> &marks = window->pictureView()->overlay().marks;

    trigger(*window, "mi_chartCalibration");
    EXPECT_NE(window->statusText(6).indexOf(QStringLiteral("1/4")), -1);
    clickAt(*window, corners[0].x, corners[0].y);
    clickAt(*window, corners[1].x, corners[1].y);
    EXPECT_NE(window->statusText(6).indexOf(QStringLiteral("3/4")), -1);
    EXPECT_EQ(window->pictureView()->overlay().marks.size(), 2u);
    trigger(*window, "mi_cancelCorrectionClicks"); // Escape
    EXPECT_TRUE(window->statusText(6).isEmpty());
    EXPECT_TRUE(window->pictureView()->overlay().marks.empty());
    EXPECT_FALSE(findControl<QAction>(window.get(), "mi_cancelCorrectionClicks")->isEnabled());

    // Cancel in the patch dialog leaves the correction as it was: none at
    // first, then the fit that OK put in force.
    for (const bool ok : {false, true, false}) {
        trigger(*window, "mi_chartCalibration");
        for (std::size_t i = 0; i < 3; ++i)
            clickAt(*window, corners[i].x, corners[i].y);
        lastCornerAnswered(*window, corners[3], ok);
        EXPECT_TRUE(marks.empty());
        const bool corrected = window->viewState().correction().chartFit().has_value();
        EXPECT_EQ(corrected, ok || corrected);
        EXPECT_EQ(window->statusText(6).isEmpty(), !corrected);
    }
    EXPECT_TRUE(notifier.messages().empty());
    ASSERT_TRUE(window->viewState().correction().chartFit());
    EXPECT_LT(window->viewState().correction().chartFit()->meanDeltaE00, 3.0);
    EXPECT_NE(window->statusText(6).indexOf(QStringLiteral("色卡")), -1);

    // Corners in the wrong order: the core's refusal, the fit kept.
    notifier.clear();
    trigger(*window, "mi_chartCalibration");
    for (const std::size_t i : {0u, 2u, 1u, 3u})
        clickAt(*window, corners[i].x, corners[i].y);
    ASSERT_EQ(notifier.messages().size(), 1u);
    EXPECT_EQ(notifier.messages()[0].icon, MessageIcon::Warning);
    EXPECT_TRUE(window->viewState().correction().isOn());

    // The correction belongs to the picture.
    ASSERT_TRUE(window->openPicture(grayCardPhoto()));
    EXPECT_FALSE(window->viewState().correction().isOn());
    EXPECT_TRUE(window->statusText(6).isEmpty());
}

TEST_F(CorrectionTest, SampleSizeIsStoredAndComesBack)
{
    {
        auto window = start();
        EXPECT_EQ(window->sampleSize(), 1);
        chooseSampleSize(*window, 9);
        EXPECT_EQ(window->sampleSize(), 9);
        EXPECT_EQ(findControl<QComboBox>(window.get(), "cbSampleSize")->currentData().toInt(), 9);
    }
    auto window = start();
    EXPECT_EQ(window->sampleSize(), 9);
    EXPECT_EQ(findControl<QComboBox>(window.get(), "cbSampleSize")->currentData().toInt(), 9);
    // A sample square follows the cursor while the size is above one.
    window->paintBoxMouseMove(QPoint(60, 60));
    EXPECT_TRUE(window->pictureView()->overlay().sample);
    chooseSampleSize(*window, 1);
    EXPECT_FALSE(window->pictureView()->overlay().sample);
}

} // namespace
} // namespace pigmora::ui
