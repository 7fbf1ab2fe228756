// Opening pictures while the window stays responsive, fitting them to the
// window, the status bar's zoom and picture pixel, and the value views.
#include "image/viewbuilder.h"
#include "main/mainwindow.h"
#include "main/picturecontroller.h"
#include "main/pictureview.h"
#include "main/viewstate.h"
#include "mainwindowfixture.h"
#include "store/configmanager.h"
#include "store/settings.h"
#include "support/uitestsupport.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace pigmora::ui {
namespace {

using test::findControl;

class OpenPictureTest : public test::MainWindowFixture
{
protected:
    // A picture of the size in the format its name says, colours varying.
    std::filesystem::path largePicture(QSize size, const char *name)
    {
        QImage image(size, QImage::Format_RGB32);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                image.setPixel(x, y, qRgb(x % 251, y % 241, (x * y) % 239));
        const std::filesystem::path path = dir.path() / name;
        EXPECT_TRUE(image.save(QString::fromStdString(path.string()), nullptr, 95));
        return path;
    }

    std::unique_ptr<TForm_TintoraMain> startSized()
    {
        auto window = start();
        window->resize(900, 700);
        QApplication::processEvents();
        return window;
    }
};

TEST_F(OpenPictureTest, LargePicturesOpenFittedSmallOnesAtRealSize)
{
    auto window = startSized();
    const QSize room = window->pictures().pictureRoom();
    ASSERT_GT(room.width(), 0);
    const struct {
        QSize size;
        const char *name;
        int opens, fits;
    } cases[] = {
        {{2400, 1600},
         "large.png",
         openZoomIndex(2400, 1600, room.width(), room.height()),
         fitZoomIndex(2400, 1600, room.width(), room.height())},
        {{40, 10}, "small.png", kRealSizeZoomIndex, fitZoomIndex(40, 10, room.width(), room.height())},
    };
    for (const auto &c : cases) {
        ASSERT_TRUE(window->openPicture(largePicture(c.size, c.name))) << c.name;
        EXPECT_EQ(window->viewState().zoomIndex(), c.opens) << c.name;
        EXPECT_EQ(window->statusText(4), QString::fromLatin1(kZoomSteps[static_cast<std::size_t>(c.opens)].data()));
        window->ToolButton_zoominClick();
        window->ToolButton_zoomfitClick();
        EXPECT_EQ(window->viewState().zoomIndex(), c.fits) << c.name;
    }
    EXPECT_LT(cases[0].opens, kRealSizeZoomIndex);
    EXPECT_GT(cases[1].fits, kRealSizeZoomIndex);
    // The shortcut.
    window->ToolButton_zoomrealClick();
    QApplication::setActiveWindow(window.get());
    QTest::keyClick(window.get(), Qt::Key_9, Qt::ControlModifier);
    EXPECT_EQ(window->viewState().zoomIndex(), cases[1].fits);
}

TEST_F(OpenPictureTest, StatusBarShowsTheZoomStepAndThePicturesPixel)
{
    auto window = start();
    ASSERT_TRUE(window->openPicture(pictureFile({qRgb(1, 2, 3), qRgb(4, 5, 6)})));
    window->paintBoxMouseMove({29, 24});
    EXPECT_EQ(window->statusText(4), QStringLiteral("100%"));
    EXPECT_EQ(window->statusText(5), QStringLiteral("原图 X : 11  Y : 6"));
    window->ToolButton_zoominClick(); // 125 %: 50 x 25
    window->paintBoxMouseMove({18 + 49, 18 + 24});
    EXPECT_EQ(window->statusText(4), QStringLiteral("125%"));
    EXPECT_EQ(window->statusText(5), QStringLiteral("原图 X : 39  Y : 19"));
    window->paintBoxMouseMove({5, 5}); // the margin: no picture pixel
    EXPECT_EQ(window->statusText(5), QString());
    EXPECT_EQ(window->statusText(0), QStringLiteral("X : 5     Y : 5     ")); // the specified panel as it was
}

TEST_F(OpenPictureTest, ReadingShowsProgressAndTheWaitCursorAndAnotherOpenStopsIt)
{
    auto window = startSized();
    const auto large = largePicture({3000, 2000}, "large.jpg");
    const auto small = pictureFile({qRgb(9, 8, 7)});
    auto *progress = findControl<QProgressBar>(window.get(), "ProgressBar_load");
    ASSERT_TRUE(window->pictures().beginOpen(large));
    EXPECT_TRUE(window->pictures().loading());
    EXPECT_TRUE(progress->isVisible());
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);

