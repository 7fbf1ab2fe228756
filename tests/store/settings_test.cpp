#include "store/settings.h"

#include "store/configmanager.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

namespace pigmora {
namespace {

TEST(Settings, DamagedMixingModesCountAsSubtractiveEverywhere)
{
    const struct {
        int mode;
        MixModel model;
        std::string_view text;
    } cases[] = {
        {0, MixModel::Subtractive, "减法混色"},  {1, MixModel::Spatial, "空间混色"},
        {2, MixModel::Pigment, "颜料混色"},      {3, MixModel::Subtractive, "减法混色"},
        {-1, MixModel::Subtractive, "减法混色"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(mixModelOfSetting(c.mode), c.model) << c.mode;
        EXPECT_EQ(mixingModeText(c.mode), c.text) << c.mode;
    }
}

class SettingsStoreTest : public ::testing::Test
{
protected:
    void reopen()
    {
        config = std::make_unique<CConfigManager>(dir.path(), &notifier);
        config->open();
        config->loadSysConfig();
    }
    test::TempDir dir;
    test::RecordingNotifier notifier;
    std::unique_ptr<CConfigManager> config;
};

TEST_F(SettingsStoreTest, SavedValuesSurviveAReopen)
{
    CConfigManager(dir.path(), &notifier).createDefaultConfigFile();
    reopen();
    EXPECT_EQ(readSettings(*config).gridColumns, 5);
    ASSERT_TRUE(saveGridCount(*config, 12, 4));
    ASSERT_TRUE(saveMixingMode(*config, 1));
    reopen();
    const StartupSettings settings = readSettings(*config);
    EXPECT_EQ(settings.gridColumns, 12);
    EXPECT_EQ(settings.gridRows, 4);
    EXPECT_EQ(settings.mixingMode, 1);
    EXPECT_TRUE(notifier.messages().empty());
}

TEST_F(SettingsStoreTest, LastFolderIsOptionalAndOnlyWrittenWhenChanged)
{
    CConfigManager(dir.path(), &notifier).createDefaultConfigFile();
    reopen();
    EXPECT_FALSE(lastFolder(*config, settingkeys::kLastPictureFolder));
    const auto sizeBefore = std::filesystem::file_size(config->filePath());

    ASSERT_TRUE(saveLastFolder(*config, settingkeys::kLastPictureFolder, "/home/画家/照片"));
    reopen();
    EXPECT_EQ(lastFolder(*config, settingkeys::kLastPictureFolder), "/home/画家/照片");
    EXPECT_GT(std::filesystem::file_size(config->filePath()), sizeBefore);
    // The integer settings are untouched by the extra key.
    EXPECT_EQ(readSettings(*config).gridRows, 6);

    ASSERT_TRUE(saveLastFolder(*config, settingkeys::kLastPictureFolder, "/tmp"));
    reopen();
    EXPECT_EQ(lastFolder(*config, settingkeys::kLastPictureFolder), "/tmp");
    EXPECT_FALSE(saveLastFolder(*config, settingkeys::kLastPictureFolder, std::string_view("a\0b", 3)));
}

} // namespace
} // namespace pigmora
