#include "manage/managetestsupport.h"

#include "data/standardcolorcard.h"
#include "main/mixtexts.h"
#include "manage/addgroupcolor.h"
#include "main/recordedmixesdialog.h"
#include "manage/colorgroupmanager.h"
#include "manage/paintlistwidget.h"
#include "store/faultinjection.h"

#include <QApplication>
#include <QClipboard>
#include <QCollator>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTableWidget>
#include <QTest>

#include <fstream>

namespace pigmora::test {
namespace {

using ui::TForm_addGroupColor;
using ui::TForm_colorGroupManager;

const std::string kOil = "油画颜色";

class ColorGroupManagerTest : public ManageTest
{
protected:
    QListWidget *list(QWidget &window) { return findControl<QListWidget>(&window, "ListBox_color"); }

    // Selects the entry with the name as a click does.
    void clickEntry(QWidget &window, const QString &name)
    {
        QListWidget *paints = list(window);
        const auto found = paints->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        paints->setCurrentItem(found.first());
        Q_EMIT paints->itemClicked(found.first());
    }

    bool fileHolds(const std::string &group, const std::string &name)
    {
        PaintColorRecord found;
        return freshColors()->findGroupColor(group, name, found);
    }

    CStandardColorCard cards;
};

TEST_F(ColorGroupManagerTest, OpensOnOilPaintsInPinyinOrderWithTheFirstSelected)
{
    TForm_colorGroupManager window(*colors, &cards, &notifier);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("色谱设置"));
    EXPECT_EQ(findControl<QComboBox>(&window, "ComboBox_groupName")->currentText(), QString::fromStdString(kOil));
    const QStringList shown = listTexts(list(window));
    int oilPaints = 0;
    for (const PaintColorRecord &paint : colors->catalogueRecords())
        oilPaints += paint.group() == 0;
    ASSERT_EQ(shown.size(), oilPaints);
    QStringList sorted = shown;
    QCollator pinyin(QLocale(QLocale::Chinese, QLocale::China));
    std::stable_sort(sorted.begin(), sorted.end(), [&](const QString &a, const QString &b) { return pinyin(a, b); });
    EXPECT_EQ(shown, sorted);
    // Pinyin, not code points: 白 (bai) before 大 (da) though U+767D > U+5927.
    EXPECT_LT(shown.indexOf(QStringLiteral("白色")), shown.indexOf(QStringLiteral("大红")));
    EXPECT_EQ(list(window)->currentRow(), 0);
}

TEST_F(ColorGroupManagerTest, ButtonsFollowTheOriginFlagOfTheClickedPaint)
{
    ASSERT_TRUE(colors->addGroupColor(kOil, "锁定色", "", {1, 2, 3}, 1.0f, 2, PaintColorRecord::kOriginLocked));
    ASSERT_TRUE(colors->addGroupColor(kOil, "用户色", "", {1, 2, 3}, 1.0f, 2, PaintColorRecord::kOriginUser));
    TForm_colorGroupManager window(*colors, &cards, &notifier);
    auto *modify = findControl<QAbstractButton>(&window, "bbtn_modifyColorItem");
    auto *remove = findControl<QAbstractButton>(&window, "bbtn_deleteColorItem");
    EXPECT_TRUE(modify->isEnabled() && remove->isEnabled()); // before any click
    struct Case {
        const char *name;
        bool modify;
        bool remove;
    };
    for (const Case &c : {Case{"大红", true, false}, Case{"用户色", true, true}, Case{"锁定色", false, false},
                          Case{"用户色", true, true}}) {
        clickEntry(window, QString::fromUtf8(c.name));
        EXPECT_EQ(modify->isEnabled(), c.modify) << c.name;
        EXPECT_EQ(remove->isEnabled(), c.remove) << c.name;
    }
}

TEST_F(ColorGroupManagerTest, ColourEditsTakeDigitsOnlyAndClampWhatTheyHold)
{
    TForm_addGroupColor dialog(*colors, &cards, &notifier);
    dialog.setGroupName(QString::fromStdString(kOil));
    dialog.show();
    auto *red = findControl<QLineEdit>(&dialog, "Edit_red");
    EXPECT_EQ(red->text(), QStringLiteral("179"));
    EXPECT_FALSE(findControl<QLineEdit>(&dialog, "Edit_pantone")->text().isEmpty());

    red->clear(); // counts as 0, and is shown so once the field is left
    EXPECT_EQ(red->text(), QString());
    EXPECT_EQ(dialog.color().red, 0);
    red->setText(QStringLiteral("300"));
    EXPECT_EQ(red->text(), QStringLiteral("255"));
    EXPECT_EQ(dialog.color().red, 255);

    red->clear();
    red->setFocus();
    QTest::keyClicks(red, QStringLiteral("-a 250"));
    EXPECT_EQ(red->text(), QStringLiteral("250"));
    EXPECT_EQ(dialog.color().red, 250);
    red->clear();
    Q_EMIT red->editingFinished();
    EXPECT_EQ(red->text(), QStringLiteral("0"));

    EXPECT_TRUE(dialog.setColorText(QStringLiteral("#0A80ff")));
    EXPECT_EQ(dialog.color(), (RgbColor{10, 128, 255}));
    EXPECT_EQ(findControl<QLineEdit>(&dialog, "Edit_blue")->text(), QStringLiteral("255"));
    for (const char *bad : {"#0A80F", "0A80FG", "", "#0A80FF0"})
        EXPECT_FALSE(dialog.setColorText(QString::fromLatin1(bad))) << bad;
    EXPECT_EQ(dialog.color(), (RgbColor{10, 128, 255}));
}

// Escape cancels, Enter adds and a pasted value goes in, from any channel.
TEST_F(ColorGroupManagerTest, ColourEditsPassEnterEscapeAndPaste)
{
    for (const char *field : {"Edit_red", "Edit_green", "Edit_blue"}) {
        for (const auto &[key, result] :
             {std::pair(Qt::Key_Escape, QDialog::Rejected), std::pair(Qt::Key_Return, QDialog::Accepted)}) {
            TForm_addGroupColor dialog(*colors, &cards, &notifier);
            dialog.setGroupName(QString::fromStdString(kOil));
            dialog.show();
            auto *edit = findControl<QLineEdit>(&dialog, field);
            edit->setFocus();
            edit->selectAll();
            QApplication::clipboard()->setText(QStringLiteral("42"));
            QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
            EXPECT_EQ(edit->text(), QStringLiteral("42")) << field;
            QTest::keyClick(edit, key);
            EXPECT_FALSE(dialog.isVisible()) << field;
            EXPECT_EQ(dialog.result(), result) << field;
        }
    }
}

TEST_F(ColorGroupManagerTest, AddProposesTheSmallestFreeCustomName)
{
    for (const char *taken : {"自定义颜色1", "自定义颜色3"})
        ASSERT_TRUE(colors->addGroupColor(kOil, taken, "", {1, 2, 3}, 1.0f, 2, PaintColorRecord::kOriginUser));
    TForm_addGroupColor dialog(*colors, &cards, &notifier);
    dialog.setGroupName(QString::fromStdString(kOil));
    dialog.show();
    EXPECT_EQ(findControl<QLineEdit>(&dialog, "Edit_colorName")->text(), QStringLiteral("自定义颜色2"));
}

struct NameCase {
    const char *typed;
    const char *message; // the last message; empty when none
    bool added;
    const char *stored; // the name the group file keeps
    bool cutAsked = false; // asked first whether to store it cut, answered...
    bool answer = true;
};

class AddedNames : public ColorGroupManagerTest, public ::testing::WithParamInterface<NameCase>
{ };

TEST_P(AddedNames, AreCheckedBeforeTheStoreSeesThem)
{
    const NameCase c = GetParam();
    TForm_addGroupColor dialog(*colors, &cards, &notifier);
    dialog.setGroupName(QString::fromStdString(kOil));
    dialog.show();
    findControl<QLineEdit>(&dialog, "Edit_colorName")->setText(QString::fromUtf8(c.typed));
    notifier.scriptAnswers({c.answer});
    click(&dialog, "bbtn_ok");
    ASSERT_FALSE(notifier.messages().empty());
    EXPECT_EQ(notifier.messages().back().text, c.message);
    EXPECT_EQ(notifier.messages().front().question, c.cutAsked);
    EXPECT_EQ(dialog.changed(), c.added);
    EXPECT_EQ(dialog.isVisible(), !c.added);
    if (c.added) {
        EXPECT_TRUE(fileHolds(kOil, c.stored));
    }
}

constexpr const char *kCutTo10 = "名称超过 20 个字节，将保存为 \"一二三四五六七八九十\"。是否继续?";

INSTANTIATE_TEST_SUITE_P(
    Dialog, AddedNames,
    ::testing::Values(NameCase{"  \t ", "颜色名称不能为空!", false, ""},
                      NameCase{"大红", "色谱中同名颜色存在!", false, ""},
                      NameCase{" 大红\n", "色谱中同名颜色存在!", false, ""},
                      NameCase{"笑脸😀", "名称中含有不能保存的字符!", false, ""},
                      NameCase{" 我的红 ", "增加色谱颜色成功!", true, "我的红"},
                      // 11 characters of 2 bytes: the record keeps the first 10, when the user agrees.
                      NameCase{"一二三四五六七八九十百", "增加色谱颜色成功!", true, "一二三四五六七八九十", true},
                      NameCase{"一二三四五六七八九十百", kCutTo10, false, "", true, false},
                      NameCase{"abc一二三四五六七八九", "增加色谱颜色成功!", true, "abc一二三四五六七八", true}));

TEST_F(ColorGroupManagerTest, AnAddedPaintIsListedAndReportedChanged)
{
    TForm_colorGroupManager window(*colors, &cards, &notifier);
    const auto answered = whenModalShown([](QWidget *dialog) {
        findControl<QLineEdit>(dialog, "Edit_colorName")->setText(QStringLiteral("我的红"));
        click(dialog, "bbtn_ok");
    });
    click(&window, "bbtn_addColorItem");
    EXPECT_TRUE(window.changed());
    EXPECT_TRUE(listTexts(list(window)).contains(QStringLiteral("我的红")));
}

TEST_F(ColorGroupManagerTest, ModifyChangesTheColourAndKeepsNameAndEnglishName)
{
    PaintColorRecord before;
    ASSERT_TRUE(colors->findGroupColor(kOil, "大红", before));
    TForm_colorGroupManager window(*colors, &cards, &notifier);
    clickEntry(window, QStringLiteral("大红"));
    const auto answered = whenModalShown([&](QWidget *dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("修改色谱颜色"));
        auto *name = findControl<QLineEdit>(dialog, "Edit_colorName");
        EXPECT_FALSE(name->isEnabled());
        EXPECT_EQ(findControl<QLineEdit>(dialog, "Edit_green")->text().toInt(), before.color().green);
        findControl<QLineEdit>(dialog, "Edit_red")->setText(QStringLiteral("12"));
        click(dialog, "bbtn_ok");
    });
    click(&window, "bbtn_modifyColorItem");
    EXPECT_EQ(notifier.texts(), std::vector<std::string>{"修改色谱颜色成功!"});
    EXPECT_TRUE(window.changed());
    PaintColorRecord after;
    ASSERT_TRUE(freshColors()->findGroupColor(kOil, "大红", after));
    EXPECT_EQ(after.color(), (RgbColor{12, before.color().green, before.color().blue}));
    EXPECT_EQ(after.englishName(), before.englishName());
    EXPECT_EQ(after.origin(), before.origin());
}

