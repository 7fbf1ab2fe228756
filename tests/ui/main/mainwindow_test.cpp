#include "main/mainwindow.h"

#include "data/colormanager.h"
#include "main/application.h"
#include "main/magnifierwindow.h"
#include "main/pictureview.h"
#include "main/resultpanel.h"
#include "main/splashwindow.h"
#include "main/startup.h"
#include "main/viewstate.h"
#include "mainwindowfixture.h"
#include "manage/palettewindow.h"
#include "support/testsupport.h"
#include "support/uitestsupport.h"

#include <QApplication>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>

#include <gtest/gtest.h>

namespace pigmora::ui {
namespace {

using test::findControl;

using MainWindowTest = test::MainWindowFixture;

TEST_F(MainWindowTest, FirstStartInAnEmptyFolder)
{
    auto window = start();
    for (const char *file : {"QorConfig.bin", "QorColorGroup.bin", "QorColorbox.bin", "QorPalette.bin"})
        EXPECT_TRUE(std::filesystem::exists(dir.path() / file)) << file;
    EXPECT_TRUE(notifier.messages().empty());

    auto *boxes = findControl<QComboBox>(window.get(), "ComboBox_currentColorBox");
    EXPECT_EQ(boxes->count(), 11);
    EXPECT_EQ(boxes->currentText(), QStringLiteral("我的颜色盒"));
    EXPECT_EQ(window->colors()->currentColorBoxName(), "我的颜色盒");
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Pigmora"));

    // The sample picture at 100 %, 18 pixels in.
    EXPECT_EQ(window->viewState().zoomIndex(), 4);
    EXPECT_EQ(window->pictureView()->source()->size(), QSize(500, 667));
    EXPECT_EQ(window->pictureView()->boxSize(), QSize(519, 686));
    EXPECT_EQ(window->gridColumns(), 5); // from the new configuration
    EXPECT_EQ(window->gridRows(), 6);
    EXPECT_EQ(window->statusText(3), QStringLiteral("减法混色"));
    EXPECT_FALSE(findControl<QPushButton>(window.get(), "BitBtn_saveColor")->isEnabled());
    EXPECT_EQ(findControl<QGroupBox>(window.get(), "GroupBox_pantone")->title(), QStringLiteral("近似潘通色"));
}

TEST_F(MainWindowTest, ClicksPickTheViewPixelAndIgnoreTheMargin)
{
    auto window = start();
    const auto path = pictureFile({qRgb(255, 0, 0), qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(128, 128, 128)});
    ASSERT_TRUE(window->openPicture(path));

    window->paintBoxMouseMove({5, 123});
    EXPECT_EQ(window->statusText(0), QStringLiteral("X : 5     Y : 123   "));

    const struct {
        QPoint click;
        const char *rgb;
        const char *cmyk;
    } picks[] = {
        {{19, 19}, "R:255  G:0  B:0", "C:0  M:100  Y:100  K:0"},
        {{30, 35}, "R:0  G:0  B:0", "C:0  M:0  Y:0  K:100"},
        {{30, 45}, "R:255  G:255  B:255", "C:0  M:0  Y:0  K:0"},
        {{57, 57}, "R:128  G:128  B:128", "C:0  M:0  Y:0  K:49"},
    };
    for (const auto &pick : picks) {
        window->paintBoxMouseDown(pick.click, Qt::LeftButton);
        EXPECT_EQ(window->statusText(1), QString::fromUtf8(pick.rgb));
        EXPECT_EQ(window->statusText(2), QString::fromUtf8(pick.cmyk));
    }
    // Margin, and the extra column beyond the picture: no pick.
    for (QPoint click : {QPoint(18, 50), QPoint(50, 18), QPoint(58, 30)}) {
        window->paintBoxMouseDown(click, Qt::LeftButton);
        EXPECT_EQ(window->statusText(1), QStringLiteral("R:128  G:128  B:128"));
    }
    EXPECT_TRUE(findControl<QPushButton>(window.get(), "BitBtn_saveColor")->isEnabled());
}

TEST_F(MainWindowTest, OnePaintMatchShowsOnlyTheFirstGroup)
{
    auto window = start();
    ASSERT_FALSE(window->colors()->currentBoxRecords().empty());
    const RgbColor paint = window->colors()->currentBoxRecords().front().color();
    ASSERT_TRUE(window->openPicture(pictureFile({qRgb(paint.red, paint.green, paint.blue)})));
    window->pickColor({5, 5});

    EXPECT_FALSE(findControl<QGroupBox>(window.get(), "GroupBox_color_1")->isHidden());
    EXPECT_TRUE(findControl<QGroupBox>(window.get(), "GroupBox_color_2")->isHidden());
    EXPECT_TRUE(findControl<QGroupBox>(window.get(), "GroupBox_color_3")->isHidden());
    EXPECT_EQ(findControl<QLabel>(window.get(), "Label_colorrate_1")->text(), QStringLiteral("100.00 %"));
    EXPECT_TRUE(findControl<QLabel>(window.get(), "Label_colorname_1")->text().endsWith(QStringLiteral(" : ")));
    EXPECT_EQ(findControl<QLabel>(window.get(), "Label_mixdistance")->text(), QStringLiteral("0.00 %"));
    EXPECT_FALSE(findControl<QLabel>(window.get(), "Label_color_pantone")->text().isEmpty());
    EXPECT_EQ(window->resultPanel()->pickedColor(), paint);
}

TEST_F(MainWindowTest, FailedSolveUpdatesOnlyThePickedColour)
{
    auto window = start();
    ASSERT_TRUE(window->openPicture(pictureFile({qRgb(10, 200, 30), qRgb(200, 30, 10)})));
    window->pickColor({5, 5});
    const QString rate = findControl<QLabel>(window.get(), "Label_colorrate_1")->text();
    ASSERT_FALSE(rate.isEmpty());
    window->colors()->clearCurrentBox(); // nothing to mix from
    window->pickColor({5, 15});
    EXPECT_EQ(window->statusText(1), QStringLiteral("R:200  G:30  B:10"));
    EXPECT_EQ(window->resultPanel()->pickedColor(), (RgbColor{200, 30, 10}));
    EXPECT_EQ(findControl<QLabel>(window.get(), "Label_colorrate_1")->text(), rate);
}

TEST_F(MainWindowTest, OpenFailuresSayWhatWentWrong)
{
    auto window = start();
    EXPECT_FALSE(window->openPicture(dir.path() / "nothere.jpg"));
    test::writeFileBytes(dir.path() / "notes.txt", {'x'});
    EXPECT_FALSE(window->openPicture(dir.path() / "notes.txt"));
    test::writeFileBytes(dir.path() / "broken.bmp", {'B', 'M', 1, 2, 3});
    EXPECT_FALSE(window->openPicture(dir.path() / "broken.bmp"));
    const auto texts = notifier.texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0], "文件不存在!");
    EXPECT_EQ(texts[1], "不能读入指定的图像文件!");
    EXPECT_FALSE(texts[2].empty());
    for (const auto &message : notifier.messages())
        EXPECT_EQ(message.icon, MessageIcon::Error);
    // The sample stays on show and can still be picked.
    EXPECT_EQ(window->pictureView()->source()->size(), QSize(500, 667));
    window->pickColor({10, 10});
    EXPECT_FALSE(window->statusText(1).isEmpty());
}

