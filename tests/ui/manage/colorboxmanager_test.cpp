#include "manage/managetestsupport.h"

#include "manage/colorboxmanager.h"
#include "manage/colorboxnamedialogs.h"
#include "manage/handovers.h"
#include "manage/setcolorbox.h"
#include "store/faultinjection.h"

#include <QComboBox>
#include <QLineEdit>

namespace pigmora::test {
namespace {

using ui::TForm_colorBoxManager;
using ui::TForm_colorBoxRename;
using ui::TForm_createColorBox;
using ui::TForm_setColorBox;

class ColorBoxManagerTest : public ManageTest
{
protected:
    QListWidget *boxList(QWidget &window) { return findControl<QListWidget>(&window, "ListBox_colorBoxList"); }

    void selectBox(QWidget &window, const QString &name)
    {
        const auto found = boxList(window)->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        boxList(window)->setCurrentItem(found.first());
    }

    // The paints a box holds in the file, as names.
    QStringList boxPaints(const std::string &box)
    {
        auto fresh = freshColors();
        EXPECT_TRUE(fresh->loadColorBox(box));
        QStringList names;
        for (const PaintColorRecord &paint : fresh->currentBoxRecords())
            names << QString::fromStdString(platform::gbkToUtf8(paint.name()));
        names.sort();
        return names;
    }
};

TEST_F(ColorBoxManagerTest, TheListSelectsMyBoxAfterEveryChange)
{
    TForm_colorBoxManager window(*colors, &notifier);
    window.refreshColorBoxList();
    EXPECT_EQ(listTexts(boxList(window)), qtList(boxNames()));
    EXPECT_EQ(selectedText(boxList(window)), QStringLiteral("我的颜色盒"));

    const auto answered = whenModalShown([](QWidget *dialog) { click(dialog, "BitBtn_ok"); });
    click(&window, "BitBtn_createBox");
    EXPECT_TRUE(listTexts(boxList(window)).contains(QStringLiteral("新建颜色盒1")));
    EXPECT_EQ(selectedText(boxList(window)), QStringLiteral("我的颜色盒"));

    selectBox(window, QStringLiteral("新建颜色盒1"));
    const auto answered2 = whenModalShown([](QWidget *dialog) {
        findControl<QLineEdit>(dialog, "Edit_newColorBoxName")->setText(QStringLiteral(" 调色盒 "));
        click(dialog, "BitBtn_ok");
    });
    click(&window, "BitBtn_renameBox");
    EXPECT_TRUE(listTexts(boxList(window)).contains(QStringLiteral("调色盒")));
    EXPECT_EQ(selectedText(boxList(window)), QStringLiteral("我的颜色盒"));

    selectBox(window, QStringLiteral("调色盒"));
    notifier.scriptAnswers({true});
    click(&window, "BitBtn_deleteBox");
    EXPECT_EQ(notifier.texts(), (std::vector<std::string>{"是否删除颜色盒 \"调色盒\" 吗?", "删除颜色盒成功!"}));
    EXPECT_EQ(listTexts(boxList(window)), qtList(boxNames()));
    EXPECT_EQ(selectedText(boxList(window)), QStringLiteral("我的颜色盒"));
    EXPECT_TRUE(window.changed()); // the main window refreshes its box selector
}

TEST_F(ColorBoxManagerTest, SystemBoxesAreRefusedWithoutAQuestion)
{
    TForm_colorBoxManager window(*colors, &notifier);
    window.refreshColorBoxList();
    for (const char *box : {"我的颜色盒", "12色水粉颜色盒", "国画颜色盒"}) {
        for (const auto &[button, message] : {std::pair{"BitBtn_deleteBox", "不能删除系统颜色盒!"},
                                              std::pair{"BitBtn_renameBox", "系统颜色盒不能改名!"}}) {
            notifier.clear();
            selectBox(window, QString::fromUtf8(box));
            click(&window, button);
            ASSERT_EQ(notifier.messages().size(), 1u) << box << " " << button;
            EXPECT_EQ(notifier.messages()[0].text, message);
            EXPECT_EQ(notifier.messages()[0].icon, MessageIcon::Information);
        }
    }
    EXPECT_EQ(listTexts(boxList(window)), qtList(boxNames()));
    EXPECT_FALSE(window.changed());
}

TEST_F(ColorBoxManagerTest, CreateProposesTheFirstFreeNumber)
{
    for (const char *expected : {"新建颜色盒1", "新建颜色盒2", "新建颜色盒3"}) {
        TForm_createColorBox dialog(*colors, &notifier);
        dialog.show();
        EXPECT_EQ(findControl<QLineEdit>(&dialog, "Edit_colorBoxName")->text(), QString::fromUtf8(expected));
        ASSERT_TRUE(colors->createColorBox(0, expected));
    }
}

struct BoxNameCase {
    const char *typed;
    const char *message; // empty when accepted
    const char *stored;
    const char *question = ""; // asked before storing it cut (answered Yes)
};

class CreatedBoxNames : public ColorBoxManagerTest, public ::testing::WithParamInterface<BoxNameCase>
{ };

TEST_P(CreatedBoxNames, AreCheckedAsTheFileWillKeepThem)
{
    const BoxNameCase c = GetParam();
    // 16 characters of 2 bytes: the file keeps 15 of them (31 bytes).
    ASSERT_TRUE(colors->createColorBox(1, "一二三四五六七八九十甲乙丙丁戊"));
    TForm_createColorBox dialog(*colors, &notifier);
    dialog.show();
    findControl<QComboBox>(&dialog, "ComboBox_groupName")->setCurrentIndex(4);
    auto *name = findControl<QLineEdit>(&dialog, "Edit_colorBoxName");
    name->setText(QString::fromUtf8(c.typed));
    notifier.scriptAnswers({true});
    click(&dialog, "BitBtn_ok");
    if (*c.message) {
        EXPECT_EQ(notifier.texts(), std::vector<std::string>{c.message});
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.focusWidget(), name);
        EXPECT_FALSE(dialog.changed());
        return;
    }
    EXPECT_EQ(notifier.texts(), *c.question ? std::vector<std::string>{c.question} : std::vector<std::string>{});
    EXPECT_TRUE(dialog.changed());
    ASSERT_TRUE(colors->loadColorBox(c.stored));
    EXPECT_EQ(colors->currentColorBoxName(), c.stored);
    EXPECT_EQ(colors->currentColorBoxGroup(), 4);
}

INSTANTIATE_TEST_SUITE_P(
    Dialog, CreatedBoxNames,
    ::testing::Values(BoxNameCase{" \t", "颜色盒名称不能为空!", ""},
                      BoxNameCase{"我的颜色盒", "相同名称的颜色盒已经存在!", ""},
                      BoxNameCase{"调色😀", "名称中含有不能保存的字符!", ""},
                      // Differs only after the 31 bytes the file keeps: the same box.
                      BoxNameCase{"一二三四五六七八九十甲乙丙丁戊己", "相同名称的颜色盒已经存在!", ""},
                      // Cut to 31 bytes it ends in a blank, which goes too.
                      BoxNameCase{"一二三四五六七八九十甲乙丙丁戊 x", "相同名称的颜色盒已经存在!", ""},
                      BoxNameCase{"  水粉盒  ", "", "水粉盒"},
                      BoxNameCase{"a一二三四五六七八九十甲乙丙丁戊己", "", "a一二三四五六七八九十甲乙丙丁戊",
                                  "名称超过 31 个字节，将保存为 \"a一二三四五六七八九十甲乙丙丁戊\"。是否继续?"}));

TEST_F(ColorBoxManagerTest, ANameToBeCutIsNotStoredWithoutConsent)
{
    TForm_createColorBox dialog(*colors, &notifier);
    dialog.show();
    auto *name = findControl<QLineEdit>(&dialog, "Edit_colorBoxName");
    name->setText(QStringLiteral("a一二三四五六七八九十甲乙丙丁戊己"));
    click(&dialog, "BitBtn_ok"); // answered No
    EXPECT_EQ(notifier.messages().size(), 1u);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.focusWidget(), name);
    EXPECT_FALSE(dialog.changed());
    EXPECT_FALSE(colors->colorBoxExists("a一二三四五六七八九十甲乙丙丁戊"));
}

