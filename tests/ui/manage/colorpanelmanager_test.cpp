#include "manage/managetestsupport.h"

#include "data/standardcolorcard.h"
#include "manage/colorpanelmanager.h"
#include "manage/handovers.h"
#include "manage/paintlistwidget.h"
#include "store/faultinjection.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <fstream>
#include <tuple>

namespace pigmora::test {
namespace {

using ui::TForm_colorPanelManager;
using ui::TForm_colorPanelRename;
using ui::TForm_createColorPanel;

class ColorPanelManagerTest : public ManageTest
{
protected:
    QListWidget *paletteList(QWidget &window) { return findControl<QListWidget>(&window, "ListBox_colorPanelList"); }

    void selectPalette(QWidget &window, const QString &name)
    {
        const auto found = paletteList(window)->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        paletteList(window)->setCurrentItem(found.first());
    }
};

TEST_F(ColorPanelManagerTest, SystemPalettesAreRefusedWithoutAQuestion)
{
    TForm_colorPanelManager window(*colors, &notifier);
    window.refreshPaletteList();
    EXPECT_EQ(listTexts(paletteList(window)), qtList(paletteNames()));
    EXPECT_EQ(paletteList(window)->currentRow(), 0); // the first palette, ready for delete and rename
    for (const char *palette : {"Morvane色板", "Quessel色板", "Tarlowe色板"}) {
        for (const auto &[button, message] : {std::pair{"BitBtn_deletePanel", "不能删除系统色板!"},
                                              std::pair{"BitBtn_renamePanel", "系统色板不能改名!"}}) {
            notifier.clear();
            selectPalette(window, QString::fromUtf8(palette));
            click(&window, button);
            EXPECT_EQ(notifier.texts(), std::vector<std::string>{message}) << palette;
        }
    }
    EXPECT_EQ(listTexts(paletteList(window)), qtList(paletteNames()));
    EXPECT_FALSE(window.changed());
}

TEST_F(ColorPanelManagerTest, CreateProposesTheFirstFreeNumberAndRefusesTakenNames)
{
    for (const char *expected : {"新建色板1", "新建色板2"}) {
        TForm_createColorPanel dialog(*colors, &notifier);
        dialog.show();
        EXPECT_EQ(findControl<QLineEdit>(&dialog, "Edit_colorPanelName")->text(), QString::fromUtf8(expected));
        click(&dialog, "BitBtn_ok");
        EXPECT_TRUE(dialog.changed());
    }
    struct Case {
        const char *typed;
        const char *message;
    };
    for (const Case &c : {Case{"   ", "色板名称不能为空!"}, Case{" 新建色板2 ", "相同名称的色板已经存在!"},
                          Case{"Morvane色板", "相同名称的色板已经存在!"}, Case{"🎨", "名称中含有不能保存的字符!"}}) {
        notifier.clear();
        TForm_createColorPanel dialog(*colors, &notifier);
        dialog.show();
        auto *name = findControl<QLineEdit>(&dialog, "Edit_colorPanelName");
        name->setText(QString::fromUtf8(c.typed));
        click(&dialog, "BitBtn_ok");
        EXPECT_EQ(notifier.texts(), std::vector<std::string>{c.message}) << c.typed;
        EXPECT_EQ(dialog.focusWidget(), name);
        EXPECT_TRUE(dialog.isVisible());
    }
    EXPECT_EQ(paletteNames().size(), 5u);
}

TEST_F(ColorPanelManagerTest, RenameToTheSameNameIsRefusedAndANewNameIsStored)
{
    ASSERT_TRUE(colors->createPalette("风景"));
    TForm_colorPanelManager window(*colors, &notifier);
    window.refreshPaletteList();
    selectPalette(window, QStringLiteral("风景"));
    const auto answered = whenModalShown([this](QWidget *dialog) {
        EXPECT_EQ(findControl<QLineEdit>(dialog, "Edit_oldColorPanelName")->text(), QStringLiteral("风景"));
        auto *name = findControl<QLineEdit>(dialog, "Edit_newColorPanelName");
        name->setText(QStringLiteral("风景"));
        click(dialog, "BitBtn_ok");
        EXPECT_EQ(notifier.texts(), std::vector<std::string>{"相同名称的色板已经存在!"});
        name->setText(QStringLiteral("  海景 "));
        click(dialog, "BitBtn_ok");
    });
    click(&window, "BitBtn_renamePanel");
    EXPECT_TRUE(window.changed());
    EXPECT_TRUE(listTexts(paletteList(window)).contains(QStringLiteral("海景")));
    EXPECT_FALSE(listTexts(paletteList(window)).contains(QStringLiteral("风景")));
    EXPECT_EQ(listTexts(paletteList(window)), qtList(paletteNames()));
}

TEST_F(ColorPanelManagerTest, OnlyRefusedOrCancelledActionsLeaveChangedFalse)
{
    ASSERT_TRUE(colors->createPalette("风景"));
    TForm_colorPanelManager window(*colors, &notifier);
    window.refreshPaletteList();
    selectPalette(window, QStringLiteral("风景"));
    click(&window, "BitBtn_deletePanel"); // answered No
    const auto answered = whenModalShown([](QWidget *dialog) { click(dialog, "BitBtn_cancel"); });
    click(&window, "BitBtn_createPanel");
    const auto answered2 = whenModalShown([](QWidget *dialog) { click(dialog, "BitBtn_cancel"); });
    click(&window, "BitBtn_renamePanel");
    EXPECT_EQ(notifier.texts(), std::vector<std::string>{"是否删除色板 \"风景\" 吗?"});
    EXPECT_FALSE(window.changed());
    EXPECT_EQ(listTexts(paletteList(window)), qtList(paletteNames()));
}

TEST_F(ColorPanelManagerTest, AFailedCreateClosesUnchangedAndLeavesTheList)
{
    TForm_colorPanelManager window(*colors, &notifier);
    window.refreshPaletteList();
    const QStringList before = listTexts(paletteList(window));
    {
        FaultInjection faults;
        faults.failWritesFrom(0);
        const auto answered = whenModalShown([](QWidget *dialog) { click(dialog, "BitBtn_ok"); });
        click(&window, "BitBtn_createPanel");
    }
    EXPECT_EQ(notifier.texts(), std::vector<std::string>{"新建色板失败!"});
    EXPECT_FALSE(window.changed());
    EXPECT_EQ(listTexts(paletteList(window)), before);
    EXPECT_EQ(qtList(paletteNames()), before);
}

// A GIMP palette comes in as a new palette, all or nothing; a taken name and
// a bad file are refused with the reason and leave the palette file alone.
TEST_F(ColorPanelManagerTest, ImportsAGimpPaletteAsANewPaletteOrNothing)
{
    const auto good = dir.path() / "spring.gpl";
    const auto bad = dir.path() / "bad.gpl";
    std::ofstream(good) << "GIMP Palette\nName: spring\n#\n255 0 0\tred\n  0 128 255\tsky\n";
    std::ofstream(bad) << "GIMP Palette\n255 0\n";
    TForm_colorPanelManager window(*colors, &notifier);
    window.refreshPaletteList();
    ASSERT_TRUE(window.importPalette(QString::fromStdString(good.string()), QStringLiteral(" 春天 ")));
    EXPECT_TRUE(window.changed());
    EXPECT_EQ(selectedText(paletteList(window)), QStringLiteral("春天"));
    std::vector<PaletteColorRecord> cells;
    ASSERT_TRUE(colors->loadPalette("春天", cells));
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_EQ(cells[1].cell(), 1);
    EXPECT_EQ(cells[1].color(), (RgbColor{0, 128, 255}));

    const auto before = readFileBytes(dir.path() / "QorPalette.bin");
    for (const auto &[file, name, reason] : {std::tuple{good, "春天", "相同名称的色板已经存在!"}, std::tuple{bad, "坏", "第 2 行"}}) {
        notifier.clear();
        EXPECT_FALSE(window.importPalette(QString::fromStdString(file.string()), QString::fromUtf8(name)));
        ASSERT_EQ(notifier.texts().size(), 1u);
        EXPECT_NE(notifier.texts()[0].find(reason), std::string::npos) << notifier.texts()[0];
    }
    EXPECT_EQ(readFileBytes(dir.path() / "QorPalette.bin"), before);
}

// The hand-overs answer whether the files changed, which is what makes the
// main window reload its box, selector and palette window.
TEST_F(ColorPanelManagerTest, HandOversReportWhatChangedOnDisk)
{
    const auto answered = whenModalShown([](QWidget *manager) {
        const auto answered2 = whenModalShown([](QWidget *dialog) { click(dialog, "BitBtn_ok"); });
        click(manager, "BitBtn_createPanel");
        click(manager, "BitBtn_close");
    });
    EXPECT_TRUE(ui::runColorPanelManager(nullptr, dir.path(), &notifier));
    EXPECT_TRUE(qtList(paletteNames()).contains(QStringLiteral("新建色板1")));

    const auto answered3 = whenModalShown([](QWidget *manager) { click(manager, "BitBtn_close"); });
    EXPECT_FALSE(ui::runColorBoxManager(nullptr, dir.path(), &notifier));

    const QStringList before = [this] {
        QStringList names;
        colors->loadColorBox("我的颜色盒");
        for (const PaintColorRecord &paint : colors->currentBoxRecords())
            names << QString::fromStdString(platform::gbkToUtf8(paint.name()));
        return names;
    }();
    const auto answered4 = whenModalShown([](QWidget *setUp) {
        EXPECT_EQ(findControl<QComboBox>(setUp, "ComboBox_GroupName")->currentText(), QStringLiteral("我的颜色盒"));
        click(setUp, "bbtn_unselectAll");
        click(setUp, "bbtn_ok");
    });
    EXPECT_TRUE(ui::runSetColorBox(nullptr, dir.path(), &notifier));
    ASSERT_FALSE(before.isEmpty());
    auto fresh = freshColors();
    ASSERT_TRUE(fresh->loadColorBox("我的颜色盒"));
    EXPECT_EQ(fresh->currentBoxRecords().size(), 0u);

    CStandardColorCard cards;
    const auto answered5 = whenModalShown([](QWidget *manager) {
        EXPECT_EQ(findControl<QComboBox>(manager, "ComboBox_groupName")->currentText(), QStringLiteral("油画颜色"));
        click(manager, "bbtn_close");
    });
    EXPECT_FALSE(ui::runColorGroupManager(nullptr, dir.path(), &cards, &notifier));
}

TEST(PaintListWidget, PlacesSwatchAndTextInsideTheEntry)
{
    const QRect entry(0, 56, 300, 28); // the third entry
    EXPECT_EQ(ui::paintSwatchRect(entry), QRect(QPoint(2, 59), QPoint(34, 80)));
    EXPECT_EQ(ui::paintTextLeft(entry), 38);
    EXPECT_EQ(ui::paintTextTop(entry, 13), 56 + 7);
    EXPECT_EQ(ui::paintTextTop(entry.translated(5, 0), 12), 56 + 8);
}

// A white paint's swatch stands out of the white list by a grey border.
TEST(PaintListWidget, EverySwatchHasAThinBorder)
{
    PaintColorRecord white;
    white.setName(gbk("白色"));
    white.setColor({255, 255, 255});
    ui::PaintListWidget list(false);
    list.setPaints({white, white});
    list.resize(200, 100);
    list.show();
    const QImage shown = list.viewport()->grab().toImage();
    const QRect swatch = ui::paintSwatchRect(list.visualItemRect(list.item(1)));
    const QPoint middle(swatch.left(), swatch.center().y());
    EXPECT_EQ(shown.pixel(middle - QPoint(1, 0)), qRgb(160, 160, 160));
    EXPECT_EQ(shown.pixel(middle), qRgb(255, 255, 255)); // the swatch's own white outline
    EXPECT_EQ(shown.pixel(swatch.center()), qRgb(255, 255, 255));
}

TEST(PaintListWidget, TypingFindsByTheFirstLettersOfNameOrCode)
{
    auto paint = [](const char *code, const char *name) {
        PaintColorRecord record;
        record.setCode(gbk(code));
        record.setName(gbk(name));
        return record;
    };
    ui::PaintListWidget list(false);
    list.setPaints({paint("710", "钛白"), paint("230", "大红"), paint("u_10000001", "Cadmium Red"),
                    paint("100", "柠檬黄"), paint("720", "锌白")});
    EXPECT_EQ(listTexts(&list),
              (QStringList{QStringLiteral("大红"), QStringLiteral("柠檬黄"), QStringLiteral("钛白"),
                           QStringLiteral("锌白"), QStringLiteral("Cadmium Red")}));
    struct Case {
        const char *typed;
        const char *selected;
    };
    for (const Case &c : {Case{"7", "钛白"}, Case{"72", "锌白"}, Case{"c", "Cadmium Red"}, Case{"柠", "柠檬黄"},
                          Case{"u_1", "Cadmium Red"}}) {
        list.selectRow(2);
        QTest::qWait(QApplication::keyboardInputInterval() + 50); // a new search
        for (const QChar ch : QString::fromUtf8(c.typed))
            list.keyboardSearch(QString(ch));
        EXPECT_EQ(selectedText(&list), QString::fromUtf8(c.selected)) << c.typed;
    }
    list.addPaint(paint("999", "白"));
    EXPECT_EQ(list.item(0)->text(), QStringLiteral("白")); // bai before da
}

} // namespace
} // namespace pigmora::test