TEST_F(MainWindowTest, GrayButtonCaptionFollowsTheToggle)
{
    auto window = start();
    auto *gray = findControl<QToolButton>(window.get(), "ToolButton_gray");
    EXPECT_EQ(gray->text(), QStringLiteral("黑白"));
    window->ToolButton_zoomoutClick();
    window->ToolButton_zoomoutClick();
    window->ToolButton_zoomoutClick();
    EXPECT_EQ(window->pictureView()->source()->size(), QSize(125, 166));
    window->ToolButton_grayClick();
    EXPECT_EQ(gray->text(), QStringLiteral("彩色图"));
    EXPECT_EQ(window->pictureView()->source()->size(), QSize(125, 166)); // gray keeps the zoom
    window->ToolButton_grayClick();
    EXPECT_EQ(gray->text(), QStringLiteral("黑白图"));

    // An open switches the gray view off and says so on the button.
    window->ToolButton_grayClick();
    ASSERT_TRUE(window->openPicture(pictureFile({qRgb(1, 2, 3)})));
    EXPECT_FALSE(window->viewState().gray());
    EXPECT_EQ(window->viewState().zoomIndex(), 4);
    EXPECT_EQ(gray->text(), QStringLiteral("黑白图"));
}

TEST_F(MainWindowTest, MagnifierFollowsTheMouseInsideTheBounds)
{
    auto window = start();
    window->ToolButton_MagnifierClick();
    ASSERT_NE(window->magnifier(), nullptr);
    EXPECT_TRUE(window->magnifierShown());
    EXPECT_EQ(window->magnifier()->windowTitle(), QStringLiteral("放大镜"));
    EXPECT_TRUE(window->magnifier()->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(window->magnifier()->windowFlags() & Qt::WindowCloseButtonHint);

    window->paintBoxMouseMove({100, 100});
    EXPECT_EQ(window->lensPosition(), QPoint(100, 100));
    EXPECT_EQ(window->pictureView()->overlay().lens, QPoint(100, 100));
    const QImage &content = window->magnifier()->box()->content();
    ASSERT_EQ(content.size(), QSize(280, 200));
    const auto magnified = window->viewState().magnified();
    for (QPoint p : {QPoint(0, 0), QPoint(279, 199), QPoint(140, 77)}) {
        const RgbColor expected = *magnified->colorAt(p + QPoint(188, 228));
        EXPECT_EQ(content.pixel(p), qRgb(expected.red, expected.green, expected.blue));
    }

    window->paintBoxMouseMove({52, 43}); // out of bounds: the rectangle stays
    EXPECT_EQ(window->lensPosition(), QPoint(100, 100));
    window->paintBoxMouseMove({53, 43});
    EXPECT_EQ(window->lensPosition(), QPoint(53, 43));

    // Off, zoom, on again: built for the new zoom.
    window->ToolButton_MagnifierClick();
    EXPECT_FALSE(window->pictureView()->overlay().lens);
    window->ToolButton_zoominClick();
    EXPECT_FALSE(window->viewState().hasMagnified());
    window->ToolButton_MagnifierClick();
    EXPECT_TRUE(window->viewState().hasMagnified());
    EXPECT_EQ(window->viewState().magnified()->size(), QSize(2500, 3335));
    TForm_magnifier *first = window->magnifier();
    window->ToolButton_MagnifierClick();
    window->ToolButton_MagnifierClick();
    EXPECT_EQ(window->magnifier(), first);
}

TEST_F(MainWindowTest, PaletteWindowIsCreatedOnceAndToggled)
{
    auto window = start();
    window->ToolButton_paletteClick();
    TForm_paletteManger *palette = window->paletteWindow();
    ASSERT_NE(palette, nullptr);
    EXPECT_TRUE(palette->shownFlag());
    window->ToolButton_paletteClick();
    EXPECT_FALSE(palette->shownFlag());
    window->ToolButton_paletteClick();
    EXPECT_EQ(window->paletteWindow(), palette);
    EXPECT_TRUE(palette->shownFlag());
}

TEST_F(MainWindowTest, SaveButtonShowsThePaletteWindow)
{
    auto window = start();
    window->pickColor({10, 10});
    EXPECT_EQ(window->paletteWindow(), nullptr);
    window->BitBtn_saveColorClick();
    ASSERT_NE(window->paletteWindow(), nullptr);
    EXPECT_TRUE(window->paletteWindow()->shownFlag());
}

TEST_F(MainWindowTest, PickedColourDragsOnlyWithTheLeftButtonIntoAShownPalette)
{
    auto window = start();
    window->pickColor({10, 10});
    ColorSwatch *swatch = window->resultPanel()->pickedSwatch();
    QTest::mousePress(swatch, Qt::LeftButton);
    EXPECT_FALSE(window->colorDragArmed()); // no palette window yet
    QTest::mouseRelease(swatch, Qt::LeftButton);

    window->ToolButton_paletteClick();
    QTest::mousePress(swatch, Qt::RightButton);
    EXPECT_FALSE(window->colorDragArmed());
    QTest::mouseRelease(swatch, Qt::RightButton);
    QTest::mousePress(swatch, Qt::LeftButton);
    EXPECT_TRUE(window->colorDragArmed());
    QTest::mouseRelease(swatch, Qt::LeftButton);
    EXPECT_FALSE(window->colorDragArmed());

    window->ToolButton_paletteClick(); // hidden again
    QTest::mousePress(swatch, Qt::LeftButton);
    EXPECT_FALSE(window->colorDragArmed());
    QTest::mouseRelease(swatch, Qt::LeftButton);
}

TEST_F(MainWindowTest, DamagedDataFilesAreReportedAndTheProgramOpens)
{
    test::writeFileBytes(dir.path() / "QorColorbox.bin", {'Z', 'Q', 'X', 0, 1, 2});
    auto window = start();
    EXPECT_FALSE(notifier.messages().empty());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->pictureView()->source()->size(), QSize(500, 667));
}