TEST_F(ColorBoxManagerTest, RenameToItsOwnNameIsRefused)
{
    ASSERT_TRUE(colors->createColorBox(0, "调色盒"));
    TForm_colorBoxRename dialog(*colors, &notifier);
    dialog.setOldName(QStringLiteral("调色盒"));
    dialog.show();
    findControl<QLineEdit>(&dialog, "Edit_newColorBoxName")->setText(QStringLiteral("调色盒"));
    click(&dialog, "BitBtn_ok");
    EXPECT_EQ(notifier.texts(), std::vector<std::string>{"相同名称的颜色盒已经存在!"});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.changed());
}

TEST_F(ColorBoxManagerTest, AFailedRenameSaysSoAndLeavesTheList)
{
    ASSERT_TRUE(colors->createColorBox(0, "调色盒"));
    TForm_colorBoxManager window(*colors, &notifier);
    window.refreshColorBoxList();
    selectBox(window, QStringLiteral("调色盒"));
    {
        FaultInjection faults;
        faults.failWritesFrom(0);
        const auto answered = whenModalShown([](QWidget *dialog) {
            findControl<QLineEdit>(dialog, "Edit_newColorBoxName")->setText(QStringLiteral("水彩盒"));
            click(dialog, "BitBtn_ok");
        });
        click(&window, "BitBtn_renameBox");
    }
    EXPECT_EQ(notifier.texts(), std::vector<std::string>{"颜色盒改名失败!"});
    EXPECT_FALSE(window.changed());
    EXPECT_EQ(listTexts(boxList(window)), qtList(boxNames()));
    EXPECT_TRUE(listTexts(boxList(window)).contains(QStringLiteral("调色盒")));
}