TEST_F(ColorGroupManagerTest, DeleteAskedNoChangesNothing)
{
    ASSERT_TRUE(colors->addGroupColor(kOil, "用户色", "", {1, 2, 3}, 1.0f, 2, PaintColorRecord::kOriginUser));
    TForm_colorGroupManager window(*colors, &cards, &notifier);
    clickEntry(window, QStringLiteral("用户色"));
    click(&window, "bbtn_deleteColorItem");
    ASSERT_EQ(notifier.messages().size(), 1u);
    EXPECT_TRUE(notifier.messages()[0].question);
    EXPECT_EQ(notifier.messages()[0].text, "是否删除色谱颜色 \"用户色\" 吗?");
    EXPECT_FALSE(window.changed());
    EXPECT_TRUE(fileHolds(kOil, "用户色"));
}

TEST_F(ColorGroupManagerTest, DeleteOfAPaintInABoxShowsTheRefusalThenTheFailure)
{
    ASSERT_TRUE(colors->addGroupColor(kOil, "用户色", "", {1, 2, 3}, 1.0f, 2, PaintColorRecord::kOriginUser));
    PaintColorRecord paint;
    ASSERT_TRUE(colors->findGroupColor(kOil, "用户色", paint));
    ASSERT_TRUE(colors->loadColorBox("我的颜色盒"));
    ASSERT_TRUE(colors->addToCurrentBox(platform::gbkToUtf8(paint.code()), "用户色"));
    ASSERT_TRUE(colors->saveCurrentColorBox());
    TForm_colorGroupManager window(*colors, &cards, &notifier);
    const QStringList before = listTexts(list(window));
    clickEntry(window, QStringLiteral("用户色"));
    notifier.scriptAnswers({true});
    click(&window, "bbtn_deleteColorItem");
    EXPECT_EQ(notifier.texts(),
              (std::vector<std::string>{"是否删除色谱颜色 \"用户色\" 吗?", "色谱颜色在颜色盒中存在，不能删除!",
                                        "删除色谱颜色失败!"}));
    EXPECT_EQ(listTexts(list(window)), before);
    EXPECT_FALSE(window.changed());
}