TEST_F(MainWindowTest, UnusableDataFolderIsReportedOnce)
{
    MainWindowOptions unusable = options();
    unusable.dataFolder = dir.path() / "no" / "such" / "folder";
    auto window = start(unusable);
    ASSERT_EQ(notifier.messages().size(), 1u);
    EXPECT_NE(notifier.texts()[0].find("只读"), std::string::npos);
    window->pickColor({10, 10}); // the built-in paints still answer
    EXPECT_FALSE(window->statusText(1).isEmpty());
}

TEST_F(MainWindowTest, PictureFromTheCommandLineOpensAfterTheSample)
{
    MainWindowOptions withPicture = options();
    withPicture.pictureAtStart = pictureFile({qRgb(1, 2, 3)});
    auto window = start(withPicture);
    ASSERT_TRUE(waitForPicture(*window));
    EXPECT_EQ(window->pictureView()->source()->size(), QSize(40, 10));
    EXPECT_TRUE(notifier.messages().empty());
}

TEST_F(MainWindowTest, DroppedPictureOpens)
{
    auto window = start();
    const auto path = pictureFile({qRgb(9, 8, 7), qRgb(6, 5, 4)});
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path.string()))});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &drop);
    ASSERT_TRUE(waitForPicture(*window));
    EXPECT_EQ(window->pictureView()->source()->size(), QSize(40, 20));

    QMimeData text;
    text.setText(QStringLiteral("not a file"));
    QDragEnterEvent refused(QPoint(50, 50), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    refused.setAccepted(false);
    QApplication::sendEvent(window.get(), &refused);
    EXPECT_FALSE(refused.isAccepted());
}

