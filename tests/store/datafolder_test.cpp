#include "store/datafolder.h"

#include "storetestsupport.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace pigmora {
namespace {

const char *const kDataFiles[] = {"QorConfig.bin", "QorColorGroup.bin", "QorColorbox.bin", "QorPalette.bin"};

std::filesystem::path golden(const char *name)
{
    return std::filesystem::path(PIGMORA_SOURCE_DIR) / "tests/store/golden" / name;
}

class DataFolderTest : public ::testing::Test
{
protected:
    test::TempDir dir;
    test::RecordingNotifier notifier;
};

// The four files of a first start, byte for byte. The golden files were
// checked against the file format by hand (sizes 792, 22705, 18505 and 1668
// bytes; directories, data positions in add order, GBK names, the header
// value 100); any change to what a first start writes shows up here.
TEST_F(DataFolderTest, FirstStartWritesTheDefaultFilesExactly)
{
    DataFolder folder(dir.path(), &notifier);
    ASSERT_TRUE(folder.prepare().isOk()) << folder.prepare().message();
    for (const char *name : kDataFiles)
        EXPECT_EQ(test::readFileBytes(dir / name), test::readFileBytes(golden(name))) << name;
    EXPECT_TRUE(notifier.messages().empty());
    EXPECT_EQ(folder.settings().gridColumns, 5);
    EXPECT_EQ(folder.settings().gridRows, 6);
    EXPECT_EQ(folder.settings().mixingMode, 0);
    EXPECT_EQ(folder.colorBoxNames().size(), 11u);
    EXPECT_EQ(folder.colors()->currentColorBoxName(), "我的颜色盒");
    EXPECT_EQ(folder.colors()->currentBoxRecords().size(), 20u);
    EXPECT_EQ(folder.colors()->catalogueCount(), 261);
    EXPECT_TRUE(folder.config()->isOpen());
}

TEST_F(DataFolderTest, SecondStartLeavesTheFilesAlone)
{
    ASSERT_TRUE(DataFolder(dir.path(), &notifier).prepare().isOk());
    {
        CColorManager colors(dir.path());
        colors.buildBuiltInCatalogue();
        ASSERT_TRUE(colors.loadColorGroups());
        ASSERT_TRUE(colors.createColorBox(0, "新盒"));
    }
    std::vector<std::vector<unsigned char>> before;
    for (const char *name : kDataFiles)
        before.push_back(test::readFileBytes(dir / name));
    DataFolder second(dir.path(), &notifier);
    ASSERT_TRUE(second.prepare().isOk());
    for (std::size_t i = 0; i < std::size(kDataFiles); ++i)
        EXPECT_EQ(test::readFileBytes(dir / kDataFiles[i]), before[i]) << kDataFiles[i];
    EXPECT_EQ(second.colorBoxNames().size(), 12u);
}

TEST_F(DataFolderTest, ALostBoxFileIsRebuiltFromTheGroupsAsTheyAre)
{
    ASSERT_TRUE(DataFolder(dir.path(), &notifier).prepare().isOk());
    {
        CColorManager colors(dir.path(), &notifier);
        colors.buildBuiltInCatalogue();
        ASSERT_TRUE(colors.loadColorGroups());
        ASSERT_TRUE(colors.modifyGroupColor("油画颜色", "钛白", "Edited", {250, 250, 250}, 1.0f, 2, 1));
    }
    const auto groups = test::readFileBytes(dir / "QorColorGroup.bin");
    std::filesystem::remove(dir / "QorColorbox.bin");
    DataFolder folder(dir.path(), &notifier);
    ASSERT_TRUE(folder.createMissingFiles().isOk());
    EXPECT_EQ(test::readFileBytes(dir / "QorColorGroup.bin"), groups);
    CColorBoxFile boxes(CColorBoxFile::kColorBoxMode);
    ASSERT_TRUE(boxes.open(dir / "QorColorbox.bin"));
    std::vector<PaintColorRecord> records;
    ASSERT_TRUE(boxes.loadPaintRecords(test::gbk("我的颜色盒"), records));
    const auto white = std::find_if(records.begin(), records.end(), [](const auto &r) { return r.code() == "710"; });
    ASSERT_NE(white, records.end());
    EXPECT_EQ(white->color(), (RgbColor{250, 250, 250}));
}

TEST_F(DataFolderTest, InitOnlyCreatesTheSameFilesAndLoadsNothing)
{
    DataFolder folder(dir.path(), &notifier);
    ASSERT_TRUE(folder.createMissingFiles().isOk());
    for (const char *name : kDataFiles)
        EXPECT_EQ(test::readFileBytes(dir / name), test::readFileBytes(golden(name))) << name;
    EXPECT_TRUE(folder.colors()->currentColorBoxName().empty());
    EXPECT_FALSE(folder.config()->isOpen());
}

TEST_F(DataFolderTest, MissingSettingsKeepTheProgramsInitialValues)
{
    CConfigFile file;
    ASSERT_TRUE(file.create(dir / "QorConfig.bin"));
    ASSERT_TRUE(file.writeItems("SysConfig", {{std::string("GridRowCount\0", 13), std::string("\x09\0\0\0", 4)}}));
    DataFolder folder(dir.path(), &notifier);
    ASSERT_TRUE(folder.prepare().isOk());
    EXPECT_EQ(folder.settings().gridColumns, 8);
    EXPECT_EQ(folder.settings().gridRows, 9);
    EXPECT_EQ(folder.settings().mixingMode, 0);
}

TEST_F(DataFolderTest, AFolderThatCannotBeUsedGivesAClearStatus)
{
    DataFolder missing(dir / "absent", &notifier);
    const Status absent = missing.prepare();
    EXPECT_FALSE(absent.isOk());
    EXPECT_NE(absent.message().find("absent"), std::string::npos);

    // A folder entry where a data file should be: the file cannot be created.
    std::filesystem::create_directory(dir / "QorColorbox.bin");
    DataFolder blocked(dir.path(), &notifier);
    const Status status = blocked.prepare();
    EXPECT_FALSE(status.isOk());
    EXPECT_NE(status.message().find("QorColorbox.bin"), std::string::npos) << status.message();
    EXPECT_EQ(notifier.texts(), (std::vector<std::string>{"打开颜色盒文件失败!", "取颜色盒表失败!"}));
}

TEST_F(DataFolderTest, ADamagedFileIsNamedInTheStatusAndKept)
{
    test::writeFileBytes(dir / "QorPalette.bin", {'Z', 'Q', 'X'});
    DataFolder folder(dir.path(), &notifier);
    const Status status = folder.prepare();
    EXPECT_FALSE(status.isOk());
    EXPECT_NE(status.message().find("QorPalette.bin"), std::string::npos) << status.message();
    const std::vector<unsigned char> kept{'Z', 'Q', 'X'};
    EXPECT_EQ(test::readFileBytes(dir / "QorPalette.bin"), kept);
}

TEST(DefaultDataFolder, AnInstalledCopyUsesThePerUserFolder)
{
    test::TempDir dir;
    EXPECT_TRUE(isInstalledCopy(dir.path(), dir.path()));
    EXPECT_TRUE(isInstalledCopy(dir.path() / "." / "", dir.path())); // the same folder, spelt otherwise
    EXPECT_FALSE(isInstalledCopy(dir.path(), dir.path() / "bin"));
    EXPECT_FALSE(isInstalledCopy(dir.path(), ""));

    EXPECT_EQ(perUserDataFolder("/data", "/home/a"), "/data/Pigmora/Pigmora");
    EXPECT_EQ(perUserDataFolder(nullptr, "/home/a"), "/home/a/.local/share/Pigmora/Pigmora");
    EXPECT_EQ(perUserDataFolder("relative", "/home/a"), "/home/a/.local/share/Pigmora/Pigmora");
    EXPECT_EQ(perUserDataFolder("", "/home/a"), "/home/a/.local/share/Pigmora/Pigmora");
    EXPECT_EQ(perUserDataFolder(nullptr, nullptr), "");
}

// Each data file that cannot be used is named with what is wrong and what
// the user can do; the others still load.
TEST_F(DataFolderTest, EachUnusableFileSaysWhatIsWrongAndWhatToDo)
{
    using Kind = DataFolder::FileProblem::Kind;
    using Remedy = DataFolder::FileProblem::Remedy;
    ASSERT_TRUE(DataFolder(dir.path(), &notifier).prepare().isOk());
    ASSERT_TRUE(CColorManager(dir.path()).createColorBox(0, "新盒")); // the box file gets a backup
    const struct {
        const char *file;
        std::function<void(const std::filesystem::path &)> spoil;
        Kind kind;
        Remedy remedy;
        const char *message;
    } cases[] = {
        {"QorPalette.bin", [](const auto &path) { std::filesystem::create_directory(path); }, Kind::Folder,
         Remedy::MoveAway, "QorPalette.bin is a folder, not a data file; move it away (keep it)"},
        {"QorConfig.bin", [](const auto &path) { std::filesystem::create_symlink("/nonexistent/pigmora", path); },
         Kind::DanglingLink, Remedy::FixLink, "point the link at the data file or remove it"},
        {"QorColorGroup.bin",
         [](const auto &path) {
             test::writeFileBytes(path, {'Z', 'Q', 'X'});
         },
         Kind::Damaged, Remedy::MoveAway, "the file is shorter than its header; move it away (keep it)"},
        {"QorColorbox.bin", [](const auto &path) { test::writeFileBytes(path, {'Z'}); }, Kind::Damaged, Remedy::Restore,
         "can be restored with 'pigmora-cli restore QorColorbox.bin'"},
    };
    for (const auto &c : cases) {
        std::filesystem::remove(dir / c.file);
        c.spoil(dir / c.file);
    }
    DataFolder folder(dir.path(), &notifier);
    EXPECT_FALSE(folder.prepare().isOk());
    ASSERT_EQ(folder.problems().size(), std::size(cases));
    for (const auto &c : cases) {
        const auto found = std::find_if(folder.problems().begin(), folder.problems().end(),
                                        [&](const auto &problem) { return problem.path == dir / c.file; });
        ASSERT_NE(found, folder.problems().end()) << c.file;
        EXPECT_EQ(found->kind, c.kind) << c.file;
        EXPECT_EQ(found->remedy, c.remedy) << c.file;
        EXPECT_NE(found->message().find(c.message), std::string::npos) << found->message();
    }
}

} // namespace
} // namespace pigmora
