#include "data/colormanager.h"
#include "main/application.h"
#include "main/mainwindow.h"
#include "main/matchcontext.h"
#include "main/startup.h"
#include "mainwindowfixture.h"
#include "store/folderlock.h"
#include "support/testsupport.h"
#include "support/uitestsupport.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <functional>
#include <sys/mount.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace pigmora::ui {
namespace {

using test::findControl;

class DataSafetyTest : public test::MainWindowFixture
{
protected:
    // A colour box file whose last good copy holds the box "旅行盒" and
    // which is itself damaged.
    void damageColorBoxFileWithAGoodBackup()
    {
        auto window = start();
        ASSERT_TRUE(window->colors()->createColorBox(0, "旅行盒"));
        window.reset();
        const auto file = dir.path() / "QorColorbox.bin";
        std::filesystem::copy_file(file, file.string() + ".bak", std::filesystem::copy_options::overwrite_existing);
        test::writeFileBytes(file, kGarbage);
        notifier.clear();
    }

    std::vector<std::filesystem::path> filesAside() const
    {
        std::vector<std::filesystem::path> aside;
        for (const auto &entry : std::filesystem::directory_iterator(dir.path())) {
            if (entry.path().filename().string().starts_with("QorColorbox.bin.damaged-"))
                aside.push_back(entry.path());
        }
        return aside;
    }

    static bool boxListed(const TForm_TintoraMain &window, const QString &name)
    {
        return findControl<QComboBox>(&window, "ComboBox_currentColorBox")->findText(name) >= 0;
    }