TEST_F(ColorGroupManagerTest, DeleteOfAUserPaintRemovesItFromListAndFile)
{
    ASSERT_TRUE(colors->addGroupColor(kOil, "用户色", "", {1, 2, 3}, 1.0f, 2, PaintColorRecord::kOriginUser));
    TForm_colorGroupManager window(*colors, &cards, &notifier);
    clickEntry(window, QStringLiteral("用户色"));
    notifier.scriptAnswers({true});
    click(&window, "bbtn_deleteColorItem");
    EXPECT_EQ(notifier.texts().back(), "删除色谱颜色成功!");
    EXPECT_TRUE(window.changed());
    EXPECT_FALSE(listTexts(list(window)).contains(QStringLiteral("用户色")));
    EXPECT_FALSE(fileHolds(kOil, "用户色"));
}

TEST_F(ColorGroupManagerTest, AFailedWriteLeavesListAndFileAsTheyWere)
{
    TForm_colorGroupManager window(*colors, &cards, &notifier);
    const QStringList before = listTexts(list(window));
    {
        FaultInjection faults;
        faults.failWritesFrom(0);
        TForm_addGroupColor dialog(*colors, &cards, &notifier, &window);
        dialog.setGroupName(QString::fromStdString(kOil));
        dialog.show();
        findControl<QLineEdit>(&dialog, "Edit_colorName")->setText(QStringLiteral("我的红"));
        click(&dialog, "bbtn_ok");
        EXPECT_EQ(notifier.texts().back(), "增加色谱颜色失败!");
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_FALSE(dialog.changed());
    }
    window.ComboBox_groupNameChange();
    EXPECT_EQ(listTexts(list(window)), before);
    EXPECT_FALSE(fileHolds(kOil, "我的红"));
}

