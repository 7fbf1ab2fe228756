// Walks every window and dialog of the desktop program and collects the texts
// it shows: in English none may hold Chinese except the stored names of the
// data (paints, boxes, groups, palettes); in Chinese they are the source
// texts, unchanged.
#include "data/builtincatalogue.h"
#include "data/platform.h"
#include "data/records.h"
#include "main/application.h"
#include "main/language.h"
#include "main/messageboxnotifier.h"
#include "main/messagetext.h"
#include "main/uitext.h"
#include "mainwindowfixture.h"
#include "engine/photocorrection.h"
#include "image/picturesampler.h"
#include "store/datafolder.h"
#include "store/defaultdata.h"
#include "store/folderlock.h"
#include "store/gimppalette.h"
#include "store/safefile.h"
#include "store/tablefile.h"
#include "support/uitestsupport.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTranslator>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

namespace pigmora::test {
namespace {

using ui::fromUtf8;

// Every text a widget tree shows: titles, labels, buttons, tooltips, menus
// and actions, combo and list items, table headers and cells.
void collect(QWidget *root, QStringList &texts)
{
    QList<QWidget *> widgets = root->findChildren<QWidget *>();
    widgets.prepend(root);
    for (QWidget *w : widgets) {
        if (w->isWindow())
            texts << w->windowTitle();
        texts << w->toolTip();
        if (auto *label = qobject_cast<QLabel *>(w))
            texts << label->text();
        if (auto *button = qobject_cast<QAbstractButton *>(w))
            texts << button->text();
        if (auto *group = qobject_cast<QGroupBox *>(w))
            texts << group->title();
        if (auto *edit = qobject_cast<QLineEdit *>(w))
            texts << edit->placeholderText() << edit->text();
        if (auto *menu = qobject_cast<QMenu *>(w))
            texts << menu->title();
        if (auto *bar = qobject_cast<QProgressBar *>(w))
            texts << bar->format();
        if (auto *combo = qobject_cast<QComboBox *>(w))
            for (int n = 0; n < combo->count(); ++n)
                texts << combo->itemText(n);
        if (auto *view = qobject_cast<QAbstractItemView *>(w); view && view->model()) {
            const QAbstractItemModel *model = view->model();
            for (int c = 0; c < model->columnCount(); ++c)
                texts << model->headerData(c, Qt::Horizontal).toString();
            for (int r = 0; r < model->rowCount(); ++r)
                for (int c = 0; c < model->columnCount(); ++c)
                    texts << model->index(r, c).data().toString() << model->index(r, c).data(Qt::ToolTipRole).toString();
        }
        for (QAction *action : w->actions())
            texts << action->text() << action->toolTip();
    }
    for (QAction *action : root->findChildren<QAction *>())
        texts << action->text() << action->toolTip();
    texts.removeAll(QString());
}

// The names the data files hold, longest first (so a long name is taken
// out before a shorter one inside it).
QStringList storedNames()
{
    QStringList names;
    for (const BuiltInPaint &paint : builtInPaints())
        names << fromUtf8(paint.name);
    for (const PaintKey &paint : provisionalBoxPaints())
        names << fromUtf8(paint.name);
    for (int group = 0; group < kColorGroupCount; ++group)
        names << fromUtf8(colorGroupNameOf(group));
    for (const DefaultColorBox &box : defaultColorBoxes()) {
        names << fromUtf8(box.name);
        for (const PaintKey &paint : box.paints)
            names << fromUtf8(paint.name);
    }
    for (const DefaultPalette &palette : defaultPalettes())
        names << fromUtf8(palette.name);
    // The language menu names each language in its own tongue.
    names << QStringLiteral("中文") << QStringLiteral("语言");
    // The store's name for a colour the user mixed ("自定义颜色" and a number).
    names << QStringLiteral("自定义颜色");
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) { return a.size() > b.size(); });
    return names;
}