TEST_F(MainWindowTest, ZoomShortcuts)
{
    auto window = start();
    QApplication::setActiveWindow(window.get());
    QTest::keyClick(window.get(), Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(window->viewState().zoomIndex(), 5);
    QTest::keyClick(window.get(), Qt::Key_Minus, Qt::ControlModifier);
    QTest::keyClick(window.get(), Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(window->viewState().zoomIndex(), 3);
    QTest::keyClick(window.get(), Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(window->viewState().zoomIndex(), 4);
    QTest::keyClick(window.get(), Qt::Key_G, Qt::ControlModifier);
    EXPECT_TRUE(window->viewState().gray());
}

TEST(DataLocation, UnwritableProgramFolderFallsBackToThePerUserFolder)
{
    QStandardPaths::setTestModeEnabled(true);
    test::TempDir dir;
    EXPECT_EQ(chooseDataFolder(dir.path()).folder, dir.path());
    EXPECT_FALSE(chooseDataFolder(dir.path()).perUser);

    const DataLocation fallback = chooseDataFolder(dir.path() / "missing" / "bin");
    EXPECT_TRUE(fallback.perUser);
    EXPECT_FALSE(fallback.readOnly);
    EXPECT_EQ(QString::fromStdString(fallback.folder.string()),
              QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    // An installed copy never keeps its data beside itself, even where it could.
    EXPECT_EQ(chooseDataFolder(dir.path(), dir.path()).folder, fallback.folder);
    QStandardPaths::setTestModeEnabled(false);
}

// Runs trigger, then the event loop for a while, accepting every modal box
// that opens (running whileFirstOpen before the first is accepted); how many
// opened, and whether one opened while another was.
struct ModalBoxes {
    int opened = 0;
    bool stacked = false;
};
ModalBoxes answerEveryModalBox(const std::function<void()> &trigger, const std::function<void()> &whileFirstOpen = {})
{
    ModalBoxes seen;
    QTimer watch;
    int open = 0;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || box->property("seen").toBool())
            return;
        box->setProperty("seen", true);
        ++seen.opened;
        seen.stacked = seen.stacked || ++open > 1;
        if (whileFirstOpen && seen.opened == 1)
            whileFirstOpen();
        box->accept();
        --open;
    });
    watch.start(5);
    trigger();
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 300)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return seen;
}

