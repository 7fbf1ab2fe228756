#include "store/settings.h"

#include "faultinjection.h"
#include "store/configmanager.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <functional>

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

// The parts total is written only once it was chosen; what is stored is
// read back only when it is a whole number 2..100.
TEST_F(SettingsStoreTest, MaxPartsIsOptionalAndReadOnlyWhenSound)
{
    CConfigManager(dir.path(), &notifier).createDefaultConfigFile();
    reopen();
    const auto before = test::readFileBytes(config->filePath());
    ASSERT_TRUE(saveMaxParts(*config, kDefaultMaxParts));
    EXPECT_EQ(test::readFileBytes(config->filePath()), before);
    EXPECT_EQ(readSettings(*config).maxParts, kDefaultMaxParts);

    ASSERT_TRUE(saveMaxParts(*config, 30));
    reopen();
    EXPECT_EQ(readSettings(*config).maxParts, 30);
    ASSERT_TRUE(saveMaxParts(*config, 500)); // clamped
    EXPECT_EQ(storedText(*config, settingkeys::kMaxParts), "100");

    const struct {
        const char *stored;
        int read;
    } cases[] = {{"2", 2}, {"100", 100}, {"1", 12}, {"101", 12}, {"", 12}, {"20x", 12}, {" 20", 12}, {"-5", 12}};
    for (const auto &c : cases) {
        ASSERT_TRUE(saveText(*config, settingkeys::kMaxParts, c.stored));
        EXPECT_EQ(readSettings(*config).maxParts, c.read) << '"' << c.stored << '"';
    }
}

// A save that fails says why and what is in force: the choice for this run,
// stored by the next save that succeeds.
TEST_F(SettingsStoreTest, AFailedSaveSaysWhyAndWhatIsInForce)
{
    CConfigManager(dir.path(), &notifier).createDefaultConfigFile();
    reopen();
    const struct {
        const char *name;
        std::function<void()> breakIt;
        const char *reason;
    } cases[] = {
        {"FullDisk", [] {}, "the disk is full"},
        {"FileReplacedByAFolder",
         [&] {
             std::filesystem::rename(config->filePath(), dir / "kept.bin");
             std::filesystem::create_directory(config->filePath());
         },
         "is a folder"},
    };
    for (const auto &c : cases) {
        c.breakIt();
        SettingsSave saved = [&] {
            test::FaultInjection faults;
            if (std::string_view(c.name) == "FullDisk")
                faults.failStepsFrom(0);
            return saveMixingMode(*config, 2);
        }();
        EXPECT_FALSE(saved) << c.name;
        EXPECT_NE(saved.status.message().find(c.reason), std::string::npos) << saved.status.message();
        EXPECT_EQ(saved.inForce.mixingMode, 2) << c.name;
    }
    std::filesystem::remove(config->filePath());
    std::filesystem::rename(dir / "kept.bin", config->filePath());
    ASSERT_TRUE(saveGridCount(*config, 7, 7));
    reopen();
    EXPECT_EQ(readSettings(*config).mixingMode, 2) << "stored by the next save";
}

// Settings that could not be read at start (the lock busy, the file missing)
// are never stored over the file; they are read once the file opens.
TEST_F(SettingsStoreTest, UnreadSettingsAreNeverWrittenAndCanBeReadLater)
{
    CConfigManager(dir.path(), &notifier).createDefaultConfigFile();
    reopen();
    ASSERT_TRUE(saveMixingMode(*config, 2));
    std::filesystem::rename(config->filePath(), dir / "away.bin");
    reopen();
    EXPECT_FALSE(config->isLoaded());
    const auto before = test::readFileBytes(dir / "away.bin");
    std::filesystem::rename(dir / "away.bin", config->filePath());
    const SettingsSave refused = saveGridCount(*config, 3, 3);
    EXPECT_NE(refused.status.message().find("not read from QorConfig.bin"), std::string::npos)
        << refused.status.message();
    EXPECT_EQ(test::readFileBytes(config->filePath()), before);

    ASSERT_TRUE(config->retryLoad());
    EXPECT_EQ(readSettings(*config).mixingMode, 2);
    EXPECT_TRUE(saveGridCount(*config, 3, 3));
}

} // namespace
} // namespace pigmora