class SetColorBoxTest : public ColorBoxManagerTest
{
protected:
    void SetUp() override
    {
        ColorBoxManagerTest::SetUp();
        dialog = std::make_unique<TForm_setColorBox>(*colors, &notifier);
        dialog->openOnBox(QStringLiteral("我的颜色盒"));
        src = findControl<PaintListWidgetBase>(dialog.get(), "ListBox_src");
        dst = findControl<PaintListWidgetBase>(dialog.get(), "ListBox_dst");
        save = findControl<QAbstractButton>(dialog.get(), "bbtn_save");
        boxes = findControl<QComboBox>(dialog.get(), "ComboBox_GroupName");
    }
    using PaintListWidgetBase = QListWidget;

    // Moves the first candidate into the box; its name.
    QString moveFirstCandidate()
    {
        const QString name = src->item(0)->text();
        src->setCurrentRow(0);
        click(dialog.get(), "bbtn_select");
        return name;
    }

    std::unique_ptr<TForm_setColorBox> dialog;
    QListWidget *src = nullptr;
    QListWidget *dst = nullptr;
    QAbstractButton *save = nullptr;
    QComboBox *boxes = nullptr;
};

TEST_F(SetColorBoxTest, ShowsTheBoxAndTheRestOfItsGroup)
{
    EXPECT_EQ(boxes->currentText(), QStringLiteral("我的颜色盒"));
    EXPECT_EQ(dialog->loadedBoxIndex(), boxes->currentIndex());
    QStringList members = listTexts(dst);
    members.sort();
    EXPECT_EQ(members, boxPaints("我的颜色盒"));
    int oilPaints = 0;
    for (const PaintColorRecord &paint : colors->catalogueRecords())
        oilPaints += paint.group() == 0;
    EXPECT_EQ(src->count() + dst->count(), oilPaints);
    EXPECT_FALSE(save->isEnabled());
}

