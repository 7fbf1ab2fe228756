#include "data/colormanager.h"
#include "engine/colorpick.h"
#include "main/mainwindow.h"
#include "main/matchcontext.h"
#include "main/pictureview.h"
#include "main/resultpanel.h"
#include "main/settingsdialogs.h"
#include "mainwindowfixture.h"
#include "store/configmanager.h"
#include "store/settings.h"
#include "support/testsupport.h"
#include "support/uitestsupport.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
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

// The count fields take digits, and the dialog's keys still reach it.
TEST(GridDialog, FieldsPassEnterEscapeAndPaste)
{
    const struct {
        const char *field;
        Qt::Key key;
        QDialog::DialogCode result;
    } cases[] = {{"Edit_colCount", Qt::Key_Escape, QDialog::Rejected},
                 {"Edit_rowCount", Qt::Key_Escape, QDialog::Rejected},
                 {"Edit_colCount", Qt::Key_Return, QDialog::Accepted},
                 {"Edit_rowCount", Qt::Key_Enter, QDialog::Accepted}};
    for (const auto &c : cases) {
        TForm_setGridCount dialog(nullptr);
        dialog.setCounts(8, 6);
        dialog.show();
        auto *field = findControl<QLineEdit>(&dialog, c.field);
        field->setFocus();
        field->clear();
        QApplication::clipboard()->setText(QStringLiteral("25"));
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        QApplication::clipboard()->setText(QStringLiteral("x1"));
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier); // not a number: refused whole
        EXPECT_EQ(field->text(), QStringLiteral("25")) << c.field;
        QTest::keyClick(field, c.key);
        EXPECT_FALSE(dialog.isVisible()) << c.field;
        EXPECT_EQ(dialog.result(), c.result) << c.field;
        EXPECT_EQ(dialog.confirmed(), c.result == QDialog::Accepted) << c.field;
    }
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

using SettingsTest = test::MainWindowFixture;