void removeTranslators()
{
    for (QTranslator *translator : QCoreApplication::instance()->findChildren<QTranslator *>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

// Chinese characters and the full-width punctuation Chinese texts use.
bool holdsChinese(const QString &text)
{
    static const QRegularExpression chinese(QStringLiteral("[\\x{3000}-\\x{303f}\\x{3400}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
    return text.contains(chinese);
}

class LanguageWalk : public MainWindowFixture
{
protected:
    void TearDown() override { removeTranslators(); }

    static void install(ui::UiLanguage language)
    {
        EXPECT_FALSE(ui::installTranslations(*QCoreApplication::instance(), language, PIGMORA_UI_BUILD_DIR).empty());
    }

    // Opens a modal dialog by open(), collects its texts, runs more on it
    // (nested dialogs), then closes it.
    void walkModal(QStringList &texts, const std::function<void()> &open,
                   const std::function<void(QWidget *)> &more = {})
    {
        const auto answered = whenModalShown([&](QWidget *dialog) {
            collect(dialog, texts);
            if (more)
                more(dialog);
            if (!dialog->isVisible())
                return;
            if (auto *d = qobject_cast<QDialog *>(dialog))
                d->reject();
            else
                dialog->close();
        });
        open();
    }

    // Creates an entry by the dialog that button opens and selects it.
    void createAndSelect(QStringList &texts, QWidget *manager, const char *button, const QString &name)
    {
        walkModal(texts, [&] { findControl<QPushButton>(manager, button)->click(); },
                  [&](QWidget *dialog) {
                      QList<QLineEdit *> edits = dialog->findChildren<QLineEdit *>();
                      ASSERT_FALSE(edits.isEmpty());
                      edits.back()->setText(name);
                      findControl<QPushButton>(dialog, "BitBtn_ok")->click();
                  });
        auto *list = manager->findChild<QListWidget *>();
        const QList<QListWidgetItem *> found = list->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        list->setCurrentItem(found.front());
    }

    // Every window and dialog the main window opens, and the message boxes.
    QStringList walkEverything()
    {
        QStringList texts;
        auto window = start();
        window->ToolButton_paletteClick();
        window->mi_recordedMixesClick();
        for (QWidget *top : QApplication::topLevelWidgets())
            if (top->isVisible())
                collect(top, texts);
        const auto click = [this, &texts](QWidget *dialog, const char *button,
                                          const std::function<void(QWidget *)> &more = {}) {
            walkModal(texts, [dialog, button] { findControl<QPushButton>(dialog, button)->click(); }, more);
        };
        walkModal(texts, [&] { window->mi_setGridCountClick(); });
        walkModal(texts, [&] { window->mi_mixingOptionClick(); });
        walkModal(texts, [&] { window->mi_aboutClick(); });
        walkModal(texts, [&] { window->ToolButton_SetColorBoxClick(); });
        walkModal(texts, [&] { window->mi_colorBoxManageClick(); },
                  [&](QWidget *dialog) {
                      createAndSelect(texts, dialog, "BitBtn_createBox", QStringLiteral("Walk box"));
                      click(dialog, "BitBtn_renameBox");
                      click(dialog, "BitBtn_setColorBox");
                  });
        walkModal(texts, [&] { window->mi_colorPanelManagerClick(); },
                  [&](QWidget *dialog) {
                      createAndSelect(texts, dialog, "BitBtn_createPanel", QStringLiteral("Walk palette"));
                      click(dialog, "BitBtn_renamePanel");
                  });
        walkModal(texts, [&] { window->mi_colorGroupManagerClick(); },
                  [&](QWidget *dialog) {
                      findControl<QAbstractItemView>(dialog, "ListBox_color")->setCurrentIndex(
                          findControl<QAbstractItemView>(dialog, "ListBox_color")->model()->index(0, 0));
                      click(dialog, "bbtn_addColorItem");
                      click(dialog, "bbtn_modifyColorItem");
                  });
        // Message boxes: a store's message, one with a name filled in, a question.
        ui::MessageBoxNotifier boxes(window.get());
        walkModal(texts, [&] { boxes.showMessage("删除色板失败!", MessageIcon::Error); });
        walkModal(texts, [&] { boxes.showMessage("图像文件已损坏：文件头不完整", MessageIcon::Error); });
        walkModal(texts, [&] { boxes.askYesNo("色板已做了修改，是否保存?"); });
        texts.sort(); // the top-level windows come in no fixed order
        return texts;
    }
};

TEST_F(LanguageWalk, EnglishShowsNoChineseButStoredNames)
{
    install(ui::UiLanguage::English);
    const QStringList names = storedNames();
    const QStringList texts = walkEverything();
    EXPECT_GT(texts.size(), 300);
    for (const QString &text : texts) {
        QString rest = text;
        for (const QString &name : names)
            rest.remove(name);
        EXPECT_FALSE(holdsChinese(rest)) << text.toStdString();
    }
    EXPECT_TRUE(texts.contains(QStringLiteral("&File")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Colour boxes")));
}

TEST_F(LanguageWalk, ChineseShowsTheSourceTextsUnchanged)
{
    const QStringList source = walkEverything();
    EXPECT_TRUE(source.contains(QStringLiteral("文件(&F)")));
    EXPECT_TRUE(source.contains(QStringLiteral("颜色盒管理")));
    // The second walk starts from fresh data files as the first did.
    for (const auto &entry : std::filesystem::directory_iterator(dir.path()))
        std::filesystem::remove_all(entry.path());
    install(ui::UiLanguage::Chinese);
    EXPECT_EQ(walkEverything().join(QLatin1Char('\n')).toStdString(), source.join(QLatin1Char('\n')).toStdString());
}

TEST(CoreText, KnownMessagesTranslateWithTheirPartsAndOthersPassUnchanged)
{
    ASSERT_FALSE(ui::installTranslations(*QCoreApplication::instance(), ui::UiLanguage::English, PIGMORA_UI_BUILD_DIR)
                     .empty());
    const struct {
        const char *text;
        const char *english;
    } cases[] = {
        {"保存色板失败!", "Saving the palette failed!"},
        {"图像文件不存在：/tmp/照片 %1.png", "The picture file does not exist: /tmp/照片 %1.png"},
        {"图像文件已损坏：文件头不完整", "The picture file is damaged: the file header is incomplete"},
        {"恢复QorColor.dat失败: 磁盘已满", "Restoring QorColor.dat failed: the disk is full"},
        {"数据文件夹不能写入，程序以只读方式运行: /data\nno room", "The data folder cannot be written; the program runs read-only: /data\nno room"},
        {"a message of its own", "a message of its own"},
        {"QorPalette.bin: 文件已损坏", "QorPalette.bin: 文件已损坏"}, // nothing of the core's in it
        {"", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ui::coreText(c.text).toStdString(), c.english) << c.text;
    removeTranslators();
    // Without a translation every text comes back as it was.
    for (const auto &c : cases)
        EXPECT_EQ(ui::coreText(c.text).toStdString(), c.text);
}

// The stores' and the correction's own messages are the command line's
// English: the windows show them in Chinese, nested parts too, and the
// English translation gives the very same text back. The messages are made
// by the core itself, so a message changed there without its rendering
// fails here.
TEST(CoreText, TheCoresEnglishMessagesShowInTheWindowsLanguage)
{
    TempDir dir;
    const std::filesystem::path folder = dir.path();
    std::filesystem::create_directory(folder / "QorColorbox.bin");
    std::ofstream(folder / "QorPalette.bin") << "short";
    std::vector<std::string> messages;
    messages.push_back(safefile::checkRegularFile(folder / "QorColorbox.bin").message());
    CPalettePanelFile palettes;
    EXPECT_FALSE(palettes.open(folder / "QorPalette.bin"));
    messages.push_back(palettes.lastError().message());
    messages.push_back(DataFolder::restoreFromBackup(folder / "QorPalette.bin").message());
    messages.push_back(parseGimpPalette("GIMP Palette\n12 34\n").message());
    messages.push_back(PhotoCorrection::white(AreaSample{{1, 1, 1}, {0.0003, 0.0003, 0.0003}}).message());
    std::filesystem::remove(folder / FolderLock::kFileName);
    std::filesystem::create_symlink(folder / "elsewhere", folder / FolderLock::kFileName);
    messages.push_back(FolderLock::acquire(folder, FolderLock::Mode::Exclusive).message());

    // What is left once the names and paths are taken out must be Chinese.
    const QRegularExpression names(QStringLiteral("Qor\\w+\\.(bin|lock)(\\.bak)?"));
    const QRegularExpression englishWord(QStringLiteral("\\b[a-z]{2,}\\b"));
    for (const std::string &message : messages) {
        ASSERT_FALSE(message.empty());
        QString shown = ui::coreText(message);
        shown.remove(fromUtf8(folder.string())).remove(names);
        EXPECT_FALSE(shown.contains(englishWord)) << message << "\n -> " << ui::coreText(message).toStdString();
    }
    ASSERT_FALSE(ui::installTranslations(*QCoreApplication::instance(), ui::UiLanguage::English, PIGMORA_UI_BUILD_DIR)
                     .empty());
    for (const std::string &message : messages)
        EXPECT_EQ(ui::coreText(message).toStdString(), message);
    removeTranslators();
}

} // namespace
} // namespace pigmora::test

namespace pigmora::test {
namespace {

TEST(LanguageSetting, StoredTextsMapToChoicesAndBack)
{
    const struct {
        std::optional<std::string> stored;
        ui::LanguageChoice choice;
    } cases[] = {
        {std::nullopt, ui::LanguageChoice::System}, {"system", ui::LanguageChoice::System},
        {"zh", ui::LanguageChoice::Chinese},         {"en", ui::LanguageChoice::English},
        {"EN", ui::LanguageChoice::System},          {"", ui::LanguageChoice::System},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ui::languageChoiceOf(c.stored), c.choice) << c.stored.value_or("(none)");
    for (auto choice : {ui::LanguageChoice::System, ui::LanguageChoice::Chinese, ui::LanguageChoice::English})
        EXPECT_EQ(ui::languageChoiceOf(std::string(ui::languageSettingText(choice))), choice);
}

TEST(LanguageSetting, VersionIsAskedOnlyBeforeTheEndOfOptions)
{
    const struct {
        std::vector<const char *> argv;
        bool asks;
    } cases[] = {
        {{"pigmora", "--version"}, true},
        {{"pigmora", "-v"}, true},
        {{"pigmora", "--data-dir", "/d", "--version"}, true},
        {{"pigmora"}, false},
        {{"pigmora", "--", "--version"}, false},
        {{"pigmora", "--versions"}, false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ui::asksForVersion(static_cast<int>(c.argv.size()), c.argv.data()), c.asks) << c.argv.back();
}

TEST(LanguageSetting, BuiltInPaintsShowTheCataloguesEnglishNameAndTheUsersKeepTheirs)
{
    const struct {
        const char *code;
        const char *name;
        std::uint8_t origin;
        const char *english;
    } cases[] = {
        {"100", "柠檬黄", PaintColorRecord::kOriginBuiltIn, "Lemon Yellow"},
        {"100", "柠檬黄", PaintColorRecord::kOriginLocked, "Lemon Yellow"},
        {"100", "柠檬黄", PaintColorRecord::kOriginUser, "柠檬黄"}, // the user's own, typed so
        {"100", "我的黄", PaintColorRecord::kOriginBuiltIn, "我的黄"}, // renamed by the user
        {"3001", "銀朱", PaintColorRecord::kOriginBuiltIn, "銀朱"}, // the catalogue has no English name
    };
    const auto record = [](const auto &c) {
        PaintColorRecord paint;
        paint.setCode(c.code);
        paint.setName(*platform::utf8ToGbk(c.name));
        paint.setOrigin(c.origin);
        return paint;
    };
    ASSERT_FALSE(ui::installTranslations(*QCoreApplication::instance(), ui::UiLanguage::English, PIGMORA_UI_BUILD_DIR)
                     .empty());
    for (const auto &c : cases)
        EXPECT_EQ(ui::paintName(record(c)).toStdString(), c.english) << c.code << " " << c.name;
    removeTranslators();
    ASSERT_FALSE(ui::installTranslations(*QCoreApplication::instance(), ui::UiLanguage::Chinese, PIGMORA_UI_BUILD_DIR)
                     .empty());
    for (const auto &c : cases)
        EXPECT_EQ(ui::paintName(record(c)).toStdString(), c.name) << c.code;
    removeTranslators();
}

class LanguageMenu : public MainWindowFixture
{ };

TEST_F(LanguageMenu, TheChoiceIsStoredForTheNextStartAndSaid)
{
    // No settings file yet: reading the choice creates nothing.
    EXPECT_EQ(ui::storedLanguageChoice(dir.path()), ui::LanguageChoice::System);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "QorConfig.bin"));

    auto window = start();
    const auto before = readFileBytes(dir.path() / "QorConfig.bin");
    findControl<QAction>(window.get(), "mi_languageEnglish")->trigger();
    EXPECT_EQ(ui::storedLanguageChoice(dir.path()), ui::LanguageChoice::English);
    ASSERT_EQ(notifier.messages().size(), 1U);
    EXPECT_NE(notifier.messages().back().text.find("下次启动"), std::string::npos);
    // The menu shows the stored choice.
    auto *menu = findControl<QMenu>(window.get(), "mi_language");
    Q_EMIT menu->aboutToShow();
    EXPECT_TRUE(findControl<QAction>(window.get(), "mi_languageEnglish")->isChecked());
    EXPECT_FALSE(findControl<QAction>(window.get(), "mi_languageSystem")->isChecked());

    findControl<QAction>(window.get(), "mi_languageSystem")->trigger();
    EXPECT_EQ(ui::storedLanguageChoice(dir.path()), ui::LanguageChoice::System);
    // What the window showed before is unchanged: the choice applies at the next start.
    EXPECT_EQ(window->menuBar()->actions().front()->text(), QStringLiteral("文件(&F)"));
    EXPECT_NE(readFileBytes(dir.path() / "QorConfig.bin"), before);
}

} // namespace
} // namespace pigmora::test