TEST_F(SetColorBoxTest, SwitchingBoxesAfterMovesAsksToSave)
{
    const QStringList before = boxPaints("我的颜色盒");
    for (const bool yes : {false, true}) {
        boxes->setCurrentIndex(boxes->findText(QStringLiteral("我的颜色盒")));
        notifier.clear();
        const QString moved = moveFirstCandidate();
        EXPECT_TRUE(dialog->isDirty());
        EXPECT_TRUE(save->isEnabled());
        notifier.scriptAnswers({yes});
        boxes->setCurrentIndex(boxes->findText(QStringLiteral("国画颜色盒")));
        EXPECT_EQ(notifier.texts(), std::vector<std::string>{"颜色盒已做了修改，是否保存?"});
        EXPECT_FALSE(dialog->isDirty());
        EXPECT_FALSE(save->isEnabled());
        QStringList shown = listTexts(dst);
        shown.sort();
        EXPECT_EQ(shown, boxPaints("国画颜色盒"));
        EXPECT_EQ(boxPaints("我的颜色盒").contains(moved), yes) << moved.toStdString();
    }
    EXPECT_EQ(boxPaints("我的颜色盒").size(), before.size() + 1);
    EXPECT_FALSE(dialog->changed()); // a save through the question is no "确认"
    EXPECT_TRUE(dialog->savedAny());

    // Without moves nothing is asked.
    notifier.clear();
    boxes->setCurrentIndex(boxes->findText(QStringLiteral("纺织颜色盒")));
    EXPECT_TRUE(notifier.texts().empty());
}

TEST_F(SetColorBoxTest, MovingEverythingEnablesSaveEvenWhenNothingMoved)
{
    click(dialog.get(), "bbtn_unselectAll");
    EXPECT_EQ(dst->count(), 0);
    click(dialog.get(), "bbtn_save");
    EXPECT_FALSE(save->isEnabled());
    click(dialog.get(), "bbtn_unselectAll"); // an empty list
    EXPECT_TRUE(save->isEnabled());
    EXPECT_TRUE(boxPaints("我的颜色盒").isEmpty());
    const int all = src->count();
    click(dialog.get(), "bbtn_selectAll");
    EXPECT_EQ(dst->count(), all);
    EXPECT_EQ(src->count(), 0);
    click(dialog.get(), "bbtn_selectAll");
    EXPECT_TRUE(save->isEnabled());
}

TEST_F(SetColorBoxTest, SaveThenOkClosesUnchangedButTheFileIsWritten)
{
    const QString moved = moveFirstCandidate();
    click(dialog.get(), "bbtn_save");
    EXPECT_TRUE(boxPaints("我的颜色盒").contains(moved));
    click(dialog.get(), "bbtn_ok");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->changed());
    EXPECT_TRUE(dialog->savedAny());
}

TEST_F(SetColorBoxTest, OkWithUnsavedMovesSavesAndSetsChanged)
{
    const QString moved = moveFirstCandidate();
    click(dialog.get(), "bbtn_ok");
    EXPECT_TRUE(dialog->changed());
    EXPECT_TRUE(boxPaints("我的颜色盒").contains(moved));
}

TEST_F(SetColorBoxTest, HandOverReportsASaveSoTheMainWindowReloads)
{
    for (const bool saved : {false, true}) {
        const auto answered = whenModalShown([saved](QWidget *shown) {
            findControl<QListWidget>(shown, "ListBox_src")->setCurrentRow(0);
            click(shown, "bbtn_select");
            click(shown, saved ? "bbtn_save" : "bbtn_cancel");
            if (saved)
                click(shown, "bbtn_ok");
        });
        EXPECT_EQ(ui::runSetColorBox(nullptr, dir.path(), &notifier), saved);
    }
}

TEST_F(SetColorBoxTest, CancelDiscardsMoves)
{
    const QStringList before = boxPaints("我的颜色盒");
    moveFirstCandidate();
    click(dialog.get(), "bbtn_cancel");
    EXPECT_FALSE(dialog->changed());
    EXPECT_EQ(boxPaints("我的颜色盒"), before);
    EXPECT_TRUE(notifier.texts().empty());
}