TEST_F(SettingsTest, GridCountsPersistAcrossARestart)
{
    auto window = start();
    window->ToolButton_gridClick();
    EXPECT_EQ(window->pictureView()->overlay().gridColumns, 5);
    const auto answered = whenModalShown([](QWidget *dialog) {
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
    const auto answered = whenModalShown([](QWidget *dialog) {
        findControl<QLineEdit>(dialog, "Edit_colCount")->setText(QStringLiteral("30"));
        findControl<QPushButton>(dialog, "Button_cancel")->click();
    });
    window->mi_setGridCountClick();
    const auto answered2 = whenModalShown([](QWidget *dialog) {
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
    const auto answered = whenModalShown([&](QWidget *dialog) {
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
    const auto answered2 = whenModalShown([&](QWidget *dialog) {
        spatialChecked = findControl<QRadioButton>(dialog, "RadioButton_spaceMixing")->isChecked();
        findControl<QPushButton>(dialog, "Button_cancel")->click();
    });
    window->mi_mixingOptionClick();
    EXPECT_TRUE(spatialChecked);
}

TEST_F(SettingsTest, PigmentModeIsStoredAndUsedByThePick)
{
    auto window = start();
    const auto answered = whenModalShown([](QWidget *dialog) {
        findControl<QRadioButton>(dialog, "RadioButton_pigmentMixing")->setChecked(true);
        findControl<QPushButton>(dialog, "Button_ok")->click();
    });
    window->mi_mixingOptionClick();
    window.reset();

    window = start();
    EXPECT_EQ(window->mixingMode(), 2);
    EXPECT_EQ(window->statusText(3), QStringLiteral("颜料混色"));
    bool pigmentChecked = false;
    const auto answered2 = whenModalShown([&](QWidget *dialog) {
        pigmentChecked = findControl<QRadioButton>(dialog, "RadioButton_pigmentMixing")->isChecked();
        dialog->close();
    });
    window->mi_mixingOptionClick();
    EXPECT_TRUE(pigmentChecked);

    // An orange between the box's paints: the panel shows the pigment
    // model's answer with its ΔE00 and the card entry's.
    const RgbColor target{214, 120, 40};
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(qRgb(target.red, target.green, target.blue));
    const auto path = dir.path() / "orange.png";
    ASSERT_TRUE(image.save(QString::fromStdString(path.string())));
    ASSERT_TRUE(window->openPicture(path));
    window->pickColor({5, 5});
    const ColorPick expected
        = pigmora::pickColor(window->colors()->currentBoxRecords(), target, MixModel::Pigment, nullptr, std::nullopt);
    ASSERT_TRUE(expected.solved && expected.mixDeltaE00);
    const QString mixText = findControl<QLabel>(window.get(), "Label_mixDeltaE00")->text();
    EXPECT_EQ(
        mixText,
        QString::fromStdString(deltaE00Text(*expected.mixDeltaE00) + " " + deltaE00Reading(*expected.mixDeltaE00)));
    EXPECT_EQ(findControl<QLabel>(window.get(), "Label_mixdistance")->text(),
              QString::fromStdString(expected.deviation));
    EXPECT_TRUE(findControl<QLabel>(window.get(), "Label_cardDeltaE00")->text().startsWith(QStringLiteral("ΔE00 ")));
    EXPECT_FALSE(findControl<QLabel>(window.get(), "Label_mixDeltaE00")->toolTip().isEmpty());
}

TEST_F(SettingsTest, MaxPartsIsStoredAndUsedByThePick)
{
    auto window = start();
    int shown = 0;
    const auto answered = whenModalShown([&](QWidget *dialog) {
        auto *parts = findControl<QSpinBox>(dialog, "SpinBox_maxParts");
        shown = parts->value();
        parts->setValue(40);
        findControl<QRadioButton>(dialog, "RadioButton_pigmentMixing")->setChecked(true);
        findControl<QPushButton>(dialog, "Button_ok")->click();
    });
    window->mi_mixingOptionClick();
    EXPECT_EQ(shown, 12);
    EXPECT_EQ(window->matching().maxParts(), 40);
    window.reset();

    window = start();
    EXPECT_EQ(window->matching().maxParts(), 40);
    const RgbColor target{150, 90, 60};
    ASSERT_TRUE(window->openPicture(pictureFile({qRgb(target.red, target.green, target.blue)})));
    window->pickColor({5, 5});
    const auto box = window->colors()->currentBoxRecords();
    const ColorPick expected = pigmora::pickColor(box, target, MixModel::Pigment, nullptr, std::nullopt, {{}, 40});
    const ColorPick byDefault = pigmora::pickColor(box, target, MixModel::Pigment, nullptr, std::nullopt, {});
    ASSERT_TRUE(window->resultPanel()->answer() && expected.parts && byDefault.parts);
    EXPECT_EQ(window->resultPanel()->answer()->parts->parts, expected.parts->parts);
    EXPECT_NE(expected.parts->parts, byDefault.parts->parts) << "the colour should need more than 12 parts";
}

TEST_F(SettingsTest, UnknownStoredModeCountsAsSubtractive)
{
    start().reset();
    {
        CConfigManager config(dir.path(), &notifier);
        config.open();
        ASSERT_TRUE(config.loadSysConfig());
        ASSERT_TRUE(saveMixingMode(config, 3));
    }
    auto window = start();
    EXPECT_EQ(window->statusText(3), QStringLiteral("减法混色"));
    bool subtractiveChecked = false;
    const auto answered = whenModalShown([&](QWidget *dialog) {
        subtractiveChecked = findControl<QRadioButton>(dialog, "RadioButton_subMixing")->isChecked();
        dialog->close();
    });
    window->mi_mixingOptionClick();
    EXPECT_TRUE(subtractiveChecked);
    EXPECT_EQ(window->mixingMode(), 3); // kept as stored until a mode is chosen
}

TEST(MixingDialog, DamagedModeShowsSubtractive)
{
    TForm_setColorMixing dialog(nullptr);
    dialog.setMixingMode(7);
    EXPECT_TRUE(findControl<QRadioButton>(&dialog, "RadioButton_subMixing")->isChecked());
    EXPECT_EQ(dialog.mixingMode(), 0);
    dialog.setMixingMode(1);
    EXPECT_EQ(dialog.mixingMode(), 1);
    dialog.setMixingMode(2);
    EXPECT_TRUE(findControl<QRadioButton>(&dialog, "RadioButton_pigmentMixing")->isChecked());
    EXPECT_EQ(dialog.mixingMode(), 2);
    dialog.setMixingMode(-1);
    EXPECT_EQ(dialog.mixingMode(), 0);
}

} // namespace
} // namespace pigmora::ui