TEST_F(ColorGroupManagerTest, ImportAddsTheGoodRowsAndSummarisesTheRefusals)
{
    const auto csv = dir / "maker.csv";
    std::ofstream(csv) << "name,r,g,b\n"
                          "镉黄深,250,180,0\n"
                          "大红,1,2,3\n"
                          "紫,300,0,0\n"
                          " ,1,2,3\n"
                          "笑脸😀,1,2,3\n"
                          "\"钴蓝, 仿\",0,71,171\n"
                          "缺,1,2\n"
                          "\"x\ny\",1,2,3\n";
    TForm_colorGroupManager window(*colors, &cards, &notifier);
    window.importPaintList(QString::fromStdString(csv.string()));
    ASSERT_EQ(notifier.messages().size(), 1u);
    const std::string summary = notifier.messages()[0].text;
    EXPECT_EQ(notifier.messages()[0].icon, MessageIcon::Warning);
    for (const char *expected :
         {"已增加 2 种颜料到 油画颜色，6 行被拒绝。", "第 2 行: 镉黄深", "第 7 行: 钴蓝, 仿",
          "第 3 行 大红: 色谱中同名颜色存在!", "第 4 行 紫: r、g、b 须为 0 到 255 的整数", "第 5 行: 颜色名称不能为空!",
          "第 6 行 笑脸😀: 名称中含有不能保存的字符!", "第 8 行: 应有 4 项 (名称,r,g,b)，实有 3 项",
          "第 9 行 x...: 名称中含有控制字符 (U+000A)!"})
        EXPECT_NE(summary.find(expected), std::string::npos) << expected << "\n" << summary;
    EXPECT_TRUE(window.changed());
    EXPECT_TRUE(listTexts(list(window)).contains(QStringLiteral("镉黄深")));
    EXPECT_TRUE(fileHolds(kOil, "钴蓝, 仿"));

    // A failed write adds none of the rows.
    notifier.clear();
    std::ofstream(csv) << "name,r,g,b\n新色,1,2,3\n";
    {
        FaultInjection faults;
        faults.failWritesFrom(0);
        window.importPaintList(QString::fromStdString(csv.string()));
    }
    ASSERT_FALSE(notifier.messages().empty());
    const auto &failed = notifier.messages().back(); // after the store's own report
    EXPECT_EQ(failed.icon, MessageIcon::Error);
    EXPECT_TRUE(failed.text.starts_with("增加色谱颜色失败!")) << failed.text;
    EXPECT_FALSE(fileHolds(kOil, "新色"));

    notifier.clear();
    window.importPaintList(QString::fromStdString((dir / "missing.csv").string()));
    ASSERT_EQ(notifier.messages().size(), 1u);
    EXPECT_TRUE(notifier.messages()[0].text.starts_with("不能读入颜料表: ")) << notifier.messages()[0].text;
}

