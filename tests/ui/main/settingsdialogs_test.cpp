#include "main/mainwindow.h"
#include "main/pictureview.h"
#include "main/settingsdialogs.h"
#include "support/testsupport.h"
#include "support/uitestsupport.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace pigmora::ui {
namespace {

using test::findControl;
using test::whenModalShown;

TEST(GridDialog, KeyFilterTakesDigitsAndBackspaceOnly)
{
    TForm_setGridCount dialog(nullptr);
    dialog.setCounts(8, 6);
    auto *columns = findControl<QLineEdit>(&dialog, "Edit_colCount");
    columns->setFocus();
    columns->end(false);
    QTest::keyClicks(columns, QStringLiteral("a-"));
    EXPECT_EQ(columns->text(), QStringLiteral("8"));
    QTest::keyClicks(columns, QStringLiteral("12"));
    EXPECT_EQ(columns->text(), QStringLiteral("812")); // three characters at most
    QTest::keyClick(columns, Qt::Key_Backspace);
    EXPECT_EQ(columns->text(), QStringLiteral("81"));
    QTest::keyClicks(columns, QStringLiteral("99"));
    EXPECT_EQ(dialog.columns(), 819); // a typed value is taken as typed

    columns->clear();
    auto *rows = findControl<QLineEdit>(&dialog, "Edit_rowCount");
    rows->setText(QStringLiteral("x"));
    EXPECT_EQ(dialog.columns(), 8); // not a number
    EXPECT_EQ(dialog.rows(), 6);
}

TEST(GridDialog, UpDownStopsAtZeroAndNinetyNine)
{
    TForm_setGridCount dialog(nullptr);
    dialog.setCounts(98, 1);
    auto *col = findControl<UpDown>(&dialog, "UpDown_col");
    auto *row = findControl<UpDown>(&dialog, "UpDown_row");
    for (int i = 0; i < 3; ++i) {
        col->stepBy(1);
        row->stepBy(-1);
    }
    EXPECT_EQ(findControl<QLineEdit>(&dialog, "Edit_colCount")->text(), QStringLiteral("99"));
    EXPECT_EQ(findControl<QLineEdit>(&dialog, "Edit_rowCount")->text(), QStringLiteral("0"));
    findControl<QLineEdit>(&dialog, "Edit_colCount")->setText(QStringLiteral("500"));
    col->stepBy(-1); // from the typed value, limited to the range
    EXPECT_EQ(findControl<QLineEdit>(&dialog, "Edit_colCount")->text(), QStringLiteral("98"));
}

class SettingsTest : public ::testing::Test
{
protected:
    std::unique_ptr<TForm_TintoraMain> start()
    {
        MainWindowOptions options;
        options.showSplash = false;
        options.dataFolder = dir.path();
        options.notifier = &notifier;
        auto window = std::make_unique<TForm_TintoraMain>(options);
        window->show();
        return window;
    }

    test::TempDir dir;
    test::RecordingNotifier notifier;
};

TEST_F(SettingsTest, GridCountsPersistAcrossARestart)
{
    auto window = start();
    window->ToolButton_gridClick();
    EXPECT_EQ(window->pictureView()->overlay().gridColumns, 5);
    whenModalShown([](QWidget *dialog) {
        findControl<QLineEdit>(dialog, "Edit_colCount")->setText(QStringLiteral("12"));
        findControl<QLineEdit>(dialog, "Edit_rowCount")->setText(QStringLiteral("4"));
        findControl<QPushButton>(dialog, "Button_ok")->click();
    });
    window->mi_setGridCountClick();
    EXPECT_EQ(window->pictureView()->overlay().gridColumns, 12);
    EXPECT_EQ(window->pictureView()->overlay().gridRows, 4);
    window.reset();

    window = start();
    EXPECT_EQ(window->gridColumns(), 12);
    EXPECT_EQ(window->gridRows(), 4);
    EXPECT_TRUE(notifier.messages().empty());
}

TEST_F(SettingsTest, CancelAndCloseWriteNothing)
{
    auto window = start();
    const auto before = test::readFileBytes(dir.path() / "QorConfig.bin");
    whenModalShown([](QWidget *dialog) {
        findControl<QLineEdit>(dialog, "Edit_colCount")->setText(QStringLiteral("30"));
        findControl<QPushButton>(dialog, "Button_cancel")->click();
    });
    window->mi_setGridCountClick();
    whenModalShown([](QWidget *dialog) {
        findControl<QRadioButton>(dialog, "RadioButton_spaceMixing")->setChecked(true);
        dialog->close();
    });
    window->mi_mixingOptionClick();
    EXPECT_EQ(window->gridColumns(), 5);
    EXPECT_EQ(window->mixingMode(), 0);
    EXPECT_EQ(test::readFileBytes(dir.path() / "QorConfig.bin"), before);
}

TEST_F(SettingsTest, MixingModeIsStoredAndShown)
{
    auto window = start();
    bool subtractiveChecked = false;
    whenModalShown([&](QWidget *dialog) {
        subtractiveChecked = findControl<QRadioButton>(dialog, "RadioButton_subMixing")->isChecked();
        findControl<QRadioButton>(dialog, "RadioButton_spaceMixing")->setChecked(true);
        findControl<QPushButton>(dialog, "Button_ok")->click();
    });
    window->mi_mixingOptionClick();
    EXPECT_TRUE(subtractiveChecked);
    EXPECT_EQ(window->mixingMode(), 1);
    window->pictureView()->repaint();
    EXPECT_EQ(window->statusText(3), QStringLiteral("空间混色"));
    window.reset();

    window = start();
    EXPECT_EQ(window->mixingMode(), 1);
    bool spatialChecked = false;
    whenModalShown([&](QWidget *dialog) {
        spatialChecked = findControl<QRadioButton>(dialog, "RadioButton_spaceMixing")->isChecked();
        findControl<QPushButton>(dialog, "Button_cancel")->click();
    });
    window->mi_mixingOptionClick();
    EXPECT_TRUE(spatialChecked);
}

TEST(MixingDialog, DamagedModeShowsSubtractive)
{
    TForm_setColorMixing dialog(nullptr);
    dialog.setMixingMode(7);
    EXPECT_TRUE(findControl<QRadioButton>(&dialog, "RadioButton_subMixing")->isChecked());
    EXPECT_EQ(dialog.mixingMode(), 0);
    dialog.setMixingMode(1);
    EXPECT_EQ(dialog.mixingMode(), 1);
}

} // namespace
} // namespace pigmora::ui
