#include "data/colormanager.h"
#include "store/tablefile.h"

#include "storetestsupport.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

namespace pigmora {
namespace {

using test::gbk;

class PaletteStore : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(manager.createDefaultPaletteFile()); }
    test::RawTable raw() const { return test::readRawTable(dir / "QorPalette.bin", kPaletteTableFormat); }
    std::vector<PaletteColorRecord> load(std::string_view name)
    {
        std::vector<PaletteColorRecord> list;
        EXPECT_TRUE(manager.loadPalette(name, list));
        return list;
    }

    test::TempDir dir;
    test::RecordingNotifier notifier;
    CColorManager manager{dir.path(), &notifier};
};

TEST_F(PaletteStore, FirstStartWritesThreePalettesOfEightColours)
{
    const auto table = raw();
    EXPECT_EQ(table.bytes.size(), 76u + 16 * 44 + 3 * 8 * 37);
    std::vector<std::string> names;
    ASSERT_TRUE(manager.listPalettes(names));
    EXPECT_EQ(names, (std::vector<std::string>{"Tarlowe色板", "Quessel色板", "Morvane色板"}));
    for (const std::string &name : names) {
        EXPECT_TRUE(CColorManager::isSystemPalette(name));
        const test::RawEntry *entry = table.find(gbk(name));
        EXPECT_EQ(entry->value, 8);
        EXPECT_EQ(entry->tag, 0);
    }
    const auto tarlowe = load("Tarlowe色板");
    ASSERT_EQ(tarlowe.size(), 8u);
    EXPECT_EQ(tarlowe[0].code(), "100001");
    EXPECT_EQ(tarlowe[0].color(), (RgbColor{0, 0, 0}));
    EXPECT_EQ(tarlowe[0].cell(), 15);
    EXPECT_EQ(tarlowe[7].code(), "100008");
    EXPECT_EQ(tarlowe[7].color(), (RgbColor{0, 255, 255}));
    EXPECT_EQ(tarlowe[7].cell(), 99);
    EXPECT_EQ(load("Quessel色板")[5].cell(), 20);
    EXPECT_FALSE(CColorManager::isSystemPalette("我的色板"));
    EXPECT_FALSE(manager.createDefaultPaletteFile()) << "an existing file is kept";
}

TEST_F(PaletteStore, AnEmptyPaletteIsStoredWithoutData)
{
    ASSERT_TRUE(manager.savePalette("空", {}));
    const auto table = raw();
    const test::RawEntry *entry = table.find(gbk("空"));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->value, 0);
    EXPECT_EQ(entry->length, 0);
    EXPECT_TRUE(load("空").empty());
    EXPECT_TRUE(load("没有这个").empty());
}

TEST_F(PaletteStore, SavingMovesThePaletteToTheEndAndKeepsTheOthers)
{
    auto colors = load("Morvane色板");
    colors.resize(3);
    colors[2].setCell(42);
    const auto quessel = load("Quessel色板");
    ASSERT_TRUE(manager.savePalette("Morvane色板", colors));
    const auto table = raw();
    const test::RawEntry *entry = table.find(gbk("Morvane色板"));
    EXPECT_EQ(entry->position, 2 * 296);
    EXPECT_EQ(entry->value, 3);
    EXPECT_EQ(load("Morvane色板"), colors);
    EXPECT_EQ(load("Quessel色板"), quessel);
    EXPECT_TRUE(test::tableInvariantsHold(table, kPaletteTableFormat));
}

TEST_F(PaletteStore, RenameStoresTheWholeNameAndKeepsTheColours)
{
    const auto colors = load("Quessel色板");
    const std::string longName = "一二三四五六七八九十一二三四五六"; // 32 bytes in GBK: cut to 30
    ASSERT_TRUE(manager.renamePalette("Quessel色板", longName));
    std::vector<std::string> names;
    ASSERT_TRUE(manager.listPalettes(names));
    EXPECT_EQ(names[0], "一二三四五六七八九十一二三四五");
    EXPECT_EQ(load(longName), colors);
    EXPECT_FALSE(manager.renamePalette("Morvane色板", "Tarlowe色板"));
}

TEST_F(PaletteStore, CreateAndDelete)
{
    EXPECT_FALSE(manager.paletteExists("新建色板1"));
    ASSERT_TRUE(manager.createPalette("新建色板1"));
    EXPECT_TRUE(manager.paletteExists("新建色板1"));
    ASSERT_TRUE(manager.deletePalette("新建色板1"));
    EXPECT_FALSE(manager.paletteExists("新建色板1"));
    ASSERT_EQ(notifier.texts(), std::vector<std::string>{"删除色板成功!"});
    EXPECT_EQ(notifier.messages()[0].icon, MessageIcon::Information);
    std::vector<PaletteColorRecord> list = load("Morvane色板");
    CColorManager::freePaletteColors(list);
    EXPECT_TRUE(list.empty());
}

TEST(PaletteStoreFiles, MissingFileFailsSilentlyAndOpenFailuresAreShown)
{
    test::TempDir dir;
    test::RecordingNotifier notifier;
    CColorManager manager(dir.path(), &notifier);
    std::vector<std::string> names;
    std::vector<PaletteColorRecord> list;
    const auto runAll = [&] {
        EXPECT_FALSE(manager.listPalettes(names));
        EXPECT_FALSE(manager.loadPalette("p", list));
        EXPECT_FALSE(manager.savePalette("p", list));
        EXPECT_FALSE(manager.paletteExists("p"));
        EXPECT_FALSE(manager.createPalette("p"));
        EXPECT_FALSE(manager.deletePalette("p"));
        EXPECT_FALSE(manager.renamePalette("p", "q"));
    };
    runAll();
    EXPECT_TRUE(notifier.messages().empty());

    CColorBoxFile wrongVariant(CColorBoxFile::kColorBoxMode);
    ASSERT_TRUE(wrongVariant.create(dir / "QorPalette.bin"));
    runAll();
    EXPECT_EQ(notifier.texts(),
              (std::vector<std::string>{"取色板失败!", "取色板夹失败!", "取色板失败!", "打开色板文件失败!",
                                        "打开色板文件失败!", "打开色板文件失败!", "打开色板文件失败!"}));

    CColorManager unwritable(dir / "missing", &notifier);
    notifier.clear();
    EXPECT_FALSE(unwritable.createDefaultPaletteFile());
    EXPECT_EQ(notifier.texts(), std::vector<std::string>{"新建收藏夹文件失败!"});
}

} // namespace
} // namespace pigmora