// The selected paint's strength learnt from the recorded mixes, read-only.
TEST_F(ColorGroupManagerTest, ShowsTheStrengthLearntForTheSelectedPaint)
{
    TForm_colorGroupManager before(*colors, &cards, &notifier);
    const PaintColorRecord first = findControl<ui::PaintListWidget>(&before, "ListBox_color")->paintAt(0);
    const PaintColorRecord second = findControl<ui::PaintListWidget>(&before, "ListBox_color")->paintAt(1);
    Observation observation;
    observation.measured = {200, 180, 120};
    observation.paints = {observedPaint(first, 1), observedPaint(second, 2)};
    ASSERT_TRUE(ObservationStore(dir.path()).add(observation));
    const auto learnt = StoredStrengths::fit(std::vector<Observation>{observation});

    TForm_colorGroupManager window(*colors, &cards, &notifier);
    auto *strength = findControl<QLabel>(&window, "Label_paintStrength");
    EXPECT_EQ(strength->text(), ui::strengthText(learnt.of(first.group(), utf8(first.code()))));
    EXPECT_TRUE(strength->text().contains(QStringLiteral("1 次混色")));
    const QString third = list(window)->item(2)->text();
    clickEntry(window, third);
    EXPECT_EQ(strength->text(), QStringLiteral("着色力 1 (尚无记录的混色)"));
}

// "查看…" opens the recorded mixes of the selected paint; forgetting one
// there updates the strength shown here.
TEST_F(ColorGroupManagerTest, ViewsAndForgetsTheMixesOfTheSelectedPaint)
{
    TForm_colorGroupManager window(*colors, &cards, &notifier);
    auto *paints = findControl<ui::PaintListWidget>(&window, "ListBox_color");
    const PaintColorRecord first = paints->paintAt(0);
    const PaintColorRecord second = paints->paintAt(1);
    const PaintColorRecord third = paints->paintAt(2);
    const ObservationStore store(dir.path());
    ASSERT_TRUE(store.add({{200, 180, 120}, {observedPaint(first, 1), observedPaint(second, 2)}, 0}));
    ASSERT_TRUE(store.add({{90, 80, 70}, {observedPaint(second, 1), observedPaint(third, 1)}, 0}));
    ASSERT_TRUE(store.add({{100, 90, 90}, {observedPaint(third, 2), observedPaint(first, 1)}, 0}));

    click(&window, "Button_viewMixes");
    ui::RecordedMixesDialog *mixes = window.recordedMixesDialog();
    ASSERT_TRUE(mixes && mixes->isVisible());
    EXPECT_EQ(mixes->shownNumbers(), (std::vector<int>{1, 3}));

    findControl<QTableWidget>(mixes, "Table_mixes")->selectRow(0);
    const ModalAnswer confirm = whenModalShown(
        [](QWidget *box) { qobject_cast<QMessageBox *>(box)->button(QMessageBox::Yes)->click(); });
    click(mixes, "Button_forget");
    EXPECT_TRUE(confirm.answered());
    EXPECT_EQ(store.load()->size(), 2u);
    EXPECT_EQ(mixes->shownNumbers(), (std::vector<int>{2}));
    EXPECT_TRUE(findControl<QLabel>(&window, "Label_paintStrength")->text().contains(QStringLiteral("1 次混色")));
}

} // namespace
} // namespace pigmora::test