    inline static const std::vector<std::uint8_t> kGarbage{'Z', 'Q', 'X', 0, 1, 2};
};

TEST_F(DataSafetyTest, RestoringADamagedFileStartsWithItsLastGoodCopy)
{
    damageColorBoxFileWithAGoodBackup();
    notifier.scriptAnswers({true});
    auto window = start();

    ASSERT_EQ(notifier.messages().size(), 1u) << "only the question; the restored file is not reported";
    EXPECT_TRUE(notifier.messages()[0].question);
    EXPECT_NE(notifier.texts()[0].find("QorColorbox.bin"), std::string::npos);
    EXPECT_TRUE(boxListed(*window, QStringLiteral("旅行盒")));
    const auto aside = filesAside();
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(test::readFileBytes(aside[0]), kGarbage);
}

TEST_F(DataSafetyTest, DecliningTheRestoreOpensWithTheStoresMessages)
{
    damageColorBoxFileWithAGoodBackup();
    notifier.scriptAnswers({false});
    auto window = start();

    ASSERT_GE(notifier.messages().size(), 2u);
    EXPECT_TRUE(notifier.messages()[0].question); // asked first, then what could not be read
    EXPECT_FALSE(notifier.messages()[1].question);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(boxListed(*window, QStringLiteral("旅行盒")));
    EXPECT_TRUE(filesAside().empty());
    EXPECT_EQ(test::readFileBytes(dir.path() / "QorColorbox.bin"), kGarbage);
}

TEST_F(DataSafetyTest, ReadOnlyFolderSaysSoOnceAndReportsEachChange)
{
    // Read-only: a read-only mount where the tests may mount (root, whom
    // permissions do not bind), else the folder's permissions.
    namespace fs = std::filesystem;
    struct ReadOnly {
        fs::path folder;
        bool mounted = false;
        ~ReadOnly()
        {
            if (mounted)
                ::umount(folder.c_str());
            else
                fs::permissions(folder, fs::perms::owner_write, fs::perm_options::add);
        }
    } readOnly{dir.path()};
    if (::geteuid() == 0) {
        if (::mount("tmpfs", dir.path().c_str(), "tmpfs", 0, "size=1m") != 0)
            GTEST_SKIP() << "no tmpfs mount here";
        readOnly.mounted = true;
    }
    start().reset();
    if (readOnly.mounted)
        ASSERT_EQ(::mount(nullptr, dir.path().c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
    else
        fs::permissions(dir.path(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
    if (folderWritable(dir.path()))
        GTEST_SKIP() << "permissions do not bind this user";
    notifier.clear();

    auto window = start();
    ASSERT_EQ(notifier.messages().size(), 1u);
    EXPECT_NE(notifier.texts()[0].find("只读"), std::string::npos);
    EXPECT_TRUE(boxListed(*window, QStringLiteral("我的颜色盒"))); // everything still reads
    // A change after start-up fails with its own message.
    EXPECT_FALSE(window->colors()->deleteColorBox("国画颜色盒"));
    ASSERT_EQ(notifier.messages().size(), 2u);
    EXPECT_NE(notifier.texts()[1].find("失败"), std::string::npos);
}

// Chooses a mixing mode through its dialog, as the menu does.
void chooseMixingMode(TForm_TintoraMain &window, const char *radio)
{
    const auto answered = test::whenModalShown([radio](QWidget *dialog) {
        findControl<QRadioButton>(dialog, radio)->setChecked(true);
        findControl<QPushButton>(dialog, "Button_ok")->click();
    });
    window.mi_mixingOptionClick();
}

TEST_F(DataSafetyTest, AMixingModeThatCannotBeStoredSaysWhyAndStaysInForceMarked)
{
    auto window = start();
    const auto config = dir.path() / "QorConfig.bin";
    std::filesystem::remove(config);
    std::filesystem::create_directory(config); // replaced while the program runs
    notifier.clear();
    chooseMixingMode(*window, "RadioButton_pigmentMixing");
    ASSERT_FALSE(notifier.texts().empty());
    EXPECT_TRUE(notifier.texts().back().starts_with("设置未能保存: ")) << notifier.texts().back();
    EXPECT_EQ(window->matching().mixingMode(), 2);
    EXPECT_EQ(window->statusText(3), QStringLiteral("颜料混色*"));
    EXPECT_TRUE(findControl<QLabel>(window.get(), "Label_settingsNote")->isVisibleTo(window.get()));
}

// The lock busy beyond its limit at start: the window runs on defaults,
// says so, writes no default over the stored settings, and applies them
// once it can read them.
TEST_F(DataSafetyTest, SettingsTheLockKeptUnreadAreAppliedOnceReadAndNeverOverwritten)
{
    chooseMixingMode(*start(), "RadioButton_pigmentMixing");
    const auto config = dir.path() / "QorConfig.bin";
    const auto stored = test::readFileBytes(config);
    FolderLock::setWaitLimit(std::chrono::milliseconds(100));
    auto holder = std::make_unique<test::LockHolder>(dir.path());
    ASSERT_TRUE(holder->holding());
    auto window = start();
    FolderLock::setWaitLimit(std::chrono::milliseconds(5000));
    EXPECT_EQ(window->statusText(3), QStringLiteral("减法混色"));
    const auto *note = findControl<QLabel>(window.get(), "Label_settingsNote");
    EXPECT_TRUE(note->isVisibleTo(window.get()));
    EXPECT_NE(note->text().indexOf(QStringLiteral("稍后自动重试")), -1);
    notifier.clear();
    chooseMixingMode(*window, "RadioButton_spaceMixing");
    ASSERT_FALSE(notifier.texts().empty());
    EXPECT_TRUE(notifier.texts().back().starts_with("设置未能保存: ")) << notifier.texts().back();
    holder.reset();
    EXPECT_EQ(test::readFileBytes(config), stored);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->statusText(3) == QStringLiteral("颜料混色"); }, 10000))
        << window->statusText(3).toStdString();
    EXPECT_EQ(window->matching().mixingMode(), 2);
    EXPECT_FALSE(note->isVisibleTo(window.get()));
}

// A data file that cannot be used is named at start with what is wrong and
// what to do, once, in one message.
struct UnusableFile {
    const char *what;
    const char *file;
    std::function<void(const std::filesystem::path &)> spoil;
    const char *wrong;
    const char *todo;
};

void PrintTo(const UnusableFile &unusable, std::ostream *out)
{
    *out << unusable.what;
}

class UnusableFileAtStart : public DataSafetyTest, public ::testing::WithParamInterface<UnusableFile>
{ };

TEST_P(UnusableFileAtStart, IsNamedWithWhatToDo)
{
    start().reset();
    const UnusableFile &unusable = GetParam();
    const auto path = dir.path() / unusable.file;
    std::filesystem::remove(path);
    unusable.spoil(path);
    notifier.clear();
    auto window = start();
    ASSERT_FALSE(notifier.texts().empty());
    const std::string said = notifier.texts().back();
    EXPECT_TRUE(said.starts_with(std::string(unusable.file) + ": " + unusable.wrong)) << said;
    EXPECT_NE(said.find(std::string("可以这样做: ") + unusable.todo), std::string::npos) << said;
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, UnusableFileAtStart,
    ::testing::Values(UnusableFile{"PaletteIsAFolder", "QorPalette.bin",
                                   [](const std::filesystem::path &p) { std::filesystem::create_directory(p); },
                                   "在它的位置上是一个文件夹", "把它移到别处"},
                      UnusableFile{"BoxFileIsADanglingLink", "QorColorbox.bin",
                                   [](const std::filesystem::path &p) {
                                       std::filesystem::create_symlink(p.string() + ".gone", p);
                                   },
                                   "它是指向不存在的文件的符号链接", "让链接指向数据文件或删除链接"},
                      UnusableFile{"DamagedGroupsWithoutBackup", "QorColorGroup.bin",
                                   [](const std::filesystem::path &p) {
                                       std::filesystem::remove(p.string() + ".bak");
                                       test::writeFileBytes(p, std::vector<std::uint8_t>{'Z', 'Q', 'X', 0, 1, 2});
                                   },
                                   "文件已损坏", "把它移到别处"}),
    [](const ::testing::TestParamInfo<UnusableFile> &kind) { return kind.param.what; });

} // namespace
} // namespace pigmora::ui