// Another program saved this box (and another one) since the dialog loaded
// it: "确认" asks, and whatever the answer the other box stays as they left it.
TEST_F(SetColorBoxTest, ABoxSavedElsewhereSinceLoadedIsNeverOverwrittenUnasked)
{
    enum Answer : std::size_t { KeepMine, TakeTheirs, Cancel };
    for (const Answer answer : {KeepMine, TakeTheirs, Cancel}) {
        SCOPED_TRACE(answer);
        dialog = std::make_unique<TForm_setColorBox>(*colors, &notifier);
        dialog->openOnBox(QStringLiteral("我的颜色盒"));
        dst = findControl<QListWidget>(dialog.get(), "ListBox_dst");
        src = findControl<QListWidget>(dialog.get(), "ListBox_src");
        auto other = freshColors();
        for (const char *box : {"我的颜色盒", "国画颜色盒"}) {
            // Their box: one paint of its group, another one each round.
            ASSERT_TRUE(other->loadColorBox(box));
            std::vector<PaintColorRecord> group;
            for (const PaintColorRecord &paint : other->catalogueRecords())
                if (paint.group() == other->currentColorBoxGroup())
                    group.push_back(paint);
            const PaintColorRecord &kept = group.at(answer);
            other->clearCurrentBox();
            ASSERT_TRUE(other->addToCurrentBox(platform::gbkToUtf8(kept.code()), platform::gbkToUtf8(kept.name())));
            ASSERT_TRUE(other->saveCurrentColorBox());
        }
        const QStringList theirs = boxPaints("我的颜色盒");
        const QStringList theirOtherBox = boxPaints("国画颜色盒");
        const QString moved = moveFirstCandidate();
        QStringList mine = listTexts(dst);
        mine.sort();
        notifier.clear();
        notifier.scriptChoices({answer});
        click(dialog.get(), "bbtn_ok");
        ASSERT_EQ(notifier.texts().size(), 1u);
        EXPECT_NE(notifier.texts().front().find("颜色盒“我的颜色盒”"), std::string::npos);
        EXPECT_EQ(dialog->result() == QDialog::Accepted, answer == KeepMine);
        EXPECT_EQ(boxPaints("我的颜色盒"), answer == KeepMine ? mine : theirs);
        QStringList shown = listTexts(dst);
        shown.sort();
        EXPECT_EQ(shown, answer == Cancel ? mine : boxPaints("我的颜色盒"));
        EXPECT_EQ(dialog->isDirty(), answer == Cancel);
        EXPECT_EQ(boxPaints("国画颜色盒"), theirOtherBox);
        ASSERT_TRUE(mine.contains(moved));
    }
}

TEST_F(SetColorBoxTest, AFailedSaveKeepsTheMovesOnScreen)
{
    const QStringList before = boxPaints("我的颜色盒");
    const QString moved = moveFirstCandidate();
    {
        FaultInjection faults;
        faults.failWritesFrom(0);
        click(dialog.get(), "bbtn_ok");
    }
    // The reason follows the refusal.
    EXPECT_TRUE(notifier.texts().back().starts_with("保存颜色盒设置失败!\n")) << notifier.texts().back();
    EXPECT_NE(notifier.texts().back().find("磁盘已满"), std::string::npos) << notifier.texts().back();
    EXPECT_TRUE(dialog->isDirty());
    EXPECT_TRUE(save->isEnabled());
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(listTexts(dst).contains(moved));
    EXPECT_EQ(boxPaints("我的颜色盒"), before);
}

TEST_F(SetColorBoxTest, AFailedSaveWhileSwitchingBoxesKeepsTheMoves)
{
    const QStringList before = boxPaints("我的颜色盒");
    const QString moved = moveFirstCandidate();
    notifier.scriptAnswers({true});
    {
        FaultInjection faults;
        faults.failWritesFrom(0);
        boxes->setCurrentText(QStringLiteral("12色油画颜色盒"));
    }
    ASSERT_EQ(notifier.texts().size(), 2u);
    EXPECT_EQ(notifier.texts().front(), "颜色盒已做了修改，是否保存?");
    EXPECT_TRUE(notifier.texts().back().starts_with("保存颜色盒设置失败!\n")) << notifier.texts().back();
    EXPECT_EQ(boxes->currentText(), QStringLiteral("我的颜色盒"));
    EXPECT_TRUE(dialog->isDirty());
    EXPECT_TRUE(listTexts(dst).contains(moved));
    EXPECT_EQ(boxPaints("我的颜色盒"), before);
    click(dialog.get(), "bbtn_save"); // the moves can still be saved
    EXPECT_TRUE(boxPaints("我的颜色盒").contains(moved));
}

} // namespace
} // namespace pigmora::test
