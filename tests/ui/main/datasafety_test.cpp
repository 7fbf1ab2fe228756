#include "data/colormanager.h"
#include "main/application.h"
#include "main/mainwindow.h"
#include "main/startup.h"
#include "mainwindowfixture.h"
#include "support/testsupport.h"
#include "support/uitestsupport.h"

#include <QComboBox>

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

} // namespace
} // namespace pigmora::ui