TEST(ErrorDisplay, ShowsTheTextWithTheProgramsCaption)
{
    QString caption, text;
    const auto answered = test::whenModalShown([&](QWidget *modal) {
        caption = modal->windowTitle();
        text = qobject_cast<QMessageBox *>(modal)->text();
        qobject_cast<QMessageBox *>(modal)->accept();
    });
    showErrorDisplay(QStringLiteral("JPEG 数据损坏"));
    while (!answered.answered())
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(caption, QStringLiteral("提示"));
    EXPECT_EQ(text, QStringLiteral("JPEG 数据损坏"));
}

// An error raised in a paint event is shown after it, not inside it.
TEST(ErrorDisplay, NeverOpensInsideAPaintEvent)
{
    class FailingPaint : public QWidget
    {
    public:
        bool painting = false;

    protected:
        void paintEvent(QPaintEvent *) override
        {
            painting = true;
            showErrorDisplay(QStringLiteral("绘制失败"));
            painting = false;
        }
    } widget;
    widget.resize(40, 40);
    widget.show();
    bool paintingWhenShown = true;
    const auto answered = test::whenModalShown([&](QWidget *modal) {
        paintingWhenShown = widget.painting;
        qobject_cast<QMessageBox *>(modal)->accept();
    });
    widget.repaint();
    while (!answered.answered())
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_FALSE(paintingWhenShown);
}

// A repeating error opens one box; another waits until it is closed.
TEST(ErrorDisplay, ShowsOneBoxAtATime)
{
    EXPECT_EQ(answerEveryModalBox([] {
                  for (int i = 0; i < 3; ++i)
                      showErrorDisplay(QStringLiteral("同一个错误"));
              }).opened,
              1);
    const ModalBoxes seen = answerEveryModalBox([] { showErrorDisplay(QStringLiteral("第一个错误")); },
                                                [] {
                                                    showErrorDisplay(QStringLiteral("第一个错误"));
                                                    showErrorDisplay(QStringLiteral("第二个错误"));
                                                });
    EXPECT_EQ(seen.opened, 2);
    EXPECT_FALSE(seen.stacked);
}

TEST(SplashWindow, ClosesOnTheThirtyFirstTick)
{
    TForm_colorCardFace splash;
    splash.timer()->stop();
    splash.show();
    for (int i = 1; i <= 30; ++i)
        splash.tick();
    EXPECT_TRUE(splash.isVisible());
    EXPECT_EQ(splash.progressBar()->value(), 80); // stepped on ticks 1, 5, ..., 29
    splash.tick();
    EXPECT_FALSE(splash.isVisible());
    EXPECT_EQ(splash.size(), QSize(750, 450));
}

} // namespace
} // namespace pigmora::ui