    ASSERT_TRUE(window->pictures().beginOpen(small)); // the large one is dropped
    ASSERT_TRUE(waitForPicture(*window));
    QTest::qWait(100); // nothing of the first comes later
    EXPECT_EQ(window->viewState().baseSize(), QSize(40, 10));
    EXPECT_EQ(window->pictureView()->source()->size(), QSize(40, 10));
    EXPECT_FALSE(progress->isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(notifier.messages().empty());
}

TEST_F(OpenPictureTest, TheWindowClosesWhileAPictureIsRead)
{
    auto window = startSized();
    const auto large = largePicture({3000, 2000}, "large.jpg");
    ASSERT_TRUE(window->pictures().beginOpen(large));
    QElapsedTimer closing;
    closing.start();
    window->close();
    window.reset();
    EXPECT_LT(closing.elapsed(), 1000);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(OpenPictureTest, APreviewIsNotPicked)
{
    auto window = start();
    ASSERT_TRUE(window->openPicture(pictureFile({qRgb(200, 100, 50)})));
    QImage preview(5, 2, QImage::Format_RGB32);
    preview.fill(qRgb(1, 1, 1));
    window->pictureView()->showPreview(preview, QSize(40, 10));
    window->pickColor({5, 5});
    EXPECT_TRUE(window->statusText(1).isEmpty());
    window->pictureView()->setSource(window->viewState().view());
    window->pickColor({5, 5});
    EXPECT_EQ(window->statusText(1), QStringLiteral("R:200  G:100  B:50"));
}

TEST_F(OpenPictureTest, ValueViewsAnswerForThePicturesColoursAndSaySo)
{
    auto window = start();
    ASSERT_TRUE(window->openPicture(pictureFile({qRgb(200, 100, 50)})));
    auto *note = findControl<QLabel>(window.get(), "Label_pickNote");
    const struct {
        const char *action;
        bool gray; // the view's pixel is gray
        const char *picked;
        bool noted;
    } cases[] = {
        {"mi_toneSteps3", true, "R:200  G:100  B:50", true},
        {"mi_toneValue", true, "R:200  G:100  B:50", true},
        {"mi_toneGray", true, nullptr, false}, // the specified gray view: picked as shown
        {"mi_toneColour", false, "R:200  G:100  B:50", false},
    };
    for (const auto &c : cases) {
        findControl<QAction>(window.get(), c.action)->trigger();
        EXPECT_TRUE(findControl<QAction>(window.get(), c.action)->isChecked()) << c.action;
        const RgbColor shown = *window->pictureView()->source()->colorAt({5, 5});
        EXPECT_EQ(shown.red == shown.green && shown.green == shown.blue, c.gray) << c.action;
        window->pickColor({5, 5});
        const QString expected
            = c.picked ? QString::fromLatin1(c.picked) : QStringLiteral("R:%1  G:%1  B:%1").arg(shown.red);
        EXPECT_EQ(window->statusText(1), expected) << c.action;
        EXPECT_EQ(note->isVisibleTo(window.get()), c.noted) << c.action;
        // A value view's grid is drawn in red: inverted it would vanish in its grays.
        EXPECT_EQ(window->pictureView()->overlay().gridColour.has_value(), c.noted) << c.action;
    }
    ViewOverlay grid;
    grid.grid = true;
    grid.gridColumns = 4;
    grid.gridColour = QColor(230, 30, 30);
    QImage painted(60, 30, QImage::Format_RGB32);
    QPainter painter(&painted);
    paintPictureView(painter, window->pictureView()->source(), grid, painted.rect());
    painter.end();
    EXPECT_EQ(painted.pixel(18, 20), qRgb(230, 30, 30));
}

TEST_F(OpenPictureTest, SquareCellsAreChosenInTheGridDialogAndKept)
{
    {
        auto window = start();
        const auto before = test::readFileBytes(dir.path() / "QorConfig.bin");
        const auto answered = test::whenModalShown([](QWidget *dialog) {
            findControl<QPushButton>(dialog, "Button_ok")->click(); // the square box left alone
        });
        window->mi_setGridCountClick();
        EXPECT_EQ(test::readFileBytes(dir.path() / "QorConfig.bin"), before);
        const auto answered2 = test::whenModalShown([](QWidget *dialog) {
            findControl<QCheckBox>(dialog, "CheckBox_squareCells")->setChecked(true);
            findControl<QPushButton>(dialog, "Button_ok")->click();
        });
        window->mi_setGridCountClick();
        EXPECT_TRUE(window->pictureView()->overlay().squareCells);
    }
    auto again = start();
    EXPECT_TRUE(again->pictures().squareCells());
    again->ToolButton_gridClick();
    EXPECT_TRUE(again->pictureView()->overlay().squareCells);
}

} // namespace
} // namespace pigmora::ui
